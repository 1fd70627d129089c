#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "track/ZoneClock.h"

namespace kavro {

struct ZoneRow {
  const char* label;  // 6 characters, e.g. "+08:00", " 00:00", "-03:30"
  int hours;          // signed
  int minutes;        // always positive
  int OffsetMinutes() const { return hours < 0 || label[0] == '-' ? hours * 60 - minutes : hours * 60 + minutes; }
};

inline constexpr int kZoneRowCount = 34;
inline constexpr int kUtcZoneRow = 19;  // " 00:00"

// The 34 offsets from "+13:00" down to "-12:00".
const std::array<ZoneRow, kZoneRowCount>& TimeZoneTable();

// The row whose label equals the text exactly; empty when none does.
std::optional<int> ZoneRowByLabel(const std::string& label);
// Also accepts what people type on a command line: "8", "+8", "08:00", "00:00", "+00:00", "UTC",
// and a named zone's id ("Europe/Berlin", any letter case).
std::optional<int> ZoneRowByUserText(const std::string& text);

// A zone list: the 34 rows of the table first, then the named zones of the system's zone
// database ("Area/Place" ids, sorted); row kZoneRowCount + i is NamedZoneIds()[i]. A named row
// counts like a table row wherever a row is chosen, applied or stored.
const std::vector<std::string>& NamedZoneIds();
int ZoneListSize();
bool IsZoneRow(int row);       // any row of the list
bool IsNamedZoneRow(int row);  // a row after the table's 34
// The text a list shows for a row: the table's label or the zone's id.
std::string ZoneListLabel(int row);
// The clock of a row: a fixed offset for the table's rows, the named zone for the rest; the UTC
// row for a row that does not exist.
ZoneClock ClockForRow(int row);
// "+02:00", "-03:30", "+05:45": an offset east of UTC as the zone list prints it.
std::string OffsetLabel(int offsetSeconds);
// The offset east of UTC in seconds a row has at an instant, without building its clock.
int RowOffsetSecondsAt(int row, std::int64_t utc);
// The rows whose label contains the text (any letter case), in list order; all for an empty text.
std::vector<int> FindZoneRows(const std::string& text);


// The system zone's standard offset as minutes west of UTC (UTC = local + bias), no daylight saving.
int SystemZoneBiasMinutes();

// The label a zone list selects first: the logger's zone when it was read at connect, else the
// label of the system's offset (" 00:00" for UTC; an offset outside the table matches no row).
std::string DefaultZoneLabel(bool deviceZoneValid, const std::string& deviceZone, int systemBiasMinutes);

// A zone selection held by a page: row index (19 at start), hours, minutes (0 and 0 for a named
// zone, whose offset depends on the instant).
struct ZoneChoice {
  int row = kUtcZoneRow;
  int hours = 0;
  int minutes = 0;
};
// Looks the default label up; a match takes its row, no match keeps the choice's row.
// Returns whether a row matched (the list shows no selection otherwise).
bool SelectDefaultZone(const std::string& defaultLabel, ZoneChoice& choice);

// The zone in force for the run: the system zone until a row is applied, then that row for
// every later local-time conversion (file names, year window, KML names). Thread-safe.
class TimeZoneState {
 public:
  void ApplyZone(int row);
  ZoneClock Clock() const;
  // The applied row, or -1 while the system zone is in force.
  int AppliedRow() const { return row_.load(); }

 private:
  std::atomic<int> row_{-1};
  // A named zone's clock is built once per applied row: building reads the zone database.
  mutable std::mutex cacheLock_;
  mutable int cachedRow_ = -1;
  mutable ZoneClock cached_ = ZoneClock::System();
};

}  // namespace kavro
