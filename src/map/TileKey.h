#pragma once
#include <cstdint>
#include <vector>

#include "map/MapView.h"

namespace kavro::map {

// One tile of the square grid at a whole zoom: x to the east, y to the south, each 0..2^z-1.
struct TileKey {
  int z = 0;
  int x = 0;
  int y = 0;
  bool operator==(const TileKey&) const = default;
  std::uint64_t Packed() const {
    return std::uint64_t(unsigned(z)) << 58 | std::uint64_t(unsigned(x)) << 29 | std::uint64_t(unsigned(y));
  }
};

// The whole zoom whose tiles a view draws (scaled by at most 1.41 either way).
int TileZoom(const MapView& view);
// The tiles a view shows, nearest the centre first (fetched in that order).
std::vector<TileKey> VisibleTiles(const MapView& view);

}  // namespace kavro::map
