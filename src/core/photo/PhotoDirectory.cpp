#include "photo/PhotoDirectory.h"

#include <algorithm>
#include <system_error>

#include "photo/PhotoMetadata.h"

namespace kavro {
namespace {

bool HasJpgExtension(const std::string& name) {
  if (name.size() < 4) return false;
  const std::string ext = name.substr(name.size() - 4);
  return ext[0] == '.' && (ext[1] == 'j' || ext[1] == 'J') && (ext[2] == 'p' || ext[2] == 'P') &&
         (ext[3] == 'g' || ext[3] == 'G');
}

template <typename Wanted>
PhotoScan Scan(const std::filesystem::path& directory, std::vector<PhotoEntry>& photos, Wanted wanted) {
  photos.clear();
  PhotoScan scan;
  std::error_code ec;
  std::filesystem::directory_iterator it(directory, ec);
  if (ec) {
    scan.ok = false;
    scan.error = ec.message();
    scan.missing = ec == std::errc::no_such_file_or_directory;
    return scan;
  }
  std::vector<std::filesystem::path> found;
  for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const std::filesystem::directory_entry& entry = *it;
    if (!wanted(entry.path())) continue;
    std::error_code typeError;
    if (!entry.is_regular_file(typeError)) continue;
    found.push_back(entry.path());
  }
  if (ec) {
    scan.ok = false;
    scan.error = ec.message();
    return scan;
  }
  std::sort(found.begin(), found.end());
  if (found.size() > kMaxPhotos) {
    found.resize(kMaxPhotos);
    scan.truncated = true;
  }
  photos.reserve(found.size());
  for (const auto& p : found) photos.push_back(PhotoEntry{p.string(), 0, 0});
  return scan;
}

}  // namespace

PhotoScan ScanPhotoDirectory(const std::filesystem::path& directory, std::vector<PhotoEntry>& photos) {
  return Scan(directory, photos, [](const std::filesystem::path& p) { return HasJpgExtension(p.filename().string()); });
}

PhotoScan ScanEveryPhoto(const std::filesystem::path& directory, std::vector<PhotoEntry>& photos) {
  return Scan(directory, photos, [](const std::filesystem::path& p) { return IsPhotoFileName(p); });
}

}  // namespace kavro
