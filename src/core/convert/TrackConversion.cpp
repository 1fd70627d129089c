#include "convert/TrackConversion.h"

#include <cerrno>
#include <cstring>

#include "common/OutputSink.h"
#include "common/Texts.h"
#include "convert/GpxWriter.h"
#include "convert/KmlWriter.h"
#include "convert/NmeaWriter.h"
#include "convert/TextWriter.h"
#include "track/TrackFileCheck.h"
#include "track/TrackFileReader.h"

namespace kavro {
namespace {

// Drops the last n characters (UTF-8 code points) of the text.
std::string DropLastCharacters(std::string s, int n) {
  while (n-- > 0 && !s.empty()) {
    std::size_t i = s.size() - 1;
    while (i > 0 && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) --i;
    s.resize(i);
  }
  return s;
}

const char* Suffix(TrackFormat format) {
  switch (format) {
    case TrackFormat::Text: return ".txt";
    case TrackFormat::Kml: return ".kml";
    case TrackFormat::Nmea: return "NMEA.txt";
    case TrackFormat::Gpx: return ".gpx";
  }
  return ".txt";
}

}  // namespace

std::filesystem::path ConvertedFileName(const std::filesystem::path& source, TrackFormat format) {
  std::filesystem::path out = source;
  out.replace_filename(DropLastCharacters(source.filename().string(), 4) + Suffix(format));
  return out;
}

ConversionResult ConvertTrackFile(const ConversionRequest& request) {
  ConversionResult result;
  TrackFileReader reader;
  std::string error;
  if (!reader.Open(request.source, &error)) {
    result.problems.push_back({txt::SourceOpenFailed, request.source, error});
    return result;
  }
  // Another kind of file named .trl would convert into noise "successfully".
  if (const TrackFileCheck check = CheckTrackFile(request.source); check.opened && !check.IsTrackLog()) {
    result.problems.push_back({txt::NotATrackLog, request.source, std::to_string(check.ValidPercent()) + "%"});
    return result;
  }
  const std::pair<bool, TrackFormat> chosen[] = {{request.text, TrackFormat::Text},
                                                 {request.kml, TrackFormat::Kml},
                                                 {request.nmea, TrackFormat::Nmea},
                                                 {request.gpx, TrackFormat::Gpx}};
  for (const auto& [wanted, format] : chosen) {
    if (!wanted) continue;
    // Each output reports its own reason, never one left over from an earlier output.
    std::string reason;
    const std::filesystem::path target = ConvertedFileName(request.source, format);
    std::error_code ec;
    if (std::filesystem::equivalent(target, request.source, ec)) {
      result.problems.push_back({txt::OutputIsSource, target, {}});
      continue;
    }
    ReplacingFileSink sink;
    if (!sink.Open(target, &reason)) {
      result.problems.push_back({txt::OutputCreateFailed, target, reason});
      continue;
    }
    bool ok = false;
    switch (format) {
      case TrackFormat::Text: ok = WriteTextTrack(reader, sink, request.clock); break;
      case TrackFormat::Kml: ok = WriteKmlTrack(reader, sink, request.clock); break;
      case TrackFormat::Nmea: ok = WriteNmeaTrack(reader, sink); break;
      case TrackFormat::Gpx: ok = WriteGpxTrack(reader, sink); break;
    }
    if (!ok) {
      // The writer stops on a refused write or an unreadable source; say which.
      reason = sink.ErrorText();
      if (reason.empty()) reason = reader.ErrorText();
      if (reason.empty()) reason = std::strerror(EIO);
    }
    if (ok && sink.Commit(&reason)) {
      result.written.push_back(target);
    } else {
      sink.Discard();
      result.problems.push_back({txt::OutputWriteFailed, target, reason});
    }
  }
  return result;
}

}  // namespace kavro
