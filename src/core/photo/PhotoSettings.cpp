#include "photo/PhotoSettings.h"

#include <cctype>

namespace kavro {
namespace {

// A signed whole number of at most nine digits, the whole text.
std::optional<int> SignedNumber(std::string_view part) {
  bool negative = false;
  if (!part.empty() && (part[0] == '+' || part[0] == '-')) {
    negative = part[0] == '-';
    part.remove_prefix(1);
  }
  if (part.empty() || part.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : part) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

}  // namespace

std::int32_t CalibrationSeconds(int days, int hours, int minutes, int seconds) {
  return days * 86400 + hours * 3600 + minutes * 60 + seconds;
}

std::optional<std::int32_t> ParseCalibration(std::string_view text) {
  text = Trimmed(text);
  std::array<int, 4> parts{};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::size_t colon = i + 1 < parts.size() ? text.find(':') : std::string_view::npos;
    if (i + 1 < parts.size() && colon == std::string_view::npos) return std::nullopt;
    const std::optional<int> v = SignedNumber(text.substr(0, colon));
    if (!v || *v < -kCalibrationLimits[i] || *v > kCalibrationLimits[i]) return std::nullopt;
    parts[i] = *v;
    text = colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
  }
  return CalibrationSeconds(parts[0], parts[1], parts[2], parts[3]);
}

PhotoSettings::StartRow PhotoSettings::ChooseStartRow(bool loggerZoneValid, const std::string& loggerZone,
                                                      int systemBiasMinutes) {
  StartRow start;
  if (defaultsPending) {
    defaultsPending = false;
  } else {
    ZoneChoice choice;
    choice.row = timeZoneIndex;
    if (zonePicked) {
      start.shown = IsZoneRow(choice.row);
    } else if (loggerZoneValid) {
      start.shown = SelectDefaultZone(DefaultZoneLabel(true, loggerZone, 0), choice);
    } else {
      start.shown = SelectDefaultZone(DefaultZoneLabel(false, std::string(), systemBiasMinutes), choice);
    }
    // A default that matches no row leaves the zone used at the stored row (" 00:00" at first).
    if (IsZoneRow(choice.row)) start.row = choice.row;
  }
  StoreZone(start.row);
  return start;
}

void PhotoSettings::StoreZone(int row) {
  stored.zoneRow = IsZoneRow(row) ? row : kUtcZoneRow;
  stored.zoneHours = stored.zoneMinutes = 0;
  if (stored.zoneRow < kZoneRowCount) {
    const ZoneRow& zone = TimeZoneTable()[static_cast<std::size_t>(stored.zoneRow)];
    stored.zoneHours = zone.hours;
    stored.zoneMinutes = zone.minutes;
  }
}

}  // namespace kavro
