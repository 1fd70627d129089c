#include "download/TrackFileWriter.h"

#include <cstdio>
#include <memory>
#include <set>

#include "common/OutputSink.h"
#include "common/Texts.h"
#include "convert/TrackConversion.h"
#include "download/LogDecoder.h"

namespace kavro {

std::vector<TrackSpan> SplitTracks(const std::vector<TrackRecord>& ordered) {
  std::vector<TrackSpan> tracks(1);
  tracks[0].start = 0;
  std::size_t k = 0;
  bool endsWithMarker = false;
  const long count = static_cast<long>(ordered.size());
  for (long i = 0; i < count; ++i) {
    if (!IsLogStartMarker(ordered[static_cast<std::size_t>(i)].bytes.data())) continue;
    ++k;
    tracks.resize(k + 1);
    if (k == 1 && i == 0) {
      tracks[0] = TrackSpan{};
      tracks[1].start = 1;
      continue;
    }
    if (i == count - 1) {
      tracks[k - 1].end = i - 1;
      tracks[k] = TrackSpan{};
      endsWithMarker = true;
    } else {
      tracks[k - 1].end = i - 1;
      tracks[k].start = i + 1;
    }
  }
  if (!endsWithMarker) tracks[k].end = count - 1;
  return tracks;
}

std::string FileNameSafeUserName(const std::string& userName) {
  std::string s = userName;
  for (char& c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' ||
        c == '"' || c == '<' || c == '>' || c == '|')
      c = '_';
  }
  return s;
}

std::string FileNameTime(std::int32_t utc, const ZoneClock& clock) {
  std::tm t;
  if (!clock.ToLocal(utc, t)) return {};
  char text[64];
  std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                t.tm_min, t.tm_sec);
  return text;
}

std::vector<std::filesystem::path> TrackFilesResult::Written() const {
  std::vector<std::filesystem::path> all;
  for (const auto& p : trackFiles)
    if (!p.empty()) all.push_back(p);
  if (!totalFile.empty()) all.push_back(totalFile);
  if (!waypointsFile.empty()) all.push_back(waypointsFile);
  return all;
}

namespace {

// A file being written, reported when finished.
struct PendingFile {
  std::filesystem::path path;
  ReplacingFileSink sink;
  bool opened = false;
  std::string error;

  void Open(const std::filesystem::path& p) {
    path = p;
    opened = sink.Open(p, &error);
  }
  void Put(const TrackRecord& r) {
    if (opened) sink.Write(std::string_view(reinterpret_cast<const char*>(r.bytes.data()), r.bytes.size()));
  }
  // Renames into place; reports and returns whether the file now exists whole.
  bool Finish(const TrackFileObserver& report) {
    const bool ok = opened && sink.Commit(&error);
    if (report) report(TrackFileReport{ok ? txt::CreateFileOk : txt::CreateFileFailed, path, ok ? std::string() : error});
    return ok;
  }
};

}  // namespace

TrackFilesResult WriteTrackFiles(const std::vector<TrackRecord>& ordered, const std::vector<std::uint8_t>& waypointFlags,
                                 int waypointCount, const TrackFilesOptions& options,
                                 const TrackFileObserver& report) {
  TrackFilesResult result;
  const std::vector<TrackSpan> tracks = SplitTracks(ordered);
  result.trackFiles.resize(tracks.size());
  const std::string user = FileNameSafeUserName(options.userName);
  auto timeOf = [&](long index) { return FileNameTime(ordered[static_cast<std::size_t>(index)].Time(), options.clock); };

  std::string totalStart, totalFinish;
  bool firstFound = false;
  for (const TrackSpan& t : tracks) {
    if (!t.NonEmpty()) continue;
    if (!firstFound) totalStart = timeOf(t.start);
    firstFound = true;
    totalFinish = timeOf(t.end);
  }

  std::unique_ptr<PendingFile> total, waypoints;
  if (options.writeTotal) {
    total = std::make_unique<PendingFile>();
    total->Open(options.directory / (user + "_T-580_Total_Start_" + totalStart + "_Finish_" + totalFinish + ".trl"));
  }
  if (waypointCount >= 1) {
    waypoints = std::make_unique<PendingFile>();
    waypoints->Open(options.directory / (user + "_T-580_Waypoints.trl"));
  }

  std::set<std::filesystem::path> used;
  for (std::size_t j = 0; j < tracks.size(); ++j) {
    const TrackSpan& t = tracks[j];
    if (!t.NonEmpty()) continue;
    const std::string base = user + "_T-580_Start_" + timeOf(t.start) + "_Finish_" + timeOf(t.end);
    std::filesystem::path path = options.directory / (base + ".trl");
    for (int n = 2; used.count(path) != 0; ++n) path = options.directory / (base + "_" + std::to_string(n) + ".trl");
    used.insert(path);
    PendingFile file;
    file.Open(path);
    for (long i = t.start; i <= t.end; ++i) {
      const TrackRecord& r = ordered[static_cast<std::size_t>(i)];
      if (static_cast<std::size_t>(i) < waypointFlags.size() && waypointFlags[static_cast<std::size_t>(i)] == 1) {
        if (waypoints) waypoints->Put(r);
      } else {
        file.Put(r);
        if (total) total->Put(r);
      }
    }
    if (file.Finish(report)) result.trackFiles[j] = path;
    else ++result.failed;
  }
  if (total) {
    if (total->Finish(report)) result.totalFile = total->path;
    else ++result.failed;
  }
  if (waypoints) {
    if (waypoints->Finish(report)) result.waypointsFile = waypoints->path;
    else ++result.failed;
  }
  return result;
}

TrackFilesResult WriteTrackFiles(const LogDecoder& decoder, const TrackFilesOptions& options,
                                 const TrackFileObserver& report) {
  return WriteTrackFiles(decoder.Ordered(), decoder.OrderedWaypointFlags(), decoder.WaypointCount(), options, report);
}

int WriteKmlForTrackFiles(const TrackFilesResult& files, const ZoneClock& clock, const TrackFileObserver& report) {
  int failed = 0;
  for (const auto& trl : files.Written()) {
    ConversionRequest request;
    request.source = trl;
    request.formats = {TrackFormat::Kml};
    request.clock = clock;
    const ConversionResult converted = ConvertTrackFile(request);
    for (const auto& path : converted.written)
      if (report) report(TrackFileReport{txt::CreateFileOk, path, {}});
    for (const ConversionProblem& p : converted.problems)
      if (report) report(TrackFileReport{p.textId, p.path, p.reason});
    failed += static_cast<int>(converted.problems.size());
  }
  return failed;
}

}  // namespace kavro
