#include "map/MapPainter.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <array>
#include <cmath>

#include "common/Texts.h"

namespace kavro::map {
namespace {

constexpr QRgb kGridLine = 0xffcfcdc4;
constexpr QRgb kGridText = 0xff6e6c66;
constexpr QRgb kStartMark = 0xff1a9641;
constexpr QRgb kEndMark = 0xff202020;
constexpr QRgb kWaypoint = 0xffffc400;

QFont SmallFont() {
  QFont f;
  f.setPixelSize(11);
  return f;
}

// Text on a pale box, so it reads on any tile.
void BoxedText(QPainter& p, const QPointF& topLeft, const QStringList& lines) {
  const QFontMetricsF fm(p.font());
  double w = 0;
  for (const QString& l : lines) w = std::max(w, fm.horizontalAdvance(l));
  const double lh = fm.height();
  const QRectF box(topLeft, QSizeF(w + 8, lh * static_cast<double>(lines.size()) + 4));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 215));
  p.drawRect(box);
  p.setPen(QColor(0x30, 0x30, 0x30));
  for (qsizetype i = 0; i < lines.size(); ++i)
    p.drawText(QPointF(box.left() + 4, box.top() + 2 + fm.ascent() + lh * static_cast<double>(i)), lines[i]);
}

}  // namespace

double GridStepDegrees(double degreesPerPixel) {
  static constexpr std::array<double, 18> kSteps = {0.0001, 0.0002, 0.0005, 0.001, 0.002, 0.005, 0.01, 0.02, 0.05,
                                                    0.1,    0.2,    0.5,    1,     2,     5,     10,   20,   30};
  for (double s : kSteps)
    if (s / degreesPerPixel >= 100) return s;
  return 45;
}

QString GridLabel(double degrees, double step, bool latitude) {
  const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
  const double rounded = std::abs(degrees) < step / 2 ? 0.0 : degrees;
  const QString number = QString::number(std::abs(rounded), 'f', decimals);
  if (rounded == 0) return number + QStringLiteral("°");
  return number + QStringLiteral("°") + (latitude ? (rounded > 0 ? QStringLiteral("N") : QStringLiteral("S"))
                                                  : (rounded > 0 ? QStringLiteral("E") : QStringLiteral("W")));
}

bool MapPainter::Paint(QPainter& p, const MapView& view, const MapData& data, const TileImages* tiles,
                       const MapOverlay& overlay) {
  p.save();
  p.setClipRect(QRectF(QPointF(0, 0), view.Size()));
  p.fillRect(QRectF(QPointF(0, 0), view.Size()), QColor::fromRgb(kBackground));
  p.setFont(SmallFont());
  PaintGrid(p, view);
  if (tiles != nullptr) PaintTiles(p, view, *tiles);
  p.setRenderHint(QPainter::Antialiasing, true);
  const bool settled = tracks_.Paint(p, view, data, quickZoom_);
  PaintMarks(p, view, data);
  PaintPhotos(p, view, data);
  PaintHover(p, view, data, overlay);
  PaintScaleBar(p, view);
  PaintNotes(p, view, overlay);
  p.restore();
  return settled;
}

void MapPainter::PaintGrid(QPainter& p, const MapView& view) const {
  const double w = view.Size().width(), h = view.Size().height();
  const WorldPoint a = view.ToWorld({0, 0});
  const WorldPoint b = view.ToWorld({w, h});
  const double lonLeft = LongitudeOf(a.x), lonRight = LongitudeOf(b.x);
  const double latTop = LatitudeOf(a.y), latBottom = LatitudeOf(b.y);
  const double step = GridStepDegrees((lonRight - lonLeft) / std::max(1.0, w));
  p.setPen(QPen(QColor::fromRgb(kGridLine), 1));
  const QFontMetricsF fm(p.font());
  for (double lon = std::ceil(std::max(-180.0, lonLeft) / step) * step; lon <= std::min(180.0, lonRight); lon += step) {
    const double x = view.ToScreen(ToWorld(0, lon)).x();
    p.setPen(QPen(QColor::fromRgb(kGridLine), 1));
    p.drawLine(QPointF(x, 0), QPointF(x, h));
    p.setPen(QColor::fromRgb(kGridText));
    p.drawText(QPointF(x + 3, fm.ascent() + 2), GridLabel(lon, step, false));
  }
  const double latLow = std::max(-kMaxLatitude, latBottom), latHigh = std::min(kMaxLatitude, latTop);
  for (double lat = std::ceil(latLow / step) * step; lat <= latHigh; lat += step) {
    const double y = view.ToScreen(ToWorld(lat, 0)).y();
    p.setPen(QPen(QColor::fromRgb(kGridLine), 1));
    p.drawLine(QPointF(0, y), QPointF(w, y));
    p.setPen(QColor::fromRgb(kGridText));
    p.drawText(QPointF(3, y - 3), GridLabel(lat, step, true));
  }
}

void MapPainter::PaintTiles(QPainter& p, const MapView& view, const TileImages& tiles) const {
  p.setRenderHint(QPainter::SmoothPixmapTransform, std::abs(view.Zoom() - std::round(view.Zoom())) > 1e-6);
  for (const TileKey& key : VisibleTiles(view)) {
    const QImage image = tiles.Image(key);
    if (image.isNull()) continue;
    const double n = std::exp2(key.z);
    const QPointF tl = view.ToScreen({key.x / n, key.y / n});
    const QPointF br = view.ToScreen({(key.x + 1) / n, (key.y + 1) / n});
    // Whole pixels on both edges: no seams between neighbours.
    const QRectF target(QPointF(std::floor(tl.x()), std::floor(tl.y())), QPointF(std::ceil(br.x()), std::ceil(br.y())));
    p.drawImage(target, image);
  }
}

void MapPainter::PaintMarks(QPainter& p, const MapView& view, const MapData& data) const {
  p.setPen(QPen(Qt::white, 2));
  for (const MapTrack& track : data.tracks) {
    if (track.points.empty()) continue;
    p.setBrush(QColor::fromRgb(kStartMark));
    p.drawEllipse(view.ToScreen(track.points.front().world), 6.0, 6.0);
    p.setBrush(QColor::fromRgb(kEndMark));
    const QPointF end = view.ToScreen(track.points.back().world);
    p.drawRect(QRectF(end - QPointF(5.5, 5.5), QSizeF(11, 11)));
  }
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.2));
  p.setBrush(QColor::fromRgb(kWaypoint));
  for (const MapPoint& w : data.waypoints) {
    const QPointF c = view.ToScreen(w.world);
    const QPointF diamond[4] = {c + QPointF(0, -7), c + QPointF(6, 0), c + QPointF(0, 7), c + QPointF(-6, 0)};
    p.drawPolygon(diamond, 4);
  }
}

QRectF MapPainter::PhotoRect(const MapView& view, const MapPhoto& photo) {
  const QPointF c = view.ToScreen(photo.world);
  // Above its place, pointing down at it.
  return {c.x() - kThumbnailSize / 2.0, c.y() - kThumbnailSize - 8.0, double{kThumbnailSize}, double{kThumbnailSize}};
}

void MapPainter::PaintPhotos(QPainter& p, const MapView& view, const MapData& data) const {
  const QRectF area(QPointF(0, 0), view.Size());
  for (const MapPhoto& photo : data.photos) {
    const QRectF r = PhotoRect(view, photo);
    if (!area.intersects(r.adjusted(-2, -2, 2, 10))) continue;
    const QPointF tip = view.ToScreen(photo.world);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    p.setBrush(Qt::white);
    const QPointF pointer[3] = {QPointF(tip.x() - 5, r.bottom()), QPointF(tip.x() + 5, r.bottom()), tip};
    p.drawPolygon(pointer, 3);
    p.drawRect(r.adjusted(-2, -2, 2, 2));
    if (photo.thumbnail.isNull()) {
      p.fillRect(r, QColor(0x9a, 0xa5, 0xb1));
      continue;
    }
    const QSizeF s = QSizeF(photo.thumbnail.size()).scaled(r.size(), Qt::KeepAspectRatio);
    const QRectF target(r.center() - QPointF(s.width() / 2, s.height() / 2), s);
    p.fillRect(r, QColor(0x20, 0x20, 0x20));
    p.drawImage(target, photo.thumbnail);
  }
}

void MapPainter::PaintHover(QPainter& p, const MapView& view, const MapData& data, const MapOverlay& overlay) const {
  if (!overlay.hover || overlay.hover->track >= data.tracks.size()) return;
  const MapTrack& track = data.tracks[overlay.hover->track];
  if (overlay.hover->index >= track.points.size()) return;
  const QPointF c = view.ToScreen(track.points[overlay.hover->index].world);
  p.setPen(QPen(Qt::white, 3));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, 8.0, 8.0);
  p.setPen(QPen(track.color, 2));
  p.drawEllipse(c, 8.0, 8.0);
  if (overlay.hoverLines.isEmpty()) return;
  const QFontMetricsF fm(p.font());
  double w = 0;
  for (const QString& l : overlay.hoverLines) w = std::max(w, fm.horizontalAdvance(l));
  QPointF at = c + QPointF(14, 10);
  // Kept inside the picture.
  at.setX(std::min(at.x(), view.Size().width() - w - 12));
  at.setY(std::min(at.y(), view.Size().height() - fm.height() * static_cast<double>(overlay.hoverLines.size()) - 8));
  BoxedText(p, at, overlay.hoverLines);
}

void MapPainter::PaintScaleBar(QPainter& p, const MapView& view) const {
  const double lat = LatitudeOf(view.Center().y);
  const double mpp = MetresPerPixel(lat, view.Zoom());
  const double maxMetres = mpp * 140;
  double length = std::pow(10.0, std::floor(std::log10(maxMetres)));
  for (double f : {5.0, 2.0})
    if (length * f <= maxMetres) {
      length *= f;
      break;
    }
  const double px = length / mpp;
  const QString label = length >= 1000 ? strings_.Format(txt::MapScaleKilometres, {QString::number(length / 1000)})
                                       : strings_.Format(txt::MapScaleMetres, {QString::number(length)});
  const double h = view.Size().height();
  const QRectF box(8, h - 30, px + 16, 22);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 200));
  p.drawRect(box);
  p.setPen(QPen(QColor(0x20, 0x20, 0x20), 2, Qt::SolidLine, Qt::FlatCap));
  const double y = box.bottom() - 5;
  p.drawLine(QPointF(16, y), QPointF(16 + px, y));
  p.drawLine(QPointF(16, y - 5), QPointF(16, y));
  p.drawLine(QPointF(16 + px, y - 5), QPointF(16 + px, y));
  p.drawText(QPointF(20, y - 5), label);
}

void MapPainter::PaintNotes(QPainter& p, const MapView& view, const MapOverlay& overlay) const {
  const QFontMetricsF fm(p.font());
  if (!overlay.attribution.isEmpty()) {
    const double w = fm.horizontalAdvance(overlay.attribution) + 8;
    BoxedText(p, QPointF(view.Size().width() - w, view.Size().height() - fm.height() - 4), {overlay.attribution});
  }
  // Above the scale bar: at the top it would hide the grid's labels.
  if (!overlay.tileNote.isEmpty())
    BoxedText(p, QPointF(8, view.Size().height() - 36 - fm.height()), {overlay.tileNote});
}

}  // namespace kavro::map
