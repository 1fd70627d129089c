#pragma once
#include <cstdint>
#include <filesystem>
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
#include "track/TimeZoneTable.h"
#include "track/ZoneClock.h"

namespace kavro {

struct PhotoConversionSettings {
  std::filesystem::path trlPath;
  std::filesystem::path photoDir;
  // -- time --
  ZoneClock photoZone = ZoneClock::System();  // for photos without an offset of their own
  ClockCorrection clock;                      // the camera clock's offset and drift
  bool writeGps = false;
  bool quiet = false;  // no result lines and no summary, only the unsupported-camera lines
  // An unreadable track or photo folder ends the run at once instead of giving an empty table.
  bool stopOnUnreadableInput = false;
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
};

struct PhotoConversionResult {
  int parsedPass = 0;
  int parsedError = 0;
  MatchCounts match;
  int copiesWritten = 0;
  int copiesUnsupported = 0;
  int copiesFailed = 0;
  bool trackRead = true;
  bool photosRead = true;
  std::string inputError;  // why the track or the photo folder could not be read, in words
  bool outputOk = true;  // every KML write succeeded
  bool cancelled = false;
  // When photos with a time and a track with points matched not once: why, in words (both
  // time ranges in the photo zone, and what to try). Empty otherwise.
  std::string noMatchExplanation;
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
  // "Geotagged copies written: 28 of 34", out of the matched photos.
  std::string CopiesSummary(int written, int matched) const;
  // Why the track could not be used, in words: not readable, or not a track log.
  std::string TrackLoadProblem(const std::filesystem::path& trl, const TrackLoad& load) const;
  // Both time ranges and what to try, when nothing matched although there was something to
  // match; empty otherwise. Works on the tables of the last run.
  std::string NoMatchExplanation(const MatchCounts& counts, const ZoneClock& photoZone) const;
  // The reason a photo's time was not read, in words.
  std::string MessageText(const PhotoTimeResult& result) const;

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

  const StringTable& strings_;
  std::vector<TrackPoint> points_;
  std::vector<TrackOrderEntry> trackOrder_;
  std::vector<PhotoEntry> photos_;
  std::vector<ParseResult> parse_;
  std::vector<PhotoOrderEntry> photoOrder_;
};

// The photo part of a download: the same conversion in quiet mode, in the given zone row (put in
// force for the run when zoneInForce is given), into an output the caller opened for Unicode
// writing (and closes). Only unsupported-camera lines and problems reach the listener.
PhotoConversionResult CombinePhotosForTrack(const StringTable& strings, const std::filesystem::path& trlPath,
                                            OutputSink& out, const std::filesystem::path& photoDir, int photoZoneRow,
                                            const ClockCorrection& clock, bool writeGps,
                                            PhotoConversionListener* listener, TimeZoneState* zoneInForce = nullptr);

}  // namespace kavro
