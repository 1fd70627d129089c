#pragma once
// The outputs of a track log file in one table: the conversion writes the chosen rows in table
// order, and the conversion page and `kavro convert` offer one check box and one option per
// row. A new format is one row (and its enum value) plus its writer.

#include <span>

#include "common/OutputSink.h"
#include "track/TrackFileReader.h"
#include "track/ZoneClock.h"

namespace kavro {

enum class TrackFormat { Text, Kml, Nmea, Gpx, GpxTrack };

struct OutputFormat {
  TrackFormat format;
  const char* key;     // names the page's check box (key + "Check")
  const char* flag;    // kavro convert's option
  const char* suffix;  // replaces the source's last four characters (its ".trl")
  int labelId;         // the check box's text
  bool byDefault;      // chosen at start and by Default All; the command line's choice when none is named
  // Writes the whole document; false when the source could not be read through or the output
  // refused a write. The clock gives the local times of the formats that show them.
  bool (*write)(TrackFileReader& source, OutputSink& out, const ZoneClock& clock);
};

std::span<const OutputFormat> OutputFormats();
const OutputFormat& OutputFormatOf(TrackFormat format);

}  // namespace kavro
