#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/OutputSink.h"
#include "photo/ExifGpsWriter.h"
#include "photo/PhotoEntry.h"
#include "photo/PhotoMatcher.h"
#include "track/ZoneClock.h"

namespace kavro {

// Everything the photo KML is made of, after the matching.
struct PhotoKmlInput {
  std::filesystem::path trlPath;  // read again for the route line
  const std::vector<TrackPoint>* points = nullptr;
  const std::vector<PhotoOrderEntry>* photoOrder = nullptr;
  const std::vector<PhotoEntry>* photos = nullptr;
  std::int32_t calibrationSeconds = 0;
  bool calibrated = false;  // a clock correction was applied: the balloons show the camera's own time too
  bool writeGps = false;
  ZoneClock photoZone = ZoneClock::System();
  const char* encoding = "UTF-16";  // the name in the XML declaration: the file is UTF-16LE
};

// Called after each geotagged copy attempt, in KML order.
using GpsCopyObserver = std::function<void(const PhotoEntry& photo, const GpsCopyResult& result)>;

// The track as a line, every point as a placemark named by its local time, the photos in a
// balloon on the point they were matched to; geotagged copies when asked. Returns false when
// the output refused a write.
bool WritePhotoKml(OutputSink& out, const PhotoKmlInput& input, const GpsCopyObserver& onCopy = {});

// The photo path as it goes into the balloon's img element inside CDATA: characters that would
// end the attribute or the CDATA section are written as entities.
std::string BalloonPathText(const std::string& path);

}  // namespace kavro
