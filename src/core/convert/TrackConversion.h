#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/FileReport.h"
#include "convert/OutputFormats.h"
#include "track/ZoneClock.h"

namespace kavro {

// The output beside the source: its last four characters (the ".trl") replaced by the format's
// suffix (".txt", "NMEA.txt", ...). A shorter file name loses what it has, never the folder.
std::filesystem::path ConvertedFileName(const std::filesystem::path& source, TrackFormat format);

// The formats chosen when nobody chose (KML).
std::vector<TrackFormat> DefaultFormats();

struct ConversionRequest {
  std::filesystem::path source;
  std::vector<TrackFormat> formats = DefaultFormats();  // written in the table's order
  ZoneClock clock = ZoneClock::System();  // for the text and KML local times
};

// A problem with one file: a string id (txt::SourceOpenFailed, NotATrackLog, OutputCreateFailed,
// OutputWriteFailed, OutputIsSource), the file and the system's reason (for NotATrackLog the
// share of valid records, e.g. "2%").
using ConversionProblem = FileReport;

struct ConversionResult {
  std::vector<std::filesystem::path> written;  // in writing order
  std::vector<ConversionProblem> problems;
  bool Ok() const { return problems.empty(); }
};

// Writes each chosen format beside the source. Every output appears whole or not at all (a
// temporary file renamed into place); a format that fails leaves any earlier file of its name
// untouched, and the others go on. Nothing is written when the source cannot be opened or is
// not a track log (fewer than half of its records valid).
ConversionResult ConvertTrackFile(const ConversionRequest& request);

}  // namespace kavro
