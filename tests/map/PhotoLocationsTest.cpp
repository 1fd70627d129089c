// Photos on the map: located by the photo room's matching, with their EXIF thumbnails (or the
// photo itself, read small), drawn at their place.
#include <gtest/gtest.h>

#include <QImage>

#include "common/StringTable.h"
#include "map/MapPicture.h"
#include "map/PhotoLocations.h"
#include "support/PhotoTestSupport.h"

namespace kavro::map {
namespace {

namespace fs = std::filesystem;

TEST(PhotoLocations, LocatedPhotosTakeTheMatchedPointAndItsTime) {
  StringTable strings;
  const test::TempDir dir("map-photos");
  const fs::path photos = dir.path / "photos";
  fs::create_directory(photos);
  const std::int32_t t10 = test::Utc(2008, 2, 28, 10, 0, 0);
  test::WriteTrl(dir.path / "t.trl", {TrackRecord::Make(t10, -33.8568f, 151.2153f, 12),
                                      TrackRecord::Make(t10 + 60, -33.85f, 151.21f, 13)});
  test::TinyJpeg near, far;
  near.dateTimeOriginal = "2008:02:28 18:00:50";  // +08:00: 10:00:50 UTC, nearer the second point
  far.dateTimeOriginal = "2008:02:28 20:00:00";
  test::WriteBytes(photos / "near.jpg", near.Build());
  test::WriteBytes(photos / "far.jpg", far.Build());
  // A real camera photo with no time on this track, to show it is not located.
  fs::copy_file(fs::path(KAVRO_TEST_DATA) / "photos" / "Canon_PowerShot_A40.jpg", photos / "canon.jpg");
  PhotoConversionSettings settings;
  settings.photoDir = photos;
  settings.photoZone = ZoneClock::Fixed(480);
  PhotoLocations found = LocatePhotos(strings, settings, {dir.path / "t.trl"});
  EXPECT_TRUE(found.problems.empty());
  EXPECT_EQ(found.scanned, 3);
  ASSERT_EQ(found.photos.size(), 1u);
  EXPECT_EQ(found.photos[0].path.filename(), "near.jpg");
  EXPECT_NEAR(found.photos[0].lat, -33.85, 1e-5);
  EXPECT_NEAR(found.photos[0].lon, 151.21, 1e-5);
  EXPECT_EQ(found.photos[0].utc, t10 + 50);
  // A calibration of -2 hours brings the far one onto the track's time too (the same rule as geotag).
  settings.clock = kavro::ClockCorrection::Offset(-2 * 3600 + 10);
  found = LocatePhotos(strings, settings, {dir.path / "t.trl"});
  ASSERT_EQ(found.photos.size(), 1u);
  EXPECT_EQ(found.photos[0].path.filename(), "far.jpg");
  // Unreadable inputs are said in words.
  settings.photoDir = dir.path / "none";
  found = LocatePhotos(strings, settings, {dir.path / "t.trl"});
  ASSERT_EQ(found.problems.size(), 1u);
  EXPECT_NE(found.problems[0].find("No such folder"), std::string::npos);
}

TEST(PhotoLocations, ThumbnailFromExifOrFromThePhotoAndDrawnAtItsPlace) {
  // A40: a 160 x 120 EXIF thumbnail, shown at most 88 px.
  const QImage exif = PhotoThumbnail(fs::path(KAVRO_TEST_DATA) / "photos" / "Canon_PowerShot_A40.jpg", 88);
  ASSERT_FALSE(exif.isNull());
  EXPECT_EQ(exif.size(), QSize(88, 66));
  // G2 has no IFD1: the photo itself, read small.
  const QImage whole = PhotoThumbnail(fs::path(KAVRO_TEST_DATA) / "photos" / "Canon_PowerShot_G2_1.jpg", 88);
  ASSERT_FALSE(whole.isNull());
  EXPECT_LE(std::max(whole.width(), whole.height()), 88);
  EXPECT_TRUE(PhotoThumbnail(fs::path(KAVRO_TEST_DATA) / "photos" / "not_a_jpeg.jpg", 88).isNull());

  // A red thumbnail on the picture: its box above the photo's place shows it.
  StringTable strings;
  MapData data;
  MapPhoto photo;
  photo.lat = 45;
  photo.lon = 90;
  photo.thumbnail = QImage(88, 88, QImage::Format_ARGB32_Premultiplied);
  photo.thumbnail.fill(QColor(250, 0, 0));
  AddPhoto(data, photo);
  const MapView view(QSizeF(400, 300), ToWorld(45, 90), 12);
  const QImage image = RenderPicture(strings, view, data, nullptr, {}, {});
  const QRectF box = MapPainter::PhotoRect(view, data.photos[0]);
  EXPECT_EQ(box.center().x(), 200);
  EXPECT_LT(box.bottom(), 150);
  EXPECT_EQ(image.pixel(box.center().toPoint()), qRgb(250, 0, 0));
}

}  // namespace
}  // namespace kavro::map
