#pragma once
#include <cstdint>
#include <filesystem>
#include <set>
#include <stop_token>
#include <string>
#include <vector>

#include "common/OutputSink.h"
#include "common/StringTable.h"
#include "photo/ClockCorrection.h"
#include "photo/ExifReader.h"
#include "photo/PhotoEntry.h"
#include "photo/PhotoKml.h"
#include "photo/PhotoMatcher.h"
#include "photo/PhotoTime.h"
#include "photo/PhotoMetadata.h"
#include "photo/PhotoReport.h"
#include "photo/XmpSidecar.h"
#include "track/TimeZoneTable.h"
#include "track/ZoneClock.h"

namespace kavro {

struct PhotoConversionSettings {
  std::filesystem::path trlPath;
  std::filesystem::path photoDir;
  // -- time --
  ZoneClock photoZone = ZoneClock::System();  // for photos without an offset of their own
  ClockCorrection clock;                      // the camera clock's offset and drift
  bool ignorePhotoZone = false;               // the chosen zone for every photo, even one with its own offset
  bool writeGps = false;
  bool quiet = false;  // no result lines and no summary, only the unsupported-camera lines
  // An unreadable track or photo folder ends the run at once instead of giving an empty table.
  bool stopOnUnreadableInput = false;
  // How photos take positions, and what is written for them: a GPS copy of a JPEG, an XMP
  // sidecar beside a RAW or HEIC file (or every photo when asked). A dry run writes nothing,
  // not even the KML, and reports what it would have written.
  MatchOptions match;
  bool dryRun = false;
  SidecarMode sidecars = SidecarMode::ForRawOnly;
  SidecarName sidecarName = SidecarName::NameXmp;
  bool replacePositions = false;
};

// Where the conversion's words go, in the user's language. Called on the converting thread.
class PhotoConversionListener {
 public:
  virtual ~PhotoConversionListener() = default;
  // A result line: "Photo Parsed ...", "Photo Combined ...", or an unsupported-camera line.
  virtual void OnLine(const std::string& line) = 0;
  // The summary text (replaces the previous one).
  virtual void OnSummary(const std::string& summary) = 0;
  // An input that could not be read (track file, photo directory) or a table limit reached.
  virtual void OnProblem(const std::string& message) = 0;
  // Steps done of all the run's steps (each photo is read once and written at most once).
  virtual void OnProgress(std::size_t /*done*/, std::size_t /*total*/) {}
};

struct PhotoConversionResult {
  int parsedPass = 0;
  int parsedError = 0;
  MatchCounts match;
  int copiesWritten = 0;
  int copiesUnsupported = 0;
  int copiesFailed = 0;
  int sidecarsWritten = 0;
  int sidecarsFailed = 0;  // asked for and not written (one that already held a position is not counted)
  bool trackRead = true;
  bool photosRead = true;
  std::string inputError;  // why the track or the photo folder could not be read, in words
  bool outputOk = true;  // every KML write succeeded
  bool cancelled = false;
  // When photos with a time and a track with points matched not once: why, in words (both
  // time ranges in the photo zone, and what to try). Empty otherwise.
  std::string noMatchExplanation;
  PhotoReport report;  // one row per photo file, in the folder's order
};

// One photo conversion: read the track, the photos' times, match, write the photo KML. Holds
// the tables of the last run so a page can keep them between conversions.
class PhotoConversion {
 public:
  explicit PhotoConversion(const StringTable& strings) : strings_(strings) {}

  PhotoConversionResult Run(const PhotoConversionSettings& settings, OutputSink& kml, PhotoConversionListener* listener,
                            std::stop_token stop = {});

  // Run into a UTF-16LE KML file: written under a temporary name and renamed into place only
  // when complete; on failure nothing is left behind and error holds the reason in words. An
  // unreadable track or photo folder is such a failure.
  PhotoConversionResult RunToFile(const PhotoConversionSettings& settings, const std::filesystem::path& kmlPath,
                                  PhotoConversionListener* listener, std::string& error,
                                  std::stop_token stop = {});

  // The texts of the result lines, as the list shows them.
  std::string ParsedPassLine(const std::string& path) const;
  std::string ParsedErrorLine(const std::string& path, const std::string& message) const;
  std::string ParsedSummary(int pass, int error) const;
  std::string CombinedPassLine(const std::string& path) const;
  std::string CombinedFailLine(const std::string& path) const;
  std::string CombinedSummary(const std::string& parsedSummary, const MatchCounts& counts) const;
  std::string UnsupportedCameraLine(const std::string& path) const;
  // A matched photo of a supported camera whose copy was not written, with the reason.
  std::string CopyNotWrittenLine(const std::string& path, const GpsCopyResult& copy) const;
  std::string CopyReason(const GpsCopyResult& copy) const;
  // "Geotagged copies written: 28 of 34", out of the matched photos.
  std::string CopiesSummary(int written, int matched) const;
  // Why the track could not be used, in words: not readable, or not a track log.
  std::string TrackLoadProblem(const std::filesystem::path& trl, const TrackLoad& load) const;
  // Both time ranges and what to try, when nothing matched although there was something to
  // match; empty otherwise. Works on the tables of the last run.
  std::string NoMatchExplanation(const MatchCounts& counts, const ZoneClock& photoZone) const;
  // How a photo's time was read when it is worth saying: its own offset, or a camera time in an
  // hour the chosen zone skipped or repeated; empty otherwise.
  std::string TimeNoteLine(const std::string& path, const PhotoUtc& when) const;
  // Each photo's UTC time and where its offset came from, at the photo's index (last run).
  const std::vector<PhotoUtc>& PhotoTimes() const { return times_; }
  // The reason a photo's time was not read, in words.
  std::string MessageText(const PhotoTimeResult& result) const;
  // A sidecar the user asked for that was not written, with the reason.
  std::string SidecarNotWrittenLine(const std::string& path, const SidecarResult& sidecar) const;
  std::string SidecarReason(const SidecarResult& sidecar) const;

 private:
  // The track and the photo folder; false when an unreadable one ends the run.
  bool ReadInputs(const PhotoConversionSettings& settings, PhotoConversionListener* listener,
                  PhotoConversionResult& result);
  // Each photo's capture time; false when stopped. `talk` is null in quiet mode.
  bool ReadPhotoTimes(const PhotoConversionSettings& settings, PhotoConversionListener* talk,
                      const std::stop_token& stop, PhotoConversionResult& result);
  void MatchPhotos(const PhotoConversionSettings& settings, PhotoConversionListener* listener,
                   PhotoConversionListener* talk,
                   PhotoConversionResult& result);
  void WritePhotoKmlAndCopies(const PhotoConversionSettings& settings, OutputSink& kml,
                              PhotoConversionListener* listener, PhotoConversionListener* talk,
                              PhotoConversionResult& result);
  // Copies and sidecars of the located photos, in the KML's order (point by point).
  void WritePhotoFiles(const PhotoConversionSettings& settings, PhotoConversionListener* listener,
                       PhotoConversionResult& result);
  void WriteCopy(const PhotoConversionSettings& settings, std::size_t photoIndex, const TrackPoint& point,
                 PhotoConversionListener* listener, PhotoConversionResult& result);
  void WriteSidecar(const PhotoConversionSettings& settings, std::size_t photoIndex, const TrackPoint& point,
                    PhotoConversionListener* listener, PhotoConversionResult& result);
  void FillReport(const PhotoConversionSettings& settings, PhotoConversionResult& result) const;
  void Progress(PhotoConversionListener* listener);

  // What the report needs of each photo beyond the tables above, at the photo's index.
  struct PhotoFacts {
    PhotoFileKind kind = PhotoFileKind::Other;
    bool readable = false;
    std::string captureText;
    int messageId = 0;  // why the time was not read
    PhotoWriteKind written = PhotoWriteKind::Nothing;
    bool refused = false;  // its copy was refused: the layout cannot be written safely
    std::filesystem::path writtenPath;
    int reasonId = 0;
    std::string reasonDetail;  // the reason in words when it has arguments
  };

  const StringTable& strings_;
  std::vector<TrackPoint> points_;
  std::vector<TrackOrderEntry> trackOrder_;
  std::vector<PhotoEntry> photos_;
  std::vector<ParseResult> parse_;
  std::vector<PhotoUtc> times_;
  std::vector<PhotoOrderEntry> photoOrder_;
  std::vector<PhotoMatchDetail> details_;  // at the photo-order index
  std::vector<PhotoFacts> facts_;
  std::set<std::filesystem::path> copyNames_;  // copy names taken in this run
  std::size_t stepsDone_ = 0, stepsTotal_ = 0;
};

// Why a photo's capture time was not read, in words: the text of messageId, with the file's own
// reason (detail) where the text takes one.
QString PhotoTimeProblemText(const StringTable& strings, int messageId, const std::string& detail);

// The photo part of a download: the same conversion in quiet mode, in the given zone row (put in
// force for the run when zoneInForce is given), into an output the caller opened for Unicode
// writing (and closes). Only unsupported-camera lines and problems reach the listener.
PhotoConversionResult CombinePhotosForTrack(const StringTable& strings, const std::filesystem::path& trlPath,
                                            OutputSink& out, const std::filesystem::path& photoDir, int photoZoneRow,
                                            const ClockCorrection& clock, bool writeGps,
                                            PhotoConversionListener* listener, TimeZoneState* zoneInForce = nullptr,
                                            bool ignorePhotoZone = false);

}  // namespace kavro
