#pragma once
// The wire protocol between our boot-ROM download library and the logger's boot ROM. Binary,
// little-endian, on the logger's serial line at the port's speed.
//
// Handshake: the host writes the sync byte 0xA0 and waits up to BootRomTiming::syncWait for
// 0x5F; it repeats this at most syncAttempts times. The boot ROM answers every 0xA0 that
// arrives outside a frame with 0x5F, so stray answers are skipped by the frame reader.
//
// Frame, both directions:
//   start   1 byte   0xA5 host -> boot ROM, 0x5A boot ROM -> host
//   command 1 byte   see Command
//   seq     2 bytes  counts the host's frames; a reply carries the seq it answers
//   length  2 bytes  payload length, at most kMaxPayload
//   payload length bytes
//   crc     4 bytes  CRC-32 (zlib) of command, seq, length and payload
// A reply's payload starts with a Status byte. Each host frame waits at most replyWait for its
// reply; a missing reply, a reply with a bad CRC or a Nak resends the same frame, at most
// `resends` times; before each resend, and on the boot ROM's side after a pause in the
// line, a frame begun but not finished is given up. A frame whose seq the boot ROM has already carried out is acknowledged
// again without being carried out twice, so a lost acknowledgement costs one resend only.
//
// One update:
//   Hello                        -> Ack, u16 largest block, u8 boot ROM version
//   AgentBegin u32 load address, u32 length, u32 CRC-32 of the agent
//   AgentData  u32 offset, bytes (one frame per block)
//   AgentRun                     -> Ack once the whole agent's CRC-32 and its load address
//                                   are right; the agent then answers the image frames
//   ImageBegin u32 flash address, u32 length, u32 CRC-32 of the image (erases the region)
//   ImageData  u32 offset, bytes
//   ImageEnd                     -> Ack, u16 firmware version found in the image (0: none);
//                                   the logger then restarts with the new firmware
//   Reset                        -> Ack; leaves the boot ROM without writing (after a failure)
// Refused (Status::Refused) ends the update at once: the wrong agent, an image larger than
// the region, a data offset out of order, a whole-image CRC-32 that does not match.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace kavro::brom {

inline constexpr std::uint8_t kSync = 0xA0;
inline constexpr std::uint8_t kSyncAnswer = 0x5F;
inline constexpr std::uint8_t kHostStart = 0xA5;
inline constexpr std::uint8_t kRomStart = 0x5A;
inline constexpr std::size_t kHeaderSize = 6;  // start, command, seq, length
inline constexpr std::size_t kCrcSize = 4;
inline constexpr std::size_t kMaxPayload = 4096 + 8;

enum class Command : std::uint8_t {
  Hello = 0x01,
  AgentBegin = 0x10,
  AgentData = 0x11,
  AgentRun = 0x12,
  ImageBegin = 0x20,
  ImageData = 0x21,
  ImageEnd = 0x22,
  Reset = 0x30,
};

enum class Status : std::uint8_t { Ack = 0, Nak = 1, Refused = 2 };

struct Frame {
  std::uint8_t start = kHostStart;
  std::uint8_t command = 0;
  std::uint16_t seq = 0;
  std::vector<std::uint8_t> payload;
};

// CRC-32 of ISO 3309 / ITU-T V.42, as zlib computes it.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size);
inline std::uint32_t Crc32(const std::vector<std::uint8_t>& bytes) { return Crc32(bytes.data(), bytes.size()); }

std::vector<std::uint8_t> Encode(const Frame& frame);

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v);
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v);
std::uint16_t GetU16(const std::uint8_t* p);
std::uint32_t GetU32(const std::uint8_t* p);

// Collects bytes and hands out whole frames that begin with `start`. Bytes before a start
// byte are skipped; a frame whose CRC-32 fails is reported as damaged (its header, if sane,
// tells the seq so it can be refused), then the reader looks for the next start byte.
class FrameReader {
 public:
  explicit FrameReader(std::uint8_t start) : start_(start) {}
  enum class Result { None, Frame, Damaged };
  // Takes in bytes; call Next until it answers None.
  void Feed(const std::uint8_t* data, std::size_t size);
  Result Next(Frame& frame);
  // Bytes skipped outside frames since the last call (for the boot ROM's sync answers).
  std::size_t TakeSyncBytes();
  // Gives up the frame begun so far (its start byte may have been noise with a length that
  // never comes): the search goes on from the byte after it.
  void Resync();
  void Clear();

 private:
  std::uint8_t start_;
  std::vector<std::uint8_t> buffer_;
  std::size_t syncBytes_ = 0;
};

// The firmware version an image carries: the first "KAVRO-FW-VER=" followed by three decimal
// digits (e.g. "KAVRO-FW-VER=131" for 1.31). None when the image holds no such mark.
inline constexpr std::string_view kVersionMark = "KAVRO-FW-VER=";
std::optional<int> ImageFirmwareVersion(const std::uint8_t* data, std::size_t size);

// The download agent file ("DA*.bin"): "KAVRODA1", u32 load address, u32 code length,
// u32 CRC-32 of the code, then the code. The boot ROM accepts an agent whose header is this
// and whose code matches its CRC-32.
inline constexpr std::string_view kAgentMagic = "KAVRODA1";
inline constexpr std::size_t kAgentHeaderSize = 20;
struct AgentHeader {
  std::uint32_t loadAddress = 0;
  std::uint32_t codeLength = 0;
  std::uint32_t codeCrc = 0;
};
// The header of a whole agent file, when the magic, the length and the CRC-32 are right.
std::optional<AgentHeader> CheckAgent(const std::vector<std::uint8_t>& file);

}  // namespace kavro::brom
