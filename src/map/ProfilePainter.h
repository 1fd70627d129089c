#pragma once
#include <QPainter>
#include <QRectF>
#include <optional>

#include "common/StringTable.h"
#include "map/HeightProfile.h"
#include "map/MapData.h"
#include "track/ZoneClock.h"

namespace kavro::map {

// Draws the height profile: height over distance or over time in each track's colour, the
// lowest and the highest point marked, a line with lowest, highest, climb and length, and the
// hovered point. The same code for the window's strip and the picture's.
class ProfilePainter {
 public:
  explicit ProfilePainter(const StringTable& strings) : strings_(strings) {}

  void Paint(QPainter& p, const QRectF& area, const HeightProfile& profile, const MapData& data, bool overTime,
             const ZoneClock& zone, std::optional<std::size_t> hover) const;

  // The plot inside the area (without the labels around it), and the axis value at an x there.
  static QRectF PlotRect(const QRectF& area);
  static double AxisValueAt(const QRectF& area, const HeightProfile& profile, bool overTime, double x);
  // The summary line, e.g. "Lowest: 412 m   Highest: 980 m   Climb: 640 m   Length: 12.3 km".
  QString Summary(const HeightProfile& profile) const;

 private:
  void PaintAxes(QPainter& p, const QRectF& plot, const HeightProfile& profile, bool overTime, const ZoneClock& zone,
                 double low, double high) const;

  const StringTable& strings_;
};

}  // namespace kavro::map
