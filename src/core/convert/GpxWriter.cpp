#include "convert/GpxWriter.h"

#include <string>

#include "convert/NumberFormat.h"
#include "track/ZoneClock.h"

namespace kavro {
namespace {

// One wpt or rtept block; 0 when the time cannot be converted.
std::size_t FormatBlock(const TrackRecord& r, long long number, bool route, char* out) {
  std::tm utc;
  if (!ToUtc(r.Time(), utc)) return 0;
  char* p = PutText(out, route ? "<rtept lat=\"" : "<wpt lat=\"");
  p = FormatFixed(p, r.Latitude(), 6);
  p = PutText(p, "\" lon=\"");
  p = FormatFixed(p, r.Longitude(), 6);
  p = PutText(p, "\">\r\n<ele>");
  p = FormatFixed(p, r.Height(), 2);
  p = PutText(p, "</ele>\r\n<time>");
  p = FormatUtcTime(p, utc);
  p = PutText(p, "</time>\r\n<name><![CDATA[Point ");
  p = FormatInt(p, number);
  p = PutText(p, route ? "]]></name>\r\n</rtept>\r\n" : "]]></name>\r\n</wpt>\r\n");
  return static_cast<std::size_t>(p - out);
}

}  // namespace

bool WriteGpxTrack(TrackFileReader& source, OutputSink& out) {
  source.Rewind();
  out.Write(std::string("<?xml version=\"1.0\"?>\r\n<gpx\r\nversion=\"1.0\"\r\ncreator=\"Kavro Utility\"\r\n") +
            "xmlns:xsi=\"" + kXsiNamespace + "\"\r\nxmlns=\"" + kGpxNamespace + "\"\r\nxsi:schemaLocation=\"" +
            kGpxNamespace + " " + kGpxSchemaLocation + "\">\r\n");
  char block[3 * kFormatBufferSize + 256];
  TrackRecord r;
  bool readOk = true;
  for (const bool route : {false, true}) {
    if (route) out.Write("<rte>\r\n<name>Route</name>\r\n");
    long long number = 0;
    while (source.Next(r)) {
      const std::size_t n = FormatBlock(r, number, route, block);
      if (n == 0) continue;
      out.Write(std::string_view(block, n));
      ++number;
    }
    readOk = readOk && !source.Failed();
    source.Rewind();
  }
  out.Write("</rte>\r\n</gpx>\r\n");
  return readOk && out.Write({});
}

}  // namespace kavro
