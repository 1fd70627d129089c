#include "photo/PhotoTime.h"

#include "photo/ExifReader.h"

namespace kavro {
namespace {

LocalTimeNote NoteOf(LocalTimeFit fit) {
  switch (fit) {
    case LocalTimeFit::SkippedMovedForward: return LocalTimeNote::SkippedHourMovedForward;
    case LocalTimeFit::RepeatedEarlierOffset: return LocalTimeNote::RepeatedHourEarlierOffset;
    case LocalTimeFit::Unique: break;
  }
  return LocalTimeNote::None;
}

}  // namespace

std::optional<int> ParseExifOffset(std::string_view text) {
  // Some writers end the text with a NUL or pad it with blanks.
  while (!text.empty() && (text.back() == '\0' || text.back() == ' ')) text.remove_suffix(1);
  if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || text[3] != ':') return std::nullopt;
  auto digit = [&](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; };
  if (!digit(1) || !digit(2) || !digit(4) || !digit(5)) return std::nullopt;
  const int hours = (text[1] - '0') * 10 + (text[2] - '0');
  const int minutes = (text[4] - '0') * 10 + (text[5] - '0');
  if (minutes > 59 || hours * 60 + minutes > 18 * 60) return std::nullopt;
  const int east = hours * 60 + minutes;
  return text[0] == '-' ? -east : east;
}

PhotoUtc ResolveCaptureTime(const std::optional<std::string>& dateTimeOriginal,
                            const std::optional<std::string>& offsetTimeOriginal,
                            const std::optional<std::string>& offsetTime, const ZoneClock& chosenZone,
                            bool ignorePhotoZone) {
  PhotoUtc r;
  if (!dateTimeOriginal) return r;
  const std::tm local = ExifLocalTime(dateTimeOriginal->data(), dateTimeOriginal->size());
  std::optional<int> own;
  if (!ignorePhotoZone) {
    if (offsetTimeOriginal && (own = ParseExifOffset(*offsetTimeOriginal))) {
      r.source = OffsetSource::PhotoOffsetTimeOriginal;
    } else if (offsetTime && (own = ParseExifOffset(*offsetTime))) {
      r.source = OffsetSource::PhotoOffsetTime;
    }
  }
  std::optional<std::int64_t> utc;
  if (own) {
    utc = ZoneClock::Fixed(*own).FromLocal(local);
    r.offsetMinutes = *own;
  } else {
    LocalTimeFit fit = LocalTimeFit::Unique;
    utc = chosenZone.FromLocal(local, fit);
    r.note = NoteOf(fit);
    if (utc) r.offsetMinutes = chosenZone.OffsetSecondsAt(*utc) / 60;
  }
  if (!utc || *utc < 0 || *utc > INT32_MAX) return r;
  r.ok = true;
  r.utc = *utc;
  return r;
}

}  // namespace kavro
