#pragma once
// How the logger records (the Track Log Setting page's upper half): record style, basis,
// time and distance intervals; writing the changes (Apply All) and erasing the log (Clear).
// The page binds its controls to TrackLogSettings; ApplySettings and ClearLog block and are
// meant for a worker thread.

#include <array>
#include <optional>

#include "protocol/DeviceInfo.h"
#include "protocol/Link.h"

namespace kavro {

class TrackLogSettings {
 public:
  // The seconds list: index to seconds.
  static constexpr std::array<int, 7> kSeconds = {1, 5, 10, 15, 30, 60, 120};
  // The distance list as shown ("50" ... "1000", metres or feet) and its values in tenths of
  // a metre, metre column and feet column (feet truncated: 100 ft = 30.48 m -> 304).
  static constexpr std::array<int, 6> kDistanceShown = {50, 100, 150, 300, 500, 1000};
  static constexpr std::array<int, 6> kDistanceMetres = {500, 1000, 1500, 3000, 5000, 10000};
  static constexpr std::array<int, 6> kDistanceFeet = {152, 304, 457, 914, 1524, 3048};

  TrackLogSettings() { Defaults(); }

  // Default All (and page creation): 5 s (index 1), 100 m or 100 ft (index 1), stop when
  // full, by time. The unit (feet) stays.
  void Defaults();
  // After a connect: takes the logger's values. With 3 or fewer free records the controls
  // are disabled and the values stay.
  void RefreshFromDevice(const DeviceInfo& info);
  // The same from the guarded record; a record mode other than 2 also makes the last-known
  // record mode 1.
  void RefreshFromDevice(DeviceState& device);

  // The radio and list handlers; an index outside a list leaves the field unchanged.
  void SelectRecordMode(int mode);  // 1 overwrite, 2 full and stop
  void SelectBasis(int basis);      // 0 by time, 1 by distance
  void SelectSecondsIndex(int index);
  void SelectDistanceIndex(int index);

  // List indexes for values as shown (e.g. 5 seconds -> 1, "100" -> 1); empty when absent.
  static std::optional<int> SecondsIndexOf(int seconds);
  static std::optional<int> DistanceIndexOf(int shown);

  int timeInterval = 5;         // seconds
  int distanceInterval = 1000;  // tenths of a metre
  int recordMode = 2;           // 1 overwrite, 2 full and stop
  int basis = 0;                // 0 by time, 1 by distance
  int feet = 0;                 // the logger's unit: 0 metres, 1 feet
  int secondsIndex = 1;
  int distanceIndex = 1;
  bool controlsEnabled = true;  // false with 3 or fewer free records
  // The unit label's text id: txt::Meter or txt::Feet.
  int UnitTextId() const;
};

enum class SettingsOutcome {
  Done,          // txt::UpdatingSuccess / txt::ClearSucceed
  NotConnected,  // Apply: nothing sent, no message. Clear: txt::ClearFailedNoDevice
  Failed,        // txt::ConnectionFailedSettings; the last-known values keep what the logger has
};

// Apply All: writes what differs from the last-known values (DeviceInfo): time interval
// (type 1, a = 3), distance (a = 4), record mode (a = 6), then the basis (ident 9, only when
// the logger's basis was read). Statuses 335, 336, 379, then 337 or 504. A write the logger
// did not take leaves the last-known value, so the next Apply tries again.
SettingsOutcome ApplySettings(Link& link, DeviceState& device, const TrackLogSettings& settings,
                              const StatusReport& status);

// Clear: erases the log memory (type 6, a = 1) and re-reads the write position into the free
// records. Statuses 341, then 342, or 504 when the erase or the re-read failed; 507 when no
// port is open.
SettingsOutcome ClearLog(Link& link, DeviceState& device, const StatusReport& status);

}  // namespace kavro
