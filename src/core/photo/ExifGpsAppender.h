#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "photo/ExifGpsWriter.h"
#include "photo/ExifReader.h"

namespace kavro {

// The GPS copy for cameras whose maker notes we do not know: nothing the camera wrote moves.
// A rewritten IFD0 with the GPS pointer and the GPS IFD go behind the end of the TIFF data and
// the header points at the new IFD0, so every offset, inside maker notes of every kind
// included, keeps meaning what it meant. Refused (Layout) when IFD0, the EXIF IFD or the maker
// note lie outside the EXIF segment, or when the grown segment would not fit its 16-bit length.
GpsCopyOutcome AppendGpsCopy(const std::uint8_t* data, std::size_t size, const ExifSegment& segment,
                             const TrackPoint& point, std::vector<std::uint8_t>& out);

// True when IFD0's Make begins with "Canon" or "SONY": the cameras whose copies keep the layout
// of the moving writer.
bool IsCanonOrSonyMake(const std::uint8_t* data, const ExifSegment& segment);

}  // namespace kavro
