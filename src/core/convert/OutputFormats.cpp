#include "convert/OutputFormats.h"

#include <array>

#include "common/Texts.h"
#include "convert/GpxTrackWriter.h"
#include "convert/GpxWriter.h"
#include "convert/KmlWriter.h"
#include "convert/NmeaWriter.h"
#include "convert/TextWriter.h"

namespace kavro {
namespace {

// The formats without local times take no clock.
template <bool (*Write)(TrackFileReader&, OutputSink&)>
bool InUtc(TrackFileReader& source, OutputSink& out, const ZoneClock&) {
  return Write(source, out);
}

constexpr std::array kFormats{
    OutputFormat{TrackFormat::Text, "text", "--text", ".txt", txt::FormatText, false, &WriteTextTrack},
    OutputFormat{TrackFormat::Kml, "kml", "--kml", ".kml", txt::FormatKml, true, &WriteKmlTrack},
    OutputFormat{TrackFormat::Nmea, "nmea", "--nmea", "NMEA.txt", txt::FormatNmea, false, &InUtc<WriteNmeaTrack>},
    OutputFormat{TrackFormat::Gpx, "gpx", "--gpx", ".gpx", txt::FormatGpx, false, &InUtc<WriteGpxTrack>},
    OutputFormat{TrackFormat::GpxTrack, "gpxTrack", "--gpx-track", "_track.gpx", txt::FormatGpxTrack, false,
                 &InUtc<WriteGpx11Track>},
};

}  // namespace

std::span<const OutputFormat> OutputFormats() { return kFormats; }

const OutputFormat& OutputFormatOf(TrackFormat format) {
  for (const OutputFormat& row : kFormats)
    if (row.format == format) return row;
  return kFormats.front();
}

}  // namespace kavro
