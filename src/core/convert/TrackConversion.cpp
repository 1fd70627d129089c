#include "convert/TrackConversion.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/OutputSink.h"
#include "common/Texts.h"
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

}  // namespace

std::filesystem::path ConvertedFileName(const std::filesystem::path& source, TrackFormat format) {
  std::filesystem::path out = source;
  out.replace_filename(DropLastCharacters(source.filename().string(), 4) + OutputFormatOf(format).suffix);
  return out;
}

std::vector<TrackFormat> DefaultFormats() {
  std::vector<TrackFormat> formats;
  for (const OutputFormat& row : OutputFormats())
    if (row.byDefault) formats.push_back(row.format);
  return formats;
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
  for (const OutputFormat& row : OutputFormats()) {
    const TrackFormat format = row.format;
    if (std::find(request.formats.begin(), request.formats.end(), format) == request.formats.end()) continue;
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
    const bool ok = row.write(reader, sink, request.clock);
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
