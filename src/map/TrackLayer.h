#pragma once
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <cstddef>
#include <vector>

#include "map/MapData.h"
#include "map/MapView.h"

namespace kavro::map {

// The tracks drawn once into a picture of their own and reused while only the position of the
// view changes: a full memory is tens of thousands of wide, smoothed segments, far too many to
// draw again on every hover or step of a drag. The picture reaches a margin beyond the view on
// every side, so a drag draws from it until it has moved the margin's width.
class TrackLayer {
 public:
  // With `quick`, another zoom of the same tracks shows the kept picture scaled, for a wheel
  // that turns on; false then, and the caller paints again without `quick` once it rests.
  bool Paint(QPainter& p, const MapView& view, const MapData& data, bool quick = false);

  // How far beyond the view the picture reaches, in pixels.
  static constexpr double kMargin = 512;
  // Vertices in one stroke: the rasteriser's cost grows with the length of a self-crossing
  // line, so long lines go out in short pieces that meet at round joins.
  static constexpr qsizetype kPieceVertices = 16;

 private:
  struct TrackKey {
    const MapPoint* points = nullptr;
    std::size_t count = 0;
    QRgb color = 0;
    bool operator==(const TrackKey&) const = default;
  };
  // What the picture shows apart from its position: the same tracks, zoom and pixel scale.
  struct Key {
    std::vector<TrackKey> tracks;
    double zoom = -1;
    QSizeF viewSize;
    qreal pixelRatio = 1;
    bool operator==(const Key&) const = default;
    bool SameButZoom(const Key& o) const { return tracks == o.tracks && viewSize == o.viewSize && pixelRatio == o.pixelRatio; }
  };

  struct Band {
    QImage image;
    double top = 0;     // in the picture's pixels
    double height = 0;
  };

  static Key KeyOf(const MapView& view, const MapData& data, qreal pixelRatio);
  // Where the picture's corner lies in the view, when the picture covers all of the view.
  bool Covers(const MapView& view, QPointF& corner) const;
  void Render(const MapView& view, const MapData& data, qreal pixelRatio);
  void RenderBand(Band& band, double width, const MapData& data, qreal pixelRatio) const;
  // The pieces of the lines that reach between `from` and `to` (the picture's y).
  static void Stroke(QPainter& p, const std::vector<QPolygonF>& lines, double from, double to);

  std::vector<Band> bands_;
  MapView imageView_;  // the view the picture was drawn for (the view grown by its margin)
  Key key_;
  std::vector<std::vector<QPolygonF>> lines_;  // each track's, kept between pictures
};

}  // namespace kavro::map
