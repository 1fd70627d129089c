#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "photo/CaptureOffset.h"

namespace kavro {

enum class PhotoMatchKind { Exact, Interpolated, Nearest, TooFar, OutsideTrack, NoCaptureTime, Unreadable, MakeRefused };
enum class PhotoWriteKind { Copy, Sidecar, Nothing };

// One file of a geotag run: what was read, how it matched, what was written. The map shows the
// located rows of the last run, so path, utc, located, lat, lon and match keep their names.
struct PhotoReportRow {
  std::filesystem::path path;
  std::string captureText;          // as read, empty when none
  std::optional<std::int64_t> utc;  // the UTC time used, after the clock correction
  OffsetSource offsetSource = OffsetSource::ChosenZone;
  int offsetMinutes = 0;
  LocalTimeNote localNote = LocalTimeNote::None;
  PhotoMatchKind match = PhotoMatchKind::NoCaptureTime;
  std::optional<std::int64_t> secondsToNearest;
  bool located = false;
  double lat = 0, lon = 0, alt = 0;
  PhotoWriteKind written = PhotoWriteKind::Nothing;
  std::filesystem::path writtenPath;  // the copy or sidecar, when one was written (or would be)
  int reasonId = 0;                   // why nothing was written, or why refused
  std::string reasonDetail;          // the reason in words (the run's language), when it has arguments
};

struct PhotoReport {
  std::vector<PhotoReportRow> rows;  // in the order the folder was scanned
  bool dryRun = false;               // nothing was written; writtenPath says what would be
};

}  // namespace kavro
