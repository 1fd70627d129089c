#pragma once
// Bounded, byte-order-explicit access to the bytes of a photo. Every read checks its bounds
// before touching memory; nothing here trusts an offset found in the file.

#include <cstddef>
#include <cstdint>

namespace kavro {

enum class ByteOrder { Little, Big };

// A read-only view of a byte range.
class ExifBytes {
 public:
  ExifBytes() = default;
  ExifBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::size_t Size() const { return size_; }
  const std::uint8_t* Data() const { return data_; }
  // True when [offset, offset + length) lies inside the range (no overflow for any inputs).
  bool Has(std::uint64_t offset, std::uint64_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }

  // These return false (and leave out untouched) when the bytes are not there.
  bool U16(std::uint64_t offset, ByteOrder order, std::uint16_t& out) const {
    if (!Has(offset, 2)) return false;
    const std::uint8_t* p = data_ + offset;
    out = order == ByteOrder::Little ? static_cast<std::uint16_t>(p[0] | p[1] << 8)
                                     : static_cast<std::uint16_t>(p[0] << 8 | p[1]);
    return true;
  }
  bool U32(std::uint64_t offset, ByteOrder order, std::uint32_t& out) const {
    if (!Has(offset, 4)) return false;
    const std::uint8_t* p = data_ + offset;
    out = order == ByteOrder::Little
              ? std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24
              : std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | std::uint32_t{p[3]};
    return true;
  }

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

inline void PutU16(std::uint8_t* p, ByteOrder order, std::uint16_t v) {
  if (order == ByteOrder::Little) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
  } else {
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
  }
}

inline void PutU32(std::uint8_t* p, ByteOrder order, std::uint32_t v) {
  if (order == ByteOrder::Little) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
  } else {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * (3 - i)));
  }
}

// Bytes per value of a TIFF field type; unknown types count one byte.
inline std::uint64_t TiffTypeSize(std::uint16_t type) {
  switch (type) {
    case 3:
    case 8:
      return 2;
    case 4:
    case 9:
    case 11:
      return 4;
    case 5:
    case 10:
    case 12:
      return 8;
    default:
      return 1;
  }
}

inline constexpr std::uint16_t kTagExifIfd = 0x8769;
inline constexpr std::uint16_t kTagGpsIfd = 0x8825;
inline constexpr std::uint16_t kTagMake = 0x010F;
inline constexpr std::uint16_t kTagDateTimeOriginal = 0x9003;
inline constexpr std::uint16_t kTagMakerNote = 0x927C;
inline constexpr std::uint16_t kTagInteropIfd = 0xA005;
inline constexpr std::uint16_t kTagThumbnailOffset = 0x0201;

}  // namespace kavro
