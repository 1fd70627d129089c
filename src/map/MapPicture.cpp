#include "map/MapPicture.h"

#include <QBuffer>
#include <QPainter>
#include <algorithm>

#include "common/OutputSink.h"
#include "common/Texts.h"
#include "map/HeightProfile.h"
#include "map/ProfilePainter.h"

namespace kavro::map {

int ProfileHeight(int mapHeight) { return std::max(160, mapHeight / 4); }

QImage RenderPicture(const StringTable& strings, const MapView& view, const MapData& data, const TileImages* tiles,
                     const MapOverlay& overlay, const PictureOptions& options) {
  const QSize mapSize = view.Size().toSize();
  const int extra = options.profile ? ProfileHeight(mapSize.height()) : 0;
  QImage image(mapSize.width(), mapSize.height() + extra, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  MapPainter painter(strings);
  painter.Paint(p, view, data, tiles, overlay);
  if (options.profile) {
    const HeightProfile profile(data);
    std::optional<std::size_t> hover;
    if (overlay.hover) hover = profile.IndexOf(*overlay.hover);
    ProfilePainter(strings).Paint(p, QRectF(0, mapSize.height(), mapSize.width(), extra), profile, data,
                                  options.profileOverTime, options.zone, hover);
  }
  return image;
}

bool WritePng(const StringTable& strings, const QImage& image, const std::filesystem::path& path, std::string* error) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (image.isNull() || !image.save(&buffer, "PNG")) {
    if (error != nullptr) *error = strings.Utf8(txt::MapPngEncodeFailed);
    return false;
  }
  ReplacingFileSink sink;
  if (!sink.Open(path, error)) return false;
  sink.Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  return sink.Commit(error);
}

}  // namespace kavro::map
