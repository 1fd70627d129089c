#include "map/WebMercator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kavro::map {
namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kEarthRadius = 6371008.8;  // mean radius
double Radians(double degrees) { return degrees * kPi / 180.0; }
}  // namespace

WorldPoint ToWorld(double lat, double lon) {
  const double phi = Radians(std::clamp(lat, -kMaxLatitude, kMaxLatitude));
  WorldPoint p;
  p.x = (lon + 180.0) / 360.0;
  p.y = (1.0 - std::log(std::tan(phi) + 1.0 / std::cos(phi)) / kPi) / 2.0;
  return p;
}

double LatitudeOf(double worldY) { return std::atan(std::sinh(kPi * (1.0 - 2.0 * worldY))) * 180.0 / kPi; }

double LongitudeOf(double worldX) { return worldX * 360.0 - 180.0; }

double MetresPerPixel(double lat, double zoom) {
  return kMetresPerPixelZoom0 * std::cos(Radians(std::clamp(lat, -kMaxLatitude, kMaxLatitude))) / std::exp2(zoom);
}

double DistanceMetres(double lat1, double lon1, double lat2, double lon2) {
  const double dLat = Radians(lat2 - lat1);
  const double dLon = Radians(lon2 - lon1);
  const double a = std::sin(dLat / 2) * std::sin(dLat / 2) +
                   std::cos(Radians(lat1)) * std::cos(Radians(lat2)) * std::sin(dLon / 2) * std::sin(dLon / 2);
  return 2 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(a)));
}

}  // namespace kavro::map
