// The geotagged copy of arbitrary bytes: no read outside the input, and a copy that is made
// is a well-formed rewrite whose capture time still reads the same.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "photo/ExifGpsAppender.h"
#include "photo/ExifGpsWriter.h"
#include "photo/ExifReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kavro::TrackPoint point;
  point.lat = -33.8568f;
  point.lon = 151.2153f;
  point.alt = size % 2 ? -12.345f : 12.345f;
  point.time = 1204243199;
  std::vector<std::uint8_t> copy;
  const kavro::GpsCopyOutcome outcome = kavro::BuildGpsCopy(data, size, point, copy);
  if (outcome != kavro::GpsCopyOutcome::Written) {
    if (!copy.empty()) std::abort();
    return 0;
  }
  const kavro::ExifSegment segment = kavro::FindExifSegment(data, size);
  if (!kavro::IsCanonOrSonyMake(data, segment)) {
    // Other makes: everything up to the segment's end stays, but for its length and the IFD0
    // offset; the rest of the file follows the appended block unchanged.
    const std::size_t end = static_cast<std::size_t>(segment.app1 + 2 + segment.length);
    const std::size_t tiff = static_cast<std::size_t>(segment.TiffStart());
    if (copy.size() <= size || copy.size() - size > 0xFFFF) std::abort();
    for (std::size_t i = 0; i < end; ++i) {
      const bool mayChange = i == segment.app1 + 2 || i == segment.app1 + 3 || (i >= tiff + 4 && i < tiff + 8);
      if (!mayChange && copy[i] != data[i]) std::abort();
    }
    for (std::size_t i = end; i < size; ++i)
      if (copy[copy.size() - size + i] != data[i]) std::abort();
    std::vector<std::uint8_t> again;
    kavro::BuildGpsCopy(copy.data(), copy.size(), point, again);
    return 0;
  }
  // One IFD0 entry (none when a GPS pointer was there), the GPS IFD, and at most one byte that
  // puts it on a word boundary.
  const std::size_t growth = copy.size() - size;
  const std::size_t least = kavro::kTotalShift - kavro::kEntryShift;
  if (copy.size() < size || growth < least || growth > kavro::kTotalShift + 1 ||
      (growth != least && growth != least + 1 && growth < kavro::kTotalShift)) {
    std::abort();
  }
  // The copy is again something the writer and the reader can walk without trouble.
  std::vector<std::uint8_t> again;
  kavro::BuildGpsCopy(copy.data(), copy.size(), point, again);
  kavro::ReadPhotoTakenTimeFromBytes(copy.data(), copy.size(), kavro::ZoneClock::Fixed(0));
  return 0;
}
