#include "map/MapData.h"

#include <array>
#include <cmath>

#include "common/Texts.h"
#include "track/TrackFileCheck.h"
#include "track/TrackFileReader.h"

namespace kavro::map {
namespace {

bool PlausiblePosition(double lat, double lon) {
  return std::isfinite(lat) && std::isfinite(lon) && std::abs(lat) <= 90 && std::abs(lon) <= 180 &&
         !(lat == 0 && lon == 0);
}

MapPoint PointOf(const TrackRecord& r) {
  MapPoint p;
  p.lat = r.Latitude();
  p.lon = r.Longitude();
  p.world = ToWorld(p.lat, p.lon);
  p.alt = r.Height();
  if (!std::isfinite(p.alt)) p.alt = 0;
  p.utc = r.Time();
  return p;
}

}  // namespace

bool MapData::IsEmpty() const { return PointCount() == 0 && waypoints.empty() && photos.empty(); }

std::size_t MapData::PointCount() const {
  std::size_t n = 0;
  for (const MapTrack& t : tracks) n += t.points.size();
  return n;
}

WorldBox MapData::Extent() const {
  WorldBox box;
  for (const MapTrack& t : tracks)
    for (const MapPoint& p : t.points) box.Add(p.world);
  for (const MapPoint& p : waypoints) box.Add(p.world);
  for (const MapPhoto& p : photos) box.Add(p.world);
  return box;
}

QColor TrackColor(std::size_t index) {
  static constexpr std::array<QRgb, 8> kColors = {0xd7191c, 0x1f4fd6, 0x0b8a2f, 0xc51b8a,
                                                  0xe66a00, 0x6a3d9a, 0x00868b, 0x8b4513};
  return QColor::fromRgb(kColors[index % kColors.size()]);
}

bool IsWaypointFile(const std::filesystem::path& file) {
  const std::string stem = file.stem().string();
  static constexpr std::string_view kSuffix = "_Waypoints";
  return stem.size() >= kSuffix.size() && stem.compare(stem.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0;
}

std::vector<TextMessage> LoadTrackFiles(const std::vector<std::filesystem::path>& files, MapData& data) {
  std::vector<TextMessage> problems;
  for (const std::filesystem::path& file : files) {
    const TrackFileCheck check = CheckTrackFile(file);
    if (!check.opened) {
      problems.push_back({txt::TrackOpenFailed, {file.string(), check.error}});
      continue;
    }
    if (!check.IsTrackLog()) {
      problems.push_back({txt::MapNotATrackLog, {file.string(), std::to_string(check.ValidPercent())}});
      continue;
    }
    TrackFileReader reader;
    std::string error;
    if (!reader.Open(file, &error)) {
      problems.push_back({txt::TrackOpenFailed, {file.string(), error}});
      continue;
    }
    const bool waypoints = IsWaypointFile(file);
    MapTrack track;
    track.file = file;
    track.points.reserve(static_cast<std::size_t>(check.validRecords));
    TrackRecord r;
    while (reader.Next(r)) {
      const MapPoint p = PointOf(r);
      if (!PlausiblePosition(p.lat, p.lon)) continue;
      (waypoints ? data.waypoints : track.points).push_back(p);
    }
    if (waypoints) continue;
    track.color = TrackColor(data.tracks.size());
    data.tracks.push_back(std::move(track));
  }
  return problems;
}

std::vector<std::filesystem::path> FilesToShow(const TrackFilesResult& files) {
  std::vector<std::filesystem::path> out;
  for (const std::filesystem::path& f : files.trackFiles)
    if (!f.empty()) out.push_back(f);
  if (out.empty() && !files.totalFile.empty()) out.push_back(files.totalFile);
  if (!files.waypointsFile.empty()) out.push_back(files.waypointsFile);
  return out;
}

void AddPhoto(MapData& data, MapPhoto photo) {
  photo.world = ToWorld(photo.lat, photo.lon);
  data.photos.push_back(std::move(photo));
}

}  // namespace kavro::map
