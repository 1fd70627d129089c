// The EXIF thumbnail finder over any bytes: never reads outside them, and what it returns lies
// inside them and starts like a JPEG.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "photo/ExifThumbnail.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> thumb = kavro::ExifThumbnailFromBytes(data, size);
  if (!thumb.empty() && (thumb.size() > size || thumb[0] != 0xFF || thumb[1] != 0xD8)) std::abort();
  return 0;
}
