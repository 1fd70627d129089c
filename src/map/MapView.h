#pragma once
#include <QPointF>
#include <QSizeF>

#include "map/WebMercator.h"

namespace kavro::map {

// A box on the world square (see WorldPoint); empty until something is added.
struct WorldBox {
  double minX = 1, minY = 1, maxX = 0, maxY = 0;
  bool IsEmpty() const { return minX > maxX || minY > maxY; }
  void Add(const WorldPoint& p);
};

// What part of the world a picture of some size shows: its centre and a zoom that need not be
// whole (tiles of the nearest whole zoom are scaled).
class MapView {
 public:
  MapView() = default;
  MapView(QSizeF size, WorldPoint center, double zoom);

  QSizeF Size() const { return size_; }
  void SetSize(QSizeF size) { size_ = size; }
  WorldPoint Center() const { return center_; }
  double Zoom() const { return zoom_; }
  // Pixels across the whole world square at this zoom.
  double WorldPixels() const;

  QPointF ToScreen(const WorldPoint& p) const;
  WorldPoint ToWorld(const QPointF& screen) const;

  // Keeps the world point under `screen` where it is while zooming by `steps` (1 = twice as big).
  void ZoomAt(const QPointF& screen, double steps);
  // Moves the picture by delta pixels (the map follows a dragging mouse).
  void PanBy(const QPointF& delta);
  // Centres the box and takes the largest zoom (up to kMaxZoom, whole steps of a quarter) at
  // which it fits with `margin` pixels free on every side. An empty box shows the whole world.
  void Fit(const WorldBox& box, double margin);

 private:
  void Clamp();

  QSizeF size_{1200, 800};
  WorldPoint center_{0.5, 0.5};
  double zoom_ = 2;
};

}  // namespace kavro::map
