// The boot-ROM frame reader takes bytes straight from the serial line, on both sides: none of
// it may read out of bounds, and every frame it hands out must encode back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "firmware/BootRomProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kavro::brom;
  for (std::uint8_t start : {kHostStart, kRomStart}) {
    FrameReader reader(start);
    // Fed in two pieces, split where the first byte says, with a resync in between.
    const std::size_t cut = size > 0 ? data[0] % (size + 1) : 0;
    reader.Feed(data, cut);
    Frame frame;
    for (int i = 0; i < 4096; ++i) {
      const FrameReader::Result r = reader.Next(frame);
      if (r == FrameReader::Result::None) break;
      if (r == FrameReader::Result::Frame && start == kHostStart) {
        const std::vector<std::uint8_t> again = Encode(frame);
        if (again.size() != kHeaderSize + frame.payload.size() + kCrcSize) std::abort();
      }
    }
    reader.Resync();
    reader.Feed(data + cut, size - cut);
    while (reader.Next(frame) != FrameReader::Result::None) {
    }
    (void)reader.TakeSyncBytes();
  }
  (void)ImageFirmwareVersion(data, size);
  (void)CheckAgent(std::vector<std::uint8_t>(data, data + size));
  return 0;
}
