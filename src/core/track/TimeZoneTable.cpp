#include "track/TimeZoneTable.h"

#include <QDateTime>
#include <QTimeZone>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace kavro {

const std::array<ZoneRow, kZoneRowCount>& TimeZoneTable() {
  static const std::array<ZoneRow, kZoneRowCount> rows = {{
      {"+13:00", 13, 0}, {"+12:00", 12, 0}, {"+11:00", 11, 0}, {"+10:00", 10, 0}, {"+09:30", 9, 30},
      {"+09:00", 9, 0},  {"+08:00", 8, 0},  {"+07:00", 7, 0},  {"+06:30", 6, 30}, {"+06:00", 6, 0},
      {"+05:45", 5, 45}, {"+05:30", 5, 30}, {"+05:00", 5, 0},  {"+04:30", 4, 30}, {"+04:00", 4, 0},
      {"+03:30", 3, 30}, {"+03:00", 3, 0},  {"+02:00", 2, 0},  {"+01:00", 1, 0},  {" 00:00", 0, 0},
      {"-01:00", -1, 0}, {"-02:00", -2, 0}, {"-03:00", -3, 0}, {"-03:30", -3, 30}, {"-04:00", -4, 0},
      {"-04:30", -4, 30}, {"-05:00", -5, 0}, {"-06:00", -6, 0}, {"-07:00", -7, 0}, {"-08:00", -8, 0},
      {"-09:00", -9, 0}, {"-10:00", -10, 0}, {"-11:00", -11, 0}, {"-12:00", -12, 0},
  }};
  return rows;
}

std::optional<int> ZoneRowByLabel(const std::string& label) {
  const auto& rows = TimeZoneTable();
  for (int i = 0; i < kZoneRowCount; ++i)
    if (label == rows[static_cast<std::size_t>(i)].label) return i;
  return std::nullopt;
}

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::optional<int> NamedZoneRowById(const std::string& text) {
  const auto& ids = NamedZoneIds();
  const auto exact = std::lower_bound(ids.begin(), ids.end(), text);
  if (exact != ids.end() && *exact == text) return kZoneRowCount + static_cast<int>(exact - ids.begin());
  const std::string wanted = Lower(text);
  for (std::size_t i = 0; i < ids.size(); ++i)
    if (Lower(ids[i]) == wanted) return kZoneRowCount + static_cast<int>(i);
  return std::nullopt;
}

}  // namespace

const std::vector<std::string>& NamedZoneIds() {
  // Read once: the database does not change during a run, and the list is only read after.
  static const std::vector<std::string> ids = [] {
    std::vector<std::string> out;
    for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) {
      // Area/Place ids only: the offsets themselves are the table's rows.
      if (!id.contains('/') || id.startsWith("Etc/")) continue;
      out.push_back(id.toStdString());
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
  }();
  return ids;
}

int ZoneListSize() { return kZoneRowCount + static_cast<int>(NamedZoneIds().size()); }
bool IsZoneRow(int row) { return row >= 0 && row < ZoneListSize(); }
bool IsNamedZoneRow(int row) { return row >= kZoneRowCount && row < ZoneListSize(); }

std::string ZoneListLabel(int row) {
  if (row >= 0 && row < kZoneRowCount) return TimeZoneTable()[static_cast<std::size_t>(row)].label;
  if (IsNamedZoneRow(row)) return NamedZoneIds()[static_cast<std::size_t>(row - kZoneRowCount)];
  return {};
}

ZoneClock ClockForRow(int row) {
  if (IsNamedZoneRow(row)) {
    if (auto named = ZoneClock::Named(ZoneListLabel(row))) return *named;
  }
  if (row < 0 || row >= kZoneRowCount) row = kUtcZoneRow;
  return ZoneClock::Fixed(TimeZoneTable()[static_cast<std::size_t>(row)].OffsetMinutes());
}

std::string OffsetLabel(int offsetSeconds) {
  const int minutes = std::abs(offsetSeconds) / 60;
  char text[16];
  std::snprintf(text, sizeof text, "%c%02d:%02d", offsetSeconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
  return text;
}

int RowOffsetSecondsAt(int row, std::int64_t utc) {
  if (IsNamedZoneRow(row)) {
    const QTimeZone zone(QByteArray::fromStdString(ZoneListLabel(row)));
    return zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(utc, Qt::UTC));
  }
  if (row < 0 || row >= kZoneRowCount) return 0;
  return TimeZoneTable()[static_cast<std::size_t>(row)].OffsetMinutes() * 60;
}

std::vector<int> FindZoneRows(const std::string& text) {
  const std::string wanted = Lower(text);
  std::vector<int> rows;
  for (int row = 0; row < ZoneListSize(); ++row)
    if (wanted.empty() || Lower(ZoneListLabel(row)).find(wanted) != std::string::npos) rows.push_back(row);
  return rows;
}

std::optional<int> ZoneRowByUserText(const std::string& text) {
  if (auto row = ZoneRowByLabel(text)) return row;
  if (text.find('/') != std::string::npos) return NamedZoneRowById(text);
  std::string t;
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c))) t += c;
  if (t == "UTC" || t == "utc" || t == "Z") return kUtcZoneRow;
  int sign = 1;
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) sign = t[i++] == '-' ? -1 : 1;
  int h = 0, m = 0, used = 0;
  const std::string rest = t.substr(i);
  if (rest.empty()) return std::nullopt;
  if (std::sscanf(rest.c_str(), "%d:%d%n", &h, &m, &used) == 2 && used == static_cast<int>(rest.size())) {
  } else if (std::sscanf(rest.c_str(), "%d%n", &h, &used) == 1 && used == static_cast<int>(rest.size())) {
    m = 0;
  } else {
    return std::nullopt;
  }
  if (h < 0 || m < 0 || m >= 60) return std::nullopt;
  const int offset = sign * (h * 60 + m);
  const auto& rows = TimeZoneTable();
  for (int r = 0; r < kZoneRowCount; ++r)
    if (rows[static_cast<std::size_t>(r)].OffsetMinutes() == offset) return r;
  return std::nullopt;
}

int SystemZoneBiasMinutes() {
  const QTimeZone zone = QTimeZone::systemTimeZone();
  return -zone.standardTimeOffset(QDateTime::currentDateTimeUtc()) / 60;
}

std::string DefaultZoneLabel(bool deviceZoneValid, const std::string& deviceZone, int systemBiasMinutes) {
  if (deviceZoneValid) return deviceZone;
  // The label of the offset itself, written as the table writes it; UTC is " 00:00", not a
  // signed zero that matches no row and leaves the list blank.
  const int east = -systemBiasMinutes;
  if (east == 0) return TimeZoneTable()[kUtcZoneRow].label;
  const int magnitude = std::abs(east);
  char text[32];
  std::snprintf(text, sizeof text, "%c%02d:%02d", east < 0 ? '-' : '+', magnitude / 60, magnitude % 60);
  return text;
}

bool SelectDefaultZone(const std::string& defaultLabel, ZoneChoice& choice) {
  const auto row = ZoneRowByLabel(defaultLabel);
  if (row) choice.row = *row;
  choice.hours = choice.minutes = 0;  // a named zone has no one offset
  if (choice.row >= 0 && choice.row < kZoneRowCount) {
    const ZoneRow& z = TimeZoneTable()[static_cast<std::size_t>(choice.row)];
    choice.hours = z.hours;
    choice.minutes = z.minutes;
  }
  return row.has_value();
}

void TimeZoneState::ApplyZone(int row) {
  if (IsZoneRow(row)) row_.store(row);
}

ZoneClock TimeZoneState::Clock() const {
  const int row = row_.load();
  if (row < 0) return ZoneClock::System();
  if (row < kZoneRowCount) return ZoneClock::Fixed(TimeZoneTable()[static_cast<std::size_t>(row)].OffsetMinutes());
  const std::lock_guard<std::mutex> lock(cacheLock_);
  if (cachedRow_ != row) {
    cached_ = ClockForRow(row);
    cachedRow_ = row;
  }
  return cached_;
}

}  // namespace kavro
