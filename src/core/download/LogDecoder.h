#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "protocol/ProtocolNumbers.h"
#include "track/TrackRecord.h"
#include "track/ZoneClock.h"

namespace kavro {

// The decoded list holds at most this many entries; later slots are dropped.
inline constexpr std::size_t kLogMaxEntries = 131072;

// Slot contents with a meaning of their own.
inline constexpr char kLogStartMarker[] = "KAVRORV318LOGGER";
inline constexpr char kWaypointMarker[] = "KAVRORV318WAYPNT";
bool IsLogStartMarker(const std::uint8_t* slot);
bool IsWaypointMarker(const std::uint8_t* slot);
bool IsFillSlot(const std::uint8_t* slot);
bool IsEmptySlot(const std::uint8_t* slot);

// GPS receivers whose week counter rolled over report dates this far early (1024 weeks).
inline constexpr std::int64_t kGpsWeekRolloverSeconds = std::int64_t{1024} * 7 * 86400;

// Turns downloaded sectors into one growing list of records and log start markers in time
// order. Takes bytes only: no I/O. The year window (a record's local year within the current
// UTC year +-3) uses the clock and the year given to ResetDecoder. With the week fix (on by
// default) a record outside the window that falls inside it 1024 or 2048 weeks later is kept
// with that later time instead of dropped; a record inside the window is never touched.
class LogDecoder {
 public:
  LogDecoder();

  void ResetDecoder(const ZoneClock& clock, int currentUtcYear);
  // Kept across ResetDecoder: a choice of the user, not of one download.
  void SetWeekFix(bool on) { weekFix_ = on; }
  bool WeekFix() const { return weekFix_; }
  // One sector of memory::kSectorSize bytes: its 512-byte header is skipped, its slots appended.
  void DecodeSector(const std::uint8_t* sector);
  // Every whole sector of a memory image, in address order.
  void DecodeImage(const std::uint8_t* image, std::size_t size);
  // Rebuilds the ordered list: rotated to begin at the last place where time went backwards.
  void OrderRecords();

  // The kept entries (records and log start markers) in time order, and their waypoint flags.
  const std::vector<TrackRecord>& Ordered() const { return ordered_; }
  const std::vector<std::uint8_t>& OrderedWaypointFlags() const { return orderedFlags_; }
  // The same in memory order.
  const std::vector<TrackRecord>& Raw() const { return raw_; }

  std::size_t EntryCount() const { return raw_.size(); }
  int MarkerCount() const { return markerCount_; }
  int SegmentCount() const { return markerCount_ + 1; }
  int WaypointCount() const { return waypointCount_; }
  int ValidCount() const { return validCount_; }
  // Records kept with their week rollover corrected (counted in ValidCount too).
  int WeekFixedCount() const { return weekFixedCount_; }
  bool WrapFound() const { return wrapFound_; }
  std::size_t WrapStart() const { return wrapStart_; }

  // The current UTC year of the machine, for ResetDecoder.
  static int CurrentUtcYear();

 private:
  void Append(const TrackRecord& entry);
  void AcceptIfValid(const std::uint8_t* slot);
  bool InYearWindow(std::int64_t time) const;
  // The time 1024 or 2048 weeks on that lies in the year window; none when neither does.
  std::optional<std::int32_t> RolledOverTime(std::int32_t time) const;

  ZoneClock clock_ = ZoneClock::System();
  int currentYear_ = 0;
  std::vector<TrackRecord> raw_;
  std::vector<std::uint8_t> rawFlags_;
  std::vector<TrackRecord> ordered_;
  std::vector<std::uint8_t> orderedFlags_;
  bool waypointPending_ = false;
  int markerCount_ = 0;
  int waypointCount_ = 0;
  int validCount_ = 0;
  bool weekFix_ = true;
  int weekFixedCount_ = 0;
  std::int32_t previousTime_ = 0;
  std::int32_t currentTime_ = 0;
  bool wrapFound_ = false;
  std::size_t wrapStart_ = 0;
};

}  // namespace kavro
