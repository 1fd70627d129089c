#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "photo/ExifBytes.h"
#include "photo/PhotoMatcher.h"

namespace kavro {

// Size of the inserted IFD0 entry and of the GPS IFD with its values. One zero byte follows the
// GPS IFD so that everything behind it keeps the word alignment TIFF asks of its offsets; one
// more goes before it when it would otherwise start at an odd offset.
inline constexpr std::uint32_t kEntryShift = 12;
inline constexpr std::uint32_t kGpsIfdSize = 205;
inline constexpr std::uint32_t kGpsIfdPadding = 1;
inline constexpr std::uint32_t kTotalShift = kEntryShift + kGpsIfdSize + kGpsIfdPadding;

enum class GpsCopyOutcome {
  Written,      // the copy is complete and in place
  Unsupported,  // not used any more: every make gets a copy (kept for the callers' switch)
  NotExif,      // no EXIF APP1 or a bad byte order
  NoExifIfd,    // IFD0 has no EXIF IFD pointer
  Layout,       // offsets that do not follow the camera layout, or that point outside the file
  BadPoint,     // the track point's position or altitude is not a number or out of range
  IoError,      // the photo or the copy could not be read or written
};

struct GpsCopyResult {
  int status = 1;          // 0: written, or given up on an unsupported camera; 1: failed
  bool supported = true;   // false when the camera make is not one the writer handles
  GpsCopyOutcome outcome = GpsCopyOutcome::IoError;
  int messageId = 0;       // string id of the reason when status is 1
  std::string detail;      // the system's reason for an I/O failure
  std::filesystem::path copyPath;
};

// The GPS values of a point, as they go into the GPS IFD.
struct GpsFields {
  std::uint32_t latDeg = 0, latMin = 0, latHundredthSec = 0;
  std::uint32_t lonDeg = 0, lonMin = 0, lonHundredthSec = 0;
  char latRef = 0, lonRef = 0;  // 'N'/'S', 'E'/'W', or 0 exactly on the line
  std::uint8_t altRef = 0;      // 0 above sea level, 1 below
  std::uint32_t altCentimetres = 0;
  int hour = 0, minute = 0, second = 0;
  int year = 1970, month = 1, day = 1;
};
// Altitudes whose centimetres still fit the unsigned 32-bit rational of the GPS IFD.
inline constexpr double kMaxGpsAltitudeMetres = 42949672.0;
// Latitude within ±90, longitude within ±180, altitude within ±kMaxGpsAltitudeMetres, all finite.
// Only a corrupt record whose checksum still holds carries anything else.
bool GpsPointUsable(const TrackPoint& point);
// All zero for a point that is not usable.
GpsFields MakeGpsFields(const TrackPoint& point);

// The GPS IFD for the fields (kGpsIfdSize bytes at p); `gpsOffset` is where p lies in the TIFF
// data, so the values behind the entries are found from it.
void WriteGpsIfd(std::uint8_t* p, ByteOrder order, std::uint32_t gpsOffset, const GpsFields& f);

// <dir>/GPS/<name without its 4-character extension>_GPS.jpg; from number 2 on
// <name>_GPS_<number>.jpg, for photos whose names differ only in the extension's case.
std::filesystem::path GpsCopyPath(const std::filesystem::path& photo, int number = 1);

// The whole copy in memory: the photo's bytes with a GPS IFD for the point, placed where IFD1
// was (behind the TIFF data when there is no IFD1). Reads only inside [data, data + size); the
// photo is refused when its offsets do not follow the camera layout. The maker note moves as a
// block with all its offsets (and Canon's footer), so it reads against its values as before.
GpsCopyOutcome BuildGpsCopy(const std::uint8_t* data, std::size_t size, const TrackPoint& point,
                            std::vector<std::uint8_t>& out);

// Writes the geotagged copy beside the photo (GPS folder), through a temporary name renamed
// into place only when complete. The photo itself is only read.
GpsCopyResult WriteGpsPhotoCopy(const std::filesystem::path& photo, const TrackPoint& point);
// The same under a name the caller chose (see GpsCopyPath). dryRun: everything but the writing,
// so a refusal is known beforehand.
GpsCopyResult WriteGpsPhotoCopy(const std::filesystem::path& photo, const TrackPoint& point,
                                const std::filesystem::path& copyPath, bool dryRun = false);

}  // namespace kavro
