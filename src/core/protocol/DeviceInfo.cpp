#include "protocol/DeviceInfo.h"

#include <cstdio>

#include "protocol/ProtocolNumbers.h"

namespace kavro {

int FreeRecordsFor(std::uint32_t writePosition) {
  // A position past the end of the memory would wrap the unsigned difference into a huge
  // count: the memory is full then.
  if (writePosition >= memory::kSize) return 0;
  return static_cast<int>((memory::kSize - writePosition) >> 4);
}

std::string FreeRecordText(int freeRecords) { return freeRecords <= 1 ? "0" : std::to_string(freeRecords); }

std::string FirmwareText(int hundredths) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "V%1.2f", hundredths * 0.01);
  return buf;
}

std::string VersionText(const std::string& firmware, const std::string& hardware) {
  return "[ " + firmware + " ][ V" + hardware + "]";
}

std::string ModelName(DeviceModel model) {
  switch (model) {
    case DeviceModel::Rv316:
      return "RV-316";
    case DeviceModel::Rv317:
      return "RV-317";
    case DeviceModel::T580:
      return "T-580";
    default:
      return {};
  }
}

}  // namespace kavro
