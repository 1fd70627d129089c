#pragma once
// A photo's capture time in UTC: the camera's local time with the photo's own offset when it
// carries one, else with the chosen zone.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "photo/CaptureOffset.h"
#include "track/ZoneClock.h"

namespace kavro {

struct PhotoUtc {
  bool ok = false;         // false: no date, or one before 1970 or past 32-bit seconds
  std::int64_t utc = 0;
  int offsetMinutes = 0;   // east of UTC, the offset the camera time was read with
  OffsetSource source = OffsetSource::ChosenZone;
  LocalTimeNote note = LocalTimeNote::None;
};

// An EXIF offset text "+hh:mm" or "-hh:mm" (up to +-18:00) as minutes east of UTC; none for an
// empty, blank or malformed text, which cameras write when they do not know the zone.
std::optional<int> ParseExifOffset(std::string_view text);

// dateTimeOriginal is the camera's "YYYY:MM:DD hh:mm:ss". The photo's OffsetTimeOriginal, else
// its OffsetTime, gives the UTC time; without one (or with ignorePhotoZone) the chosen zone
// does, a skipped local time moved forward and a repeated one read with the earlier offset.
// With a fixed-offset zone and no photo offset the result is what ParseExifDateTime gives.
PhotoUtc ResolveCaptureTime(const std::optional<std::string>& dateTimeOriginal,
                            const std::optional<std::string>& offsetTimeOriginal,
                            const std::optional<std::string>& offsetTime, const ZoneClock& chosenZone,
                            bool ignorePhotoZone);

// The same for any metadata record with those three fields (PhotoMetadata).
template <class Metadata>
PhotoUtc ResolveCaptureTime(const Metadata& m, const ZoneClock& chosenZone, bool ignorePhotoZone) {
  return ResolveCaptureTime(m.dateTimeOriginal, m.offsetTimeOriginal, m.offsetTime, chosenZone, ignorePhotoZone);
}

}  // namespace kavro
