#include "PhotoOptions.h"

#include <CLI/App.hpp>

#include "common/Texts.h"
#include "photo/PhotoSettings.h"

namespace kavro::cli {

void PhotoOptions::AddTo(CLI::App& sub, const char* zoneDescription) {
  zone_.AddTo(sub, zoneDescription);
  sub.add_flag("--ignore-photo-zone", ignorePhotoZone_,
               "Use --zone for every photo, also for those that store their own time zone (OffsetTimeOriginal)");
  sub.add_option("--calibrate", calibration_, "Camera clock correction, days:hours:minutes:seconds, e.g. 0:1:-5:30")
      ->option_text("D:H:M:S");
  sub.add_flag("--interpolate", interpolate_, "Place each photo between the two track points around its time, linear in time");
  sub.add_option("--max-gap", maxGap_, "Two track points further apart than this take no photos between them")
      ->option_text("SECONDS")
      ->check(CLI::Range(1, kMaxGapLimitSeconds));
}

int PhotoOptions::Apply(CliEnv& env, PhotoConversionSettings& settings) const {
  const std::optional<int> row = zone_.Row(env);
  if (!row) return 2;
  std::int32_t calibrationSeconds = 0;
  if (!calibration_.empty()) {
    const std::optional<std::int32_t> parsed = ParseCalibration(calibration_);
    if (!parsed) {
      std::vector<QString> limits;
      for (int limit : kCalibrationLimits) limits.push_back(QString::number(limit));
      return env.Usage(env.ctx.strings.Format(txt::CalibrationFormat, limits));
    }
    calibrationSeconds = *parsed;
  }
  // The photo zone stays in force for the rest of the run, as after the page's Convert.
  env.ctx.zone.ApplyZone(*row);
  settings.photoZone = env.ctx.zone.Clock();
  settings.clock = ClockCorrection::Offset(calibrationSeconds);
  settings.ignorePhotoZone = ignorePhotoZone_;
  settings.match.interpolate = interpolate_;
  settings.match.maxGapSeconds = maxGap_;
  return 0;
}

}  // namespace kavro::cli
