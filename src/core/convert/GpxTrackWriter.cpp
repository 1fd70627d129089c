#include "convert/GpxTrackWriter.h"

#include <string>

#include "convert/GpxWriter.h"
#include "convert/NumberFormat.h"
#include "track/ZoneClock.h"

namespace kavro {
namespace {

// One trkpt; 0 when the time cannot be converted.
std::size_t FormatPoint(const TrackRecord& r, char* out) {
  std::tm utc;
  if (!ToUtc(r.Time(), utc)) return 0;
  char* p = PutText(out, "<trkpt lat=\"");
  p = FormatFixed(p, r.Latitude(), 6);
  p = PutText(p, "\" lon=\"");
  p = FormatFixed(p, r.Longitude(), 6);
  p = PutText(p, "\">\r\n<ele>");
  p = FormatFixed(p, r.Height(), 2);
  p = PutText(p, "</ele>\r\n<time>");
  p = FormatUtcTime(p, utc);
  p = PutText(p, "</time>\r\n</trkpt>\r\n");
  return static_cast<std::size_t>(p - out);
}

}  // namespace

bool WriteGpx11Track(TrackFileReader& source, OutputSink& out) {
  source.Rewind();
  out.Write(std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<gpx\r\nversion=\"1.1\"\r\ncreator=\"Kavro Utility\"\r\n") +
            "xmlns:xsi=\"" + kXsiNamespace + "\"\r\nxmlns=\"" + kGpx11Namespace + "\"\r\nxsi:schemaLocation=\"" +
            kGpx11Namespace + " " + kGpx11SchemaLocation + "\">\r\n<trk>\r\n<trkseg>\r\n");
  char block[3 * kFormatBufferSize + 128];
  TrackRecord r;
  while (source.Next(r)) {
    const std::size_t n = FormatPoint(r, block);
    if (n != 0) out.Write(std::string_view(block, n));
  }
  const bool readOk = !source.Failed();
  source.Rewind();
  out.Write("</trkseg>\r\n</trk>\r\n</gpx>\r\n");
  return readOk && out.Write({});
}

}  // namespace kavro
