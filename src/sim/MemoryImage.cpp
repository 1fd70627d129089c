// Lays a scenario's written slots out in the logger's flash layout.
#include <algorithm>
#include <string>

#include "Simulator.h"

namespace kavro::sim {
namespace {

// A sector's header once the logger has started it: a pass number and a tag, rest erased.
void WriteSectorHeader(std::uint8_t* sector, std::uint32_t pass) {
  std::fill(sector, sector + memory::kSectorHeaderSize, std::uint8_t{0xFF});
  sector[0] = static_cast<std::uint8_t>(pass);
  sector[1] = static_cast<std::uint8_t>(pass >> 8);
  sector[2] = static_cast<std::uint8_t>(pass >> 16);
  sector[3] = static_cast<std::uint8_t>(pass >> 24);
  static constexpr char kTag[] = "KAVRO-SECTOR";
  std::copy(kTag, kTag + 12, sector + 4);
}

bool SlotEmpty(const std::vector<std::uint8_t>& image, std::uint32_t index) {
  const auto at = image.begin() + SlotAddress(index);
  return std::all_of(at, at + memory::kRecordSize, [](std::uint8_t b) { return b == 0xFF; });
}

// Where a logger that left this image would write next: the first empty slot after a written
// one from which the rest of its sector is empty (a wrapped logger erased the rest).
std::uint32_t ImageWritePosition(const std::vector<std::uint8_t>& image) {
  bool seenWritten = false;
  for (std::uint32_t i = 0; i < memory::kSlotCount; ++i) {
    if (!SlotEmpty(image, i)) {
      seenWritten = true;
      continue;
    }
    if (!seenWritten) continue;
    const std::uint32_t sectorEnd = (i / memory::kSlotsPerSector + 1) * memory::kSlotsPerSector;
    std::uint32_t j = i;
    while (j < sectorEnd && SlotEmpty(image, j)) ++j;
    if (j == sectorEnd) return SlotAddress(i);
    i = j;
  }
  return seenWritten ? memory::kSize : 0;
}

}  // namespace

std::optional<Scenario> ScenarioFromImage(std::vector<std::uint8_t> image, std::string* error) {
  if (image.size() != memory::kSize) {
    if (error)
      *error = "a memory image has " + std::to_string(memory::kSize) + " bytes, this one " + std::to_string(image.size());
    return std::nullopt;
  }
  Scenario s = *ScenarioByName("demo", 0);
  s.name = "image";
  s.description = "a memory image loaded from a file";
  s.written.clear();
  s.image = std::move(image);
  return s;
}

std::vector<std::uint8_t> BuildMemoryImage(const Scenario& scenario) {
  if (!scenario.image.empty()) return scenario.image;
  std::vector<std::uint8_t> image(memory::kSize, 0xFF);
  const std::size_t count = scenario.written.size();
  for (std::size_t i = 0; i < count; ++i) {
    const auto slot = static_cast<std::uint32_t>(i % memory::kSlotCount);
    if (slot % memory::kSlotsPerSector == 0) {
      // Flash is erased a sector at a time before the logger writes into it again.
      std::uint8_t* sector = image.data() + (slot / memory::kSlotsPerSector) * memory::kSectorSize;
      std::fill(sector, sector + memory::kSectorSize, std::uint8_t{0xFF});
      WriteSectorHeader(sector, static_cast<std::uint32_t>(i / memory::kSlotsPerSector));
    }
    const Slot& s = scenario.written[i];
    std::copy(s.begin(), s.end(), image.begin() + SlotAddress(slot));
  }
  return image;
}

std::uint32_t WritePosition(const Scenario& scenario) {
  if (scenario.image.size() == memory::kSize) return ImageWritePosition(scenario.image);
  const std::size_t count = scenario.written.size();
  if (count == 0) return 0;
  if (count % memory::kSlotCount == 0) return memory::kSize;
  return SlotAddress(static_cast<std::uint32_t>(count % memory::kSlotCount));
}

}  // namespace kavro::sim
