#pragma once
// The projection of the web's tile maps: the world between about 85.05 degrees north and south
// as a square, north up, tiles of 256 pixels, zoom z showing the square 256 * 2^z pixels wide.

namespace kavro::map {

inline constexpr double kMaxLatitude = 85.0511287798066;
inline constexpr int kTileSize = 256;
inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 19;
// Equator length / 256: metres per pixel at zoom 0 on the equator.
inline constexpr double kMetresPerPixelZoom0 = 156543.03392804097;

// A place on the world square: x from 0 (180 W) to 1 (180 E), y from 0 (the north edge) to 1.
struct WorldPoint {
  double x = 0;
  double y = 0;
};

// Latitudes beyond the square's edges are clamped to them.
WorldPoint ToWorld(double lat, double lon);
double LatitudeOf(double worldY);
double LongitudeOf(double worldX);
// Ground metres one pixel covers at that latitude and zoom.
double MetresPerPixel(double lat, double zoom);
// Great-circle distance in metres.
double DistanceMetres(double lat1, double lon1, double lat2, double lon2);

}  // namespace kavro::map
