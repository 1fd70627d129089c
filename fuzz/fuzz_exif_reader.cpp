// ReadPhotoTakenTime over arbitrary bytes: from memory, and through a file for inputs larger
// than the reader's first read, so its positioned reads are exercised too.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "photo/ExifReader.h"

namespace {

std::string TempFile() {
  static std::string path;
  if (path.empty()) {
    char templ[] = "/tmp/kavro-fuzz-exif-XXXXXX";
    const int fd = mkstemp(templ);
    if (fd >= 0) close(fd);
    path = templ;
    std::atexit([] { std::remove(path.c_str()); });
  }
  return path;
}

void Check(const kavro::PhotoTimeResult& r) {
  if (r.status == 0 && (r.captureTime < 0 || r.messageId != 0)) std::abort();
  if (r.status == 1 && (r.captureTime != 0 || r.messageId == 0)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kavro::ZoneClock zone = kavro::ZoneClock::Fixed(480);
  const kavro::PhotoTimeResult fromMemory = kavro::ReadPhotoTakenTimeFromBytes(data, size, zone);
  Check(fromMemory);
  if (size > 16384) {
    const std::string path = TempFile();
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
      std::fwrite(data, 1, size, f);
      std::fclose(f);
      const kavro::PhotoTimeResult fromFile = kavro::ReadPhotoTakenTime(path, zone);
      Check(fromFile);
      // Both ways of reading see the same bytes.
      if (fromFile.status != fromMemory.status || fromFile.captureTime != fromMemory.captureTime) std::abort();
    }
  }
  return 0;
}
