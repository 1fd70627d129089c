#include "common/RecentFolders.h"

namespace kavro {

std::filesystem::path RecentFolders::StartFor(FolderUse use) const {
  switch (use) {
    case FolderUse::TrackFiles: return trackFiles_;
    // Photos are often copied next to the tracks before geotagging.
    case FolderUse::Photos: return photos_.empty() ? trackFiles_ : photos_;
    case FolderUse::Firmware: return firmware_;
  }
  return {};
}

void RecentFolders::RememberFolder(FolderUse use, const std::filesystem::path& folder) {
  if (folder.empty()) return;
  switch (use) {
    case FolderUse::TrackFiles: trackFiles_ = folder; break;
    case FolderUse::Photos: photos_ = folder; break;
    case FolderUse::Firmware: firmware_ = folder; break;
  }
}

}  // namespace kavro
