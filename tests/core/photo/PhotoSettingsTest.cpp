// The photo settings' rules: the calibration's form and limits (the dialog's spin ranges and the
// command line's --calibrate), and where the settings dialog's zone list starts.
#include <gtest/gtest.h>

#include "photo/PhotoSettings.h"

namespace kavro {
namespace {

TEST(PhotoSettings, CalibrationTakesSignedPartsWithinTheirLimits) {
  EXPECT_EQ(ParseCalibration("0:1:-5:30"), 3600 - 300 + 30);
  EXPECT_EQ(ParseCalibration(" +30:23:59:59 "), 30 * 86400 + 23 * 3600 + 59 * 60 + 59);
  EXPECT_EQ(ParseCalibration("-30:-23:-59:-59"), -(30 * 86400 + 23 * 3600 + 59 * 60 + 59));
  EXPECT_EQ(ParseCalibration("0:0:0:0"), 0);
  for (const char* refused : {"31:0:0:0", "0:24:0:0", "0:0:60:0", "0:0:0:-60", "0:0:0", "0:0:0:0:0", "1:2:3:x",
                              "", ":::", "0:0:0:+", "1:2:3:4 5", "0:0:0:99999999999", "1.5:0:0:0"})
    EXPECT_FALSE(ParseCalibration(refused).has_value()) << refused;
  EXPECT_EQ(kCalibrationLimits, (std::array<int, 4>{30, 23, 59, 59}));
  EXPECT_EQ(CalibrationSeconds(-1, 2, -3, 4), -86400 + 7200 - 180 + 4);
}

TEST(PhotoSettings, DialogStartsAtTheLoggersZoneThenThePickedRowThenUtcAfterDefaults) {
  PhotoSettings s;
  // No logger: the system's zone; one the table lacks shows no row and works with " 00:00".
  PhotoSettings::StartRow start = s.ChooseStartRow(false, {}, -345);  // +05:45
  EXPECT_EQ(start.row, 10);
  EXPECT_TRUE(start.shown);
  EXPECT_EQ(s.stored.zoneHours, 5);
  EXPECT_EQ(s.stored.zoneMinutes, 45);
  start = s.ChooseStartRow(false, {}, -20);
  EXPECT_EQ(start.row, kUtcZoneRow);
  EXPECT_FALSE(start.shown);
  EXPECT_EQ(s.stored.zoneHours, 0);
  // A connected logger's zone wins over the system's ...
  start = s.ChooseStartRow(true, "+08:00", 210);
  EXPECT_EQ(start.row, 6);
  EXPECT_TRUE(start.shown);
  // ... until a row is picked in the dialog.
  s.zonePicked = true;
  s.timeZoneIndex = 23;  // -03:30
  start = s.ChooseStartRow(true, "+08:00", 0);
  EXPECT_EQ(start.row, 23);
  EXPECT_TRUE(start.shown);
  EXPECT_EQ(s.stored.zoneHours, -3);
  EXPECT_EQ(s.stored.zoneMinutes, 30);
  // Default All: " 00:00" once, then the rule as before.
  s.defaultsPending = true;
  start = s.ChooseStartRow(true, "+08:00", 0);
  EXPECT_EQ(start.row, kUtcZoneRow);
  EXPECT_TRUE(start.shown);
  EXPECT_FALSE(s.defaultsPending);
  EXPECT_EQ(s.ChooseStartRow(true, "+08:00", 0).row, 23);
}

}  // namespace
}  // namespace kavro
