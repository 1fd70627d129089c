#include "photo/PhotoConversion.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "common/TextFile.h"
#include "common/Texts.h"
#include "photo/PhotoDirectory.h"
#include "track/TimeZoneTable.h"

namespace kavro {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

std::string PhotoConversion::ParsedPassLine(const std::string& path) const {
  return strings_.Utf8(txt::PhotoParsed) + " " + strings_.Utf8(txt::Pass) + path;
}

std::string PhotoConversion::ParsedErrorLine(const std::string& path, const std::string& message) const {
  return strings_.Utf8(txt::PhotoParsed) + " " + strings_.Utf8(txt::Error) + path + ";" + message;
}

std::string PhotoConversion::ParsedSummary(int pass, int error) const {
  return strings_.Utf8(txt::PhotoParsed) + ": " + strings_.Utf8(txt::Pass) + std::to_string(pass) + " " +
         strings_.Utf8(txt::Error) + std::to_string(error) + " ";
}

std::string PhotoConversion::CombinedPassLine(const std::string& path) const {
  return strings_.Utf8(txt::PhotoCombined) + strings_.Utf8(txt::Pass) + path;
}

std::string PhotoConversion::CombinedFailLine(const std::string& path) const {
  return strings_.Utf8(txt::PhotoCombined) + " " + strings_.Utf8(txt::Failed) + path + ";" +
         strings_.Utf8(txt::NoMappingTrackPoint);
}

std::string PhotoConversion::CombinedSummary(const std::string& parsedSummary, const MatchCounts& counts) const {
  return parsedSummary + "\n" + strings_.Utf8(txt::PhotoCombined) + ": " + strings_.Utf8(txt::Pass) +
         std::to_string(counts.combined) + " " + strings_.Utf8(txt::Error) + std::to_string(counts.failed);
}

std::string PhotoConversion::UnsupportedCameraLine(const std::string& path) const {
  return strings_.Utf8(txt::CameraNotSupported) + path;
}

std::string PhotoConversion::CopyNotWrittenLine(const std::string& path, const GpsCopyResult& copy) const {
  QString reason;
  if (copy.messageId == txt::PhotoOpenFailed) {
    reason = strings_.Format(txt::PhotoOpenFailed, {Q(copy.detail)});
  } else if (copy.messageId == txt::GpsCopyFailed) {
    reason = strings_.Format(txt::GpsCopyFailed, {Q(copy.copyPath.string()), Q(copy.detail)});
  } else {
    reason = strings_.Text(copy.messageId);
  }
  return strings_.Format(txt::GpsCopyNotWritten, {Q(path), reason}).toStdString();
}

std::string PhotoConversion::CopiesSummary(int written, int matched) const {
  return strings_.Format(txt::GpsCopiesWritten, {QString::number(written), QString::number(matched)}).toStdString();
}

std::string PhotoConversion::TrackLoadProblem(const std::filesystem::path& trl, const TrackLoad& load) const {
  if (load.notTrackLog)
    return strings_.Format(txt::NotATrackLog, {Q(trl.string()), QString::number(load.validPercent) + QLatin1Char('%')})
        .toStdString();
  return strings_.Format(txt::TrackOpenFailed, {Q(trl.string()), Q(load.error)}).toStdString();
}

namespace {

// "2008-02-28 19:00:20" in the zone; empty for an instant it cannot show.
QString LocalText(std::int64_t utc, const ZoneClock& zone) {
  std::tm t{};
  if (!zone.ToLocal(utc, t)) return {};
  return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                           t.tm_min, t.tm_sec);
}

// "+08:00", "-03:30", "+00:00": the offset the times are shown in.
QString OffsetText(const ZoneClock& zone) {
  const int east = zone.IsSystem() ? -SystemZoneBiasMinutes() : zone.OffsetMinutes();
  return QString::asprintf("%c%02d:%02d", east < 0 ? '-' : '+', std::abs(east) / 60, std::abs(east) % 60);
}

}  // namespace

std::string PhotoConversion::NoMatchExplanation(const MatchCounts& counts, const ZoneClock& photoZone) const {
  if (counts.combined > 0 || points_.empty()) return {};
  std::int64_t photoFirst = 0, photoLast = 0;
  bool anyPhoto = false;
  for (std::size_t i = 0; i < photos_.size() && i < parse_.size(); ++i) {
    if (!parse_[i].ok) continue;
    const std::int64_t t = photos_[i].captureTime;  // calibrated: what was compared
    photoFirst = anyPhoto ? std::min(photoFirst, t) : t;
    photoLast = anyPhoto ? std::max(photoLast, t) : t;
    anyPhoto = true;
  }
  if (!anyPhoto) return {};
  const auto [first, last] = std::minmax_element(points_.begin(), points_.end(),
                                                 [](const TrackPoint& a, const TrackPoint& b) { return a.time < b.time; });
  return strings_
      .Format(txt::NoPhotoMatched, {LocalText(photoFirst, photoZone), LocalText(photoLast, photoZone),
                                    LocalText(first->time, photoZone), LocalText(last->time, photoZone),
                                    OffsetText(photoZone)})
      .toStdString();
}

std::string PhotoConversion::MessageText(const PhotoTimeResult& result) const {
  if (result.messageId == txt::PhotoOpenFailed) return strings_.Format(txt::PhotoOpenFailed, {Q(result.detail)}).toStdString();
  return strings_.Utf8(result.messageId);
}

PhotoConversionResult PhotoConversion::Run(const PhotoConversionSettings& settings, OutputSink& kml,
                                           PhotoConversionListener* listener, std::stop_token stop) {
  PhotoConversionResult result;
  // Problems reach the listener always, result lines and summaries only when not quiet.
  PhotoConversionListener* talk = settings.quiet ? nullptr : listener;
  if (!ReadInputs(settings, listener, result)) return result;
  if (!ReadPhotoTimes(settings, talk, stop, result)) {
    result.cancelled = true;
    return result;
  }
  MatchPhotos(settings, listener, talk, result);
  if (stop.stop_requested()) {
    result.cancelled = true;
    return result;
  }
  WritePhotoKmlAndCopies(settings, kml, listener, talk, result);
  return result;
}

bool PhotoConversion::ReadInputs(const PhotoConversionSettings& settings, PhotoConversionListener* listener,
                                 PhotoConversionResult& result) {
  auto problem = [&](const std::string& message) {
    if (listener) listener->OnProblem(message);
  };
  const TrackLoad load = LoadTrack(settings.trlPath, settings.photoZone, points_);
  if (!load.ok) {
    result.trackRead = false;
    result.inputError = TrackLoadProblem(settings.trlPath, load);
    if (settings.stopOnUnreadableInput) return false;
    problem(result.inputError);
  }
  SortTrack(points_, trackOrder_);

  const PhotoScan scan = ScanPhotoDirectory(settings.photoDir, photos_);
  if (!scan.ok) {
    result.photosRead = false;
    // "No such file or directory" leaves the user guessing which of the two is missing.
    const QString why = scan.missing ? strings_.Text(txt::NoSuchFolder) : Q(scan.error);
    result.inputError = strings_.Format(txt::PhotoDirectoryFailed, {Q(settings.photoDir.string()), why}).toStdString();
    if (settings.stopOnUnreadableInput) return false;
    problem(result.inputError);
  }
  if (scan.truncated) problem(strings_.Format(txt::TooManyPhotos, {QString::number(kMaxPhotos)}).toStdString());
  return true;
}

bool PhotoConversion::ReadPhotoTimes(const PhotoConversionSettings& settings, PhotoConversionListener* talk,
                                     const std::stop_token& stop, PhotoConversionResult& result) {
  parse_.assign(photos_.size(), ParseResult{});
  for (std::size_t i = 0; i < photos_.size(); ++i) {
    if (stop.stop_requested()) return false;
    PhotoEntry& photo = photos_[i];
    const PhotoTimeResult taken = ReadPhotoTakenTime(photo.path, settings.photoZone);
    photo.captureTime = taken.status == 0 ? taken.captureTime : 0;
    parse_[i].ok = taken.status == 0;
    if (taken.status == 0) {
      ++result.parsedPass;
    } else {
      ++result.parsedError;
      parse_[i].message = MessageText(taken);
    }
    if (talk) {
      talk->OnLine(taken.status == 0 ? ParsedPassLine(photo.path) : ParsedErrorLine(photo.path, parse_[i].message));
      talk->OnSummary(ParsedSummary(result.parsedPass, result.parsedError));
    }
  }
  return true;
}

void PhotoConversion::MatchPhotos(const PhotoConversionSettings& settings, PhotoConversionListener* listener,
                                  PhotoConversionListener* talk,
                                  PhotoConversionResult& result) {
  CalibratePhotos(photos_, settings.clock);
  SortPhotos(photos_, photoOrder_);
  result.match = MatchPhotosToTrack(trackOrder_, photoOrder_);
  if (talk) {
    for (const PhotoOrderEntry& entry : photoOrder_) {
      const std::string& path = photos_[entry.photoIndex].path;
      talk->OnLine(entry.matched ? CombinedPassLine(path) : CombinedFailLine(path));
    }
    talk->OnSummary(CombinedSummary(ParsedSummary(result.parsedPass, result.parsedError), result.match));
  }
  // Said in quiet mode too: a download's photo KML without a single photo needs a reason.
  result.noMatchExplanation = NoMatchExplanation(result.match, settings.photoZone);
  if (!result.noMatchExplanation.empty() && listener) listener->OnProblem(result.noMatchExplanation);
}

void PhotoConversion::WritePhotoKmlAndCopies(const PhotoConversionSettings& settings, OutputSink& kml,
                                             PhotoConversionListener* listener, PhotoConversionListener* talk,
                                             PhotoConversionResult& result) {
  PhotoKmlInput input;
  input.trlPath = settings.trlPath;
  input.points = &points_;
  input.photoOrder = &photoOrder_;
  input.photos = &photos_;
  input.calibrated = !settings.clock.IsNone();
  input.writeGps = settings.writeGps;
  input.photoZone = settings.photoZone;
  result.outputOk = WritePhotoKml(kml, input, [&](const PhotoEntry& photo, const GpsCopyResult& copy) {
    if (!copy.supported) {
      ++result.copiesUnsupported;
      if (listener) listener->OnLine(UnsupportedCameraLine(photo.path));
    } else if (copy.status == 0) {
      ++result.copiesWritten;
    } else {
      // Shown even in quiet mode: a copy the user asked for is missing.
      ++result.copiesFailed;
      if (listener) listener->OnLine(CopyNotWrittenLine(photo.path, copy));
    }
  });
  if (talk && settings.writeGps) {
    talk->OnSummary(CombinedSummary(ParsedSummary(result.parsedPass, result.parsedError), result.match) + "\n" +
                    CopiesSummary(result.copiesWritten, result.match.combined));
  }
}

PhotoConversionResult PhotoConversion::RunToFile(const PhotoConversionSettings& settings,
                                                 const std::filesystem::path& kmlPath,
                                                 PhotoConversionListener* listener, std::string& error,
                                                 std::stop_token stop) {
  error.clear();
  TextFile file;
  std::string reason;
  if (!file.Open(kmlPath, TextFile::ModeWrite | TextFile::ModeCreate | TextFile::ModeWriteUnicode | TextFile::ModeReplace,
                 &reason)) {
    error = strings_.Format(txt::FileWriteFailed, {Q(kmlPath.string()), Q(reason)}).toStdString();
    PhotoConversionResult failed;
    failed.outputOk = false;
    return failed;
  }
  PhotoConversionSettings strict = settings;
  strict.stopOnUnreadableInput = true;
  PhotoConversionResult result = Run(strict, file, listener, std::move(stop));
  if (!result.trackRead || !result.photosRead) {
    file.Discard();
    result.outputOk = false;
    error = result.inputError;
    return result;
  }
  if (result.cancelled || !result.outputOk) {
    file.Discard();
    result.outputOk = false;
    if (!result.cancelled)
      error = strings_.Format(txt::FileWriteFailed, {Q(kmlPath.string()), Q(std::strerror(EIO))}).toStdString();
    return result;
  }
  if (!file.Close(&reason)) {
    result.outputOk = false;
    error = strings_.Format(txt::FileWriteFailed, {Q(kmlPath.string()), Q(reason)}).toStdString();
  }
  return result;
}

PhotoConversionResult CombinePhotosForTrack(const StringTable& strings, const std::filesystem::path& trlPath,
                                            OutputSink& out, const std::filesystem::path& photoDir, int photoZoneRow,
                                            const ClockCorrection& clock, bool writeGps,
                                            PhotoConversionListener* listener, TimeZoneState* zoneInForce) {
  PhotoConversionSettings s;
  s.trlPath = trlPath;
  s.photoDir = photoDir;
  if (!IsZoneRow(photoZoneRow)) photoZoneRow = kUtcZoneRow;
  if (zoneInForce) zoneInForce->ApplyZone(photoZoneRow);
  s.photoZone = ClockForRow(photoZoneRow);
  s.clock = clock;
  s.writeGps = writeGps;
  s.quiet = true;
  PhotoConversion conversion(strings);
  return conversion.Run(s, out, listener);
}

}  // namespace kavro
