// The log memory comes straight off the logger's flash: any byte pattern may sit in a slot,
// through a fault, a half-written record or a memory the logger never formatted. The input
// fills the slots of as many sectors as it needs (their headers and the rest are erased flash);
// the decoded list is then split into tracks as the download does.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "download/LogDecoder.h"
#include "download/TrackFileWriter.h"
#include "track/ZoneClock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kSlotBytes = kavro::memory::kSectorSize - kavro::memory::kSectorHeaderSize;
  // Years around the records the seeds hold, so valid records pass the year window.
  kavro::LogDecoder decoder;
  decoder.ResetDecoder(kavro::ZoneClock::Fixed(480), 2026);

  std::vector<std::uint8_t> sector(kavro::memory::kSectorSize);
  std::size_t at = 0;
  int sectors = 0;
  do {
    std::fill(sector.begin(), sector.end(), 0xFF);
    const std::size_t n = std::min(kSlotBytes, size - at);
    if (n > 0) std::copy(data + at, data + at + n, sector.begin() + kavro::memory::kSectorHeaderSize);
    decoder.DecodeSector(sector.data());
    at += n;
    ++sectors;
  } while (at < size && sectors < 40);

  const auto& ordered = decoder.Ordered();
  const auto& flags = decoder.OrderedWaypointFlags();
  if (ordered.size() != decoder.EntryCount() || flags.size() != ordered.size()) std::abort();
  if (ordered.size() > kavro::kLogMaxEntries) std::abort();
  if (decoder.WrapFound() && decoder.WrapStart() >= decoder.EntryCount()) std::abort();

  const std::vector<kavro::TrackSpan> tracks = kavro::SplitTracks(ordered);
  if (tracks.empty()) std::abort();
  const long count = static_cast<long>(ordered.size());
  for (const kavro::TrackSpan& t : tracks) {
    if (!t.NonEmpty()) continue;
    if (t.start < 0 || t.end >= count) std::abort();
    for (long i = t.start; i <= t.end; ++i) {
      const kavro::TrackRecord& r = ordered[static_cast<std::size_t>(i)];
      if (kavro::IsLogStartMarker(r.bytes.data())) std::abort();
      (void)kavro::FileNameTime(r.Time(), kavro::ZoneClock::Fixed(480));
    }
  }
  return 0;
}
