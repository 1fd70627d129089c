// A .trl file comes from wherever the user picked it: the reader and the four writers that
// consume it must cope with any bytes, including records whose checksum holds by chance but
// whose time, coordinates or height are nonsense (NaN, infinities, times before 1970).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "common/OutputSink.h"
#include "convert/GpxWriter.h"
#include "convert/KmlWriter.h"
#include "convert/NmeaWriter.h"
#include "convert/TextWriter.h"
#include "track/TrackFileReader.h"
#include "track/ZoneClock.h"

namespace {

std::string TempFile() {
  static std::string path;
  if (path.empty()) {
    char templ[] = "/tmp/kavro-fuzz-trl-XXXXXX";
    const int fd = mkstemp(templ);
    if (fd >= 0) close(fd);
    path = templ;
    std::atexit([] { std::remove(path.c_str()); });
  }
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = TempFile();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);

  std::size_t validInInput = 0;
  for (std::size_t at = 0; at + kavro::TrackRecord::kSize <= size; at += kavro::TrackRecord::kSize)
    if (kavro::RecordIsValid(data + at)) ++validInInput;

  kavro::TrackFileReader reader;
  if (!reader.Open(path)) return 0;
  std::size_t seen = 0;
  kavro::TrackRecord r;
  while (reader.Next(r)) {
    if (!r.IsValid()) std::abort();
    ++seen;
  }
  // The reader yields exactly the whole records of the file whose checksum holds.
  if (seen != validInInput || reader.Failed()) std::abort();

  // The zone comes from the first byte, so odd offsets (-12:00 .. +13:45) are reached too.
  const int offset = size > 0 ? (static_cast<int>(data[0]) * 15) % (26 * 60) - 12 * 60 : 0;
  const kavro::ZoneClock clock = kavro::ZoneClock::Fixed(offset);
  kavro::StringSink text, kml, nmea, gpx;
  if (!kavro::WriteTextTrack(reader, text, clock)) std::abort();
  if (!kavro::WriteKmlTrack(reader, kml, clock)) std::abort();
  if (!kavro::WriteNmeaTrack(reader, nmea)) std::abort();
  if (!kavro::WriteGpxTrack(reader, gpx)) std::abort();
  // Every written line of the two line formats belongs to one valid record.
  auto lines = [](const std::string& s) {
    std::size_t n = 0;
    for (char c : s) n += c == '\n';
    return n;
  };
  if (lines(text.data) > seen || lines(nmea.data) > seen) std::abort();
  return 0;
}
