#include "track/ZoneClock.h"

#include <QDateTime>
#include <QTimeZone>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace kavro {

// A named zone's offsets as a table of changes, read once from QTimeZone: a lookup per track
// point is then a binary search, and a copy of the clock shares the table.
struct NamedZoneData {
  std::string id;
  int firstOffset = 0;           // seconds east, before the first change
  std::vector<std::int64_t> at;  // UTC instants of the changes, ascending
  std::vector<int> offset;       // seconds east in force from at[i]
  int OffsetAt(std::int64_t utc) const {
    const auto it = std::upper_bound(at.begin(), at.end(), utc);
    return it == at.begin() ? firstOffset : offset[static_cast<std::size_t>(it - at.begin() - 1)];
  }
};

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (month 1-12), any range.
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Broken-down UTC of a non-negative instant, without touching the C library's shared state.
void Breakdown(std::int64_t t, std::tm& out) {
  const std::int64_t days = FloorDiv(t, 86400);
  const std::int64_t secs = t - days * 86400;
  std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t y = yoe + era * 400;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const std::int64_t m = mp + (mp < 10 ? 3 : -9);
  y += m <= 2;
  out = std::tm{};
  out.tm_year = static_cast<int>(y - 1900);
  out.tm_mon = static_cast<int>(m - 1);
  out.tm_mday = static_cast<int>(d);
  out.tm_hour = static_cast<int>(secs / 3600);
  out.tm_min = static_cast<int>(secs / 60 % 60);
  out.tm_sec = static_cast<int>(secs % 60);
  out.tm_wday = static_cast<int>(((days + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
  out.tm_yday = static_cast<int>(days - DaysFromCivil(y, 1, 1));
  out.tm_isdst = 0;
}

// Seconds since 1970 of a broken-down time read as if it were UTC, fields rolling over as mktime's do.
std::int64_t WallSeconds(const std::tm& local) {
  std::int64_t year = std::int64_t{local.tm_year} + 1900;
  std::int64_t mon = local.tm_mon;
  year += FloorDiv(mon, 12);
  mon -= FloorDiv(mon, 12) * 12;
  const std::int64_t days = DaysFromCivil(year, mon + 1, 1) + local.tm_mday - 1;
  return days * 86400 + std::int64_t{local.tm_hour} * 3600 + std::int64_t{local.tm_min} * 60 + local.tm_sec;
}

// The instant of a wall time in a named zone. Offsets in force two days either side cover
// every change of the database, which are months apart (a whole skipped day included).
std::int64_t NamedFromWall(const NamedZoneData& zone, std::int64_t wall, LocalTimeFit& fit) {
  const int before = zone.OffsetAt(wall - 2 * 86400);
  const int candidates[] = {before, zone.OffsetAt(wall), zone.OffsetAt(wall + 2 * 86400)};
  std::optional<std::int64_t> first;
  int found = 0;
  for (int i = 0; i < 3; ++i) {
    if (std::find(candidates, candidates + i, candidates[i]) != candidates + i) continue;  // seen
    const std::int64_t utc = wall - candidates[i];
    if (zone.OffsetAt(utc) != candidates[i]) continue;
    ++found;
    if (!first || utc < *first) first = utc;
  }
  if (found == 0) {
    // In the gap: read with the offset before the change, which lands as far past it as the
    // time lay inside it.
    fit = LocalTimeFit::SkippedMovedForward;
    return wall - before;
  }
  fit = found > 1 ? LocalTimeFit::RepeatedEarlierOffset : LocalTimeFit::Unique;
  return *first;
}

}  // namespace

std::optional<ZoneClock> ZoneClock::Named(const std::string& ianaId) {
  if (ianaId.empty()) return std::nullopt;
  const QTimeZone zone(QByteArray::fromStdString(ianaId));
  if (!zone.isValid()) return std::nullopt;
  auto data = std::make_shared<NamedZoneData>();
  data->id = ianaId;
  // Track times are 32-bit seconds; photo times stay within the same years.
  const QDateTime from(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC);
  const QDateTime to(QDate(2100, 1, 1), QTime(0, 0), Qt::UTC);
  data->firstOffset = zone.offsetFromUtc(from);
  for (const QTimeZone::OffsetData& change : zone.transitions(from, to)) {
    const std::int64_t at = change.atUtc.toSecsSinceEpoch();
    if (!data->at.empty() && at <= data->at.back()) continue;
    data->at.push_back(at);
    data->offset.push_back(change.offsetFromUtc);
  }
  ZoneClock c;
  c.system_ = false;
  c.named_ = std::move(data);
  return c;
}

std::string ZoneClock::Name() const { return named_ ? named_->id : std::string(); }

int ZoneClock::OffsetSecondsAt(std::int64_t utc) const {
  if (named_) return named_->OffsetAt(utc);
  if (!system_) return offsetMinutes_ * 60;
  std::tm t{};
  const std::time_t tt = static_cast<std::time_t>(utc);
  return localtime_r(&tt, &t) != nullptr ? static_cast<int>(t.tm_gmtoff) : 0;
}

ZoneClock ZoneClock::Fixed(int offsetMinutes) {
  ZoneClock c;
  c.system_ = false;
  c.offsetMinutes_ = offsetMinutes;
  return c;
}

bool ToUtc(std::int64_t utc, std::tm& out) {
  if (utc < 0) return false;
  Breakdown(utc, out);
  return true;
}

bool ZoneClock::ToLocal(std::int64_t utc, std::tm& out) const {
  if (utc < 0) return false;
  if (named_) {
    Breakdown(utc + named_->OffsetAt(utc), out);
    return true;
  }
  if (!system_) {
    Breakdown(utc + std::int64_t{offsetMinutes_} * 60, out);
    return true;
  }
  const std::time_t t = static_cast<std::time_t>(utc);
  return localtime_r(&t, &out) != nullptr;
}

std::optional<std::int64_t> ZoneClock::FromLocal(const std::tm& local) const {
  LocalTimeFit fit;
  return FromLocal(local, fit);
}

std::optional<std::int64_t> ZoneClock::FromLocal(const std::tm& local, LocalTimeFit& fit) const {
  fit = LocalTimeFit::Unique;
  std::int64_t utc;
  if (named_) {
    utc = NamedFromWall(*named_, WallSeconds(local), fit);
  } else if (!system_) {
    utc = WallSeconds(local) - std::int64_t{offsetMinutes_} * 60;
  } else {
    std::tm copy = local;
    copy.tm_isdst = 0;
    const std::time_t t = mktime(&copy);
    if (t == static_cast<std::time_t>(-1)) return std::nullopt;
    utc = t;
  }
  if (utc < 0 || utc > 0x7FFFFFFF) return std::nullopt;
  return utc;
}

int AsctimeText(const std::tm& t, char* out) {
  static const char kDays[7][4] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char kMonths[12][4] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const int wday = t.tm_wday >= 0 && t.tm_wday < 7 ? t.tm_wday : 0;
  const int mon = t.tm_mon >= 0 && t.tm_mon < 12 ? t.tm_mon : 0;
  const int year = 1900 + t.tm_year;
  const bool plain = t.tm_mday >= 1 && t.tm_mday <= 31 && t.tm_hour >= 0 && t.tm_hour <= 23 && t.tm_min >= 0 &&
                     t.tm_min <= 59 && t.tm_sec >= 0 && t.tm_sec <= 60 && year >= 1000 && year <= 9999;
  if (!plain)
    return std::snprintf(out, 32, "%.3s %.3s%3d %.2d:%.2d:%.2d %d", kDays[wday], kMonths[mon], t.tm_mday, t.tm_hour,
                         t.tm_min, t.tm_sec, year);
  // The common case by hand: this runs once per point of a text or KML file.
  auto two = [](char* p, int v) {
    p[0] = static_cast<char>('0' + v / 10);
    p[1] = static_cast<char>('0' + v % 10);
  };
  std::memcpy(out, kDays[wday], 3);
  out[3] = ' ';
  std::memcpy(out + 4, kMonths[mon], 3);
  out[7] = ' ';
  if (t.tm_mday < 10) {
    out[8] = ' ';
    out[9] = static_cast<char>('0' + t.tm_mday);
  } else {
    two(out + 8, t.tm_mday);
  }
  out[10] = ' ';
  two(out + 11, t.tm_hour);
  out[13] = ':';
  two(out + 14, t.tm_min);
  out[16] = ':';
  two(out + 17, t.tm_sec);
  out[19] = ' ';
  two(out + 20, year / 100);
  two(out + 22, year % 100);
  out[24] = '\0';
  return 24;
}

std::string AsctimeText(const std::tm& t) {
  char buf[32];
  const int n = AsctimeText(t, buf);
  return std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
}

}  // namespace kavro
