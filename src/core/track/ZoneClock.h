#pragma once
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

namespace kavro {

struct NamedZoneData;

// How a local calendar time met the zone's clock changes.
enum class LocalTimeFit {
  Unique,                 // the time occurs once
  SkippedMovedForward,    // it falls in the hour skipped when clocks go forward: moved on by the gap
  RepeatedEarlierOffset,  // it occurs twice when clocks go back: the first occurrence (earlier offset)
};

// The local time of the run: the system zone until a zone is applied, then a fixed offset
// without daylight saving, or a named zone of the system's zone database whose offset changes
// with its daylight saving rules. A value type, safe to copy between threads.
class ZoneClock {
 public:
  static ZoneClock System() { return ZoneClock(); }
  // offsetMinutes east of UTC, e.g. +480 for "+08:00", -210 for "-03:30".
  static ZoneClock Fixed(int offsetMinutes);
  // A zone of the system's database by its IANA id ("Europe/Berlin"); empty for an unknown id.
  static std::optional<ZoneClock> Named(const std::string& ianaId);

  bool IsSystem() const { return system_ && !named_; }
  bool IsNamed() const { return named_ != nullptr; }
  // The IANA id of a named zone, empty otherwise.
  std::string Name() const;
  // The fixed offset (0 for the system zone and named zones: see OffsetSecondsAt).
  int OffsetMinutes() const { return offsetMinutes_; }
  // The offset east of UTC in force at an instant, in seconds, whatever the kind of zone.
  int OffsetSecondsAt(std::int64_t utc) const;

  // UTC seconds to local calendar time. False for instants the conversion cannot represent
  // (before 1970), as the standard library of the logger's home platform refuses them.
  bool ToLocal(std::int64_t utc, std::tm& out) const;
  // Local calendar time to UTC seconds with mktime semantics (out-of-range fields roll over,
  // no daylight saving). Empty when the result lies before 1970 or past 32-bit seconds.
  // A named zone resolves a skipped or repeated local time as LocalTimeFit says and reports it.
  std::optional<std::int64_t> FromLocal(const std::tm& local) const;
  std::optional<std::int64_t> FromLocal(const std::tm& local, LocalTimeFit& fit) const;

 private:
  ZoneClock() = default;
  bool system_ = true;
  int offsetMinutes_ = 0;
  std::shared_ptr<const NamedZoneData> named_;  // immutable once built, so copies share it
};

// UTC calendar time; false before 1970.
bool ToUtc(std::int64_t utc, std::tm& out);
// The standard asctime text without its newline, e.g. "Sat Mar 15 09:30:12 2008".
std::string AsctimeText(const std::tm& t);
// The same, into a buffer of at least 25 bytes; returns the length (24 for 4-digit years).
int AsctimeText(const std::tm& t, char* out);

}  // namespace kavro
