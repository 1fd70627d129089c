#include "map/MapHitTest.h"

#include <ctime>

#include "common/Texts.h"

namespace kavro::map {

std::optional<PointRef> NearestTrackPoint(const MapData& data, const MapView& view, const QPointF& at,
                                          double maxPixels) {
  // Compared on the world square: one multiplication less a point than in pixels.
  const WorldPoint w = view.ToWorld(at);
  const double limit = maxPixels / view.WorldPixels();
  double best = limit * limit;
  std::optional<PointRef> found;
  for (std::size_t t = 0; t < data.tracks.size(); ++t) {
    const std::vector<MapPoint>& points = data.tracks[t].points;
    for (std::size_t i = 0; i < points.size(); ++i) {
      const double dx = points[i].world.x - w.x, dy = points[i].world.y - w.y;
      const double d = dx * dx + dy * dy;
      if (d <= best) {
        best = d;
        found = PointRef{t, i};
      }
    }
  }
  return found;
}

std::optional<std::size_t> PhotoAt(const MapData& data, const MapView& view, const QPointF& at) {
  for (std::size_t i = data.photos.size(); i-- > 0;)
    if (MapPainter::PhotoRect(view, data.photos[i]).adjusted(-2, -2, 2, 2).contains(at)) return i;
  return std::nullopt;
}

QString LocalTimeText(std::int64_t utc, const ZoneClock& zone) {
  std::tm t{};
  if (!zone.ToLocal(utc, t)) return QString();
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &t);
  return QString::fromLatin1(buf);
}

QStringList PointLines(const StringTable& strings, const MapPoint& point, const ZoneClock& zone) {
  return {LocalTimeText(point.utc, zone),
          strings.Format(txt::MapHoverHeight, {QString::number(static_cast<double>(point.alt), 'f', 0)}),
          strings.Format(txt::MapPosition, {QString::number(point.lat, 'f', 5), QString::number(point.lon, 'f', 5)})};
}

}  // namespace kavro::map
