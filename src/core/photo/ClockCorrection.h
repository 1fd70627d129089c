#pragma once
// How far the camera clock is off: a fixed offset, and optionally a linear drift, found from the
// D:H:M:S calibration or from photos of a clock showing UTC.
#include <array>
#include <cstdint>
#include <optional>

namespace kavro {

struct ClockCorrection {
  std::int64_t offsetSeconds = 0;  // added to the camera's time at referenceUtc
  double driftPerSecond = 0;       // seconds the camera loses (+) or gains (-) per second of its own
  std::int64_t referenceUtc = 0;   // the camera time the offset was measured at

  static ClockCorrection Offset(std::int64_t seconds);
  bool IsNone() const { return offsetSeconds == 0 && driftPerSecond == 0; }
  bool HasDrift() const { return driftPerSecond != 0; }
  // The true UTC time of a camera time.
  std::int64_t Apply(std::int64_t cameraUtc) const;
};

// The instant nearest to a camera time whose UTC clock reading is secondsOfDay (0-86399): what a
// photographed clock showing that time most likely meant. A reading half a day away either side
// is resolved toward the later instant.
std::int64_t NearestClockReading(std::int64_t cameraUtc, int secondsOfDay);

// One photo of a clock: the offset that turns its camera time into the instant the clock showed.
ClockCorrection SyncFromOnePhoto(std::int64_t cameraUtc, int secondsOfDay);
// Two photos of a clock: the offset at the first and the linear drift to the second, applied to
// every photo before, between and after them. Photos taken at the same camera second give the
// first one's offset alone.
ClockCorrection SyncFromTwoPhotos(std::int64_t cameraUtc1, int secondsOfDay1, std::int64_t cameraUtc2,
                                  int secondsOfDay2);

// "HH:MM:SS" (or "H:MM:SS", "HH:MM") as seconds of the day; none for anything else.
std::optional<int> ParseClockReading(const char* text);

// An offset as the calibration fields show it: days, hours, minutes, seconds, each with the
// offset's sign; none when a part is beyond the calibration limits (kCalibrationLimits).
std::optional<std::array<int, 4>> CalibrationParts(std::int64_t offsetSeconds);

}  // namespace kavro
