#include "PhotoOptions.h"

#include <CLI/App.hpp>

#include "common/Texts.h"
#include "photo/ClockSync.h"
#include "photo/PhotoSettings.h"

namespace kavro::cli {

void PhotoOptions::AddTo(CLI::App& sub, const char* zoneDescription) {
  zone_.AddTo(sub, zoneDescription);
  sub.add_flag("--ignore-photo-zone", ignorePhotoZone_,
               "Use --zone for every photo, also for those that store their own time zone (OffsetTimeOriginal)");
  sub.add_option("--calibrate", calibration_, "Camera clock correction, days:hours:minutes:seconds, e.g. 0:1:-5:30")
      ->option_text("D:H:M:S");
  sub.add_option("--sync", sync_,
                 "Set the camera clock from a photo of a clock showing UTC and the time it shows; twice (two photos far "
                 "apart) also corrects the clock's drift")
      ->option_text("PHOTO=HH:MM:SS")
      ->allow_extra_args(false);
  sub.add_flag("--interpolate", interpolate_, "Place each photo between the two track points around its time, linear in time");
  sub.add_option("--max-gap", maxGap_, "Two track points further apart than this take no photos between them")
      ->option_text("SECONDS")
      ->check(CLI::Range(1, kMaxGapLimitSeconds));
}

int PhotoOptions::Apply(CliEnv& env, PhotoConversionSettings& settings, std::string* syncSummary) const {
  if (syncSummary) syncSummary->clear();
  const std::optional<int> row = zone_.Row(env);
  if (!row) return 2;
  settings.photoZone = ClockForRow(*row);
  settings.ignorePhotoZone = ignorePhotoZone_;
  if (const int usage = ApplyClock(env, settings, syncSummary); usage != 0) return usage;
  // The photo zone stays in force for the rest of the run, as after the page's Convert.
  env.ctx.zone.ApplyZone(*row);
  settings.photoZone = env.ctx.zone.Clock();
  settings.match.interpolate = interpolate_;
  settings.match.maxGapSeconds = maxGap_;
  return 0;
}

int PhotoOptions::ApplyClock(CliEnv& env, PhotoConversionSettings& settings, std::string* syncSummary) const {
  const StringTable& words = env.ctx.strings;
  if (!calibration_.empty() && !sync_.empty()) return env.Usage(words.Text(txt::SyncAndCalibrate));
  if (!calibration_.empty()) {
    const std::optional<std::int32_t> parsed = ParseCalibration(calibration_);
    if (!parsed) {
      std::vector<QString> limits;
      for (int limit : kCalibrationLimits) limits.push_back(QString::number(limit));
      return env.Usage(words.Format(txt::CalibrationFormat, limits));
    }
    settings.clock = ClockCorrection::Offset(*parsed);
    return 0;
  }
  settings.clock = ClockCorrection{};
  if (sync_.empty()) return 0;
  if (sync_.size() > 2) return env.Usage(words.Text(txt::SyncTooMany));
  std::vector<ClockPhoto> photos;
  for (const std::string& given : sync_) {
    const auto parts = SplitSyncArgument(given);
    if (!parts) return env.Usage(words.Format(txt::SyncFormat, {QString::fromStdString(given)}));
    const std::optional<int> reading = ParseClockReading(parts->second.c_str());
    if (!reading) return env.Usage(words.Format(txt::SyncBadReading, {QString::fromStdString(parts->second)}));
    photos.push_back({parts->first, *reading});
  }
  const ClockSync sync = SyncCameraClock(words, photos, settings.photoZone, settings.ignorePhotoZone);
  if (!sync.ok) return env.Usage(QString::fromStdString(sync.message));
  settings.clock = sync.clock;
  if (syncSummary) *syncSummary = ClockSyncSummary(words, photos, sync);
  return 0;
}

}  // namespace kavro::cli
