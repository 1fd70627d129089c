#include "track/TimeZoneTable.h"

#include <QDateTime>
#include <QTimeZone>
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

std::optional<int> ZoneRowByUserText(const std::string& text) {
  if (auto row = ZoneRowByLabel(text)) return row;
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
  const ZoneRow& z = TimeZoneTable()[static_cast<std::size_t>(choice.row)];
  choice.hours = z.hours;
  choice.minutes = z.minutes;
  return row.has_value();
}

void TimeZoneState::ApplyZone(int row) {
  if (row >= 0 && row < kZoneRowCount) row_.store(row);
}

ZoneClock TimeZoneState::Clock() const {
  const int row = row_.load();
  if (row < 0) return ZoneClock::System();
  return ZoneClock::Fixed(TimeZoneTable()[static_cast<std::size_t>(row)].OffsetMinutes());
}

}  // namespace kavro
