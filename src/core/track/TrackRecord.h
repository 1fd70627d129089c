#pragma once
#include <array>
#include <cstdint>
#include <cstring>

namespace kavro {

// One 16-byte slot of the log memory and of a .trl file. Little-endian on the wire:
// time (int32 UTC seconds), latitude and longitude (float degrees), the upper three bytes of
// a float height in metres, and the XOR of bytes 0-14 in byte 15.
struct TrackRecord {
  static constexpr std::size_t kSize = 16;
  std::array<std::uint8_t, kSize> bytes{};

  static TrackRecord FromBytes(const std::uint8_t* p) {
    TrackRecord r;
    std::memcpy(r.bytes.data(), p, kSize);
    return r;
  }
  // Builds a record with a correct checksum (the simulator and the tests write these).
  static TrackRecord Make(std::int32_t time, float latitude, float longitude, float height);

  std::int32_t Time() const;
  // A new time, with the checksum made again for it; position and height stay byte for byte.
  void SetTime(std::int32_t time);
  float Latitude() const;
  float Longitude() const;
  float Height() const;
  bool IsValid() const;
};

// XOR of bytes 0-14 of a whole 16-byte record.
std::uint8_t RecordChecksum(const std::uint8_t* record);
// The checksum matches byte 15.
bool RecordIsValid(const std::uint8_t* record);
// The float whose little-endian bytes are 0x00, byte 12, byte 13, byte 14.
float RecordHeight(const std::uint8_t* record);

}  // namespace kavro
