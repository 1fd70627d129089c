#pragma once
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "common/StringTable.h"
#include "map/MapData.h"
#include "map/MapView.h"
#include "map/TileKey.h"
#include "map/TrackLayer.h"

namespace kavro::map {

// Tile pictures at hand; the painter never waits for one.
class TileImages {
 public:
  virtual ~TileImages() = default;
  // The tile's picture, or a null image when it is not (yet) there.
  virtual QImage Image(const TileKey& key) const = 0;
};

// A point of a track.
struct PointRef {
  std::size_t track = 0;
  std::size_t index = 0;
  bool operator==(const PointRef&) const = default;
};

// What is drawn over the map besides the data.
struct MapOverlay {
  std::optional<PointRef> hover;
  QStringList hoverLines;  // beside the hovered point
  QString tileNote;        // the quiet line: tiles unavailable and why (empty: none)
  QString attribution;     // the tile source's credit, drawn when tiles are used
};

// Draws one map picture: the plain background with its latitude/longitude grid, the tiles at
// hand over it, the tracks with start and end marks, waypoints, photos, scale bar and notes.
// The same code draws the window's map and the command line's picture.
class MapPainter {
 public:
  explicit MapPainter(const StringTable& strings) : strings_(strings) {}

  // False when the tracks were shown quickly (see SetQuickZoom): paint again once it is off.
  bool Paint(QPainter& painter, const MapView& view, const MapData& data, const TileImages* tiles,
             const MapOverlay& overlay);
  // While a wheel turns, a new zoom shows the tracks' last picture scaled instead of drawing
  // them anew for every step.
  void SetQuickZoom(bool quick) { quickZoom_ = quick; }

  // Where a photo's thumbnail is drawn in this view.
  static QRectF PhotoRect(const MapView& view, const MapPhoto& photo);
  static constexpr int kThumbnailSize = 44;
  // Grid colour: a test tells the background and the grid from a track.
  static constexpr QRgb kBackground = 0xfff2f1ec;

 private:
  void PaintGrid(QPainter& p, const MapView& view) const;
  void PaintTiles(QPainter& p, const MapView& view, const TileImages& tiles) const;
  void PaintMarks(QPainter& p, const MapView& view, const MapData& data) const;
  void PaintPhotos(QPainter& p, const MapView& view, const MapData& data) const;
  void PaintHover(QPainter& p, const MapView& view, const MapData& data, const MapOverlay& overlay) const;
  void PaintScaleBar(QPainter& p, const MapView& view) const;
  void PaintNotes(QPainter& p, const MapView& view, const MapOverlay& overlay) const;

  const StringTable& strings_;
  TrackLayer tracks_;
  bool quickZoom_ = false;
};

// Lines of the grid: the step in degrees for a view (lines about 100 pixels or more apart).
double GridStepDegrees(double degreesPerPixel);
// A label of the grid: "47.5°N", "8.25°E", with as many decimals as the step needs.
QString GridLabel(double degrees, double step, bool latitude);

}  // namespace kavro::map
