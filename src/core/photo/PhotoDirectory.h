#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "photo/PhotoEntry.h"

namespace kavro {

struct PhotoScan {
  bool ok = true;             // false when the directory could not be read
  std::string error;          // the system's reason then
  bool missing = false;       // the directory does not exist at all
  bool truncated = false;     // more than kMaxPhotos files matched; the rest are left out
};

// Fills the table with every regular file of the directory whose name ends in ".jpg" in any
// letter case, sorted by name so every run sees the same order. Not recursive, so the "GPS"
// folder of earlier copies is never read back.
PhotoScan ScanPhotoDirectory(const std::filesystem::path& directory, std::vector<PhotoEntry>& photos);
// The same for every photo a geotag run handles: JPEG (.jpg, .jpeg), the RAW formats and HEIC.
PhotoScan ScanEveryPhoto(const std::filesystem::path& directory, std::vector<PhotoEntry>& photos);

}  // namespace kavro
