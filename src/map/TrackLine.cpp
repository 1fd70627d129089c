#include "map/TrackLine.h"

#include <QRectF>
#include <algorithm>

namespace kavro::map {
namespace {

// The segment's box meets the area (cheap, and never drops a segment that crosses it).
bool SegmentNear(const QPointF& a, const QPointF& b, const QRectF& area) {
  return std::max(a.x(), b.x()) >= area.left() && std::min(a.x(), b.x()) <= area.right() &&
         std::max(a.y(), b.y()) >= area.top() && std::min(a.y(), b.y()) <= area.bottom();
}

}  // namespace

double SimplifyPixels(double zoom) { return zoom >= kMaxZoom ? 0.0 : 1.0; }

void VisibleLines(const std::vector<MapPoint>& points, const MapView& view, double minPixels,
                  std::vector<QPolygonF>& lines) {
  lines.clear();
  const double margin = 8;  // a line's width: a line just outside still shows its edge
  const QRectF area(-margin, -margin, view.Size().width() + 2 * margin, view.Size().height() + 2 * margin);
  const double min2 = minPixels * minPixels;
  QPolygonF current;
  QPointF prev, kept, tail;
  bool tailPending = false;
  auto flush = [&] {
    if (tailPending) current << tail;
    if (current.size() >= 2) lines.push_back(std::move(current));
    current = QPolygonF();
    tailPending = false;
  };
  for (std::size_t i = 0; i < points.size(); ++i) {
    const QPointF s = view.ToScreen(points[i].world);
    if (i == 0) {
      prev = s;
      continue;
    }
    if (!SegmentNear(prev, s, area)) {
      flush();
      prev = s;
      continue;
    }
    if (current.isEmpty()) {
      current << prev;
      kept = prev;
    }
    const QPointF d = s - kept;
    if (d.x() * d.x() + d.y() * d.y() >= min2) {
      current << s;
      kept = s;
      tailPending = false;
    } else {
      tail = s;
      tailPending = true;
    }
    prev = s;
  }
  flush();
}

}  // namespace kavro::map
