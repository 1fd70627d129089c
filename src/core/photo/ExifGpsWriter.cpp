#include "photo/ExifGpsWriter.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "common/OutputSink.h"
#include "common/Texts.h"
#include "photo/ExifBytes.h"
#include "photo/ExifGpsAppender.h"
#include "photo/ExifReader.h"

namespace kavro {
namespace {

struct Entry {
  std::uint16_t tag = 0;
  std::uint16_t type = 0;
  std::uint32_t count = 0;
  std::uint32_t value = 0;
  std::uint64_t Size() const { return std::uint64_t{count} * TiffTypeSize(type); }
};

struct Ifd {
  std::uint32_t offset = 0;
  std::uint16_t count = 0;
  std::uint64_t End() const { return std::uint64_t{offset} + 2 + 12ull * count; }
};

// Reads an IFD's count and checks that its entries (and, when asked, the next-IFD link) are
// inside the TIFF data.
bool ReadIfd(const ExifBytes& tiff, ByteOrder order, std::uint64_t offset, bool withLink, Ifd& ifd) {
  std::uint16_t count = 0;
  if (offset > UINT32_MAX || !tiff.U16(offset, order, count)) return false;
  if (!tiff.Has(offset + 2, 12ull * count + (withLink ? 4 : 0))) return false;
  ifd.offset = static_cast<std::uint32_t>(offset);
  ifd.count = count;
  return true;
}

Entry ReadEntry(const ExifBytes& tiff, ByteOrder order, std::uint64_t at) {
  Entry e;
  tiff.U16(at, order, e.tag);
  tiff.U16(at + 2, order, e.type);
  tiff.U32(at + 4, order, e.count);
  tiff.U32(at + 8, order, e.value);
  return e;
}

// Where an old TIFF offset lands in the copy: the IFD0 link and everything after it move by the
// inserted entry, the place of the GPS IFD (IFD1, or the end) and everything after it by all.
struct Shifter {
  std::uint64_t linkPos;
  std::uint64_t gpsAt;
  std::uint32_t entryShift;
  std::uint32_t growth;
  std::uint32_t Of(std::uint32_t offset) const {
    if (offset < linkPos) return 0;
    if (offset < gpsAt) return entryShift;
    return growth;
  }
  std::uint32_t Moved(std::uint32_t offset) const { return offset + Of(offset); }
};

// Adds the shift to the value fields of an IFD already copied to `at` in the new TIFF data.
template <typename NeedsShift, typename MoveOffset>
void ShiftEntries(std::vector<std::uint8_t>& tiff, std::size_t at, std::uint16_t count, ByteOrder order,
                  NeedsShift needsShift, MoveOffset move) {
  const ExifBytes view(tiff.data(), tiff.size());
  for (std::uint16_t i = 0; i < count; ++i) {
    const std::size_t e = at + 2 + 12u * i;
    const Entry entry = ReadEntry(view, order, e);
    if (needsShift(entry)) PutU32(&tiff[e + 8], order, move(entry.value));
  }
}

void PutRational(std::uint8_t* p, ByteOrder order, std::uint32_t num, std::uint32_t den) {
  PutU32(p, order, num);
  PutU32(p + 4, order, den);
}

void PutEntry(std::uint8_t* p, ByteOrder order, std::uint16_t tag, std::uint16_t type, std::uint32_t count,
              std::uint32_t value) {
  PutU16(p, order, tag);
  PutU16(p + 2, order, type);
  PutU32(p + 4, order, count);
  PutU32(p + 8, order, value);
}

void PutInline(std::uint8_t* p, ByteOrder order, std::uint16_t tag, std::uint16_t type, std::uint32_t count,
               const std::uint8_t (&bytes)[4]) {
  PutU16(p, order, tag);
  PutU16(p + 2, order, type);
  PutU32(p + 4, order, count);
  std::memcpy(p + 8, bytes, 4);
}

void DegreesMinutes(float value, std::uint32_t& deg, std::uint32_t& min, std::uint32_t& hundredths) {
  const double v = value;
  const double degrees = std::trunc(v);
  const double minutes = std::fabs(v - degrees) * 60.0;
  deg = static_cast<std::uint32_t>(std::fabs(degrees));
  min = static_cast<std::uint32_t>(std::trunc(minutes));
  hundredths = static_cast<std::uint32_t>(std::trunc(std::fabs(minutes - std::trunc(minutes)) * 6000.0));
}

bool StartsWith(const ExifBytes& tiff, std::uint64_t at, std::uint64_t length, const char* prefix) {
  const std::size_t n = std::strlen(prefix);
  return length >= n && tiff.Has(at, n) && std::memcmp(tiff.Data() + at, prefix, n) == 0;
}

// Canon ends its maker note with the byte order, the TIFF magic and the note's own offset.
// Readers compare that offset with where they find the note to learn the base of its values.
void MoveCanonFooter(std::vector<std::uint8_t>& tiff, std::uint64_t note, std::uint64_t size, ByteOrder order,
                     std::uint32_t shift) {
  if (size <= 8 || note + size > tiff.size()) return;
  std::uint8_t* footer = &tiff[note + size - 8];
  static const std::uint8_t little[4] = {'I', 'I', 0x2A, 0x00};
  static const std::uint8_t big[4] = {'M', 'M', 0x00, 0x2A};
  if (std::memcmp(footer, order == ByteOrder::Little ? little : big, 4) != 0) return;
  std::uint32_t offset = 0;
  ExifBytes(footer, 8).U32(4, order, offset);
  PutU32(footer + 4, order, offset + shift);
}

bool KnownTiffType(std::uint16_t type) { return type >= 1 && type <= 12; }

}  // namespace

void WriteGpsIfd(std::uint8_t* p, ByteOrder order, std::uint32_t gpsOffset, const GpsFields& f) {
  std::memset(p, 0, kGpsIfdSize);
  PutU16(p, order, 9);
  const std::uint8_t version[4] = {2, 2, 0, 0};
  PutInline(p + 2, order, 0x0000, 1, 4, version);
  const std::uint8_t latRef[4] = {static_cast<std::uint8_t>(f.latRef), 0, 0, 0};
  PutInline(p + 14, order, 0x0001, 2, 2, latRef);
  PutEntry(p + 26, order, 0x0002, 5, 3, gpsOffset + 114);
  const std::uint8_t lonRef[4] = {static_cast<std::uint8_t>(f.lonRef), 0, 0, 0};
  PutInline(p + 38, order, 0x0003, 2, 2, lonRef);
  PutEntry(p + 50, order, 0x0004, 5, 3, gpsOffset + 138);
  const std::uint8_t altRef[4] = {f.altRef, 0, 0, 0};
  PutInline(p + 62, order, 0x0005, 1, 1, altRef);
  PutEntry(p + 74, order, 0x0006, 5, 1, gpsOffset + 162);
  PutEntry(p + 86, order, 0x0007, 5, 3, gpsOffset + 170);
  PutEntry(p + 98, order, 0x001D, 2, 11, gpsOffset + 194);
  // p + 110: no next IFD
  PutRational(p + 114, order, f.latDeg, 1);
  PutRational(p + 122, order, f.latMin, 1);
  PutRational(p + 130, order, f.latHundredthSec, 100);
  PutRational(p + 138, order, f.lonDeg, 1);
  PutRational(p + 146, order, f.lonMin, 1);
  PutRational(p + 154, order, f.lonHundredthSec, 100);
  PutRational(p + 162, order, f.altCentimetres, 100);
  PutRational(p + 170, order, static_cast<std::uint32_t>(f.hour), 1);
  PutRational(p + 178, order, static_cast<std::uint32_t>(f.minute), 1);
  PutRational(p + 186, order, static_cast<std::uint32_t>(f.second), 1);
  char date[16];
  std::snprintf(date, sizeof date, "%04d:%02d:%02d", f.year % 10000, f.month % 100, f.day % 100);
  std::memcpy(p + 194, date, 10);
  p[204] = 0;
}

bool GpsPointUsable(const TrackPoint& point) {
  const double lat = point.lat, lon = point.lon, alt = point.alt;
  return std::isfinite(lat) && std::isfinite(lon) && std::isfinite(alt) && std::fabs(lat) <= 90 &&
         std::fabs(lon) <= 180 && std::fabs(alt) <= kMaxGpsAltitudeMetres;
}

GpsFields MakeGpsFields(const TrackPoint& point) {
  GpsFields f;
  if (!GpsPointUsable(point)) return f;
  DegreesMinutes(point.lat, f.latDeg, f.latMin, f.latHundredthSec);
  DegreesMinutes(point.lon, f.lonDeg, f.lonMin, f.lonHundredthSec);
  f.latRef = point.lat > 0 ? 'N' : point.lat < 0 ? 'S' : 0;
  f.lonRef = point.lon > 0 ? 'E' : point.lon < 0 ? 'W' : 0;
  // Below sea level: reference 1 and the magnitude, as EXIF defines it.
  f.altRef = point.alt < 0 ? 1 : 0;
  const double a = std::fabs(double{point.alt}) * 100.0;
  const double whole = std::trunc(a);
  f.altCentimetres = static_cast<std::uint32_t>(std::fmin(whole + (a - whole >= 0.5 ? 1 : 0), 4294967295.0));
  std::tm utc{};
  if (ToUtc(point.time, utc)) {
    f.hour = utc.tm_hour;
    f.minute = utc.tm_min;
    f.second = utc.tm_sec;
    f.year = utc.tm_year + 1900;
    f.month = utc.tm_mon + 1;
    f.day = utc.tm_mday;
  }
  return f;
}

std::filesystem::path GpsCopyPath(const std::filesystem::path& photo, int number) {
  std::string name = photo.filename().string();
  const std::string ext = photo.extension().string();
  // ".jpeg" is five characters; every other photo the page ever saw ends in four.
  const bool jpeg = ext.size() == 5 && (ext[1] | 0x20) == 'j' && (ext[2] | 0x20) == 'p' && (ext[3] | 0x20) == 'e' &&
                    (ext[4] | 0x20) == 'g';
  const std::size_t cut = jpeg ? 5 : 4;
  name = name.size() >= cut ? name.substr(0, name.size() - cut) : std::string();
  const std::string suffix = number >= 2 ? "_GPS_" + std::to_string(number) + ".jpg" : "_GPS.jpg";
  return photo.parent_path() / "GPS" / (name + suffix);
}

namespace {

// Where the camera put each part of its TIFF data: IFD0, its values, the EXIF IFD, the maker
// note, the interoperability IFD, IFD1, its values and the thumbnail, each at or after the place
// the one before ended.
struct CameraLayout {
  ByteOrder order = ByteOrder::Little;
  Ifd ifd0;
  std::uint16_t insertAt = 0;  // where the GPS pointer goes among IFD0's entries (tag order)
  bool haveGps = false;        // IFD0 already points at a GPS IFD
  bool canon = false;
  std::uint64_t linkPos = 0;  // IFD0's next-IFD link
  std::uint32_t ifd1Offset = 0;
  bool haveIfd1 = false;
  Ifd exif;
  bool haveNote = false;
  Entry noteEntry;
  Ifd note;
  ByteOrder noteOrder = ByteOrder::Little;
  bool haveInterop = false;
  Ifd interop;
  Ifd ifd1;
};

// A step of reading the layout: nothing when it went on, else why the copy is refused.
using Refusal = std::optional<GpsCopyOutcome>;

// The first entry of each tag IFD0 holds that the writer looks at.
struct Ifd0Pointers {
  std::optional<Entry> exif;
  std::optional<Entry> make;
};

// IFD0 right after the header; where the GPS pointer goes among its entries (tag order).
Refusal ReadIfd0(const ExifBytes& tiff, CameraLayout& layout, Ifd0Pointers& found) {
  const ByteOrder order = layout.order;
  std::uint32_t ifd0Offset = 0;
  if (!tiff.U32(4, order, ifd0Offset) || ifd0Offset != 8) return GpsCopyOutcome::Layout;
  if (!ReadIfd(tiff, order, 8, true, layout.ifd0)) return GpsCopyOutcome::Layout;
  layout.insertAt = layout.ifd0.count;
  for (std::uint16_t i = 0; i < layout.ifd0.count; ++i) {
    const Entry entry = ReadEntry(tiff, order, 10 + 12ull * i);
    if (entry.tag == kTagExifIfd && !found.exif) found.exif = entry;
    if (entry.tag == kTagMake && !found.make) found.make = entry;
    if (entry.tag == kTagGpsIfd) layout.haveGps = true;
    if (entry.tag > kTagGpsIfd && layout.insertAt == layout.ifd0.count) layout.insertAt = i;
  }
  if (layout.ifd0.count == 0) return GpsCopyOutcome::Layout;
  if (!found.exif) return GpsCopyOutcome::NoExifIfd;
  layout.linkPos = layout.ifd0.End();
  tiff.U32(layout.linkPos, order, layout.ifd1Offset);
  layout.haveIfd1 = layout.ifd1Offset != 0;
  return std::nullopt;
}

// Only Canon and Sony layouts are known well enough to move safely.
Refusal ReadMake(const ExifBytes& tiff, const std::optional<Entry>& make, CameraLayout& layout, bool& sony) {
  if (make && make->Size() > 4) {
    if (!tiff.Has(make->value, make->Size())) return GpsCopyOutcome::Layout;
    layout.canon = StartsWith(tiff, make->value, make->Size(), "Canon");
    sony = StartsWith(tiff, make->value, make->Size(), "SONY");
  }
  if (!layout.canon && !sony) return GpsCopyOutcome::Unsupported;
  return std::nullopt;
}

// The EXIF IFD behind IFD0 and its link, with its maker note and interoperability pointers.
Refusal ReadExifIfd(const ExifBytes& tiff, const Entry& exifPointer, CameraLayout& layout,
                    std::optional<Entry>& interopPointer, std::uint64_t& reached) {
  if (exifPointer.value < layout.linkPos + 4 || !ReadIfd(tiff, layout.order, exifPointer.value, false, layout.exif))
    return GpsCopyOutcome::Layout;
  reached = layout.exif.End();
  for (std::uint16_t i = 0; i < layout.exif.count; ++i) {
    const Entry entry = ReadEntry(tiff, layout.order, layout.exif.offset + 2 + 12ull * i);
    if (entry.tag == kTagMakerNote && !layout.haveNote) {
      layout.haveNote = true;
      layout.noteEntry = entry;
    }
    if (entry.tag == kTagInteropIfd && !interopPointer) interopPointer = entry;
  }
  return std::nullopt;
}

// The maker note's directory, after a Sony note's 12-byte header, in the byte order it fits.
Refusal ReadMakerNote(const ExifBytes& tiff, bool sony, CameraLayout& layout, std::uint64_t& reached) {
  const Entry& note = layout.noteEntry;
  if (note.value < reached || !tiff.Has(note.value, note.Size())) return GpsCopyOutcome::Layout;
  const std::uint32_t header = sony && StartsWith(tiff, note.value, note.Size(), "SONY") ? 12 : 0;
  const std::uint64_t noteEnd = std::uint64_t{note.value} + note.Size();
  // Some cameras write their maker note little-endian inside a big-endian file: take the
  // byte order under which the note's directory fits the note.
  const ByteOrder other = layout.order == ByteOrder::Little ? ByteOrder::Big : ByteOrder::Little;
  for (ByteOrder candidate : {layout.order, other}) {
    if (note.Size() >= header + 2 && ReadIfd(tiff, candidate, std::uint64_t{note.value} + header, false, layout.note) &&
        layout.note.End() <= noteEnd) {
      layout.noteOrder = candidate;
      reached = layout.note.End();
      return std::nullopt;
    }
  }
  return GpsCopyOutcome::Layout;
}

Refusal ReadInteropIfd(const ExifBytes& tiff, const Entry& interopPointer, CameraLayout& layout,
                       std::uint64_t& reached) {
  layout.haveInterop = true;
  if (interopPointer.value < reached || !ReadIfd(tiff, layout.order, interopPointer.value, false, layout.interop))
    return GpsCopyOutcome::Layout;
  reached = layout.interop.End();
  return std::nullopt;
}

// IFD1 last, with its thumbnail behind it and inside the TIFF data.
Refusal ReadIfd1(const ExifBytes& tiff, CameraLayout& layout, std::uint64_t reached) {
  if (layout.ifd1Offset < reached || !ReadIfd(tiff, layout.order, layout.ifd1Offset, false, layout.ifd1))
    return GpsCopyOutcome::Layout;
  for (std::uint16_t i = 0; i < layout.ifd1.count; ++i) {
    const Entry entry = ReadEntry(tiff, layout.order, layout.ifd1.offset + 2 + 12ull * i);
    if (entry.tag == kTagThumbnailOffset && (entry.value < layout.ifd1.End() || entry.value > tiff.Size()))
      return GpsCopyOutcome::Layout;
  }
  return std::nullopt;
}

// False, with the reason, for a camera the writer does not handle or a layout it cannot follow.
bool ReadCameraLayout(const ExifBytes& tiff, ByteOrder order, CameraLayout& layout, GpsCopyOutcome& refusal) {
  layout.order = order;
  layout.noteOrder = order;
  Ifd0Pointers ifd0;
  bool sony = false;
  std::optional<Entry> interopPointer;
  std::uint64_t reached = 0;  // where the part read last ended; the next may not start before
  Refusal why = ReadIfd0(tiff, layout, ifd0);
  if (!why) why = ReadMake(tiff, ifd0.make, layout, sony);
  if (!why) why = ReadExifIfd(tiff, *ifd0.exif, layout, interopPointer, reached);
  if (!why && layout.haveNote) why = ReadMakerNote(tiff, sony, layout, reached);
  if (!why && interopPointer) why = ReadInteropIfd(tiff, *interopPointer, layout, reached);
  if (!why && layout.haveIfd1) why = ReadIfd1(tiff, layout, reached);
  if (why) refusal = *why;
  return !why;
}

// Where the GPS IFD goes and how far everything behind it moves. The GPS IFD goes where IFD1
// was; without IFD1, behind everything, on a word boundary. A GPS pointer already in IFD0 is
// pointed at the new GPS IFD instead of adding a second one.
struct GpsPlacement {
  std::uint32_t entryShift = 0;  // the new pointer entry in IFD0
  std::uint32_t gpsAt = 0;       // old offset the GPS IFD is put before
  std::uint32_t lead = 0;        // padding byte that puts the GPS IFD on a word boundary
  std::uint32_t growth = 0;      // bytes the TIFF data grows by
  std::uint32_t gpsOffset = 0;   // the GPS IFD's offset in the copy
  Shifter shifter{};
};

GpsPlacement PlaceGpsIfd(const ExifBytes& tiff, const CameraLayout& layout) {
  GpsPlacement place;
  place.entryShift = layout.haveGps ? 0 : kEntryShift;
  place.gpsAt = layout.haveIfd1 ? layout.ifd1Offset : static_cast<std::uint32_t>(tiff.Size());
  place.lead = (place.gpsAt + place.entryShift) & 1u;
  place.growth = place.entryShift + place.lead + kGpsIfdSize + kGpsIfdPadding;
  place.gpsOffset = place.gpsAt + place.entryShift + place.lead;
  place.shifter = Shifter{layout.linkPos, place.gpsAt, place.entryShift, place.growth};
  return place;
}

// The header and IFD0 with the GPS pointer in tag order and its offsets moved, then its link.
void CopyIfd0WithGpsPointer(const ExifBytes& tiff, const CameraLayout& layout, const GpsPlacement& place,
                            std::vector<std::uint8_t>& copy) {
  const ByteOrder order = layout.order;
  const std::uint8_t* src = tiff.Data();
  copy.insert(copy.end(), src, src + 8);
  copy.resize(10);
  PutU16(&copy[8], order, static_cast<std::uint16_t>(layout.ifd0.count + (layout.haveGps ? 0 : 1)));
  auto appendGpsEntry = [&] {
    std::uint8_t entry[12];
    PutEntry(entry, order, kTagGpsIfd, 4, 1, place.gpsOffset);
    copy.insert(copy.end(), entry, entry + 12);
  };
  for (std::uint16_t i = 0; i < layout.ifd0.count; ++i) {
    if (!layout.haveGps && i == layout.insertAt) appendGpsEntry();
    const std::size_t at = copy.size();
    const std::uint64_t from = 10 + 12ull * i;
    copy.insert(copy.end(), src + from, src + from + 12);
    const Entry entry = ReadEntry(tiff, order, from);
    if (entry.tag == kTagGpsIfd) {
      PutEntry(&copy[at], order, kTagGpsIfd, 4, 1, place.gpsOffset);
    } else if (entry.Size() > 4 || entry.tag == kTagExifIfd) {
      PutU32(&copy[at + 8], order, place.shifter.Moved(entry.value));
    }
  }
  if (!layout.haveGps && layout.insertAt == layout.ifd0.count) appendGpsEntry();
  copy.resize(copy.size() + 4);
  PutU32(&copy[copy.size() - 4], order, layout.haveIfd1 ? layout.ifd1Offset + place.growth : 0);
}

// The offsets of the EXIF IFD, the maker note, the interoperability IFD and IFD1, once copied.
void MoveOffsetsBehindIfd0(std::vector<std::uint8_t>& copy, const CameraLayout& layout, const GpsPlacement& place) {
  const ByteOrder order = layout.order;
  auto overFour = [](const Entry& entry) { return entry.Size() > 4; };
  auto byRegion = [&](std::uint32_t v) { return place.shifter.Moved(v); };
  ShiftEntries(
      copy, layout.exif.offset + place.entryShift, layout.exif.count, order,
      [](const Entry& e) { return e.Size() > 4 || e.tag == kTagMakerNote || e.tag == kTagInteropIfd; }, byRegion);
  if (layout.haveNote) {
    // The maker note moves as one block, and every offset it holds moves with it: readers find
    // its values relative to the note's place (a base an editor left behind included), so that
    // relation must stay as the camera or the editor left it. Zero means no value.
    const std::uint32_t noteShift = place.shifter.Of(layout.noteEntry.value);
    ShiftEntries(
        copy, layout.note.offset + noteShift, layout.note.count, layout.noteOrder,
        [](const Entry& e) { return KnownTiffType(e.type) && e.Size() > 4 && e.value != 0; },
        [&](std::uint32_t v) { return v + noteShift; });
    if (layout.canon) {
      MoveCanonFooter(copy, std::uint64_t{layout.noteEntry.value} + noteShift, layout.noteEntry.Size(),
                      layout.noteOrder, noteShift);
    }
  }
  if (layout.haveInterop)
    ShiftEntries(copy, layout.interop.offset + place.entryShift, layout.interop.count, order, overFour, byRegion);
  if (layout.haveIfd1) {
    ShiftEntries(
        copy, layout.ifd1.offset + place.growth, layout.ifd1.count, order,
        [](const Entry& e) { return e.Size() > 4 || e.tag == kTagThumbnailOffset; }, byRegion);
  }
}

// The file: what came before the EXIF APP1, the grown APP1 around the new TIFF data, the rest unchanged.
void AssembleJpeg(const std::uint8_t* data, std::size_t size, const ExifSegment& segment,
                  const std::vector<std::uint8_t>& newTiff, std::uint32_t growth, std::vector<std::uint8_t>& out) {
  const std::uint64_t app1 = segment.app1;
  out.reserve(size + growth);
  out.insert(out.end(), data, data + app1);
  const std::uint16_t newLength = static_cast<std::uint16_t>(segment.length + growth);
  const std::uint8_t head[4] = {0xFF, 0xE1, static_cast<std::uint8_t>(newLength >> 8),
                                static_cast<std::uint8_t>(newLength & 0xFF)};
  out.insert(out.end(), head, head + 4);
  out.insert(out.end(), data + app1 + 4, data + app1 + 10);
  out.insert(out.end(), newTiff.begin(), newTiff.end());
  out.insert(out.end(), data + app1 + 2 + segment.length, data + size);
}

// The copy: what came before the EXIF APP1, the APP1 with the GPS pointer and the GPS IFD and
// every offset behind them moved, the rest of the file unchanged. Layout when the grown APP1
// would not fit its 16-bit length.
GpsCopyOutcome RewriteWithGpsIfd(const std::uint8_t* data, std::size_t size, const ExifSegment& segment,
                                 const ExifBytes& tiff, const CameraLayout& layout, const TrackPoint& point,
                                 std::vector<std::uint8_t>& out) {
  const GpsPlacement place = PlaceGpsIfd(tiff, layout);
  if (std::uint32_t{segment.length} + place.growth > 0xFFFF) return GpsCopyOutcome::Layout;

  // Header, IFD0 with the GPS pointer, everything up to IFD1, the GPS IFD, the rest.
  std::vector<std::uint8_t> newTiff;
  newTiff.reserve(tiff.Size() + place.growth);
  CopyIfd0WithGpsPointer(tiff, layout, place, newTiff);
  const std::uint8_t* src = tiff.Data();
  newTiff.insert(newTiff.end(), src + layout.linkPos + 4, src + place.gpsAt);
  newTiff.resize(newTiff.size() + place.lead + kGpsIfdSize + kGpsIfdPadding);
  WriteGpsIfd(&newTiff[place.gpsOffset], layout.order, place.gpsOffset, MakeGpsFields(point));
  newTiff.insert(newTiff.end(), src + place.gpsAt, src + tiff.Size());
  MoveOffsetsBehindIfd0(newTiff, layout, place);

  AssembleJpeg(data, size, segment, newTiff, place.growth, out);
  return GpsCopyOutcome::Written;
}

}  // namespace

GpsCopyOutcome BuildGpsCopy(const std::uint8_t* data, std::size_t size, const TrackPoint& point,
                            std::vector<std::uint8_t>& out) {
  out.clear();
  // Earlier segments (JFIF, XMP) stay in the copy as they are.
  const ExifSegment segment = FindExifSegment(data, size);
  if (!segment.found) return GpsCopyOutcome::NotExif;
  if (!IsCanonOrSonyMake(data, segment)) return AppendGpsCopy(data, size, segment, point, out);
  if (segment.length < 8 + 8 || !segment.complete) return GpsCopyOutcome::Layout;
  if (!segment.order) return GpsCopyOutcome::NotExif;
  const ExifBytes tiff(data + segment.TiffStart(), segment.length - 8u);

  CameraLayout layout;
  GpsCopyOutcome refusal = GpsCopyOutcome::Layout;
  if (!ReadCameraLayout(tiff, *segment.order, layout, refusal)) return refusal;
  if (!GpsPointUsable(point)) return GpsCopyOutcome::BadPoint;
  return RewriteWithGpsIfd(data, size, segment, tiff, layout, point, out);
}

namespace {

// The photo's bytes, read into memory that is not cleared first: every byte is read over.
struct FileBytes {
  std::unique_ptr<std::uint8_t[]> data;
  std::size_t size = 0;
};

bool ReadWholeFile(const std::filesystem::path& path, FileBytes& bytes, std::string& error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = std::strerror(fstat(fd, &st) != 0 ? errno : EINVAL);
    close(fd);
    return false;
  }
  const auto size = static_cast<std::size_t>(st.st_size);
  bytes.data.reset(new std::uint8_t[size == 0 ? 1 : size]);
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = read(fd, bytes.data.get() + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.size = got;  // a file that shrank meanwhile is taken as it is now
  close(fd);
  return true;
}

// The copy appears whole or not at all; an earlier copy stays when this one cannot be written.
bool WriteWholeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
  ReplacingFileSink file;
  if (!file.Open(path, &error)) return false;
  file.Write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  return file.Commit(&error);
}

void RemoveIfEmpty(const std::filesystem::path& dir) {
  std::error_code ec;
  if (std::filesystem::is_directory(dir, ec) && std::filesystem::is_empty(dir, ec) && !ec) {
    std::filesystem::remove(dir, ec);
  }
}

}  // namespace

GpsCopyResult WriteGpsPhotoCopy(const std::filesystem::path& photo, const TrackPoint& point) {
  return WriteGpsPhotoCopy(photo, point, GpsCopyPath(photo));
}

GpsCopyResult WriteGpsPhotoCopy(const std::filesystem::path& photo, const TrackPoint& point,
                                const std::filesystem::path& copyPath, bool dryRun) {
  GpsCopyResult r;
  r.copyPath = copyPath;
  const std::filesystem::path gpsDir = r.copyPath.parent_path();
  FileBytes source;
  if (!ReadWholeFile(photo, source, r.detail)) {
    r.messageId = txt::PhotoOpenFailed;
    return r;
  }
  std::vector<std::uint8_t> copy;
  r.outcome = BuildGpsCopy(source.data.get(), source.size, point, copy);
  switch (r.outcome) {
    case GpsCopyOutcome::Written:
      if (!dryRun) break;
      r.status = 0;
      return r;
    case GpsCopyOutcome::Unsupported:
      r.status = 0;
      r.supported = false;
      if (!dryRun) RemoveIfEmpty(gpsDir);
      return r;
    case GpsCopyOutcome::NotExif:
      r.messageId = txt::NotExifFormat;
      if (!dryRun) RemoveIfEmpty(gpsDir);
      return r;
    case GpsCopyOutcome::NoExifIfd:
      r.messageId = txt::NoPhotoDate;
      if (!dryRun) RemoveIfEmpty(gpsDir);
      return r;
    case GpsCopyOutcome::BadPoint:
      r.messageId = txt::GpsPointInvalid;
      if (!dryRun) RemoveIfEmpty(gpsDir);
      return r;
    default:
      r.messageId = txt::GpsLayoutReason;
      if (!dryRun) RemoveIfEmpty(gpsDir);
      return r;
  }

  std::error_code ec;
  std::filesystem::create_directories(gpsDir, ec);
  if (ec) {
    r.outcome = GpsCopyOutcome::IoError;
    r.messageId = txt::GpsCopyFailed;
    r.detail = ec.message();
    return r;
  }
  if (!WriteWholeFile(r.copyPath, copy, r.detail)) {
    r.outcome = GpsCopyOutcome::IoError;
    r.messageId = txt::GpsCopyFailed;
    RemoveIfEmpty(gpsDir);
    return r;
  }
  r.status = 0;
  return r;
}

}  // namespace kavro
