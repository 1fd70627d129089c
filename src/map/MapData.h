#pragma once
#include <QColor>
#include <QImage>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/TextMessage.h"
#include "download/TrackFileWriter.h"
#include "map/MapView.h"
#include "map/WebMercator.h"

namespace kavro::map {

// One track point as the map draws it (world position kept beside the degrees, so a frame only
// scales and shifts).
struct MapPoint {
  WorldPoint world;
  double lat = 0;
  double lon = 0;
  float alt = 0;
  std::int64_t utc = 0;
};

struct MapTrack {
  std::filesystem::path file;
  QColor color;
  std::vector<MapPoint> points;
};

// A located photo: where and when, the match in words, and a small picture of it (null until read).
struct MapPhoto {
  std::filesystem::path path;
  double lat = 0;
  double lon = 0;
  WorldPoint world;
  std::int64_t utc = 0;
  std::string matchText;
  QImage thumbnail;
};

// Everything one picture shows.
struct MapData {
  std::vector<MapTrack> tracks;
  std::vector<MapPoint> waypoints;
  std::vector<MapPhoto> photos;

  bool IsEmpty() const;
  std::size_t PointCount() const;
  // The box around every track point, waypoint and photo.
  WorldBox Extent() const;
};

// The strong colour of the n-th track: red first, then colours that stay apart on a map.
QColor TrackColor(std::size_t index);

// A file of the download's waypoints (NAME_T-580_Waypoints.trl) rather than a track.
bool IsWaypointFile(const std::filesystem::path& file);

// Reads .trl files into the map: each file one track in the next colour, a waypoint file's
// records as waypoints. A file that cannot be read or is not a track log adds nothing and a
// problem; records with an impossible position are left out.
std::vector<TextMessage> LoadTrackFiles(const std::vector<std::filesystem::path>& files, MapData& data);

// What a download's map shows: each track's file and the waypoints; the total file would only
// draw the same tracks again, so it is shown only when it is all there is.
std::vector<std::filesystem::path> FilesToShow(const TrackFilesResult& files);

// Adds a photo at its position (the world point is worked out here).
void AddPhoto(MapData& data, MapPhoto photo);

}  // namespace kavro::map
