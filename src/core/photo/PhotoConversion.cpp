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

std::string PhotoConversion::CopyReason(const GpsCopyResult& copy) const {
  if (copy.messageId == txt::PhotoOpenFailed) return strings_.Format(txt::PhotoOpenFailed, {Q(copy.detail)}).toStdString();
  if (copy.messageId == txt::GpsCopyFailed)
    return strings_.Format(txt::GpsCopyFailed, {Q(copy.copyPath.string()), Q(copy.detail)}).toStdString();
  return strings_.Utf8(copy.messageId);
}

std::string PhotoConversion::CopyNotWrittenLine(const std::string& path, const GpsCopyResult& copy) const {
  return strings_.Format(txt::GpsCopyNotWritten, {Q(path), Q(CopyReason(copy))}).toStdString();
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

std::string PhotoConversion::TimeNoteLine(const std::string& path, const PhotoUtc& when) const {
  if (!when.ok) return {};
  const QString offset = Q(OffsetLabel(when.offsetMinutes * 60));
  if (when.source != OffsetSource::ChosenZone) {
    const QString tag = when.source == OffsetSource::PhotoOffsetTimeOriginal ? QStringLiteral("OffsetTimeOriginal")
                                                                            : QStringLiteral("OffsetTime");
    return strings_.Format(txt::PhotoOwnZoneUsed, {Q(path), offset, tag}).toStdString();
  }
  if (when.note == LocalTimeNote::SkippedHourMovedForward)
    return strings_.Format(txt::PhotoSkippedHour, {Q(path), offset}).toStdString();
  if (when.note == LocalTimeNote::RepeatedHourEarlierOffset)
    return strings_.Format(txt::PhotoRepeatedHour, {Q(path), offset}).toStdString();
  return {};
}

std::string PhotoConversion::MessageText(const PhotoTimeResult& result) const {
  return PhotoTimeProblemText(strings_, result.messageId, result.detail).toStdString();
}

std::string PhotoConversion::SidecarReason(const SidecarResult& sidecar) const {
  const QString path = Q(sidecar.path.string());
  switch (sidecar.messageId) {
    case txt::SidecarReadFailed:
    case txt::SidecarWriteFailed:
      return strings_.Format(sidecar.messageId, {path, Q(sidecar.detail)}).toStdString();
    case txt::SidecarHasPosition:
    case txt::SidecarNotXmp:
      return strings_.Format(sidecar.messageId, {path}).toStdString();
    default:
      return strings_.Utf8(sidecar.messageId);
  }
}

std::string PhotoConversion::SidecarNotWrittenLine(const std::string& path, const SidecarResult& sidecar) const {
  return strings_.Format(txt::SidecarNotWritten, {Q(path), Q(SidecarReason(sidecar))}).toStdString();
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

  const PhotoScan scan = ScanEveryPhoto(settings.photoDir, photos_);
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

namespace {

// The capture time from what was read: the photo's own offset (unless ignored), else the chosen
// zone with its clock changes; with a fixed offset and no offset in the photo, the JPEG
// reader's rules to the second.
PhotoTimeResult TimeOf(const PhotoMetadata& meta, const PhotoConversionSettings& settings, PhotoUtc& when) {
  PhotoTimeResult r;
  r.messageId = meta.messageId;
  r.detail = meta.detail;
  when = PhotoUtc{};
  if (!meta.dateTimeOriginal) return r;
  when = ResolveCaptureTime(meta, settings.photoZone, settings.ignorePhotoZone);
  if (!when.ok) {
    r.messageId = txt::PhotoDateFormatError;
    return r;
  }
  r.status = 0;
  r.messageId = 0;
  r.captureTime = static_cast<std::int32_t>(when.utc);
  return r;
}

}  // namespace

void PhotoConversion::Progress(PhotoConversionListener* listener) {
  ++stepsDone_;
  if (listener) listener->OnProgress(stepsDone_, stepsTotal_);
}

bool PhotoConversion::ReadPhotoTimes(const PhotoConversionSettings& settings, PhotoConversionListener* talk,
                                     const std::stop_token& stop, PhotoConversionResult& result) {
  parse_.assign(photos_.size(), ParseResult{});
  facts_.assign(photos_.size(), PhotoFacts{});
  times_.assign(photos_.size(), PhotoUtc{});
  stepsDone_ = 0;
  stepsTotal_ = photos_.size() * 2;
  for (std::size_t i = 0; i < photos_.size(); ++i) {
    if (stop.stop_requested()) return false;
    PhotoEntry& photo = photos_[i];
    const PhotoMetadata meta = ReadPhotoMetadata(photo.path);
    facts_[i].kind = meta.kind;
    facts_[i].readable = meta.readable;
    facts_[i].captureText = meta.dateTimeOriginal.value_or(std::string());
    const PhotoTimeResult taken = TimeOf(meta, settings, times_[i]);
    facts_[i].messageId = taken.messageId;
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
      if (const std::string note = TimeNoteLine(photo.path, times_[i]); !note.empty()) talk->OnLine(note);
      talk->OnSummary(ParsedSummary(result.parsedPass, result.parsedError));
    }
    Progress(talk);
  }
  return true;
}

void PhotoConversion::MatchPhotos(const PhotoConversionSettings& settings, PhotoConversionListener* listener,
                                  PhotoConversionListener* talk,
                                  PhotoConversionResult& result) {
  CalibratePhotos(photos_, settings.clock);
  SortPhotos(photos_, photoOrder_);
  result.match = MatchPhotosToTrack(trackOrder_, photoOrder_, points_, settings.match, details_);
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
  input.writeGps = false;  // the copies follow, in the same order
  input.photoZone = settings.photoZone;
  result.outputOk = settings.dryRun || WritePhotoKml(kml, input);
  WritePhotoFiles(settings, listener, result);
  if (talk && settings.writeGps && !settings.dryRun) {
    talk->OnSummary(CombinedSummary(ParsedSummary(result.parsedPass, result.parsedError), result.match) + "\n" +
                    CopiesSummary(result.copiesWritten, result.copiesWritten + result.copiesFailed));
  }
  FillReport(settings, result);
  if (stepsTotal_ > 0) {
    stepsDone_ = stepsTotal_ - 1;  // photos without a position were done when read
    Progress(settings.quiet ? nullptr : listener);
  }
}

void PhotoConversion::WritePhotoFiles(const PhotoConversionSettings& settings, PhotoConversionListener* listener,
                                      PhotoConversionResult& result) {
  copyNames_.clear();
  std::vector<std::size_t> order;
  for (std::size_t k = 0; k < photoOrder_.size(); ++k) {
    if (photoOrder_[k].matched && photoOrder_[k].pointIndex < points_.size()) order.push_back(k);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return photoOrder_[a].pointIndex < photoOrder_[b].pointIndex; });
  for (const std::size_t k : order) {
    const PhotoOrderEntry& entry = photoOrder_[k];
    const PhotoMatchDetail& detail = details_[k];
    PhotoFacts& facts = facts_[entry.photoIndex];
    if (!settings.writeGps) {
      facts.reasonId = txt::ReportNotAsked;
      continue;
    }
    TrackPoint point = points_[entry.pointIndex];
    if (detail.match == PhotoMatchKind::Interpolated) {
      point.lat = static_cast<float>(detail.lat);
      point.lon = static_cast<float>(detail.lon);
      point.alt = static_cast<float>(detail.alt);
      point.time = photos_[entry.photoIndex].captureTime;
    }
    const bool sidecar = facts.kind != PhotoFileKind::Jpeg || settings.sidecars == SidecarMode::Always;
    if (sidecar) {
      WriteSidecar(settings, entry.photoIndex, point, listener, result);
    } else {
      WriteCopy(settings, entry.photoIndex, point, listener, result);
    }
    Progress(settings.quiet ? nullptr : listener);
  }
}

void PhotoConversion::WriteCopy(const PhotoConversionSettings& settings, std::size_t photoIndex,
                                const TrackPoint& point, PhotoConversionListener* listener,
                                PhotoConversionResult& result) {
  const PhotoEntry& photo = photos_[photoIndex];
  PhotoFacts& facts = facts_[photoIndex];
  // a.jpg and a.JPG would share one copy name: the later one gets a number.
  std::filesystem::path copyPath = GpsCopyPath(photo.path);
  for (int copyNumber = 2; copyNames_.count(copyPath) != 0; ++copyNumber) copyPath = GpsCopyPath(photo.path, copyNumber);
  const GpsCopyResult copy = WriteGpsPhotoCopy(photo.path, point, copyPath, settings.dryRun);
  if (copy.status == 0 && copy.supported) {
    copyNames_.insert(copyPath);
    ++result.copiesWritten;
    facts.written = PhotoWriteKind::Copy;
    facts.writtenPath = copyPath;
    return;
  }
  // Shown even in quiet mode: a copy the user asked for is missing.
  ++result.copiesFailed;
  if (listener) listener->OnLine(CopyNotWrittenLine(photo.path, copy));
  facts.refused = copy.outcome == GpsCopyOutcome::Layout || copy.outcome == GpsCopyOutcome::NotExif ||
                  copy.outcome == GpsCopyOutcome::NoExifIfd;
  facts.reasonId = copy.messageId;
  facts.reasonDetail = CopyReason(copy);
}

void PhotoConversion::WriteSidecar(const PhotoConversionSettings& settings, std::size_t photoIndex,
                                   const TrackPoint& point, PhotoConversionListener* listener,
                                   PhotoConversionResult& result) {
  const PhotoEntry& photo = photos_[photoIndex];
  PhotoFacts& facts = facts_[photoIndex];
  const SidecarResult sidecar =
      WriteXmpSidecar(photo.path, point, settings.sidecarName, settings.replacePositions, settings.dryRun);
  if (sidecar.Written()) {
    ++result.sidecarsWritten;
    facts.written = PhotoWriteKind::Sidecar;
    facts.writtenPath = sidecar.path;
    return;
  }
  facts.reasonId = sidecar.messageId;
  facts.reasonDetail = SidecarReason(sidecar);
  if (sidecar.outcome == SidecarOutcome::HasPosition) return;  // left alone on purpose
  ++result.sidecarsFailed;
  if (listener) listener->OnLine(SidecarNotWrittenLine(photo.path, sidecar));
}

void PhotoConversion::FillReport(const PhotoConversionSettings& settings, PhotoConversionResult& result) const {
  std::vector<std::size_t> orderOf(photos_.size(), photoOrder_.size());
  for (std::size_t k = 0; k < photoOrder_.size(); ++k) orderOf[photoOrder_[k].photoIndex] = k;
  const int offset = settings.photoZone.IsSystem() ? -SystemZoneBiasMinutes() : settings.photoZone.OffsetMinutes();
  result.report.dryRun = settings.dryRun;
  result.report.rows.assign(photos_.size(), PhotoReportRow{});
  for (std::size_t i = 0; i < photos_.size(); ++i) {
    const PhotoFacts& facts = facts_[i];
    PhotoReportRow& row = result.report.rows[i];
    row.path = photos_[i].path;
    row.captureText = facts.captureText;
    row.offsetMinutes = times_[i].ok ? times_[i].offsetMinutes : offset;
    row.offsetSource = times_[i].source;
    row.localNote = times_[i].note;
    row.written = facts.written;
    row.writtenPath = facts.writtenPath;
    row.reasonId = facts.reasonId;
    row.reasonDetail = facts.reasonDetail;
    if (!parse_[i].ok) {
      row.match = facts.readable ? PhotoMatchKind::NoCaptureTime : PhotoMatchKind::Unreadable;
      row.reasonId = facts.messageId;
      row.reasonDetail = parse_[i].message;
      continue;
    }
    row.utc = photos_[i].captureTime;
    if (orderOf[i] >= details_.size()) continue;
    const PhotoMatchDetail& d = details_[orderOf[i]];
    row.match = facts.refused ? PhotoMatchKind::MakeRefused : d.match;
    row.secondsToNearest = d.secondsToNearest;
    row.located = d.located;
    row.lat = d.lat;
    row.lon = d.lon;
    row.alt = d.alt;
    if (!d.located && row.reasonId == 0) row.reasonId = txt::ReportNoPosition;
  }
}

PhotoConversionResult PhotoConversion::RunToFile(const PhotoConversionSettings& settings,
                                                 const std::filesystem::path& kmlPath,
                                                 PhotoConversionListener* listener, std::string& error,
                                                 std::stop_token stop) {
  error.clear();
  if (settings.dryRun) {
    StringSink nowhere;  // a dry run leaves no KML behind
    PhotoConversionSettings strict = settings;
    strict.stopOnUnreadableInput = true;
    PhotoConversionResult result = Run(strict, nowhere, listener, std::move(stop));
    if (!result.trackRead || !result.photosRead) error = result.inputError;
    return result;
  }
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

QString PhotoTimeProblemText(const StringTable& strings, int messageId, const std::string& detail) {
  if (messageId == txt::PhotoOpenFailed || messageId == txt::PhotoUnreadable)
    return strings.Format(messageId, {Q(detail)});
  return strings.Text(messageId);
}

PhotoConversionResult CombinePhotosForTrack(const StringTable& strings, const std::filesystem::path& trlPath,
                                            OutputSink& out, const std::filesystem::path& photoDir, int photoZoneRow,
                                            const ClockCorrection& clock, bool writeGps,
                                            PhotoConversionListener* listener, TimeZoneState* zoneInForce,
                                            bool ignorePhotoZone) {
  PhotoConversionSettings s;
  s.trlPath = trlPath;
  s.photoDir = photoDir;
  if (!IsZoneRow(photoZoneRow)) photoZoneRow = kUtcZoneRow;
  if (zoneInForce) zoneInForce->ApplyZone(photoZoneRow);
  s.photoZone = ClockForRow(photoZoneRow);
  s.clock = clock;
  s.writeGps = writeGps;
  s.ignorePhotoZone = ignorePhotoZone;
  s.quiet = true;
  PhotoConversion conversion(strings);
  return conversion.Run(s, out, listener);
}

}  // namespace kavro
