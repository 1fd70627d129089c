#include "photo/ClockSync.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "common/Texts.h"
#include "photo/PhotoConversion.h"
#include "photo/PhotoMetadata.h"
#include "photo/PhotoSettings.h"
#include "photo/PhotoTime.h"

namespace kavro {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

ClockSync Refused(const StringTable& strings, int id, const std::vector<QString>& args) {
  ClockSync s;
  s.messageId = id;
  s.message = strings.Format(id, args).toStdString();
  return s;
}

QString PartsText(const std::array<int, 4>& parts) {
  return QStringLiteral("%1:%2:%3:%4").arg(parts[0]).arg(parts[1]).arg(parts[2]).arg(parts[3]);
}

}  // namespace

std::optional<std::pair<std::string, std::string>> SplitSyncArgument(std::string_view text) {
  const std::size_t eq = text.rfind('=');
  if (eq == std::string_view::npos || eq == 0 || eq + 1 == text.size()) return std::nullopt;
  return std::make_pair(std::string(text.substr(0, eq)), std::string(text.substr(eq + 1)));
}

std::string DriftPerDayText(double driftPerSecond) {
  char text[32];
  std::snprintf(text, sizeof text, "%+.1f", driftPerSecond * 86400.0);
  return text;
}

ClockSync SyncCameraClock(const StringTable& strings, const std::vector<ClockPhoto>& photos, const ZoneClock& zone,
                          bool ignorePhotoZone) {
  if (photos.empty() || photos.size() > 2) return Refused(strings, txt::SyncTooMany, {});
  ClockSync sync;
  for (const ClockPhoto& p : photos) {
    const QString path = Q(p.photo.string());
    std::error_code ec;
    if (!std::filesystem::is_regular_file(p.photo, ec)) return Refused(strings, txt::SyncPhotoMissing, {path});
    const PhotoMetadata m = ReadPhotoMetadata(p.photo);
    if (!m.readable) return Refused(strings, txt::SyncPhotoUnreadable, {path, PhotoTimeProblemText(strings, m.messageId, m.detail)});
    const PhotoUtc when = ResolveCaptureTime(m, zone, ignorePhotoZone);
    if (!when.ok) return Refused(strings, txt::SyncPhotoNoTime, {path});
    sync.cameraUtc.push_back(when.utc);
  }
  if (photos.size() == 1) {
    sync.clock = SyncFromOnePhoto(sync.cameraUtc[0], photos[0].secondsOfDay);
  } else {
    const std::int64_t span = std::llabs(sync.cameraUtc[1] - sync.cameraUtc[0]);
    if (span < kMinSyncSpanSeconds)
      return Refused(strings, txt::SyncTooClose, {QString::number(span), QString::number(kMinSyncSpanSeconds)});
    sync.clock =
        SyncFromTwoPhotos(sync.cameraUtc[0], photos[0].secondsOfDay, sync.cameraUtc[1], photos[1].secondsOfDay);
    if (std::fabs(sync.clock.driftPerSecond) > kMaxDriftPerSecond)
      return Refused(strings, txt::SyncDriftBeyond,
                     {Q(DriftPerDayText(sync.clock.driftPerSecond)), QString::number(kMaxDriftPerSecond * 86400.0)});
  }
  if (!CalibrationParts(sync.clock.offsetSeconds)) {
    return Refused(strings, txt::SyncBeyondLimits,
                   {QString::number(sync.clock.offsetSeconds), QString::number(kCalibrationLimits[0])});
  }
  sync.ok = true;
  return sync;
}

std::string ClockSyncSummary(const StringTable& strings, const std::vector<ClockPhoto>& photos, const ClockSync& sync) {
  const std::optional<std::array<int, 4>> parts = CalibrationParts(sync.clock.offsetSeconds);
  if (!sync.ok || !parts || photos.empty()) return {};
  std::string text =
      strings.Format(txt::SyncComputed, {Q(photos[0].photo.string()), PartsText(*parts),
                                         QString::number(sync.clock.offsetSeconds)})
          .toStdString();
  if (photos.size() > 1) {
    text += "\n" + strings
                       .Format(txt::SyncDriftComputed, {Q(photos[0].photo.string()), Q(photos[1].photo.string()),
                                                        Q(DriftPerDayText(sync.clock.driftPerSecond))})
                       .toStdString();
  }
  return text;
}

}  // namespace kavro
