// The height profile: figures worked out by hand, samples and track points mapped both ways,
// and the strip drawn where its axes put it.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "common/StringTable.h"
#include "map/HeightProfile.h"
#include "map/MapPicture.h"
#include "map/ProfilePainter.h"

namespace kavro::map {
namespace {

MapTrack Meridian(std::size_t index, const std::vector<float>& heights, std::int64_t t0, double lat0 = 45) {
  MapTrack t;
  t.color = TrackColor(index);
  for (std::size_t i = 0; i < heights.size(); ++i) {
    MapPoint p;
    p.lat = lat0 + 0.01 * static_cast<double>(i);
    p.lon = 7;
    p.world = ToWorld(p.lat, p.lon);
    p.alt = heights[i];
    p.utc = t0 + static_cast<std::int64_t>(i) * 60;
    t.points.push_back(p);
  }
  return t;
}

TEST(HeightProfile, LowestHighestClimbAndLength) {
  MapData data;
  // Rises of 1 m are noise; 100 -> 110 climbs 10, down to 104, up to 120 climbs 16: 26 m.
  data.tracks.push_back(Meridian(0, {100, 101, 110, 104, 120}, 1000));
  const HeightProfile profile(data);
  EXPECT_FLOAT_EQ(profile.Lowest(), 100);
  EXPECT_FLOAT_EQ(profile.Highest(), 120);
  EXPECT_EQ(profile.LowestIndex(), 0u);
  EXPECT_EQ(profile.HighestIndex(), 4u);
  EXPECT_DOUBLE_EQ(profile.ClimbMetres(), 26);
  // 0.01 degree of latitude on the mean sphere: 6371008.8 * pi / 18000 = 1111.95 m, four times.
  EXPECT_NEAR(profile.LengthMetres(), 4 * 1111.95, 0.05);
  EXPECT_EQ(profile.FirstUtc(), 1000);
  EXPECT_EQ(profile.LastUtc(), 1240);
  ASSERT_EQ(profile.Samples().size(), 5u);
  EXPECT_NEAR(profile.Samples()[2].distance, 2 * 1111.95, 0.05);
}

TEST(HeightProfile, TracksFollowEachOtherAndPointsMapBothWays) {
  MapData data;
  data.tracks.push_back(Meridian(0, {100, 105}, 1000));
  data.tracks.push_back(Meridian(1, {}, 0));  // an empty track takes no samples
  data.tracks.push_back(Meridian(2, {300, 290, 295}, 5000, 50));
  const HeightProfile profile(data);
  ASSERT_EQ(profile.Samples().size(), 5u);
  // The way between the tracks counts nothing: the third track starts where the first ended.
  EXPECT_NEAR(profile.Samples()[2].distance, profile.Samples()[1].distance, 1e-9);
  EXPECT_EQ(profile.TrackOf(1), 0u);
  EXPECT_EQ(profile.TrackOf(2), 2u);
  EXPECT_EQ(profile.PointOf(3), (PointRef{2, 1}));
  EXPECT_EQ(profile.IndexOf(PointRef{2, 1}), std::optional<std::size_t>(3));
  EXPECT_FALSE(profile.IndexOf(PointRef{0, 2}).has_value());
  EXPECT_FALSE(profile.IndexOf(PointRef{7, 0}).has_value());
  // Climb across the tracks: 100 -> 105 (5), 105 -> 300 (195), down to 290, up 5 to 295.
  EXPECT_DOUBLE_EQ(profile.ClimbMetres(), 205);
  EXPECT_EQ(profile.Nearest(5065, true), std::optional<std::size_t>(3));
  EXPECT_EQ(profile.Nearest(1e9, false), std::optional<std::size_t>(4));
  EXPECT_FALSE(HeightProfile(MapData{}).Nearest(0, false).has_value());
}

TEST(ProfilePainter, LineLiesWhereTheAxesPutItWithTheFiguresAbove) {
  StringTable strings;
  MapData data;
  // Flat at 200 m: the axis runs from 195 to 205 m, so the line is the plot's middle row.
  data.tracks.push_back(Meridian(1, {200, 200, 200}, 1000));
  const HeightProfile profile(data);
  QImage image(600, 200, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter p(&image);
  ProfilePainter painter(strings);
  painter.Paint(p, QRectF(0, 0, 600, 200), profile, data, false, ZoneClock::Fixed(0), std::nullopt);
  p.end();
  const QRectF plot = ProfilePainter::PlotRect(QRectF(0, 0, 600, 200));
  const QRgb c = image.pixel(static_cast<int>(plot.center().x()), static_cast<int>(std::round(plot.center().y())));
  EXPECT_NEAR(qBlue(c), TrackColor(1).blue(), 30) << std::hex << c;
  EXPECT_LT(qRed(c), 90);
  // Above the line: the pale fill is below it only.
  EXPECT_EQ(image.pixel(static_cast<int>(plot.center().x()), static_cast<int>(plot.top() + 5)), qRgb(255, 255, 255));
  EXPECT_EQ(painter.Summary(profile), QStringLiteral("Lowest: 200 m    Highest: 200 m    Climb: 0 m    Length: 2.22 km"));
  // The axis value under an x, at both ends of the plot.
  EXPECT_NEAR(ProfilePainter::AxisValueAt(QRectF(0, 0, 600, 200), profile, false, plot.left()), 0, 1e-9);
  EXPECT_NEAR(ProfilePainter::AxisValueAt(QRectF(0, 0, 600, 200), profile, false, plot.right()), profile.LengthMetres(),
              1e-6);
  EXPECT_NEAR(ProfilePainter::AxisValueAt(QRectF(0, 0, 600, 200), profile, true, plot.right()), 1120, 1e-6);
}

TEST(ProfilePainter, PictureWithProfileHasTheStripBelowTheMap) {
  StringTable strings;
  MapData data;
  data.tracks.push_back(Meridian(0, {100, 140, 120, 180}, 1000));
  MapView view(QSizeF(640, 480), {0.5, 0.5}, 2);
  view.Fit(data.Extent(), 40);
  PictureOptions options;
  options.profile = true;
  const QImage image = RenderPicture(strings, view, data, nullptr, {}, options);
  ASSERT_EQ(image.size(), QSize(640, 480 + ProfileHeight(480)));
  EXPECT_EQ(ProfileHeight(480), 160);
  EXPECT_EQ(ProfileHeight(1200), 300);
  // Red pixels in the strip: the profile's line.
  int red = 0;
  for (int y = 480; y < image.height(); ++y)
    for (int x = 0; x < 640; ++x) {
      const QRgb c = image.pixel(x, y);
      red += qRed(c) > 180 && qGreen(c) < 60 && qBlue(c) < 60;
    }
  EXPECT_GT(red, 100);
}

}  // namespace
}  // namespace kavro::map
