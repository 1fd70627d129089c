// A .trl file comes from wherever the user picked it: the reader and the four writers that
// consume it must cope with any bytes, including records whose checksum holds by chance but
// whose time, coordinates or height are nonsense (NaN, infinities, times before 1970).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/mman.h>
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

// The file lives in memory (memfd): a disk file per input would make the disk the bottleneck.
struct InputFile {
  int fd = memfd_create("kavro-fuzz-trl", 0);
  std::string path = "/proc/self/fd/" + std::to_string(fd);

  bool Put(const std::uint8_t* data, std::size_t size) const {
    if (fd < 0 || ftruncate(fd, 0) != 0) return false;
    return size == 0 || pwrite(fd, data, size, 0) == static_cast<ssize_t>(size);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const InputFile input;
  if (!input.Put(data, size)) std::abort();
  const std::string& path = input.path;

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
