#pragma once
#include "common/OutputSink.h"
#include "track/TrackFileReader.h"

namespace kavro {

// The GPX 1.1 document of a track log file: one track of one segment holding every valid point
// with its elevation and its time in UTC, the shape map and fitness programs show as a track
// (the GPX 1.0 output holds waypoints and a route). Reads the source once from its start and
// leaves it rewound. False when the source could not be read through or the output refused a
// write.
bool WriteGpx11Track(TrackFileReader& source, OutputSink& out);

inline constexpr const char* kGpx11Namespace = "http://www.topografix.com/GPX/1/1";
inline constexpr const char* kGpx11SchemaLocation = "http://www.topografix.com/GPX/1/1/gpx.xsd";

}  // namespace kavro
