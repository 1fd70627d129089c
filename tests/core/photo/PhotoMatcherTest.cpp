#include <gtest/gtest.h>

#include "support/PhotoTestSupport.h"
#include "photo/PhotoMatcher.h"

namespace kavro {
namespace {

using test::Utc;

struct Scenario {
  std::vector<TrackPoint> points;
  std::vector<PhotoEntry> photos;
  std::vector<TrackOrderEntry> trackOrder;
  std::vector<PhotoOrderEntry> photoOrder;
  MatchCounts counts;

  void Point(std::int32_t t) {
    TrackPoint p;
    p.time = t;
    points.push_back(p);
  }
  void Photo(std::int32_t t, const std::string& name = "p.jpg") { photos.push_back(PhotoEntry{name, t, 0}); }
  void Run(std::int32_t calibration = 0) {
    CalibratePhotos(photos, calibration);
    SortTrack(points, trackOrder);
    SortPhotos(photos, photoOrder);
    counts = MatchPhotosToTrack(trackOrder, photoOrder);
  }
  // The matched point of photo i (by table index), or -1.
  int PointOf(std::size_t photo) const {
    for (const PhotoOrderEntry& e : photoOrder) {
      if (e.photoIndex == photo) return e.matched ? static_cast<int>(e.pointIndex) : -1;
    }
    return -2;
  }
};

const std::int32_t T10 = Utc(2008, 2, 28, 10, 0, 0);

TEST(PhotoMatcher, NearerPointWinsAndATieGoesToTheEarlierOne) {
  Scenario s;
  s.Point(T10);
  s.Point(T10 + 60);
  s.Point(T10 + 120);
  s.Photo(T10 + 30);
  s.Photo(T10 + 31);
  s.Run();
  EXPECT_EQ(s.PointOf(0), 0);
  EXPECT_EQ(s.PointOf(1), 1);
  EXPECT_EQ(s.counts.combined, 2);
  EXPECT_EQ(s.counts.failed, 0);
  EXPECT_TRUE(s.trackOrder[0].hasPhoto);
  EXPECT_TRUE(s.trackOrder[1].hasPhoto);
  EXPECT_FALSE(s.trackOrder[2].hasPhoto);
}

TEST(PhotoMatcher, GapsOverTwoMinutesTakeNoPhotos) {
  Scenario wide;
  wide.Point(T10);
  wide.Point(T10 + 121);
  wide.Photo(T10 + 5);
  wide.Run();
  EXPECT_EQ(wide.PointOf(0), -1);
  EXPECT_EQ(wide.counts.failed, 1);

  Scenario edge;
  edge.Point(T10);
  edge.Point(T10 + 120);
  edge.Photo(T10 + 5);
  edge.Run();
  EXPECT_EQ(edge.PointOf(0), 0);
}

TEST(PhotoMatcher, FirstPointMatchesLastPointDoesNotNorOutsideTimes) {
  Scenario s;
  s.Point(T10);
  s.Point(T10 + 10);
  s.Point(T10 + 20);
  s.Photo(T10, "first.jpg");
  s.Photo(T10 + 20, "last.jpg");
  s.Photo(T10 - 1, "before.jpg");
  s.Photo(T10 + 21, "after.jpg");
  s.Run();
  EXPECT_EQ(s.PointOf(0), 0);
  EXPECT_EQ(s.PointOf(1), -1);
  EXPECT_EQ(s.PointOf(2), -1);
  EXPECT_EQ(s.PointOf(3), -1);
  EXPECT_EQ(s.counts.combined, 1);
  EXPECT_EQ(s.counts.failed, 3);
}

TEST(PhotoMatcher, SameTimePhotosKeepDirectoryOrderAndShareAPoint) {
  Scenario s;
  s.Point(T10);
  s.Point(T10 + 10);
  s.Photo(T10 + 2, "c.jpg");
  s.Photo(T10 + 2, "a.jpg");
  s.Photo(T10 + 1, "b.jpg");
  s.Photo(T10 + 2, "d.jpg");
  s.Run();
  ASSERT_EQ(s.photoOrder.size(), 4u);
  EXPECT_EQ(s.photoOrder[0].photoIndex, 2u);
  EXPECT_EQ(s.photoOrder[1].photoIndex, 0u);
  EXPECT_EQ(s.photoOrder[2].photoIndex, 1u);
  EXPECT_EQ(s.photoOrder[3].photoIndex, 3u);
  for (const PhotoOrderEntry& e : s.photoOrder) {
    EXPECT_TRUE(e.matched);
    EXPECT_EQ(e.pointIndex, 0u);
  }
}

TEST(PhotoMatcher, UnreadPhotoAtTimeZeroIsUnmatched) {
  Scenario s;
  s.Point(T10);
  s.Point(T10 + 10);
  s.Photo(0, "unread.jpg");
  s.Photo(T10 + 3, "good.jpg");
  s.Run(3600);
  EXPECT_EQ(s.PointOf(0), -1);
  EXPECT_EQ(s.photos[0].uncalibratedTime, 0);
  EXPECT_EQ(s.photos[0].captureTime, 3600);
  EXPECT_EQ(s.PointOf(1), -1);  // moved an hour past the track by the calibration
}

TEST(PhotoMatcher, CalibrationOfMinusOneDay23h59m59sShiftsBack172799Seconds) {
  const std::int32_t calibration = -1 * 86400 - 23 * 3600 - 59 * 60 - 59;
  Scenario s;
  s.Point(T10);
  s.Point(T10 + 60);
  s.Photo(T10 + 172799 + 50);
  s.Run(calibration);
  EXPECT_EQ(s.photos[0].uncalibratedTime, T10 + 172799 + 50);
  EXPECT_EQ(s.photos[0].captureTime, T10 + 50);
  EXPECT_EQ(s.PointOf(0), 1);
}

TEST(PhotoMatcher, UnsortedTrackIsMatchedInTimeOrderAndIndexesStayFileIndexes) {
  Scenario s;
  s.Point(T10 + 100);  // file index 0
  s.Point(T10);        // file index 1
  s.Point(T10 + 50);   // file index 2
  s.Photo(T10 + 90);
  s.Photo(T10 + 10);
  s.Run();
  EXPECT_EQ(s.PointOf(0), 0);
  EXPECT_EQ(s.PointOf(1), 1);
  EXPECT_EQ(s.trackOrder[0].pointIndex, 1u);
  EXPECT_EQ(s.trackOrder[2].pointIndex, 0u);
}

TEST(PhotoMatcher, LoadTrackSkipsBadRecordsNamesPointsAndReportsAMissingFile) {
  const test::TempDir dir("load");
  TrackRecord bad = TrackRecord::Make(T10 + 5, 1, 2, 3);
  bad.bytes[15] ^= 0x55;
  test::WriteTrl(dir.path / "t.trl", {TrackRecord::Make(T10, 24.5f, 121.25f, 50), bad,
                                      TrackRecord::Make(T10 + 10, -33.5f, 151.25f, -4)});
  std::vector<TrackPoint> points;
  const TrackLoad load = LoadTrack(dir.path / "t.trl", ZoneClock::Fixed(480), points);
  ASSERT_TRUE(load.ok);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].time, T10);
  EXPECT_FLOAT_EQ(points[0].lat, 24.5f);
  EXPECT_FLOAT_EQ(points[0].lon, 121.25f);
  EXPECT_FLOAT_EQ(points[0].alt, 50.0f);
  EXPECT_STREQ(points[0].nameText.data(), "Thu Feb 28 18:00:00 2008");
  EXPECT_FLOAT_EQ(points[1].alt, -4.0f);

  const TrackLoad missing = LoadTrack(dir.path / "none.trl", ZoneClock::Fixed(0), points);
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(missing.error.empty());
  EXPECT_TRUE(points.empty());

  // A photo renamed to .trl gives no points at all, not the few records that pass by chance.
  std::filesystem::copy_file(std::filesystem::path(KAVRO_TEST_DATA) / "photos" / "Canon_EOS_D60.jpg", dir.path / "p.trl");
  const TrackLoad photo = LoadTrack(dir.path / "p.trl", ZoneClock::Fixed(0), points);
  EXPECT_FALSE(photo.ok);
  EXPECT_TRUE(photo.notTrackLog);
  EXPECT_LT(photo.validPercent, 50);
  EXPECT_TRUE(points.empty());
}

}  // namespace
}  // namespace kavro
