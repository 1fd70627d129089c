#include "convert/NmeaWriter.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "convert/NumberFormat.h"
#include "track/ZoneClock.h"

namespace kavro {

std::uint8_t NmeaChecksum(std::string_view sentence) {
  std::uint8_t x = 0;
  for (std::size_t i = 1; i < sentence.size(); ++i) {
    const char c = sentence[i];
    if (c == '*' || c == '\r' || c == '\n') break;
    x ^= static_cast<std::uint8_t>(c);
  }
  return x;
}

char* FormatNmeaDegrees(char* out, float value) {
  const double v = static_cast<double>(value);
  const double d = std::isfinite(v) ? std::trunc(v) : 0.0;
  // v - d is exact and so is its product with 60 in double; one rounding to single precision.
  const float minutes = static_cast<float>(std::fabs((v - d) * 60.0));
  const double degrees = std::fabs(d);
  if (degrees < 1e15) out = FormatInt(out, static_cast<std::int64_t>(degrees));
  else out += std::snprintf(out, kFormatBufferSize, "%.0f", degrees);
  if (minutes < 10.0f) *out++ = '0';  // two minute digits before the point
  return FormatFixed(out, minutes, 6);
}

std::size_t FormatRmc(std::int32_t time, float latitude, float longitude, char* out) {
  std::tm utc;
  if (!ToUtc(time, utc)) return 0;
  char* p = PutText(out, "$GPRMC,");
  p = FormatInt2(p, utc.tm_hour);
  p = FormatInt2(p, utc.tm_min);
  p = FormatInt2(p, utc.tm_sec);
  p = PutText(p, ",A,");
  p = FormatNmeaDegrees(p, latitude);
  p = PutText(p, latitude >= 0.0f ? ",N," : ",S,");
  p = FormatNmeaDegrees(p, longitude);
  p = PutText(p, longitude >= 0.0f ? ",E,0,0," : ",W,0,0,");
  p = FormatInt2(p, utc.tm_mday);
  p = FormatInt2(p, utc.tm_mon + 1);
  p = FormatInt2(p, utc.tm_year % 100);
  p = PutText(p, ",,*");
  const std::uint8_t sum = NmeaChecksum(std::string_view(out, static_cast<std::size_t>(p - out)));
  static const char kHex[] = "0123456789abcdef";
  *p++ = kHex[sum >> 4];
  *p++ = kHex[sum & 0x0F];
  *p++ = '\r';
  *p++ = '\n';
  return static_cast<std::size_t>(p - out);
}

bool WriteNmeaTrack(TrackFileReader& source, OutputSink& out) {
  source.Rewind();
  TrackRecord r;
  char line[2 * kFormatBufferSize + kRmcBufferSize];
  while (source.Next(r)) {
    const std::size_t n = FormatRmc(r.Time(), r.Latitude(), r.Longitude(), line);
    if (n != 0) out.Write(std::string_view(line, n));
  }
  const bool readOk = !source.Failed();
  source.Rewind();
  return readOk && out.Write({});
}

}  // namespace kavro
