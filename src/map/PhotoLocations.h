#pragma once
#include <QImage>
#include <filesystem>
#include <stop_token>
#include <string>
#include <vector>

#include "common/StringTable.h"
#include "map/MapData.h"
#include "photo/PhotoConversion.h"

namespace kavro::map {

struct PhotoLocations {
  std::vector<MapPhoto> photos;        // the located ones, thumbnails read
  std::vector<std::string> problems;   // an unreadable track or folder, in words
  int scanned = 0;                     // photo files looked at
};

// Where the photos of a folder were taken: the photo room's matching of a geotag run (the
// capture times in the photo zone, the clock correction, the nearer of the two points around
// each time), with nothing written. With several track files each photo takes the first that
// locates it.
PhotoLocations LocatePhotos(const StringTable& strings, const PhotoConversionSettings& settings,
                            const std::vector<std::filesystem::path>& trackFiles, std::stop_token stop = {});

// The small picture shown on the map: the EXIF thumbnail where there is one (no need to decode
// the whole photo), else the photo read at a reduced size. Null when it cannot be read.
QImage PhotoThumbnail(const std::filesystem::path& photo, int maxSide);

}  // namespace kavro::map
