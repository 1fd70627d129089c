#pragma once
#include "common/OutputSink.h"
#include "track/TrackFileReader.h"
#include "track/ZoneClock.h"

namespace kavro {

// The text listing of a track log file: one CR LF line per valid record,
// "%4.7f,%4.7f,%4.2f," of longitude, latitude and height, then the asctime text of the record's
// local time. Records whose time has no local form are left out. Reads the source from its start.
// False when the source could not be read through or the output refused a write.
bool WriteTextTrack(TrackFileReader& source, OutputSink& out, const ZoneClock& clock);

// One line of the listing (with its CR LF) into out, which holds at least 1400 bytes; returns
// its length, 0 when the time has no local form.
std::size_t FormatTextLine(const TrackRecord& record, const ZoneClock& clock, char* out);

}  // namespace kavro
