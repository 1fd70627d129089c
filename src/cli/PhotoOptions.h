#pragma once
// How photos are matched to a track, as options: --zone, --ignore-photo-zone, --calibrate,
// --interpolate and --max-gap, shared by geotag and map so both match alike.
#include <string>

#include "Cli.h"
#include "ZoneOption.h"
#include "photo/PhotoConversion.h"

namespace kavro::cli {

class PhotoOptions {
 public:
  void AddTo(CLI::App& sub, const char* zoneDescription);
  // Checks the options and puts the photo zone in force for the run (as after the photo page's
  // Convert); fills the zone, the clock correction and the match options into settings. Returns 0, or 2 after a
  // usage message.
  int Apply(CliEnv& env, PhotoConversionSettings& settings) const;

 private:
  ZoneOption zone_;
  std::string calibration_;
  bool interpolate_ = false;
  bool ignorePhotoZone_ = false;
  std::int32_t maxGap_ = kMatchWindowSeconds;
};

}  // namespace kavro::cli
