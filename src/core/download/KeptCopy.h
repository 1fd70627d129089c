#pragma once
// The memory image of a logger's last download, kept in the user's cache folder so that the
// next download reads only what can have changed. One file per logger, named by its key; the
// file holds the write position and wrap flag of that download and a CRC-32 of each sector it
// holds, and is replaced whole (temporary file and rename), never written in place.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "protocol/ProtocolNumbers.h"

namespace kavro {

struct KeptCopy {
  std::string key;                  // LoggerIdentity::Key()
  std::uint32_t writePosition = 0;  // LogUsedSize when the image was read
  int wrapped = 0;                  // LogWrapped then
  std::vector<std::uint8_t> image = std::vector<std::uint8_t>(memory::kSize, 0xFF);
  std::uint32_t held = 0;  // bit s: sector s arrived whole and verified

  bool Has(std::uint32_t sector) const { return sector < memory::kSectorCount && (held >> sector & 1u) != 0; }
  const std::uint8_t* Sector(std::uint32_t sector) const { return image.data() + std::size_t{sector} * memory::kSectorSize; }
  std::uint8_t* Sector(std::uint32_t sector) { return image.data() + std::size_t{sector} * memory::kSectorSize; }
};

enum class KeptLoad {
  Loaded,
  Missing,  // no file: the first download of this logger here
  Damaged,  // short, long, a wrong header or a sector failing its checksum
};

class KeptCopyStore {
 public:
  explicit KeptCopyStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

  // The cache folder of the program (organisation Kavro, application T580), the same for the
  // window and the command line.
  static std::filesystem::path DefaultFolder();

  std::filesystem::path PathFor(const std::string& key) const;
  KeptLoad Load(const std::string& key, KeptCopy& out) const;
  // Whole or not at all; a second program saving at the same moment leaves one of the two
  // whole files, never a mix. False with the reason when it could not be written.
  bool Save(const KeptCopy& copy, std::string* error = nullptr) const;
  // After an erase, or when a copy can no longer help.
  void Drop(const std::string& key) const;

 private:
  std::filesystem::path folder_;
};

// The file's bytes, and back (for the tests of damaged files too).
std::string SerializeKeptCopy(const KeptCopy& copy);
KeptLoad ParseKeptCopy(const std::string& bytes, const std::string& key, KeptCopy& out);

}  // namespace kavro
