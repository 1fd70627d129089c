#include "map/PhotoLocations.h"

#include <QImageReader>
#include <map>

#include "common/Texts.h"
#include "map/MapPainter.h"
#include "photo/ExifThumbnail.h"
#include "photo/PhotoReportText.h"

namespace kavro::map {
namespace {

constexpr int kThumbnailPixels = 2 * MapPainter::kThumbnailSize;  // sharp on high-density screens too

MapPhoto PhotoOf(const StringTable& strings, const PhotoReportRow& row) {
  MapPhoto photo;
  photo.path = row.path;
  photo.lat = row.lat;
  photo.lon = row.lon;
  photo.utc = row.utc.value_or(0);
  photo.matchText = PhotoReportText(strings).MatchText(row.match);
  return photo;
}

}  // namespace

std::vector<MapPhoto> LocatedPhotos(const StringTable& strings, const PhotoReport& report, std::stop_token stop) {
  std::vector<MapPhoto> out;
  for (const PhotoReportRow& row : report.rows) {
    if (stop.stop_requested()) break;
    if (!row.located) continue;
    MapPhoto photo = PhotoOf(strings, row);
    photo.thumbnail = PhotoThumbnail(photo.path, kThumbnailPixels);
    out.push_back(std::move(photo));
  }
  return out;
}

PhotoLocations LocatePhotos(const StringTable& strings, const PhotoConversionSettings& settings,
                            const std::vector<std::filesystem::path>& trackFiles, std::stop_token stop) {
  PhotoLocations out;
  PhotoReport located;
  std::map<std::filesystem::path, bool> taken;
  for (const std::filesystem::path& trl : trackFiles) {
    if (IsWaypointFile(trl)) continue;
    PhotoConversionSettings run = settings;
    run.trlPath = trl;
    run.dryRun = true;
    run.writeGps = false;
    run.quiet = true;
    run.stopOnUnreadableInput = true;
    StringSink kml;
    PhotoConversion conversion(strings);
    const PhotoConversionResult result = conversion.Run(run, kml, nullptr, stop);
    if (!result.trackRead || !result.photosRead) {
      out.problems.push_back(result.inputError);
      if (!result.photosRead) return out;
      continue;
    }
    out.scanned = static_cast<int>(result.report.rows.size());
    for (const PhotoReportRow& row : result.report.rows)
      if (row.located && !taken[row.path]) {
        taken[row.path] = true;
        located.rows.push_back(row);
      }
  }
  out.photos = LocatedPhotos(strings, located, stop);
  return out;
}

QImage PhotoThumbnail(const std::filesystem::path& photo, int maxSide) {
  QImage image;
  const std::vector<std::uint8_t> exif = ReadExifThumbnail(photo);
  if (!exif.empty()) image.loadFromData(exif.data(), static_cast<int>(exif.size()), "JPEG");
  if (image.isNull()) {
    // The JPEG decoder scales while it reads: a fraction of the work of the whole picture.
    QImageReader reader(QString::fromStdString(photo.string()));
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    if (full.isValid()) reader.setScaledSize(full.scaled(maxSide, maxSide, Qt::KeepAspectRatio));
    image = reader.read();
  }
  if (image.isNull()) return image;
  if (image.width() > maxSide || image.height() > maxSide)
    image = image.scaled(maxSide, maxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace kavro::map
