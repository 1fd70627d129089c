// Lays a scenario's written slots out in the logger's flash layout.
#include <algorithm>

#include "Simulator.h"

namespace kavro::sim {
namespace {

// A sector's header once the logger has started it: a pass number and a tag, rest erased.
void WriteSectorHeader(std::uint8_t* sector, std::uint32_t pass) {
  std::fill(sector, sector + kSectorHeaderSize, std::uint8_t{0xFF});
  sector[0] = static_cast<std::uint8_t>(pass);
  sector[1] = static_cast<std::uint8_t>(pass >> 8);
  sector[2] = static_cast<std::uint8_t>(pass >> 16);
  sector[3] = static_cast<std::uint8_t>(pass >> 24);
  static constexpr char kTag[] = "KAVRO-SECTOR";
  std::copy(kTag, kTag + 12, sector + 4);
}

}  // namespace

std::vector<std::uint8_t> BuildMemoryImage(const Scenario& scenario) {
  std::vector<std::uint8_t> image(kMemorySize, 0xFF);
  const std::size_t count = scenario.written.size();
  for (std::size_t i = 0; i < count; ++i) {
    const auto slot = static_cast<std::uint32_t>(i % kSlotCount);
    if (slot % kSlotsPerSector == 0) {
      // Flash is erased a sector at a time before the logger writes into it again.
      std::uint8_t* sector = image.data() + (slot / kSlotsPerSector) * kSectorSize;
      std::fill(sector, sector + kSectorSize, std::uint8_t{0xFF});
      WriteSectorHeader(sector, static_cast<std::uint32_t>(i / kSlotsPerSector));
    }
    const Slot& s = scenario.written[i];
    std::copy(s.begin(), s.end(), image.begin() + SlotAddress(slot));
  }
  return image;
}

std::uint32_t WritePosition(const Scenario& scenario) {
  const std::size_t count = scenario.written.size();
  if (count == 0) return 0;
  if (count % kSlotCount == 0) return kMemorySize;
  return SlotAddress(static_cast<std::uint32_t>(count % kSlotCount));
}

}  // namespace kavro::sim
