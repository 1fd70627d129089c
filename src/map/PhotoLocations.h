#pragma once
#include <QImage>
#include <filesystem>
#include <stop_token>
#include <string>
#include <vector>

#include "common/StringTable.h"
#include "map/MapData.h"
#include "photo/PhotoConversion.h"
#include "photo/PhotoReport.h"

namespace kavro::map {

struct PhotoLocations {
  std::vector<MapPhoto> photos;        // the located ones, thumbnails read
  std::vector<std::string> problems;   // an unreadable track or folder, in words
  int scanned = 0;                     // photo files looked at
};

// The located photos of a geotag run's report, with their thumbnails.
std::vector<MapPhoto> LocatedPhotos(const StringTable& strings, const PhotoReport& report, std::stop_token stop = {});

// Where the photos of a folder were taken: a geotag run of the photo room as a dry run (nothing
// written, not even the KML), with the settings' zone, clock correction and match options.
// With several track files each photo takes the first that locates it.
PhotoLocations LocatePhotos(const StringTable& strings, const PhotoConversionSettings& settings,
                            const std::vector<std::filesystem::path>& trackFiles, std::stop_token stop = {});

// The small picture shown on the map: the EXIF thumbnail where there is one (no need to decode
// the whole photo), else the photo read at a reduced size. Null when it cannot be read.
QImage PhotoThumbnail(const std::filesystem::path& photo, int maxSide);

}  // namespace kavro::map
