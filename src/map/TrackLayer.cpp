#include "map/TrackLayer.h"

#include <QPaintDevice>
#include <algorithm>
#include <cmath>
#include <thread>

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
  if (bands_.empty()) return false;
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
  if (quick && !bands_.empty() && key.zoom != key_.zoom && key.SameButZoom(key_)) {
    const double w = imageView_.Size().width();
    for (const Band& band : bands_) {
      const QPointF topLeft = view.ToScreen(imageView_.ToWorld(QPointF(0, band.top)));
      const QPointF bottomRight = view.ToScreen(imageView_.ToWorld(QPointF(w, band.top + band.height)));
      p.drawImage(QRectF(topLeft, bottomRight), band.image);
    }
    return false;
  }
  QPointF corner;
  if (key != key_ || !Covers(view, corner)) {
    key_ = std::move(key);
    Render(view, data, ratio);
    corner = QPointF(-kMargin, -kMargin);
  }
  for (const Band& band : bands_) p.drawImage(corner + QPointF(0, band.top), band.image);
  return true;
}

void TrackLayer::Render(const MapView& view, const MapData& data, qreal pixelRatio) {
  const QSizeF size(view.Size().width() + 2 * kMargin, view.Size().height() + 2 * kMargin);
  imageView_ = MapView(size, view.Center(), view.Zoom());
  const double minPixels = SimplifyPixels(view.Zoom());
  lines_.resize(data.tracks.size());
  for (std::size_t t = 0; t < data.tracks.size(); ++t) VisibleLines(data.tracks[t].points, imageView_, minPixels, lines_[t]);
  // Two bands, one above the other, drawn at once on two threads; each pixel belongs to one
  // band and gets the same strokes in the same order as in one picture.
  bands_.resize(2);
  const double upper = std::floor(size.height() / 2);
  bands_[0].top = 0;
  bands_[0].height = upper;
  bands_[1].top = upper;
  bands_[1].height = size.height() - upper;
  std::thread lower([&] { RenderBand(bands_[1], size.width(), data, pixelRatio); });
  RenderBand(bands_[0], size.width(), data, pixelRatio);
  lower.join();
}

void TrackLayer::RenderBand(Band& band, double width, const MapData& data, qreal pixelRatio) const {
  const QSize pixels(static_cast<int>(std::ceil(width * pixelRatio)), static_cast<int>(std::ceil(band.height * pixelRatio)));
  if (band.image.size() != pixels) band.image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
  band.image.setDevicePixelRatio(pixelRatio);
  band.image.fill(Qt::transparent);
  QPainter p(&band.image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.translate(0, -band.top);
  // Pieces that reach into the band, with the casing's half width to spare.
  const double from = band.top - 4, to = band.top + band.height + 4;
  for (std::size_t t = 0; t < data.tracks.size(); ++t) {
    // A white casing keeps the line apart from roads of the same colour. Opaque: the pieces
    // of a line overlap where they meet, and a see-through casing would show each meeting.
    // Bevelled joins: round ones cost twice the time, and at these widths look the same; the
    // round caps close the pieces' meeting points.
    p.setPen(QPen(Qt::white, 5.5, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
    Stroke(p, lines_[t], from, to);
    p.setPen(QPen(data.tracks[t].color, 3, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
    Stroke(p, lines_[t], from, to);
  }
}

void TrackLayer::Stroke(QPainter& p, const std::vector<QPolygonF>& lines, double from, double to) {
  for (const QPolygonF& line : lines) {
    for (qsizetype i = 0; i + 1 < line.size(); i += kPieceVertices - 1) {
      const qsizetype n = std::min<qsizetype>(kPieceVertices, line.size() - i);
      const QPointF* piece = line.constData() + i;
      const auto [low, high] = std::minmax_element(piece, piece + n, [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
      if (high->y() < from || low->y() > to) continue;
      p.drawPolyline(piece, static_cast<int>(n));
    }
  }
}

}  // namespace kavro::map
