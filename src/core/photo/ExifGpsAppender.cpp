#include "photo/ExifGpsAppender.h"

#include <cstring>
#include <optional>

#include "photo/ExifBytes.h"

namespace kavro {
namespace {

struct Field {
  std::uint16_t tag = 0, type = 0;
  std::uint32_t count = 0, value = 0;
  std::uint64_t Size() const { return std::uint64_t{count} * TiffTypeSize(type); }
};

Field FieldAt(const ExifBytes& tiff, ByteOrder order, std::uint64_t at) {
  Field f;
  tiff.U16(at, order, f.tag);
  tiff.U16(at + 2, order, f.type);
  tiff.U32(at + 4, order, f.count);
  tiff.U32(at + 8, order, f.value);
  return f;
}

// An IFD whose entries and link lie inside the TIFF data; its offset and entry count.
struct Directory {
  std::uint32_t offset = 0;
  std::uint16_t count = 0;
  std::uint64_t Entry(std::uint16_t i) const { return std::uint64_t{offset} + 2 + 12ull * i; }
};

std::optional<Directory> ReadDirectory(const ExifBytes& tiff, ByteOrder order, std::uint32_t offset, bool withLink) {
  Directory d;
  d.offset = offset;
  if (offset < 8 || !tiff.U16(offset, order, d.count)) return std::nullopt;
  if (!tiff.Has(std::uint64_t{offset} + 2, 12ull * d.count + (withLink ? 4 : 0))) return std::nullopt;
  return d;
}

std::optional<Field> Find(const ExifBytes& tiff, ByteOrder order, const Directory& d, std::uint16_t tag) {
  for (std::uint16_t i = 0; i < d.count; ++i) {
    const Field f = FieldAt(tiff, order, d.Entry(i));
    if (f.tag == tag) return f;
  }
  return std::nullopt;
}

std::optional<Directory> Ifd0(const ExifBytes& tiff, ByteOrder order) {
  std::uint32_t offset = 0;
  if (!tiff.U32(4, order, offset)) return std::nullopt;
  return ReadDirectory(tiff, order, offset, true);
}

// Nikon's maker note carries a TIFF header of its own; its preview and scan directories are
// found from it. One that lies (partly) past the end of the EXIF data would, once data follows,
// read as a different broken directory: such a photo is refused rather than copied with a new
// fault.
bool NikonDirectoryRunsOut(const ExifBytes& tiff, const Field& note) {
  static const char kNikon[] = "Nikon\0";
  if (note.Size() < 18 || !tiff.Has(note.value, 18) || std::memcmp(tiff.Data() + note.value, kNikon, 6) != 0)
    return false;
  const std::uint64_t base = std::uint64_t{note.value} + 10;
  const std::uint8_t* h = tiff.Data() + base;
  if (!((h[0] == 'I' && h[1] == 'I') || (h[0] == 'M' && h[1] == 'M'))) return false;
  const ByteOrder order = h[0] == 'I' ? ByteOrder::Little : ByteOrder::Big;
  const ExifBytes inner(tiff.Data() + base, tiff.Size() - base);
  std::uint32_t first = 0;
  std::uint16_t count = 0;
  if (!inner.U32(4, order, first) || !inner.U16(first, order, count)) return false;
  for (std::uint16_t i = 0; i < count; ++i) {
    const Field f = FieldAt(inner, order, std::uint64_t{first} + 2 + 12ull * i);
    if ((f.tag != 0x0011 && f.tag != 0x0e10) || f.count != 1) continue;
    std::uint16_t n = 0;
    if (!inner.U16(f.value, order, n) || !inner.Has(std::uint64_t{f.value} + 2, 12ull * n)) return true;
  }
  return false;
}

// A photo whose EXIF IFD or maker note points outside its own data would be copied with the
// same fault: refused instead, so no copy carries damage the reader cannot see.
bool PointersInside(const ExifBytes& tiff, ByteOrder order, const Directory& ifd0, GpsCopyOutcome& why) {
  const std::optional<Field> exifPointer = Find(tiff, order, ifd0, kTagExifIfd);
  if (!exifPointer) {
    why = GpsCopyOutcome::NoExifIfd;
    return false;
  }
  why = GpsCopyOutcome::Layout;
  const std::optional<Directory> exif = ReadDirectory(tiff, order, exifPointer->value, false);
  if (!exif) return false;
  const std::optional<Field> note = Find(tiff, order, *exif, kTagMakerNote);
  if (note && note->Size() > 4 && !tiff.Has(note->value, note->Size())) return false;
  if (note && NikonDirectoryRunsOut(tiff, *note)) return false;
  return true;
}

// IFD0's entries with the GPS pointer in tag order (an old one replaced), then IFD0's link.
void NewIfd0(const ExifBytes& tiff, ByteOrder order, const Directory& ifd0, std::uint32_t gpsOffset,
             std::vector<std::uint8_t>& block) {
  std::uint16_t count = 0;
  const std::size_t countAt = block.size();
  block.resize(block.size() + 2);
  bool placed = false;
  auto putGps = [&] {
    std::uint8_t e[12];
    PutU16(e, order, kTagGpsIfd);
    PutU16(e + 2, order, 4);
    PutU32(e + 4, order, 1);
    PutU32(e + 8, order, gpsOffset);
    block.insert(block.end(), e, e + 12);
    placed = true;
    ++count;
  };
  for (std::uint16_t i = 0; i < ifd0.count; ++i) {
    const Field f = FieldAt(tiff, order, ifd0.Entry(i));
    if (f.tag == kTagGpsIfd) continue;
    if (!placed && f.tag > kTagGpsIfd) putGps();
    const std::uint8_t* e = tiff.Data() + ifd0.Entry(i);
    block.insert(block.end(), e, e + 12);
    ++count;
  }
  if (!placed) putGps();
  PutU16(&block[countAt], order, count);
  const std::uint8_t* link = tiff.Data() + ifd0.Entry(ifd0.count);
  block.insert(block.end(), link, link + 4);
}

}  // namespace

bool IsCanonOrSonyMake(const std::uint8_t* data, const ExifSegment& segment) {
  if (!segment.found || !segment.complete || !segment.order || segment.length < 16) return false;
  const ExifBytes tiff(data + segment.TiffStart(), segment.length - 8u);
  const ByteOrder order = *segment.order;
  // The moving writer only ever saw IFD0 right behind the header; anything else is not its camera.
  std::uint32_t ifd0Offset = 0;
  if (!tiff.U32(4, order, ifd0Offset) || ifd0Offset != 8) return false;
  const std::optional<Directory> ifd0 = Ifd0(tiff, order);
  if (!ifd0) return true;  // refused there with its reason, as before
  const std::optional<Field> make = Find(tiff, order, *ifd0, kTagMake);
  if (!make || make->Size() <= 4) return false;
  if (!tiff.Has(make->value, make->Size())) return true;
  auto startsWith = [&](const char* prefix) {
    const std::size_t n = std::strlen(prefix);
    return make->Size() >= n && std::memcmp(tiff.Data() + make->value, prefix, n) == 0;
  };
  return startsWith("Canon") || startsWith("SONY");
}

GpsCopyOutcome AppendGpsCopy(const std::uint8_t* data, std::size_t size, const ExifSegment& segment,
                             const TrackPoint& point, std::vector<std::uint8_t>& out) {
  out.clear();
  if (!segment.found) return GpsCopyOutcome::NotExif;
  if (segment.length < 16 || !segment.complete) return GpsCopyOutcome::Layout;
  if (!segment.order) return GpsCopyOutcome::NotExif;
  const ExifBytes tiff(data + segment.TiffStart(), segment.length - 8u);
  const ByteOrder order = *segment.order;
  const std::optional<Directory> ifd0 = Ifd0(tiff, order);
  if (!ifd0 || ifd0->count == 0) return GpsCopyOutcome::Layout;
  GpsCopyOutcome why = GpsCopyOutcome::Layout;
  if (!PointersInside(tiff, order, *ifd0, why)) return why;
  if (!GpsPointUsable(point)) return GpsCopyOutcome::BadPoint;

  // New IFD0 and GPS IFD behind the camera's data, on a word boundary.
  std::vector<std::uint8_t> block(tiff.Size() & 1u, 0);
  const std::uint32_t ifd0At = static_cast<std::uint32_t>(tiff.Size() + block.size());
  const bool hadGps = Find(tiff, order, *ifd0, kTagGpsIfd).has_value();
  const std::uint32_t entries = ifd0->count + (hadGps ? 0u : 1u);
  const std::uint32_t gpsAt = ifd0At + 2 + 12 * entries + 4;
  NewIfd0(tiff, order, *ifd0, gpsAt, block);
  const std::size_t gpsIndex = block.size();
  block.resize(block.size() + kGpsIfdSize + kGpsIfdPadding);
  WriteGpsIfd(&block[gpsIndex], order, gpsAt, MakeGpsFields(point));
  if (std::uint64_t{segment.length} + block.size() > 0xFFFF) return GpsCopyOutcome::Layout;

  const std::uint64_t tiffStart = segment.TiffStart();
  const std::uint64_t segmentEnd = segment.app1 + 2 + segment.length;
  const std::uint16_t newLength = static_cast<std::uint16_t>(segment.length + block.size());
  out.reserve(size + block.size());
  out.insert(out.end(), data, data + segment.app1 + 2);
  out.push_back(static_cast<std::uint8_t>(newLength >> 8));
  out.push_back(static_cast<std::uint8_t>(newLength & 0xFF));
  out.insert(out.end(), data + segment.app1 + 4, data + segmentEnd);
  PutU32(&out[tiffStart + 4], order, ifd0At);
  out.insert(out.end(), block.begin(), block.end());
  out.insert(out.end(), data + segmentEnd, data + size);
  return GpsCopyOutcome::Written;
}

}  // namespace kavro
