#pragma once
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace kavro {

// The local time of the run: the system zone until a row of the time zone table is applied,
// then that fixed offset without daylight saving. A value type, safe to copy between threads.
class ZoneClock {
 public:
  static ZoneClock System() { return ZoneClock(); }
  // offsetMinutes east of UTC, e.g. +480 for "+08:00", -210 for "-03:30".
  static ZoneClock Fixed(int offsetMinutes);

  bool IsSystem() const { return system_; }
  int OffsetMinutes() const { return offsetMinutes_; }

  // UTC seconds to local calendar time. False for instants the conversion cannot represent
  // (before 1970), as the standard library of the logger's home platform refuses them.
  bool ToLocal(std::int64_t utc, std::tm& out) const;
  // Local calendar time to UTC seconds with mktime semantics (out-of-range fields roll over,
  // no daylight saving). Empty when the result lies before 1970 or past 32-bit seconds.
  std::optional<std::int64_t> FromLocal(const std::tm& local) const;

 private:
  ZoneClock() = default;
  bool system_ = true;
  int offsetMinutes_ = 0;
};

// UTC calendar time; false before 1970.
bool ToUtc(std::int64_t utc, std::tm& out);
// The standard asctime text without its newline, e.g. "Sat Mar 15 09:30:12 2008".
std::string AsctimeText(const std::tm& t);
// The same, into a buffer of at least 25 bytes; returns the length (24 for 4-digit years).
int AsctimeText(const std::tm& t, char* out);

}  // namespace kavro
