#include "convert/TextWriter.h"

#include "convert/NumberFormat.h"

namespace kavro {

std::size_t FormatTextLine(const TrackRecord& record, const ZoneClock& clock, char* out) {
  std::tm local;
  if (!clock.ToLocal(record.Time(), local)) return 0;
  char* p = FormatFixed(out, record.Longitude(), 7);
  *p++ = ',';
  p = FormatFixed(p, record.Latitude(), 7);
  *p++ = ',';
  p = FormatFixed(p, record.Height(), 2);
  *p++ = ',';
  const int n = AsctimeText(local, p);
  p += n > 0 ? n : 0;
  *p++ = '\r';
  *p++ = '\n';
  return static_cast<std::size_t>(p - out);
}

bool WriteTextTrack(TrackFileReader& source, OutputSink& out, const ZoneClock& clock) {
  source.Rewind();
  TrackRecord r;
  char line[3 * kFormatBufferSize + 64];
  while (source.Next(r)) {
    const std::size_t n = FormatTextLine(r, clock, line);
    if (n != 0) out.Write(std::string_view(line, n));
  }
  const bool readOk = !source.Failed();
  source.Rewind();
  return readOk && out.Write({});
}

}  // namespace kavro
