#pragma once
// The camera clock set from photos of a clock that shows UTC (the logger's screen, a phone):
// each photo's own camera time against the time the user reads on it.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/StringTable.h"
#include "photo/ClockCorrection.h"
#include "track/ZoneClock.h"

namespace kavro {

// Two photos closer than this give no drift worth trusting: a second of reading error over an
// hour is already 24 s a day.
inline constexpr std::int64_t kMinSyncSpanSeconds = 3600;
// A drift beyond this (about 14 minutes a day) is a misread clock, not a camera.
inline constexpr double kMaxDriftPerSecond = 0.01;

struct ClockPhoto {
  std::filesystem::path photo;
  int secondsOfDay = 0;  // the UTC time the clock in the photo shows
};

// "PHOTO=HH:MM:SS", split at the last '=' (a file name may hold one); none without a photo or
// a reading. The reading itself is checked by ParseClockReading.
std::optional<std::pair<std::string, std::string>> SplitSyncArgument(std::string_view text);

struct ClockSync {
  bool ok = false;
  int messageId = 0;    // why not
  std::string message;  // the reason in words
  ClockCorrection clock;
  std::vector<std::int64_t> cameraUtc;  // each photo's time by the camera, in the photo zone
};

// One photo gives the offset, two (at least kMinSyncSpanSeconds apart by the camera) the
// offset at the first and the drift to the second. The camera times are read as a geotag run
// reads them (the photo's own zone unless ignored, else the given zone).
ClockSync SyncCameraClock(const StringTable& strings, const std::vector<ClockPhoto>& photos, const ZoneClock& zone,
                          bool ignorePhotoZone);

// "Camera clock correction from a.jpg: 0:1:-5:-30 (days:hours:minutes:seconds)", and the drift
// line after it when there is one.
std::string ClockSyncSummary(const StringTable& strings, const std::vector<ClockPhoto>& photos, const ClockSync& sync);

// Seconds a day as the drift is shown: "+2.5", "-0.8".
std::string DriftPerDayText(double driftPerSecond);

}  // namespace kavro
