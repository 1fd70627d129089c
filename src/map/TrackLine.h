#pragma once
#include <QPolygonF>
#include <vector>

#include "map/MapData.h"
#include "map/MapView.h"

namespace kavro::map {

// The pieces of a track line worth drawing in a view: points closer than minPixels to the last
// one kept are left out (the line looks the same, the frame is cheaper), and stretches that run
// wholly outside the picture break the line. minPixels 0 keeps every point.
void VisibleLines(const std::vector<MapPoint>& points, const MapView& view, double minPixels,
                  std::vector<QPolygonF>& lines);

// How close kept points may lie at this zoom: a pixel, and none left out at the highest zoom.
double SimplifyPixels(double zoom);

}  // namespace kavro::map
