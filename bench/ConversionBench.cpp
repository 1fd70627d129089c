// Converts a full log memory's worth of records (130,048) to each format and to all four, and
// runs gpsbabel on the same points (NMEA to GPX) side by side for comparison.
//   bench_conversion [--runs N] [--keep DIR]
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "common/OutputSink.h"
#include "convert/GpxWriter.h"
#include "convert/KmlWriter.h"
#include "convert/NmeaWriter.h"
#include "convert/TextWriter.h"
#include "convert/TrackConversion.h"
#include "track/TrackFileReader.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using kavro::TrackRecord;

namespace {

constexpr int kRecords = 32 * 4064;

void MakeTrack(const fs::path& path) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  double lat = 25.0330009, lon = 121.5654297, h = 12.5;
  std::int32_t t = 1205544612;
  for (int i = 0; i < kRecords; ++i) {
    lat += 0.00003 * std::sin(i / 500.0);
    lon += 0.00004 * std::cos(i / 700.0);
    h += 0.3 * std::sin(i / 90.0);
    t += 5;
    const TrackRecord r = TrackRecord::Make(t, static_cast<float>(lat), static_cast<float>(lon), static_cast<float>(h));
    f.write(reinterpret_cast<const char*>(r.bytes.data()), 16);
  }
}

// Best wall time of n runs, in seconds.
double Best(int runs, const std::function<void()>& fn) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    fn();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

template <typename Write>
void ConvertOne(const fs::path& trl, const fs::path& out, Write write) {
  kavro::TrackFileReader reader;
  kavro::FileSink sink;
  if (!reader.Open(trl) || !sink.Open(out)) {
    std::fprintf(stderr, "cannot open %s or %s\n", trl.c_str(), out.c_str());
    std::exit(1);
  }
  if (!write(reader, sink) || !sink.Close()) {
    std::fprintf(stderr, "writing %s failed\n", out.c_str());
    std::exit(1);
  }
}

int Run(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  fs::path keep;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
    else if (std::strcmp(argv[i], "--keep") == 0 && i + 1 < argc) keep = argv[++i];
  }
  const fs::path dir = keep.empty() ? fs::temp_directory_path() / ("kavro-bench-" + std::to_string(::getpid())) : keep;
  fs::create_directories(dir);
  const fs::path trl = dir / "full.trl";
  MakeTrack(trl);
  const auto clock = kavro::ZoneClock::Fixed(8 * 60);

  std::printf("%d records (%.1f MB .trl), best of %d runs\n", kRecords, static_cast<double>(fs::file_size(trl)) / 1e6, runs);
  struct Case {
    const char* name;
    const char* file;
    std::function<bool(kavro::TrackFileReader&, kavro::OutputSink&)> write;
  };
  const Case cases[] = {
      {"text", "full.txt", [&](auto& r, auto& s) { return kavro::WriteTextTrack(r, s, clock); }},
      {"kml", "full.kml", [&](auto& r, auto& s) { return kavro::WriteKmlTrack(r, s, clock); }},
      {"nmea", "fullNMEA.txt", [](auto& r, auto& s) { return kavro::WriteNmeaTrack(r, s); }},
      {"gpx", "full.gpx", [](auto& r, auto& s) { return kavro::WriteGpxTrack(r, s); }},
  };
  double gpxSeconds = 0;
  for (const Case& c : cases) {
    const double s = Best(runs, [&] { ConvertOne(trl, dir / c.file, c.write); });
    if (std::strcmp(c.name, "gpx") == 0) gpxSeconds = s;
    std::printf("  %-22s %8.1f ms  %7.1f MB/s out  %6.1f Mrec/s\n", c.name, s * 1e3,
                static_cast<double>(fs::file_size(dir / c.file)) / 1e6 / s, kRecords / 1e6 / s);
  }
  kavro::ConversionRequest all;
  all.source = trl;
  all.formats = {kavro::TrackFormat::Text, kavro::TrackFormat::Kml, kavro::TrackFormat::Nmea, kavro::TrackFormat::Gpx};
  all.clock = clock;
  const double allSeconds = Best(runs, [&] {
    if (!kavro::ConvertTrackFile(all).Ok()) std::exit(1);
  });
  std::printf("  %-22s %8.1f ms\n", "all four (page path)", allSeconds * 1e3);

  // gpsbabel reading our NMEA and writing GPX: the same points, side by side.
  if (Run("command -v gpsbabel >/dev/null 2>&1") != 0) {
    std::printf("gpsbabel is not installed: no comparison\n");
  } else {
    const std::string command = "gpsbabel -i nmea -f '" + (dir / "fullNMEA.txt").string() + "' -o gpx -F '" +
                                (dir / "babel.gpx").string() + "'";
    const int babelRuns = std::min(runs, 3);
    int status = 0;
    const double babel = Best(babelRuns, [&] { status |= Run(command); });
    if (status != 0) {
      std::printf("gpsbabel failed (status %d)\n", status);
    } else {
      std::printf("  %-22s %8.1f ms  (best of %d)\n", "gpsbabel nmea -> gpx", babel * 1e3, babelRuns);
      std::printf("GPX: ours %.1f ms, gpsbabel %.1f ms: %.1f times faster (goal: 15)\n", gpxSeconds * 1e3,
                  babel * 1e3, babel / gpxSeconds);
    }
  }
  if (keep.empty()) fs::remove_all(dir);
  return 0;
}
