#include "track/TrackRecord.h"

#include <bit>
#include <cstring>

namespace kavro {
namespace {

std::uint32_t LoadLe32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

void StoreLe32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
  p[3] = static_cast<std::uint8_t>(v >> 24);
}

}  // namespace

std::uint8_t RecordChecksum(const std::uint8_t* record) {
  // All sixteen bytes folded in two words (XOR does not care for byte order), then byte 15 out.
  std::uint64_t a;
  std::uint64_t b;
  std::memcpy(&a, record, 8);
  std::memcpy(&b, record + 8, 8);
  std::uint64_t x = a ^ b;
  x ^= x >> 32;
  x ^= x >> 16;
  x ^= x >> 8;
  return static_cast<std::uint8_t>(x ^ record[15]);
}

void TrackRecord::SetTime(std::int32_t time) {
  StoreLe32(bytes.data(), static_cast<std::uint32_t>(time));
  bytes[15] = RecordChecksum(bytes.data());
}

bool RecordIsValid(const std::uint8_t* record) { return RecordChecksum(record) == record[15]; }

float RecordHeight(const std::uint8_t* record) {
  const std::uint32_t bits =
      std::uint32_t{record[12]} << 8 | std::uint32_t{record[13]} << 16 | std::uint32_t{record[14]} << 24;
  return std::bit_cast<float>(bits);
}

TrackRecord TrackRecord::Make(std::int32_t time, float latitude, float longitude, float height) {
  TrackRecord r;
  StoreLe32(&r.bytes[0], static_cast<std::uint32_t>(time));
  StoreLe32(&r.bytes[4], std::bit_cast<std::uint32_t>(latitude));
  StoreLe32(&r.bytes[8], std::bit_cast<std::uint32_t>(longitude));
  const std::uint32_t h = std::bit_cast<std::uint32_t>(height);
  r.bytes[12] = static_cast<std::uint8_t>(h >> 8);
  r.bytes[13] = static_cast<std::uint8_t>(h >> 16);
  r.bytes[14] = static_cast<std::uint8_t>(h >> 24);
  r.bytes[15] = RecordChecksum(r.bytes.data());
  return r;
}

std::int32_t TrackRecord::Time() const { return static_cast<std::int32_t>(LoadLe32(&bytes[0])); }
float TrackRecord::Latitude() const { return std::bit_cast<float>(LoadLe32(&bytes[4])); }
float TrackRecord::Longitude() const { return std::bit_cast<float>(LoadLe32(&bytes[8])); }
float TrackRecord::Height() const { return RecordHeight(bytes.data()); }
bool TrackRecord::IsValid() const { return RecordIsValid(bytes.data()); }

}  // namespace kavro
