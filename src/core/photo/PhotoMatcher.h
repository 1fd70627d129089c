#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "photo/PhotoEntry.h"
#include "photo/PhotoReport.h"
#include "track/ZoneClock.h"

namespace kavro {

inline constexpr std::size_t kMaxTrackPoints = 140000;
// Two consecutive points further apart than this take no photos between them.
inline constexpr std::int32_t kMatchWindowSeconds = 120;

struct TrackPoint {
  float lon = 0;
  float lat = 0;
  float alt = 0;
  std::int32_t time = 0;
  std::array<char, 25> nameText{};  // local asctime text in the photo zone, NUL-terminated
};

struct TrackOrderEntry {
  std::uint32_t pointIndex = 0;
  std::int32_t time = 0;
  bool hasPhoto = false;
};

struct PhotoOrderEntry {
  std::uint32_t photoIndex = 0;
  std::int32_t time = 0;
  bool matched = false;
  std::uint32_t pointIndex = 0;  // meaningful only when matched
};

struct TrackLoad {
  bool ok = true;          // false when the file could not be opened or is not a track log
  std::string error;       // the system's reason then
  bool notTrackLog = false;  // fewer than half of its records valid: nothing was loaded
  int validPercent = 100;
  bool truncated = false;  // more than kMaxTrackPoints valid records; the rest are left out
};

struct MatchCounts {
  int combined = 0;
  int failed = 0;
};

// The valid records of a .trl file, in file order, named by their local time in the photo zone;
// none from a file that is not a track log.
TrackLoad LoadTrack(const std::filesystem::path& trlPath, const ZoneClock& photoZone, std::vector<TrackPoint>& points);
// Keeps each photo's camera time and adds the calibration (saturating at the 32-bit range).
void CalibratePhotos(std::vector<PhotoEntry>& photos, std::int32_t calibrationSeconds);
// Time order, equal times in table order.
void SortTrack(const std::vector<TrackPoint>& points, std::vector<TrackOrderEntry>& order);
void SortPhotos(const std::vector<PhotoEntry>& photos, std::vector<PhotoOrderEntry>& order);
// The largest gap the window and the command line take: one day.
inline constexpr std::int32_t kMaxGapLimitSeconds = 86400;

// How photos take their positions. Off, the nearest-of-two rule alone, as it always was.
struct MatchOptions {
  bool interpolate = false;  // linear in time between the two points around the photo
  std::int32_t maxGapSeconds = kMatchWindowSeconds;  // the two points at most this far apart
};

// What the match of one photo (at its photo-order index) was, for its report line and writers.
struct PhotoMatchDetail {
  PhotoMatchKind match = PhotoMatchKind::OutsideTrack;
  std::optional<std::int64_t> secondsToNearest;  // none without a single track point
  bool located = false;
  double lat = 0, lon = 0, alt = 0;  // the point's, or interpolated
};

// Gives each photo the nearer of the two points around its time when they are at most
// kMatchWindowSeconds apart (a tie goes to the earlier point). One forward pass.
MatchCounts MatchPhotosToTrack(std::vector<TrackOrderEntry>& track, std::vector<PhotoOrderEntry>& photos);
// The same with the gap of the options, and the detail of each match; with interpolation the
// photo still belongs to the nearer point (its balloon), only its position lies between.
MatchCounts MatchPhotosToTrack(std::vector<TrackOrderEntry>& track, std::vector<PhotoOrderEntry>& photos,
                               const std::vector<TrackPoint>& points, const MatchOptions& options,
                               std::vector<PhotoMatchDetail>& details);

}  // namespace kavro
