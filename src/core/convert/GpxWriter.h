#pragma once
#include "common/OutputSink.h"
#include "track/TrackFileReader.h"

namespace kavro {

// The GPX 1.0 document of a track log file: every valid point as a waypoint "Point k" and again
// as a point of the one route "Route", times in UTC. Elevation comes before time in both blocks,
// as the GPX 1.0 schema orders them. Reads the source twice from its start and leaves it rewound.
// False when the source could not be read through or the output refused a write.
bool WriteGpxTrack(TrackFileReader& source, OutputSink& out);

inline constexpr const char* kGpxNamespace = "http://www.topografix.com/GPX/1/0";
inline constexpr const char* kGpxSchemaLocation = "http://www.topografix.com/GPX/1/0/gpx.xsd";
inline constexpr const char* kXsiNamespace = "http://www.w3.org/2001/XMLSchema-instance";

}  // namespace kavro
