#include "photo/ExifThumbnail.h"

#include <fstream>

#include "photo/ExifBytes.h"
#include "photo/ExifReader.h"

namespace kavro {
namespace {

constexpr std::uint16_t kThumbnailOffsetTag = 0x0201;
constexpr std::uint16_t kThumbnailLengthTag = 0x0202;
// The EXIF segment lies in the first 64 KiB after the few segments before it.
constexpr std::size_t kHeadBytes = 160 * 1024;

// Offset and length of the thumbnail from the entries of IFD1; false when either is missing.
bool ThumbnailEntries(const ExifBytes& tiff, ByteOrder order, std::uint32_t ifd1, std::uint32_t& offset,
                      std::uint32_t& length) {
  std::uint16_t count = 0;
  if (!tiff.U16(ifd1, order, count)) return false;
  bool haveOffset = false, haveLength = false;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint64_t entry = std::uint64_t{ifd1} + 2 + 12 * std::uint64_t{i};
    std::uint16_t tag = 0, type = 0;
    if (!tiff.U16(entry, order, tag) || !tiff.U16(entry + 2, order, type)) return false;
    if (tag != kThumbnailOffsetTag && tag != kThumbnailLengthTag) continue;
    std::uint32_t value = 0;
    if (type == 3) {  // SHORT, left-justified in the value field
      std::uint16_t v16 = 0;
      if (!tiff.U16(entry + 8, order, v16)) return false;
      value = v16;
    } else if (!tiff.U32(entry + 8, order, value)) {
      return false;
    }
    (tag == kThumbnailOffsetTag ? offset : length) = value;
    (tag == kThumbnailOffsetTag ? haveOffset : haveLength) = true;
  }
  return haveOffset && haveLength;
}

}  // namespace

std::vector<std::uint8_t> ExifThumbnailFromBytes(const std::uint8_t* data, std::size_t size) {
  const ExifSegment segment = FindExifSegment(data, size);
  if (!segment.found || !segment.complete || !segment.order) return {};
  // Offsets in the EXIF data count from the TIFF header, and stay inside the segment.
  const std::uint64_t segmentEnd = segment.app1 + 2 + segment.length;
  if (segment.TiffStart() >= segmentEnd || segmentEnd > size) return {};
  const ExifBytes tiff(data + segment.TiffStart(), static_cast<std::size_t>(segmentEnd - segment.TiffStart()));
  const ByteOrder order = *segment.order;
  std::uint32_t ifd0 = 0;
  std::uint16_t count0 = 0;
  if (!tiff.U32(4, order, ifd0) || !tiff.U16(ifd0, order, count0)) return {};
  std::uint32_t ifd1 = 0;
  if (!tiff.U32(std::uint64_t{ifd0} + 2 + 12 * std::uint64_t{count0}, order, ifd1) || ifd1 == 0) return {};
  std::uint32_t offset = 0, length = 0;
  if (!ThumbnailEntries(tiff, order, ifd1, offset, length) || length < 4 || !tiff.Has(offset, length)) return {};
  const std::uint8_t* thumb = tiff.Data() + offset;
  if (thumb[0] != 0xFF || thumb[1] != 0xD8) return {};
  return std::vector<std::uint8_t>(thumb, thumb + length);
}

std::vector<std::uint8_t> ReadExifThumbnail(const std::filesystem::path& photo) {
  std::ifstream in(photo, std::ios::binary);
  if (!in) return {};
  std::vector<std::uint8_t> head(kHeadBytes);
  in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  return ExifThumbnailFromBytes(head.data(), head.size());
}

}  // namespace kavro
