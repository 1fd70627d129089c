#pragma once
// What Connect reads from the logger, and the model code. Written by a worker (connect,
// apply, clear) while the window thread reads it: DeviceState guards it and hands out copies.

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace kavro {

enum class DeviceModel : int { None = 0, Rv316 = 1, Rv317 = 2, T580 = 3 };

struct DeviceInfo {
  int timeInterval = 0;      // tenths of a second
  int distanceInterval = 0;  // tenths of a metre
  int recordMode = 0;        // 1 overwrite, 2 stop when full
  std::uint32_t logUsedSize = 0;  // LogUsedSize: the log write position in bytes
  int freeRecords = 0;
  int logWrapped = 0;        // LogWrapped: 1 when the last sector was ever written
  std::chrono::system_clock::time_point connectTime{};
  std::string userName;      // at most 16 characters
  int basis = 0;             // 0 by time, 1 by distance
  bool basisValid = false;
  std::string timeZone;      // up to 7 characters, e.g. "+08:00"
  bool timeZoneValid = false;
  int distanceUnit = 0;      // 0 metres, 1 feet
  bool distanceUnitValid = false;

  DeviceModel model = DeviceModel::None;  // DeviceModel
  // The Device page's fields, ready to show.
  std::string versionText;   // "[ V1.25 ][ V12]" (firmware alone, "V1.25", until the hardware answers)
  std::string memoryText;    // free records, "%d", or "0" when 1 or less; empty when unknown
};

// Free records for a write position: (2,097,152 - position) >> 4, unsigned.
int FreeRecordsFor(std::uint32_t writePosition);
// The memory field's text for a free-record count.
std::string FreeRecordText(int freeRecords);
// "V1.25" from the firmware reply value 125.
std::string FirmwareText(int hundredths);
// "[ V1.25 ][ V12]" from the firmware text and the two hardware characters.
std::string VersionText(const std::string& firmware, const std::string& hardware);
// The model's name ("T-580"); empty for a code without one (txt::NoDeviceAvailable).
std::string ModelName(DeviceModel model);

class DeviceState {
 public:
  DeviceInfo Snapshot() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return info_;
  }
  // Runs fn on the record under the lock.
  void Update(const std::function<void(DeviceInfo&)>& fn) {
    std::lock_guard<std::mutex> lock(mutex_);
    fn(info_);
  }
  DeviceModel Model() const { return Snapshot().model; }

 private:
  mutable std::mutex mutex_;
  DeviceInfo info_;
};

}  // namespace kavro
