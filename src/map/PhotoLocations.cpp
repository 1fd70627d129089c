#include "map/PhotoLocations.h"

#include <QImageReader>
#include <map>

#include "common/Texts.h"
#include "map/MapPainter.h"
#include "photo/ExifReader.h"
#include "photo/ExifThumbnail.h"
#include "photo/PhotoDirectory.h"
#include "photo/PhotoMatcher.h"

namespace kavro::map {
namespace {

constexpr int kThumbnailPixels = 2 * MapPainter::kThumbnailSize;  // sharp on high-density screens too

// The photos' capture times (0 when unreadable, which matches nothing), calibrated and in order.
void ReadTimes(const PhotoConversionSettings& settings, std::vector<PhotoEntry>& photos, std::stop_token stop) {
  for (PhotoEntry& photo : photos) {
    if (stop.stop_requested()) return;
    const PhotoTimeResult taken = ReadPhotoTakenTime(photo.path, settings.photoZone);
    photo.captureTime = taken.status == 0 ? taken.captureTime : 0;
  }
  CalibratePhotos(photos, settings.calibrationSeconds);
}

// Matches the photos to one track file; fills `found` (photo index -> photo) for the ones it locates.
void MatchTrack(const StringTable& strings, const PhotoConversionSettings& settings, const std::filesystem::path& trl,
                const std::vector<PhotoEntry>& photos, std::map<std::uint32_t, MapPhoto>& found,
                std::vector<std::string>& problems) {
  std::vector<TrackPoint> points;
  const TrackLoad load = LoadTrack(trl, settings.photoZone, points);
  if (!load.ok) {
    problems.push_back(PhotoConversion(strings).TrackLoadProblem(trl, load));
    return;
  }
  std::vector<TrackOrderEntry> track;
  std::vector<PhotoOrderEntry> order;
  SortTrack(points, track);
  SortPhotos(photos, order);
  MatchPhotosToTrack(track, order);
  for (const PhotoOrderEntry& e : order) {
    if (!e.matched || found.count(e.photoIndex) > 0) continue;
    const TrackPoint& p = points[e.pointIndex];
    MapPhoto photo;
    photo.path = photos[e.photoIndex].path;
    photo.lat = p.lat;
    photo.lon = p.lon;
    photo.utc = photos[e.photoIndex].captureTime;
    photo.matchText = strings.Utf8(txt::MapPhotoLocated);
    found.emplace(e.photoIndex, std::move(photo));
  }
}

}  // namespace

PhotoLocations LocatePhotos(const StringTable& strings, const PhotoConversionSettings& settings,
                            const std::vector<std::filesystem::path>& trackFiles, std::stop_token stop) {
  PhotoLocations out;
  std::vector<PhotoEntry> photos;
  const PhotoScan scan = ScanPhotoDirectory(settings.photoDir, photos);
  if (!scan.ok) {
    const QString why = scan.missing ? strings.Text(txt::NoSuchFolder) : QString::fromStdString(scan.error);
    out.problems.push_back(
        strings.Format(txt::PhotoDirectoryFailed, {QString::fromStdString(settings.photoDir.string()), why}).toStdString());
    return out;
  }
  out.scanned = static_cast<int>(photos.size());
  ReadTimes(settings, photos, stop);
  std::map<std::uint32_t, MapPhoto> found;
  for (const std::filesystem::path& trl : trackFiles) {
    if (stop.stop_requested()) return out;
    if (!IsWaypointFile(trl)) MatchTrack(strings, settings, trl, photos, found, out.problems);
  }
  for (auto& [index, photo] : found) {
    if (stop.stop_requested()) return out;
    photo.thumbnail = PhotoThumbnail(photo.path, kThumbnailPixels);
    out.photos.push_back(std::move(photo));
  }
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
