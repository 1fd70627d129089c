#include "map/MapView.h"

#include <algorithm>
#include <cmath>

namespace kavro::map {

void WorldBox::Add(const WorldPoint& p) {
  minX = std::min(minX, p.x);
  minY = std::min(minY, p.y);
  maxX = std::max(maxX, p.x);
  maxY = std::max(maxY, p.y);
}

MapView::MapView(QSizeF size, WorldPoint center, double zoom) : size_(size), center_(center), zoom_(zoom) { Clamp(); }

double MapView::WorldPixels() const { return kTileSize * std::exp2(zoom_); }

QPointF MapView::ToScreen(const WorldPoint& p) const {
  const double s = WorldPixels();
  return {(p.x - center_.x) * s + size_.width() / 2, (p.y - center_.y) * s + size_.height() / 2};
}

WorldPoint MapView::ToWorld(const QPointF& screen) const {
  const double s = WorldPixels();
  return {center_.x + (screen.x() - size_.width() / 2) / s, center_.y + (screen.y() - size_.height() / 2) / s};
}

void MapView::ZoomAt(const QPointF& screen, double steps) {
  const WorldPoint anchor = ToWorld(screen);
  zoom_ = std::clamp(zoom_ + steps, double{kMinZoom}, double{kMaxZoom});
  const double s = WorldPixels();
  center_.x = anchor.x - (screen.x() - size_.width() / 2) / s;
  center_.y = anchor.y - (screen.y() - size_.height() / 2) / s;
  Clamp();
}

void MapView::PanBy(const QPointF& delta) {
  const double s = WorldPixels();
  center_.x -= delta.x() / s;
  center_.y -= delta.y() / s;
  Clamp();
}

void MapView::Fit(const WorldBox& box, double margin) {
  if (box.IsEmpty()) {
    center_ = {0.5, 0.5};
    zoom_ = kMinZoom;
    return;
  }
  center_ = {(box.minX + box.maxX) / 2, (box.minY + box.maxY) / 2};
  const double w = std::max(1.0, size_.width() - 2 * margin);
  const double h = std::max(1.0, size_.height() - 2 * margin);
  const double spanX = std::max(box.maxX - box.minX, 1e-12);
  const double spanY = std::max(box.maxY - box.minY, 1e-12);
  const double fit = std::log2(std::min(w / spanX, h / spanY) / kTileSize);
  zoom_ = std::clamp(std::floor(fit * 4) / 4, double{kMinZoom}, double{kMaxZoom});
  Clamp();
}

void MapView::Clamp() {
  // The world square does not repeat: its centre stays on it.
  center_.x = std::clamp(center_.x, 0.0, 1.0);
  center_.y = std::clamp(center_.y, 0.0, 1.0);
  if (!std::isfinite(zoom_)) zoom_ = kMinZoom;
}

}  // namespace kavro::map
