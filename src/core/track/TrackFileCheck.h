#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

namespace kavro {

// Whether a file is a track log at all. Every record of a file the program wrote passes its
// checksum; any other file renamed to .trl passes about one in 256 by chance, so its "points"
// would be noise. A torn tail shorter than a record counts for nothing either way.
struct TrackFileCheck {
  bool opened = false;
  std::string error;              // the system's reason when the file could not be read
  std::uint64_t records = 0;      // whole 16-byte records
  std::uint64_t validRecords = 0; // of those, the ones whose checksum holds

  // At least half of the whole records are valid (an empty file is a track log with none).
  bool IsTrackLog() const { return validRecords * 2 >= records; }
  // The share of valid records, in whole percent rounded down.
  int ValidPercent() const { return records == 0 ? 100 : static_cast<int>(validRecords * 100 / records); }
};

// Reads the file once through and counts its records.
TrackFileCheck CheckTrackFile(const std::filesystem::path& path);

}  // namespace kavro
