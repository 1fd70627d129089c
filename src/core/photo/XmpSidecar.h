#pragma once
#include <filesystem>
#include <string>

#include "photo/PhotoMatcher.h"

namespace kavro {

// Which photos get a sidecar instead of a GPS copy.
enum class SidecarMode { ForRawOnly, Always };
// NAME.xmp (most photo programs) or NAME.EXT.xmp (keeps RAW+JPEG pairs apart).
enum class SidecarName { NameXmp, NameExtXmp };

enum class SidecarOutcome {
  Written,      // created, or an existing one updated in place
  HasPosition,  // the existing sidecar already holds a position: left alone
  NotXmp,       // an existing sidecar that is not XMP: left alone
  BadPoint,     // the point is not a usable position
  IoError,      // could not be read or written; nothing was changed
};

struct SidecarResult {
  SidecarOutcome outcome = SidecarOutcome::IoError;
  std::filesystem::path path;  // the sidecar written, or the one that would be
  bool updated = false;        // it existed and keeps everything else it held
  int messageId = 0;           // why not written
  std::string detail;          // the system's or the parser's reason
  bool Written() const { return outcome == SidecarOutcome::Written; }
};

// The sidecar of a photo under the chosen name.
std::filesystem::path SidecarPath(const std::filesystem::path& photo, SidecarName name);
// The sidecar to use: the chosen name when it exists or neither does, else the other existing one.
std::filesystem::path ExistingOrNewSidecar(const std::filesystem::path& photo, SidecarName name);

// Puts the point's position and UTC time into the photo's sidecar: a new one, or the existing
// one (either name) rewritten through a temporary file renamed into place, keeping everything
// else it holds. The photo itself is never opened. dryRun: everything but the writing.
SidecarResult WriteXmpSidecar(const std::filesystem::path& photo, const TrackPoint& point, SidecarName name,
                              bool replacePositions, bool dryRun = false);

// The same over a sidecar's text in memory (empty: none yet); `out` holds the new text.
SidecarOutcome UpdateXmpText(const std::string& existing, const TrackPoint& point, bool replacePositions,
                             std::string& out, std::string& detail);

}  // namespace kavro
