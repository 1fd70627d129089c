#pragma once
// The photo settings of a run: what the Photo Combine Setting dialog last showed, and what the
// photo page's Convert and a download's photo combination use. The window keeps them in its
// context; the rules of where the dialog starts and of the calibration live here.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "photo/ClockCorrection.h"
#include "photo/PhotoMatcher.h"
#include "photo/PhotoReport.h"
#include "photo/XmpSidecar.h"
#include "track/TimeZoneTable.h"

namespace kavro {

// The camera clock calibration is days : hours : minutes : seconds, each signed and at most
// this far from 0.
inline constexpr std::array<int, 4> kCalibrationLimits = {30, 23, 59, 59};

std::int32_t CalibrationSeconds(int days, int hours, int minutes, int seconds);
// "D:H:M:S" (e.g. "0:1:-5:30"), as the command line takes it; none when it is not of that form
// or a part is beyond its limit.
std::optional<std::int32_t> ParseCalibration(std::string_view text);

struct PhotoSettings {
  int timeZoneIndex = kUtcZoneRow;    // the row Convert uses, set by the dialog's OK
  bool writeGps = false;              // write GPS copies of the matched photos
  // The dialog's zone and calibration as last edited (kept when it is cancelled).
  struct Stored {
    int zoneHours = 0;
    int zoneMinutes = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int zoneRow = kUtcZoneRow;  // the row of zoneHours/zoneMinutes; the only record of a named zone
  } stored;
  bool defaultsPending = false;       // Default All: the dialog next starts at " 00:00"
  bool zonePicked = false;            // a zone was chosen in the dialog; the logger's no longer counts
  // -- time --
  ClockCorrection clock;  // the camera clock correction taken over by the photo page at the dialog's last OK
  bool ignorePhotoZone = false;  // the chosen zone even for photos that carry their own, set by the dialog's OK
  // How photos take positions and what RAW/HEIC files get, set by the dialog's OK.
  MatchOptions match;
  SidecarMode sidecars = SidecarMode::ForRawOnly;
  SidecarName sidecarName = SidecarName::NameXmp;
  bool replacePositions = false;
  // The report of the last run (Convert or Preview), for whoever shows it after the page.
  PhotoReport lastReport;

  struct StartRow {
    int row = kUtcZoneRow;  // the zone the dialog works with
    bool shown = true;      // false: no row matched the default and the list shows no selection
  };
  // Where the dialog's zone list starts: " 00:00" after Default All; the row picked earlier; else
  // the logger's zone while one is known; else the system's. The zone is stored as last edited.
  StartRow ChooseStartRow(bool loggerZoneValid, const std::string& loggerZone, int systemBiasMinutes);
  // Stores a row of the zone list as the zone last edited (hours and minutes 0 for a named zone).
  void StoreZone(int row);
};

}  // namespace kavro
