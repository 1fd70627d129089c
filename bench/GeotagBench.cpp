// Geotags 1,000 real camera photos (copies with a GPS IFD, photo KML) and lets exiftool -geotag
// write the same copies from a GPX of the same points, side by side; then matches 140,000
// photos against 140,000 track points.
// Last, the photo KML writer of a full log memory against copying its output.
//   bench_geotag [--photos N] [--runs N] [--keep DIR] [--kml-only]
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "common/StringTable.h"
#include "common/TextFile.h"
#include "photo/PhotoKml.h"
#include "photo/PhotoConversion.h"
#include "photo/PhotoMatcher.h"
#include "track/TrackRecord.h"
#include "track/ZoneClock.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

double Best(int runs, const std::function<void()>& fn) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const auto a = Clock::now();
    fn();
    best = std::min(best, Seconds(a, Clock::now()));
  }
  return best;
}

int Run(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ExifTime(std::int64_t t) {
  std::tm tm{};
  kavro::ToUtc(t, tm);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d:%02d:%02d %02d:%02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                tm.tm_hour, tm.tm_min, tm.tm_sec);
  return buf;
}

std::string IsoTime(std::int64_t t) {
  std::string s = ExifTime(t);
  s[4] = '-';
  s[7] = '-';
  s[10] = 'T';
  return s + "Z";
}

class Quiet : public kavro::PhotoConversionListener {
 public:
  void OnLine(const std::string&) override { ++lines; }
  void OnSummary(const std::string& s) override { summary = s; }
  void OnProblem(const std::string& m) override { std::fprintf(stderr, "%s\n", m.c_str()); }
  long lines = 0;
  std::string summary;
};

// The photo KML of a full log memory (130,048 points, one photo on every 650th) written into a
// UTF-16 file as the page writes it, against copying that file.
void PhotoKmlVersusCopy(const fs::path& dir, int runs) {
  const fs::path trl = dir / "full.trl";
  {
    std::ofstream f(trl, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < 32 * 4064; ++i) {
      const kavro::TrackRecord r = kavro::TrackRecord::Make(1205544612 + 5 * i, 25.0330009f + 0.00002f * static_cast<float>(i % 5000),
                                                            121.5654297f + 0.00003f * static_cast<float>(i % 7000), 12.5f);
      f.write(reinterpret_cast<const char*>(r.bytes.data()), 16);
    }
  }
  const kavro::ZoneClock zone = kavro::ZoneClock::Fixed(480);
  std::vector<kavro::TrackPoint> points;
  kavro::LoadTrack(trl, zone, points);
  std::vector<kavro::PhotoEntry> photos;
  std::vector<kavro::PhotoOrderEntry> order;
  for (std::uint32_t i = 0; i < points.size(); i += 650) {
    photos.push_back({(dir / ("IMG_" + std::to_string(i) + ".jpg")).string(), points[i].time, points[i].time});
    order.push_back({static_cast<std::uint32_t>(photos.size() - 1), points[i].time, true, i});
  }
  kavro::PhotoKmlInput input;
  input.trlPath = trl;
  input.points = &points;
  input.photoOrder = &order;
  input.photos = &photos;
  input.photoZone = zone;
  const fs::path kml = dir / "photos-full.kml";
  const double write = Best(runs, [&] {
    kavro::TextFile file;
    file.Open(kml, kavro::TextFile::ModeWrite | kavro::TextFile::ModeCreate | kavro::TextFile::ModeWriteUnicode |
                       kavro::TextFile::ModeReplace);
    kavro::WritePhotoKml(file, input);
    file.Close();
  });
  const double copy = Best(runs, [&] {
    fs::copy_file(kml, dir / "photos-copy.kml", fs::copy_options::overwrite_existing);
  });
  std::printf("Photo KML of %zu points, %zu photos: %.1f ms for %.1f MB; copying it %.1f ms: %.2f times (goal: 2)\n",
              points.size(), photos.size(), write * 1e3, static_cast<double>(fs::file_size(kml)) / 1e6, copy * 1e3,
              write / copy);
}

}  // namespace

int main(int argc, char** argv) {
  int photos = 1000, runs = 3;
  std::string keep;
  bool kmlOnly = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--photos") && i + 1 < argc) photos = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) runs = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--keep") && i + 1 < argc) keep = argv[++i];
    else if (!std::strcmp(argv[i], "--kml-only")) kmlOnly = true;
  }
  if (kmlOnly) {
    char kmlTempl[] = "/tmp/kavro-bench-kml-XXXXXX";
    const fs::path kmlDir = mkdtemp(kmlTempl);
    PhotoKmlVersusCopy(kmlDir, runs);
    fs::remove_all(kmlDir);
    return 0;
  }
  const fs::path sample = fs::path(KAVRO_SOURCE_DIR) / "tests/data/photos/Canon_IXUS_v3.jpg";
  std::ifstream in(sample, std::ios::binary);
  const std::string original((std::istreambuf_iterator<char>(in)), {});
  const std::string sampleTime = "2002:11:23 21:24:23";
  if (original.empty() || original.find(sampleTime) == std::string::npos) {
    std::fprintf(stderr, "sample photo %s missing\n", sample.c_str());
    return 1;
  }

  char templ[] = "/tmp/kavro-bench-geotag-XXXXXX";
  const fs::path dir = keep.empty() ? fs::path(mkdtemp(templ)) : fs::path(keep);
  fs::create_directories(dir / "photos");
  fs::create_directories(dir / "exiftool");

  // The photos, one every 3 s, each with its own capture time; a track point every 5 s around them.
  const std::int64_t base = 1205544612;
  for (int i = 0; i < photos; ++i) {
    std::string bytes = original;
    const std::string t = ExifTime(base + 3 * i);
    for (std::size_t p = bytes.find(sampleTime); p != std::string::npos; p = bytes.find(sampleTime, p + 1)) {
      bytes.replace(p, t.size(), t);
    }
    char name[32];
    std::snprintf(name, sizeof name, "IMG_%05d.jpg", i);
    std::ofstream(dir / "photos" / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::ofstream trl(dir / "track.trl", std::ios::binary);
  std::ofstream gpx(dir / "track.gpx");
  gpx << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.0\" creator=\"bench\" "
         "xmlns=\"http://www.topografix.com/GPX/1/0\">\n<trk><trkseg>\n";
  int points = 0;
  for (std::int64_t t = base - 600; t <= base + 3 * photos + 600; t += 5, ++points) {
    const float lat = 25.0330009f + static_cast<float>(points) * 0.00002f;
    const float lon = 121.5654297f + static_cast<float>(points) * 0.00003f;
    const float h = 12.5f;
    const kavro::TrackRecord r = kavro::TrackRecord::Make(static_cast<std::int32_t>(t), lat, lon, h);
    trl.write(reinterpret_cast<const char*>(r.bytes.data()), 16);
    char line[256];
    std::snprintf(line, sizeof line, "<trkpt lat=\"%.7f\" lon=\"%.7f\"><ele>%.2f</ele><time>%s</time></trkpt>\n",
                  static_cast<double>(r.Latitude()), static_cast<double>(r.Longitude()),
                  static_cast<double>(r.Height()), IsoTime(t).c_str());
    gpx << line;
  }
  gpx << "</trkseg></trk>\n</gpx>\n";
  trl.close();
  gpx.close();

  std::printf("Geotagging %d photos (%s, %zu bytes each) against %d track points\n", photos,
              sample.filename().c_str(), original.size(), points);
  kavro::StringTable words;
  kavro::PhotoConversion conversion(words);
  kavro::PhotoConversionSettings settings;
  settings.trlPath = dir / "track.trl";
  settings.photoDir = dir / "photos";
  settings.photoZone = kavro::ZoneClock::Fixed(0);
  settings.writeGps = true;
  Quiet quiet;
  std::string error;
  kavro::PhotoConversionResult result;
  const double ours = Best(runs, [&] {
    fs::remove_all(dir / "photos" / "GPS");
    result = conversion.RunToFile(settings, dir / "photos.kml", &quiet, error);
  });
  if (!error.empty() || result.copiesWritten != photos) {
    std::fprintf(stderr, "conversion failed: %s (%d copies)\n", error.c_str(), result.copiesWritten);
    return 1;
  }
  std::printf("  %-34s %9.1f ms  %9.0f photos/s  (best of %d; %d copies, KML)\n", "kavro (read, match, copies, KML)",
              ours * 1e3, photos / ours, runs, result.copiesWritten);

  if (Run("command -v exiftool >/dev/null 2>&1") != 0) {
    std::printf("exiftool is not installed: no comparison\n");
  } else {
    const std::string command = "cd '" + dir.string() + "' && TZ=UTC exiftool -q -q -geotag track.gpx -o 'exiftool/%f_GPS.%e' photos/*.jpg";
    const auto a = Clock::now();
    const int status = Run(command);
    const double theirs = Seconds(a, Clock::now());
    std::size_t made = 0;
    for (const auto& e : fs::directory_iterator(dir / "exiftool")) made += e.is_regular_file();
    if (status != 0 || made != static_cast<std::size_t>(photos)) {
      std::printf("exiftool failed (status %d, %zu copies)\n", status, made);
    } else {
      std::printf("  %-34s %9.1f ms  %9.0f photos/s  (one run; %zu copies)\n", "exiftool -geotag -o", theirs * 1e3,
                  photos / theirs, made);
      std::printf("Geotagging: %.1f times the photos per second of exiftool (goal: 20)\n", theirs / ours);
    }
  }

  // Matching at the tables' full size: 140,000 photos against 140,000 points, unsorted input.
  const std::size_t n = kavro::kMaxTrackPoints;
  std::vector<kavro::TrackPoint> track(n);
  std::vector<kavro::PhotoEntry> pics(kavro::kMaxPhotos);
  std::uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  for (std::size_t i = 0; i < n; ++i) track[i].time = static_cast<std::int32_t>(base + 5 * static_cast<std::int64_t>(i) + (next() % 3));
  std::swap(track[10], track[n - 10]);  // some disorder, as a wrapped memory leaves it
  for (auto& p : pics) p.captureTime = static_cast<std::int32_t>(base + static_cast<std::int64_t>(next() % (5 * n)));
  std::vector<kavro::TrackOrderEntry> trackOrder;
  std::vector<kavro::PhotoOrderEntry> photoOrder;
  kavro::MatchCounts counts;
  const double match = Best(runs, [&] {
    std::vector<kavro::PhotoEntry> work = pics;
    kavro::CalibratePhotos(work, -30);
    kavro::SortTrack(track, trackOrder);
    kavro::SortPhotos(work, photoOrder);
    counts = kavro::MatchPhotosToTrack(trackOrder, photoOrder);
  });
  std::printf("Matching %zu photos against %zu points (calibrate, both sorts, match): %.1f ms (best of %d; %d matched)\n",
              pics.size(), n, match * 1e3, runs, counts.combined);

  PhotoKmlVersusCopy(dir, runs);

  if (keep.empty()) fs::remove_all(dir);
  return 0;
}
