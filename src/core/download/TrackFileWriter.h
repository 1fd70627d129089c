#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/FileReport.h"
#include "track/TrackRecord.h"
#include "track/ZoneClock.h"

namespace kavro {

class LogDecoder;

// One track of the ordered list: the indices of its first and last entry; (-1, -1) when none.
struct TrackSpan {
  long start = -1;
  long end = -1;
  bool NonEmpty() const { return !(start == -1 && end == -1) && start <= end; }
};

// Splits the ordered list at its log start markers; one span per marker plus one. The markers
// belong to no track.
std::vector<TrackSpan> SplitTracks(const std::vector<TrackRecord>& ordered);

// A line for the Track Log File Status list: "Create File OK" (txt::CreateFileOk) with the path,
// or "Create File Failed" (txt::CreateFileFailed) with the path and the system's reason.
using TrackFileReport = FileReport;
using TrackFileObserver = std::function<void(const TrackFileReport&)>;

struct TrackFilesOptions {
  std::filesystem::path directory;
  bool writeTotal = false;
  std::string userName;
  ZoneClock clock = ZoneClock::System();
};

struct TrackFilesResult {
  // Indexed by track number; empty for a track that got no file (or whose file failed).
  std::vector<std::filesystem::path> trackFiles;
  std::filesystem::path totalFile;      // empty unless written
  std::filesystem::path waypointsFile;  // empty unless written
  int failed = 0;
  // Every file written, in the order they were reported (tracks, total, waypoints).
  std::vector<std::filesystem::path> Written() const;
};

// The user name as it can stand in a file name on Linux and Windows: / \ : * ? " < > | and
// control characters become "_"; everything else, dots included, stays.
std::string FileNameSafeUserName(const std::string& userName);
// "%04d%02d%02d-%02d%02d%02d" of the local time; empty when it has none.
std::string FileNameTime(std::int32_t utc, const ZoneClock& clock);

// Writes one .trl file per non-empty track ("<user>_T-580_Start_<t>_Finish_<t>.trl"), the total
// file when asked, and the waypoints file when the log held waypoint markers. Each file appears
// whole or not at all; a file that fails is reported and the others go on. Two tracks that would
// get the same name keep both: the later one gets "_2", "_3", ... before ".trl".
TrackFilesResult WriteTrackFiles(const std::vector<TrackRecord>& ordered, const std::vector<std::uint8_t>& waypointFlags,
                                 int waypointCount, const TrackFilesOptions& options,
                                 const TrackFileObserver& report = {});
TrackFilesResult WriteTrackFiles(const LogDecoder& decoder, const TrackFilesOptions& options,
                                 const TrackFileObserver& report = {});

// After a download: each written file (tracks, total, waypoints, in that order) converted to KML
// beside it, with local times in the clock's zone; each KML file reported like the .trl files.
// Returns how many failed.
int WriteKmlForTrackFiles(const TrackFilesResult& files, const ZoneClock& clock, const TrackFileObserver& report = {});

}  // namespace kavro
