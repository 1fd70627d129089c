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
  constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
  for (PhotoEntry& photo : photos) {
    photo.uncalibratedTime = photo.captureTime;
    const std::int64_t t = std::int64_t{photo.captureTime} + calibrationSeconds;
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

namespace {

PhotoMatchDetail Located(PhotoMatchKind kind, const TrackPoint& p, std::int64_t seconds) {
  PhotoMatchDetail d;
  d.match = kind;
  d.secondsToNearest = seconds;
  d.located = true;
  d.lat = p.lat;
  d.lon = p.lon;
  d.alt = p.alt;
  return d;
}

PhotoMatchDetail Interpolated(const TrackPoint& a, const TrackPoint& b, std::int64_t t, std::int64_t seconds) {
  PhotoMatchDetail d = Located(PhotoMatchKind::Interpolated, a, seconds);
  const double span = static_cast<double>(b.time) - a.time;
  const double f = span > 0 ? (static_cast<double>(t) - a.time) / span : 0.0;
  d.lat = a.lat + (double{b.lat} - a.lat) * f;
  d.lon = a.lon + (double{b.lon} - a.lon) * f;
  d.alt = a.alt + (double{b.alt} - a.alt) * f;
  return d;
}

}  // namespace

MatchCounts MatchPhotosToTrack(std::vector<TrackOrderEntry>& track, std::vector<PhotoOrderEntry>& photos,
                               const std::vector<TrackPoint>& points, const MatchOptions& options,
                               std::vector<PhotoMatchDetail>& details) {
  MatchCounts counts;
  details.assign(photos.size(), PhotoMatchDetail{});
  std::size_t start = 0;
  for (std::size_t k = 0; k < photos.size(); ++k) {
    PhotoOrderEntry& photo = photos[k];
    PhotoMatchDetail& detail = details[k];
    photo.matched = false;
    const std::int64_t t = photo.time;
    std::size_t i = start;
    while (i < track.size() && !(t < track[i].time)) ++i;
    if (i >= track.size() || i == 0) {
      ++counts.failed;
      if (!track.empty()) detail.secondsToNearest = i == 0 ? track.front().time - t : t - track.back().time;
      continue;
    }
    const std::int64_t before = t - track[i - 1].time, after = track[i].time - t;
    if (std::int64_t{track[i].time} - track[i - 1].time > options.maxGapSeconds) {
      ++counts.failed;
      detail.match = PhotoMatchKind::TooFar;
      detail.secondsToNearest = std::min(before, after);
      continue;
    }
    const std::size_t chosen = after < before ? i : i - 1;
    photo.matched = true;
    photo.pointIndex = track[chosen].pointIndex;
    track[chosen].hasPhoto = true;
    start = chosen;
    ++counts.combined;
    const TrackPoint& near = points[track[chosen].pointIndex];
    const std::int64_t seconds = std::min(before, after);
    if (seconds == 0) {
      detail = Located(PhotoMatchKind::Exact, near, 0);
    } else if (options.interpolate) {
      detail = Interpolated(points[track[i - 1].pointIndex], points[track[i].pointIndex], t, seconds);
    } else {
      detail = Located(PhotoMatchKind::Nearest, near, seconds);
    }
  }
  return counts;
}

}  // namespace kavro
