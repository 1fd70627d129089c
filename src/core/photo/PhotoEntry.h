#pragma once
#include <cstdint>
#include <string>

namespace kavro {

inline constexpr std::size_t kMaxPhotos = 140000;

// One photo of the chosen directory.
struct PhotoEntry {
  std::string path;                  // full path as found
  std::int32_t captureTime = 0;      // UTC; calibrated once CalibratePhotos ran
  std::int32_t uncalibratedTime = 0; // captureTime before the calibration
};

// The outcome of reading one photo's time, at the photo's index.
struct ParseResult {
  bool ok = false;
  std::string message;  // empty when ok
};

}  // namespace kavro
