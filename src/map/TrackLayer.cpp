#include "map/TrackLayer.h"

#include <QPaintDevice>
#include <algorithm>
#include <cmath>

#include "map/TrackLine.h"

namespace kavro::map {

TrackLayer::Key TrackLayer::KeyOf(const MapView& view, const MapData& data, qreal pixelRatio) {
  Key key;
  key.zoom = view.Zoom();
  key.viewSize = view.Size();
  key.pixelRatio = pixelRatio;
  for (const MapTrack& t : data.tracks) key.tracks.push_back({t.points.data(), t.points.size(), t.color.rgba()});
  return key;
}

bool TrackLayer::Covers(const MapView& view, QPointF& corner) const {
  if (image_.isNull()) return false;
  // Same zoom: the two views differ by a shift, the one of their centres.
  const QPointF centre(view.Size().width() / 2, view.Size().height() / 2);
  const QPointF shift = centre - imageView_.ToScreen(view.Center());
  corner = QPointF(std::round(shift.x()), std::round(shift.y()));
  const QSizeF size = imageView_.Size();
  return corner.x() <= 0 && corner.y() <= 0 && corner.x() + size.width() >= view.Size().width() &&
         corner.y() + size.height() >= view.Size().height();
}

bool TrackLayer::Paint(QPainter& p, const MapView& view, const MapData& data, bool quick) {
  const qreal ratio = p.device() != nullptr ? p.device()->devicePixelRatioF() : 1.0;
  Key key = KeyOf(view, data, ratio);
  if (quick && !image_.isNull() && key.zoom != key_.zoom && key.SameButZoom(key_)) {
    const QPointF topLeft = view.ToScreen(imageView_.ToWorld(QPointF(0, 0)));
    const QPointF bottomRight = view.ToScreen(imageView_.ToWorld(QPointF(imageView_.Size().width(), imageView_.Size().height())));
    p.drawImage(QRectF(topLeft, bottomRight), image_);
    return false;
  }
  QPointF corner;
  if (key != key_ || !Covers(view, corner)) {
    key_ = std::move(key);
    Render(view, data, ratio);
    corner = QPointF(-kMargin, -kMargin);
  }
  p.drawImage(corner, image_);
  return true;
}

void TrackLayer::Render(const MapView& view, const MapData& data, qreal pixelRatio) {
  const QSizeF size(view.Size().width() + 2 * kMargin, view.Size().height() + 2 * kMargin);
  imageView_ = MapView(size, view.Center(), view.Zoom());
  const QSize pixels(static_cast<int>(std::ceil(size.width() * pixelRatio)),
                     static_cast<int>(std::ceil(size.height() * pixelRatio)));
  if (image_.size() != pixels) image_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
  image_.setDevicePixelRatio(pixelRatio);
  image_.fill(Qt::transparent);
  QPainter p(&image_);
  p.setRenderHint(QPainter::Antialiasing, true);
  const double minPixels = SimplifyPixels(view.Zoom());
  for (const MapTrack& track : data.tracks) {
    VisibleLines(track.points, imageView_, minPixels, lines_);
    // A white casing keeps the line apart from roads of the same colour. Opaque: the pieces
    // of a line overlap where they meet, and a see-through casing would show each meeting.
    // Bevelled joins: round ones cost twice the time, and at these widths look the same; the
    // round caps close the pieces' meeting points.
    p.setPen(QPen(Qt::white, 5.5, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
    Stroke(p);
    p.setPen(QPen(track.color, 3, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
    Stroke(p);
  }
}

void TrackLayer::Stroke(QPainter& p) const {
  for (const QPolygonF& line : lines_) {
    for (qsizetype i = 0; i + 1 < line.size(); i += kPieceVertices - 1) {
      const qsizetype n = std::min<qsizetype>(kPieceVertices, line.size() - i);
      p.drawPolyline(line.constData() + i, static_cast<int>(n));
    }
  }
}

}  // namespace kavro::map
