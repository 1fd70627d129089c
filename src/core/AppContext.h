#pragma once
// The process-wide state of one run, owned by the application (window or command line) and
// passed to whoever needs a piece of it. No globals: tests build as many as they like.

#include <cstdint>

#include "common/StringTable.h"
#include "protocol/DeviceInfo.h"
#include "protocol/KeepAlive.h"
#include "protocol/Link.h"
#include "track/TimeZoneTable.h"

namespace kavro {

struct AppContext {
  StringTable strings;
  // The time zone in force: the system zone until a conversion applies a row.
  TimeZoneState zone;

  // Each room adds the state it owns below, in its own block.
  // -- serial / protocol --
  // The link to the logger (port, flags, line lock), what Connect read, and the keep-alive
  // sender (declared after the link: it stops before the link goes).
  Link link;
  DeviceState device;
  KeepAlive keepAlive{link};
  // -- conversion --
  // -- photo --
  // Row used by the photo page's Convert (set by the settings dialog's OK), the write-GPS
  // option, the photo settings as last edited, and the reset and zone-picked flags.
  int photoTimeZoneIndex = kUtcZoneRow;
  bool writeGpsInPhoto = false;
  struct StoredPhotoSettings {
    int zoneHours = 0;
    int zoneMinutes = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
  } storedPhoto;
  bool photoDefaultsPending = false;
  bool photoZonePicked = false;
  // The calibration the photo page took over at the settings dialog's last OK; a download's
  // photo combination uses it too.
  std::int32_t photoCalibrationSeconds = 0;
};

}  // namespace kavro
