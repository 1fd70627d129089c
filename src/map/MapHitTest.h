#pragma once
#include <QPointF>
#include <QStringList>
#include <optional>

#include "common/StringTable.h"
#include "map/MapData.h"
#include "map/MapPainter.h"
#include "map/MapView.h"
#include "track/ZoneClock.h"

namespace kavro::map {

// The track point drawn nearest to a place in the picture, when one lies within maxPixels.
std::optional<PointRef> NearestTrackPoint(const MapData& data, const MapView& view, const QPointF& at,
                                          double maxPixels);
// The photo whose thumbnail is under a place in the picture (the one drawn last wins).
std::optional<std::size_t> PhotoAt(const MapData& data, const MapView& view, const QPointF& at);

// "2008-03-15 17:30:12" in the zone given, as the hover and the photo view show times.
QString LocalTimeText(std::int64_t utc, const ZoneClock& zone);
// What the hover shows for a track point: its local time, height and position.
QStringList PointLines(const StringTable& strings, const MapPoint& point, const ZoneClock& zone);

}  // namespace kavro::map
