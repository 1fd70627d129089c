#include "photo/ClockCorrection.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "photo/PhotoSettings.h"

namespace kavro {

ClockCorrection ClockCorrection::Offset(std::int64_t seconds) {
  ClockCorrection c;
  c.offsetSeconds = seconds;
  return c;
}

std::int64_t ClockCorrection::Apply(std::int64_t cameraUtc) const {
  if (driftPerSecond == 0) return cameraUtc + offsetSeconds;
  const long long drift = std::llround(driftPerSecond * static_cast<double>(cameraUtc - referenceUtc));
  return cameraUtc + offsetSeconds + drift;
}

std::int64_t NearestClockReading(std::int64_t cameraUtc, int secondsOfDay) {
  std::int64_t dayStart = cameraUtc - ((cameraUtc % 86400) + 86400) % 86400;
  std::int64_t best = dayStart + secondsOfDay;
  for (const std::int64_t candidate : {best - 86400, best + 86400}) {
    const std::int64_t d = std::llabs(candidate - cameraUtc), b = std::llabs(best - cameraUtc);
    if (d < b || (d == b && candidate > best)) best = candidate;
  }
  return best;
}

ClockCorrection SyncFromOnePhoto(std::int64_t cameraUtc, int secondsOfDay) {
  ClockCorrection c;
  c.offsetSeconds = NearestClockReading(cameraUtc, secondsOfDay) - cameraUtc;
  c.referenceUtc = cameraUtc;
  return c;
}

ClockCorrection SyncFromTwoPhotos(std::int64_t cameraUtc1, int secondsOfDay1, std::int64_t cameraUtc2,
                                  int secondsOfDay2) {
  ClockCorrection c = SyncFromOnePhoto(cameraUtc1, secondsOfDay1);
  if (cameraUtc2 == cameraUtc1) return c;
  const std::int64_t offset2 = NearestClockReading(cameraUtc2, secondsOfDay2) - cameraUtc2;
  c.driftPerSecond = static_cast<double>(offset2 - c.offsetSeconds) / static_cast<double>(cameraUtc2 - cameraUtc1);
  return c;
}

std::optional<int> ParseClockReading(const char* text) {
  if (text == nullptr) return std::nullopt;
  int h = 0, m = 0, s = 0, used = 0;
  const std::size_t length = std::strlen(text);
  if (std::sscanf(text, "%2d:%2d:%2d%n", &h, &m, &s, &used) == 3 && static_cast<std::size_t>(used) == length) {
  } else if (std::sscanf(text, "%2d:%2d%n", &h, &m, &used) == 2 && static_cast<std::size_t>(used) == length) {
    s = 0;
  } else {
    return std::nullopt;
  }
  // sscanf lets a sign or a blank through; a clock shows digits only.
  for (std::size_t i = 0; i < length; ++i)
    if (text[i] != ':' && (text[i] < '0' || text[i] > '9')) return std::nullopt;
  if (h > 23 || m > 59 || s > 59) return std::nullopt;
  return h * 3600 + m * 60 + s;
}

std::optional<std::array<int, 4>> CalibrationParts(std::int64_t offsetSeconds) {
  const std::int64_t sign = offsetSeconds < 0 ? -1 : 1;
  std::int64_t rest = std::llabs(offsetSeconds);
  std::array<std::int64_t, 4> parts = {rest / 86400, rest / 3600 % 24, rest / 60 % 60, rest % 60};
  std::array<int, 4> out{};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i] > kCalibrationLimits[i]) return std::nullopt;
    out[i] = static_cast<int>(sign * parts[i]);
  }
  return out;
}

}  // namespace kavro
