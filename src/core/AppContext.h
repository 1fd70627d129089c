#pragma once
// The process-wide state of one run, owned by the application (window or command line) and
// passed to whoever needs a piece of it. No globals: tests build as many as they like.

#include <filesystem>

#include "common/RecentFolders.h"
#include "common/StringTable.h"
#include "photo/PhotoSettings.h"
#include "protocol/DeviceInfo.h"
#include "protocol/KeepAlive.h"
#include "protocol/Link.h"
#include "track/TimeZoneTable.h"

namespace kavro {

struct AppContext {
  StringTable strings;
  // The time zone in force: the system zone until a conversion applies a row.
  TimeZoneState zone;
  // Where the next file or folder dialog starts.
  RecentFolders folders;

  // Each room adds the state it owns below, in its own block.
  // -- serial / protocol --
  // The link to the logger (port, flags, line lock), what Connect read, and the keep-alive
  // sender (declared after the link: it stops before the link goes).
  Link link;
  DeviceState device;
  KeepAlive keepAlive{link};
  // -- download --
  // Where the kept copies of the log memory live (the user's cache folder); empty keeps none,
  // so tests and embedders choose a folder of their own.
  std::filesystem::path keptCopyFolder;
  // Transform to File's week-rollover choice, as last confirmed with OK.
  bool downloadWeekFix = true;
  // -- conversion --
  // The conversion page's zone: a row of the zone list (the 34 offsets, then the named zones).
  ZoneChoice conversionZone;
  // -- photo --
  // The Photo Combine Setting dialog's values as last edited, and what Convert and a download's
  // photo combination use.
  PhotoSettings photo;
};

}  // namespace kavro
