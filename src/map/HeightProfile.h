#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "map/MapData.h"
#include "map/MapPainter.h"

namespace kavro::map {

// Height over distance (or time) of every track of a map, one after the other.
class HeightProfile {
 public:
  struct Sample {
    double distance = 0;  // metres from the first point of the first track
    std::int64_t utc = 0;
    float alt = 0;
  };

  // Rises smaller than this are GPS noise, not climbing: the climb counts a rise once the height
  // has moved this far from where it last turned.
  static constexpr float kClimbThreshold = 2.0f;

  explicit HeightProfile(const MapData& data);

  bool IsEmpty() const { return samples_.empty(); }
  const std::vector<Sample>& Samples() const { return samples_; }
  double LengthMetres() const { return length_; }
  double ClimbMetres() const { return climb_; }
  float Lowest() const { return lowest_; }
  float Highest() const { return highest_; }
  std::size_t LowestIndex() const { return lowestIndex_; }
  std::size_t HighestIndex() const { return highestIndex_; }
  std::int64_t FirstUtc() const { return samples_.empty() ? 0 : firstUtc_; }
  std::int64_t LastUtc() const { return samples_.empty() ? 0 : lastUtc_; }

  // Between the sample index and the track point it stands for.
  std::optional<std::size_t> IndexOf(const PointRef& point) const;
  PointRef PointOf(std::size_t index) const;
  // The sample nearest an axis value (metres, or UTC seconds over time).
  std::optional<std::size_t> Nearest(double axisValue, bool overTime) const;
  // Which track a sample belongs to.
  std::size_t TrackOf(std::size_t index) const;

 private:
  std::vector<Sample> samples_;
  std::vector<std::size_t> trackStart_;  // first sample of each track
  double length_ = 0;
  double climb_ = 0;
  float lowest_ = 0, highest_ = 0;
  std::size_t lowestIndex_ = 0, highestIndex_ = 0;
  std::int64_t firstUtc_ = 0, lastUtc_ = 0;
};

}  // namespace kavro::map
