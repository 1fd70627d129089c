// Capture times read from arbitrary bytes under every photo extension, and the sidecar update
// over arbitrary sidecar text: nothing throws, crashes or reads outside; an updated sidecar
// reads back as holding a position.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "photo/PhotoMetadata.h"
#include "photo/XmpSidecar.h"

namespace {

const char* const kExtensions[] = {".jpg", ".nef", ".heic", ".cr3", ".dng", ".rw2", ".cr2", ".arw"};

std::string ScratchPath(const char* extension) {
  return "/tmp/kavro-fuzz-photo-" + std::to_string(getpid()) + extension;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  // First byte: the extension (and whether positions are replaced); three more: the photo's
  // length; the sidecar's text follows it.
  const char* extension = kExtensions[data[0] % 8];
  const std::size_t length = std::size_t{data[1]} | std::size_t{data[2]} << 8 | std::size_t{data[3]} << 16;
  const std::size_t split = 4 + (length < size - 4 ? length : size - 4);
  const std::string path = ScratchPath(extension);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data + 4, 1, split - 4, f);
  std::fclose(f);
  const kavro::PhotoMetadata m = kavro::ReadPhotoMetadata(path);
  std::remove(path.c_str());
  if (m.dateTimeOriginal && !m.readable) std::abort();
  if (!m.readable && m.messageId == 0) std::abort();

  const std::string sidecar(reinterpret_cast<const char*>(data + split), size - split);
  kavro::TrackPoint point;
  point.lat = -33.8568f;
  point.lon = 151.2153f;
  point.alt = 12.5f;
  point.time = 1204243199;
  std::string out, detail;
  const kavro::SidecarOutcome outcome = kavro::UpdateXmpText(sidecar, point, (data[0] & 0x80) != 0, out, detail);
  if (outcome == kavro::SidecarOutcome::Written) {
    std::string again;
    if (kavro::UpdateXmpText(out, point, false, again, detail) != kavro::SidecarOutcome::HasPosition) std::abort();
  } else if (!out.empty() && outcome != kavro::SidecarOutcome::IoError) {
    std::abort();
  }
  return 0;
}
