#pragma once
#include <QImage>
#include <QSize>
#include <filesystem>
#include <string>

#include "common/StringTable.h"
#include "map/MapData.h"
#include "map/MapPainter.h"
#include "map/MapView.h"
#include "track/ZoneClock.h"

namespace kavro::map {

// The picture that Save Picture... and `kavro map` write: the map at the view's size and, when
// asked, the height profile below it.
struct PictureOptions {
  bool profile = false;
  bool profileOverTime = false;  // else over distance
  ZoneClock zone = ZoneClock::System();  // of the profile's times
};

// Height of the profile strip under a map of that height.
int ProfileHeight(int mapHeight);

QImage RenderPicture(const StringTable& strings, const MapView& view, const MapData& data, const TileImages* tiles,
                     const MapOverlay& overlay, const PictureOptions& options);

// Writes the image as PNG, whole or not at all (an earlier file of that name stays untouched on
// failure); false with the reason in error.
bool WritePng(const StringTable& strings, const QImage& image, const std::filesystem::path& path, std::string* error);

}  // namespace kavro::map
