#pragma once
// Where the file and folder dialogs start: the folder used last in this run. Kept for the run
// only, like the other settings. The download's folder is the first guess for the track files
// the conversion and photo pages open, since that is where the program just wrote them.

#include <filesystem>

namespace kavro {

enum class FolderUse { TrackFiles, Photos, Firmware };

class RecentFolders {
 public:
  // Empty until something of that use was chosen: the dialog's own default then.
  std::filesystem::path StartFor(FolderUse use) const;
  void RememberFolder(FolderUse use, const std::filesystem::path& folder);
  void RememberFile(FolderUse use, const std::filesystem::path& file) { RememberFolder(use, file.parent_path()); }

 private:
  std::filesystem::path trackFiles_, photos_, firmware_;
};

}  // namespace kavro
