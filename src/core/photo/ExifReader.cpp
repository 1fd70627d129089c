#include "photo/ExifReader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "common/Texts.h"
#include "photo/ExifBytes.h"

namespace kavro {
namespace {

// Reads at absolute offsets; bytes past the end come back as zeros, as the camera files this
// reader was made for never need them.
class ZeroFilledReader {
 public:
  explicit ZeroFilledReader(ExifBytes head, int fd = -1, std::uint64_t fileSize = 0)
      : head_(head), fd_(fd), fileSize_(fd >= 0 ? fileSize : head.Size()) {}

  void Read(std::uint64_t offset, std::uint8_t* out, std::size_t n) const {
    std::memset(out, 0, n);
    if (offset >= fileSize_) return;
    const std::size_t avail = static_cast<std::size_t>(std::min<std::uint64_t>(n, fileSize_ - offset));
    if (head_.Has(offset, avail)) {
      std::memcpy(out, head_.Data() + offset, avail);
      return;
    }
    if (fd_ < 0) return;
    std::size_t done = 0;
    while (done < avail) {
      const ssize_t got = pread(fd_, out + done, avail - done, static_cast<off_t>(offset + done));
      if (got <= 0) break;
      done += static_cast<std::size_t>(got);
    }
  }
  std::uint64_t Size() const { return fileSize_; }
  std::uint16_t Be16(std::uint64_t offset) const {
    std::uint8_t b[2];
    Read(offset, b, 2);
    return static_cast<std::uint16_t>(b[0] << 8 | b[1]);
  }
  std::uint16_t U16(std::uint64_t offset, ByteOrder order) const {
    std::uint8_t b[2];
    Read(offset, b, 2);
    std::uint16_t v = 0;
    ExifBytes(b, 2).U16(0, order, v);
    return v;
  }
  std::uint32_t U32(std::uint64_t offset, ByteOrder order) const {
    std::uint8_t b[4];
    Read(offset, b, 4);
    std::uint32_t v = 0;
    ExifBytes(b, 4).U32(0, order, v);
    return v;
  }

 private:
  ExifBytes head_;
  int fd_;
  std::uint64_t fileSize_;
};

PhotoTimeResult Failure(int messageId) {
  PhotoTimeResult r;
  r.messageId = messageId;
  return r;
}

// The first entry of the IFD at base + ifd with the tag; its value field's offset, or 0.
std::uint64_t FindEntry(const ZeroFilledReader& in, std::uint64_t entries, std::uint32_t count, ByteOrder order,
                        std::uint16_t tag) {
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint64_t e = entries + 12ull * i;
    if (in.U16(e, order) == tag) return e + 8;
  }
  return 0;
}

// Every offset advances by at least 2 and reads past the end give zeros, so the walk ends.
ExifSegment FindSegment(const ZeroFilledReader& in) {
  ExifSegment segment;
  std::uint64_t offset = 2;
  for (;;) {
    std::uint8_t marker[2];
    in.Read(offset, marker, 2);
    if (marker[1] == 0xE1) {
      std::uint8_t head[8];
      in.Read(offset + 2, head, 8);
      if (head[2] == 'E') break;
    } else if (marker[1] < 0xE0 || marker[1] > 0xEF) {
      // Phones put their ICC profile (APP2) before the EXIF data.
      return segment;
    }
    offset += 2 + std::uint64_t{in.Be16(offset + 2)};
  }
  segment.found = true;
  segment.app1 = offset;
  segment.length = in.Be16(offset + 2);
  segment.complete = offset + 2 + segment.length <= in.Size();
  std::uint8_t bo[2];
  in.Read(segment.TiffStart(), bo, 2);
  if (bo[0] == 'I' && bo[1] == 'I') {
    segment.order = ByteOrder::Little;
  } else if (bo[0] == 'M' && bo[1] == 'M') {
    segment.order = ByteOrder::Big;
  }
  return segment;
}

// The 20 bytes at DateTimeOriginal as the camera stored them, or why there are none.
PhotoTimeResult WalkDateText(const ZeroFilledReader& in, char (&text)[20]) {
  const ExifSegment segment = FindSegment(in);
  if (!segment.found) return Failure(txt::NotExifFormat);
  // A file cut inside its EXIF segment is not read as if the missing bytes were zeros.
  if (!segment.complete) return Failure(txt::NotExifFormat);
  if (!segment.order) return Failure(txt::NotExifFormat);
  const std::uint64_t base = segment.TiffStart();
  const ByteOrder order = *segment.order;

  std::uint32_t count = in.U16(base + 8, order);
  std::uint64_t entries = base + 10;
  if (count == 0) {
    count = in.U16(base + 10, order);
    entries = base + 12;
  }
  const std::uint64_t exifPointer = FindEntry(in, entries, count, order, kTagExifIfd);
  if (exifPointer == 0) return Failure(txt::NoPhotoDate);

  const std::uint64_t exifIfd = base + in.U32(exifPointer, order);
  const std::uint32_t exifCount = in.U16(exifIfd, order);
  if (exifCount == 0) return Failure(txt::NoPhotoDate);
  const std::uint64_t dateEntry = FindEntry(in, exifIfd + 2, exifCount, order, kTagDateTimeOriginal);
  if (dateEntry == 0) return Failure(txt::NoPhotoDate);

  in.Read(base + in.U32(dateEntry, order), reinterpret_cast<std::uint8_t*>(text), sizeof text);
  PhotoTimeResult r;
  r.status = 0;
  return r;
}

PhotoTimeResult Walk(const ZeroFilledReader& in, const ZoneClock& zone) {
  char text[20];
  PhotoTimeResult r = WalkDateText(in, text);
  if (r.status != 0) return r;
  const std::int64_t utc = ParseExifDateTime(text, sizeof text, zone);
  if (utc < 0) return Failure(txt::PhotoDateFormatError);
  r.captureTime = static_cast<std::int32_t>(utc);
  return r;
}

// atoi over a fixed character range: leading blanks, an optional sign, digits up to the first
// non-digit; no digits give 0.
int RangeAtoi(const char* text, std::size_t length, std::size_t first, std::size_t last) {
  std::size_t i = first;
  auto at = [&](std::size_t k) { return k <= last && k < length ? text[k] : '\0'; };
  while (at(i) == ' ' || (at(i) >= '\t' && at(i) <= '\r')) ++i;
  bool negative = false;
  if (at(i) == '+' || at(i) == '-') {
    negative = at(i) == '-';
    ++i;
  }
  int value = 0;
  while (at(i) >= '0' && at(i) <= '9') {
    value = value * 10 + (at(i) - '0');
    ++i;
  }
  return negative ? -value : value;
}

}  // namespace

std::int64_t ParseExifDateTime(const char* text, std::size_t length, const ZoneClock& photoZone) {
  std::tm local{};
  local.tm_year = RangeAtoi(text, length, 0, 3) - 1900;
  local.tm_mon = RangeAtoi(text, length, 5, 6) - 1;
  local.tm_mday = RangeAtoi(text, length, 8, 9);
  local.tm_hour = RangeAtoi(text, length, 11, 12);
  local.tm_min = RangeAtoi(text, length, 14, 15);
  local.tm_sec = RangeAtoi(text, length, 17, 18);
  local.tm_isdst = 0;
  const std::optional<std::int64_t> utc = photoZone.FromLocal(local);
  if (!utc || *utc < 0 || *utc > INT32_MAX) return -1;
  return *utc;
}

ExifSegment FindExifSegment(const std::uint8_t* data, std::size_t size) {
  return FindSegment(ZeroFilledReader(ExifBytes(data, size)));
}

PhotoTimeResult ReadPhotoTakenTimeFromBytes(const std::uint8_t* data, std::size_t size, const ZoneClock& photoZone) {
  return Walk(ZeroFilledReader(ExifBytes(data, size)), photoZone);
}

namespace {

// Opens the photo read-only and runs `walk` over its head (one read serves every camera layout
// seen so far) and, through pread, the rest.
template <typename WalkFn>
PhotoTimeResult WalkFile(const std::filesystem::path& path, WalkFn walk) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    PhotoTimeResult r = Failure(txt::PhotoOpenFailed);
    r.detail = std::strerror(errno);
    return r;
  }
  std::array<std::uint8_t, 16384> head{};
  std::size_t got = 0;
  while (got < head.size()) {
    const ssize_t n = read(fd, head.data() + got, head.size() - got);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  const off_t end = lseek(fd, 0, SEEK_END);
  const std::uint64_t fileSize = end > 0 ? static_cast<std::uint64_t>(end) : got;
  PhotoTimeResult r = walk(ZeroFilledReader(ExifBytes(head.data(), got), fd, fileSize));
  close(fd);
  return r;
}

}  // namespace

PhotoTimeResult ReadPhotoTakenTime(const std::filesystem::path& path, const ZoneClock& photoZone) {
  return WalkFile(path, [&](const ZeroFilledReader& in) { return Walk(in, photoZone); });
}

PhotoTimeResult ReadPhotoDateText(const std::filesystem::path& path, std::string& text) {
  text.clear();
  return WalkFile(path, [&](const ZeroFilledReader& in) {
    char raw[20];
    PhotoTimeResult r = WalkDateText(in, raw);
    std::size_t n = 19;
    while (n > 0 && raw[n - 1] == '\0') --n;
    if (r.status == 0) text.assign(raw, n);
    return r;
  });
}

}  // namespace kavro
