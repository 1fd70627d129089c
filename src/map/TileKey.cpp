#include "map/TileKey.h"

#include <algorithm>
#include <cmath>

namespace kavro::map {

int TileZoom(const MapView& view) { return std::clamp(static_cast<int>(std::lround(view.Zoom())), 0, kMaxZoom); }

std::vector<TileKey> VisibleTiles(const MapView& view) {
  const int z = TileZoom(view);
  const int n = 1 << z;
  const WorldPoint a = view.ToWorld({0, 0});
  const WorldPoint b = view.ToWorld({view.Size().width(), view.Size().height()});
  const int x0 = std::clamp(static_cast<int>(std::floor(a.x * n)), 0, n - 1);
  const int x1 = std::clamp(static_cast<int>(std::floor(b.x * n)), 0, n - 1);
  const int y0 = std::clamp(static_cast<int>(std::floor(a.y * n)), 0, n - 1);
  const int y1 = std::clamp(static_cast<int>(std::floor(b.y * n)), 0, n - 1);
  std::vector<TileKey> keys;
  if (b.x < 0 || a.x > 1 || b.y < 0 || a.y > 1) return keys;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) keys.push_back({z, x, y});
  const WorldPoint c = view.Center();
  auto dist = [&](const TileKey& k) {
    const double dx = (k.x + 0.5) / n - c.x, dy = (k.y + 0.5) / n - c.y;
    return dx * dx + dy * dy;
  };
  std::stable_sort(keys.begin(), keys.end(), [&](const TileKey& l, const TileKey& r) { return dist(l) < dist(r); });
  return keys;
}

}  // namespace kavro::map
