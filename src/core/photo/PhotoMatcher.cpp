#include "photo/PhotoMatcher.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "track/TrackFileCheck.h"
#include "track/TrackFileReader.h"

namespace kavro {

TrackLoad LoadTrack(const std::filesystem::path& trlPath, const ZoneClock& photoZone, std::vector<TrackPoint>& points) {
  points.clear();
  TrackLoad load;
  if (const TrackFileCheck check = CheckTrackFile(trlPath); check.opened && !check.IsTrackLog()) {
    load.ok = false;
    load.notTrackLog = true;
    load.validPercent = check.ValidPercent();
    return load;
  }
  TrackFileReader reader;
  if (!reader.Open(trlPath, &load.error)) {
    load.ok = false;
    return load;
  }
  TrackRecord record;
  while (reader.Next(record)) {
    if (points.size() == kMaxTrackPoints) {
      load.truncated = true;
      break;
    }
    TrackPoint p;
    p.time = record.Time();
    p.lat = record.Latitude();
    p.lon = record.Longitude();
    p.alt = record.Height();
    std::tm local{};
    if (photoZone.ToLocal(p.time, local)) AsctimeText(local, p.nameText.data());
    points.push_back(p);
  }
  if (reader.Failed()) {
    load.ok = false;
    load.error = std::strerror(EIO);
  }
  return load;
}

void CalibratePhotos(std::vector<PhotoEntry>& photos, std::int32_t calibrationSeconds) {
  CalibratePhotos(photos, ClockCorrection::Offset(calibrationSeconds));
}

void CalibratePhotos(std::vector<PhotoEntry>& photos, const ClockCorrection& clock) {
  constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
  for (PhotoEntry& photo : photos) {
    photo.uncalibratedTime = photo.captureTime;
    const std::int64_t t = clock.Apply(photo.captureTime);
    photo.captureTime = static_cast<std::int32_t>(std::clamp(t, lo, hi));
  }
}

void SortTrack(const std::vector<TrackPoint>& points, std::vector<TrackOrderEntry>& order) {
  order.resize(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) order[i] = {static_cast<std::uint32_t>(i), points[i].time, false};
  std::stable_sort(order.begin(), order.end(),
                   [](const TrackOrderEntry& a, const TrackOrderEntry& b) { return a.time < b.time; });
}

void SortPhotos(const std::vector<PhotoEntry>& photos, std::vector<PhotoOrderEntry>& order) {
  order.resize(photos.size());
  for (std::size_t i = 0; i < photos.size(); ++i) {
    order[i] = {static_cast<std::uint32_t>(i), photos[i].captureTime, false, 0};
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const PhotoOrderEntry& a, const PhotoOrderEntry& b) { return a.time < b.time; });
}

MatchCounts MatchPhotosToTrack(std::vector<TrackOrderEntry>& track, std::vector<PhotoOrderEntry>& photos) {
  MatchCounts counts;
  std::size_t start = 0;
  for (PhotoOrderEntry& photo : photos) {
    photo.matched = false;
    const std::int64_t t = photo.time;
    std::size_t i = start;
    while (i < track.size() && !(t < track[i].time)) ++i;
    if (i >= track.size() || i == 0 || std::int64_t{track[i].time} - track[i - 1].time > kMatchWindowSeconds) {
      ++counts.failed;
      continue;
    }
    const std::size_t chosen = (track[i].time - t) < (t - track[i - 1].time) ? i : i - 1;
    photo.matched = true;
    photo.pointIndex = track[chosen].pointIndex;
    track[chosen].hasPhoto = true;
    start = chosen;
    ++counts.combined;
  }
  return counts;
}

}  // namespace kavro
