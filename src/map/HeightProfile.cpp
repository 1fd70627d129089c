#include "map/HeightProfile.h"

#include <algorithm>
#include <cmath>

namespace kavro::map {

HeightProfile::HeightProfile(const MapData& data) {
  samples_.reserve(data.PointCount());
  const MapPoint* prev = nullptr;
  float turn = 0;  // the height where the climb last turned
  for (const MapTrack& track : data.tracks) {
    trackStart_.push_back(samples_.size());
    // The next track goes on where the last one ended: no distance for the way between them.
    prev = nullptr;
    for (const MapPoint& p : track.points) {
      if (prev != nullptr) length_ += DistanceMetres(prev->lat, prev->lon, p.lat, p.lon);
      if (samples_.empty()) {
        lowest_ = highest_ = turn = p.alt;
        firstUtc_ = lastUtc_ = p.utc;
      }
      if (p.alt - turn >= kClimbThreshold) {
        climb_ += p.alt - turn;
        turn = p.alt;
      } else if (turn - p.alt >= kClimbThreshold) {
        turn = p.alt;
      }
      if (p.alt < lowest_) {
        lowest_ = p.alt;
        lowestIndex_ = samples_.size();
      }
      if (p.alt > highest_) {
        highest_ = p.alt;
        highestIndex_ = samples_.size();
      }
      firstUtc_ = std::min(firstUtc_, p.utc);
      lastUtc_ = std::max(lastUtc_, p.utc);
      samples_.push_back({length_, p.utc, p.alt});
      prev = &p;
    }
  }
}

std::optional<std::size_t> HeightProfile::IndexOf(const PointRef& point) const {
  if (point.track >= trackStart_.size()) return std::nullopt;
  const std::size_t end = point.track + 1 < trackStart_.size() ? trackStart_[point.track + 1] : samples_.size();
  const std::size_t i = trackStart_[point.track] + point.index;
  return i < end ? std::optional<std::size_t>(i) : std::nullopt;
}

std::size_t HeightProfile::TrackOf(std::size_t index) const {
  const auto it = std::upper_bound(trackStart_.begin(), trackStart_.end(), index);
  return static_cast<std::size_t>(it - trackStart_.begin()) - 1;
}

PointRef HeightProfile::PointOf(std::size_t index) const {
  const std::size_t t = TrackOf(index);
  return {t, index - trackStart_[t]};
}

std::optional<std::size_t> HeightProfile::Nearest(double axisValue, bool overTime) const {
  if (samples_.empty()) return std::nullopt;
  std::size_t best = 0;
  double bestDistance = INFINITY;
  // Over distance the samples are in order; over time a later track may start earlier.
  for (std::size_t i = 0; i < samples_.size(); ++i) {
    const double v = overTime ? static_cast<double>(samples_[i].utc) : samples_[i].distance;
    const double d = std::abs(v - axisValue);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

}  // namespace kavro::map
