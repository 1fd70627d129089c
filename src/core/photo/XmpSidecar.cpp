#include "photo/XmpSidecar.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/OutputSink.h"
#include "common/Texts.h"
#include "photo/ExifGpsWriter.h"
#include "photo/Exiv2Library.h"
#include "track/ZoneClock.h"

namespace kavro {
namespace {

// XMP's GPSCoordinate: "DDD,MM.mmmmmmK".
std::string Coordinate(double value, char positive, char negative) {
  const double a = std::fabs(value);
  double degrees = std::floor(a);
  double minutes = (a - degrees) * 60.0;
  if (std::round(minutes * 1e6) >= 60e6) {  // 59.9999999 minutes print as the next degree
    degrees += 1;
    minutes = 0;
  }
  char text[48];
  std::snprintf(text, sizeof text, "%d,%.6f%c", static_cast<int>(degrees), minutes, value < 0 ? negative : positive);
  return text;
}

std::string TimeStamp(std::int32_t utc) {
  std::tm t{};
  if (!ToUtc(utc, t)) return {};
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

bool HasPosition(const Exiv2::XmpData& xmp) {
  return xmp.findKey(Exiv2::XmpKey("Xmp.exif.GPSLatitude")) != xmp.end() &&
         xmp.findKey(Exiv2::XmpKey("Xmp.exif.GPSLongitude")) != xmp.end();
}

void SetPosition(Exiv2::XmpData& xmp, const TrackPoint& point) {
  xmp["Xmp.exif.GPSVersionID"] = "2.2.0.0";
  xmp["Xmp.exif.GPSLatitude"] = Coordinate(point.lat, 'N', 'S');
  xmp["Xmp.exif.GPSLongitude"] = Coordinate(point.lon, 'E', 'W');
  const GpsFields f = MakeGpsFields(point);
  xmp["Xmp.exif.GPSAltitude"] = std::to_string(f.altCentimetres) + "/100";
  xmp["Xmp.exif.GPSAltitudeRef"] = f.altRef == 1 ? "1" : "0";
  xmp["Xmp.exif.GPSTimeStamp"] = TimeStamp(point.time);
}

// The whole sidecar, or why it cannot be read. A missing one reads as empty.
bool ReadSidecar(const std::filesystem::path& path, std::string& text, bool& exists, std::string& error) {
  text.clear();
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  exists = fd >= 0 || errno != ENOENT;
  if (fd < 0) {
    if (!exists) return true;
    error = std::strerror(errno);
    return false;
  }
  char buf[65536];
  for (;;) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = std::strerror(errno);
    if (n <= 0) break;
    text.append(buf, static_cast<std::size_t>(n));
  }
  close(fd);
  return error.empty();
}

bool Exists(const std::filesystem::path& p) {
  std::error_code ec;
  return std::filesystem::exists(p, ec);
}

}  // namespace

std::filesystem::path SidecarPath(const std::filesystem::path& photo, SidecarName name) {
  std::filesystem::path p = photo;
  if (name == SidecarName::NameExtXmp) return p += ".xmp";
  return p.replace_extension(".xmp");
}

std::filesystem::path ExistingOrNewSidecar(const std::filesystem::path& photo, SidecarName name) {
  const std::filesystem::path chosen = SidecarPath(photo, name);
  const std::filesystem::path other =
      SidecarPath(photo, name == SidecarName::NameXmp ? SidecarName::NameExtXmp : SidecarName::NameXmp);
  return !Exists(chosen) && Exists(other) ? other : chosen;
}

SidecarOutcome UpdateXmpText(const std::string& existing, const TrackPoint& point, bool replacePositions,
                             std::string& out, std::string& detail) {
  out.clear();
  if (!GpsPointUsable(point)) return SidecarOutcome::BadPoint;
  try {
    UseExiv2();
    Exiv2::XmpData xmp;
    if (!existing.empty() && Exiv2::XmpParser::decode(xmp, existing) != 0) return SidecarOutcome::NotXmp;
    // A text the parser took without finding a single property is not a sidecar of ours to overwrite.
    if (!existing.empty() && xmp.empty() && existing.find("x:xmpmeta") == std::string::npos &&
        existing.find("rdf:RDF") == std::string::npos)
      return SidecarOutcome::NotXmp;
    if (HasPosition(xmp) && !replacePositions) return SidecarOutcome::HasPosition;
    SetPosition(xmp, point);
    if (Exiv2::XmpParser::encode(out, xmp, Exiv2::XmpParser::omitPacketWrapper | Exiv2::XmpParser::useCompactFormat) !=
        0) {
      detail = "XMP";
      return SidecarOutcome::IoError;
    }
  } catch (const std::exception& e) {
    detail = e.what();
    return SidecarOutcome::NotXmp;
  }
  return SidecarOutcome::Written;
}

SidecarResult WriteXmpSidecar(const std::filesystem::path& photo, const TrackPoint& point, SidecarName name,
                              bool replacePositions, bool dryRun) {
  SidecarResult r;
  r.path = ExistingOrNewSidecar(photo, name);
  std::string existing, text;
  bool exists = false;
  if (!ReadSidecar(r.path, existing, exists, r.detail)) {
    r.messageId = txt::SidecarReadFailed;
    return r;
  }
  r.updated = exists;
  r.outcome = UpdateXmpText(existing, point, replacePositions, text, r.detail);
  switch (r.outcome) {
    case SidecarOutcome::Written: break;
    case SidecarOutcome::HasPosition: r.messageId = txt::SidecarHasPosition; return r;
    case SidecarOutcome::NotXmp: r.messageId = txt::SidecarNotXmp; return r;
    case SidecarOutcome::BadPoint: r.messageId = txt::GpsPointInvalid; return r;
    case SidecarOutcome::IoError: r.messageId = txt::SidecarWriteFailed; return r;
  }
  if (dryRun) return r;
  ReplacingFileSink file;
  if (!file.Open(r.path, &r.detail) || !file.Write(text) || !file.Commit(&r.detail)) {
    if (r.detail.empty()) r.detail = file.ErrorText();
    r.outcome = SidecarOutcome::IoError;
    r.messageId = txt::SidecarWriteFailed;
  }
  return r;
}

}  // namespace kavro
