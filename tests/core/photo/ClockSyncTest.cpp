// The camera clock from photos of a clock: the argument's two halves, and the camera time read
// as a geotag run reads it.
#include <gtest/gtest.h>

#include "common/Texts.h"
#include "photo/ClockSync.h"
#include "support/PhotoTestSupport.h"

namespace kavro {
namespace {

TEST(ClockSync, TheArgumentSplitsAtTheLastEqualsSign) {
  const auto named = SplitSyncArgument("trip=day1/clock.jpg=10:00:00");
  ASSERT_TRUE(named);
  EXPECT_EQ(named->first, "trip=day1/clock.jpg");
  EXPECT_EQ(named->second, "10:00:00");
  EXPECT_FALSE(SplitSyncArgument("clock.jpg"));
  EXPECT_FALSE(SplitSyncArgument("=10:00:00"));
  EXPECT_FALSE(SplitSyncArgument("clock.jpg="));
}

// The clock is read against the camera's UTC time: with the photo's own offset when it stores
// one, so a zone chosen for other photos does not shift it.
TEST(ClockSync, ThePhotosOwnZoneGivesTheCameraTime) {
  if (!test::HaveTool("exiftool")) GTEST_SKIP() << "exiftool is not installed";
  test::TempDir dir("clock-sync");
  test::TinyJpeg j;
  j.dateTimeOriginal = "2008:02:28 06:00:50";  // at -04:00: 10:00:50 UTC
  test::WriteBytes(dir.path / "clock.jpg", j.Build());
  int status = 0;
  test::RunCommand("exiftool -q -overwrite_original -OffsetTimeOriginal=-04:00 " + test::Quote(dir.path / "clock.jpg"),
                   &status);
  ASSERT_EQ(status, 0);
  StringTable words;
  const std::vector<ClockPhoto> photos = {{dir.path / "clock.jpg", 10 * 3600 + 30}};
  const ClockSync own = SyncCameraClock(words, photos, ZoneClock::Fixed(480), false);
  ASSERT_TRUE(own.ok) << own.message;
  EXPECT_EQ(own.cameraUtc[0], test::Utc(2008, 2, 28, 10, 0, 50));
  EXPECT_EQ(own.clock.offsetSeconds, -20);
  const ClockSync chosen = SyncCameraClock(words, photos, ZoneClock::Fixed(480), true);
  ASSERT_TRUE(chosen.ok) << chosen.message;
  EXPECT_EQ(chosen.cameraUtc[0], test::Utc(2008, 2, 27, 22, 0, 50));
  EXPECT_EQ(chosen.clock.offsetSeconds, 12 * 3600 - 20);
  EXPECT_FALSE(SyncCameraClock(words, {}, ZoneClock::Fixed(0), false).ok);
}

}  // namespace
}  // namespace kavro
