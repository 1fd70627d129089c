#pragma once
// How photos are matched to a track, as options: --zone and --calibrate, shared by geotag and
// map so both match alike.
#include <string>

#include "Cli.h"
#include "ZoneOption.h"
#include "photo/PhotoConversion.h"

namespace kavro::cli {

class PhotoOptions {
 public:
  void AddTo(CLI::App& sub, const char* zoneDescription);
  // Checks the options and puts the photo zone in force for the run (as after the photo page's
  // Convert); fills the zone and the clock correction into settings. Returns 0, or 2 after a
  // usage message.
  int Apply(CliEnv& env, PhotoConversionSettings& settings) const;

 private:
  ZoneOption zone_;
  std::string calibration_;
};

}  // namespace kavro::cli
