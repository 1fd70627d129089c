#pragma once
// The simulated logger's boot ROM: it wakes on the sync byte of a firmware download and
// answers the frames of firmware/BootRomProtocol.h until the image is written, the host asks
// it to reset, or the line stays quiet too long. No I/O of its own: the simulator feeds it
// the bytes that arrive and sends what it answers.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "firmware/BootRomProtocol.h"

namespace kavro::sim {

class BootRom {
 public:
  using Clock = std::chrono::steady_clock;
  // The flash region the image goes to, and where the download agent must run.
  static constexpr std::uint32_t kFlashStart = 0;
  static constexpr std::uint32_t kFlashLength = 0xC8000;
  static constexpr std::uint32_t kAgentAddress = 0x100800;
  static constexpr std::uint16_t kMaxBlock = 4096;
  // A host that stopped talking this long ago has given up: back to normal mode.
  static constexpr std::chrono::milliseconds kIdleExit{3000};
  // A frame still unfinished after a pause this long was noise: look for the next one.
  static constexpr std::chrono::milliseconds kResyncGap{250};

  struct Events {
    bool erased = false;                 // the flash region (and the Bluetooth address in it) was erased
    std::optional<int> committed;        // the image is written; its firmware version (0: none found)
    bool left = false;                   // back to the normal firmware
  };

  // After this many image blocks the boot ROM stops answering, as a logger whose transfer
  // broke off half-way; it still leaves on the host's Reset, or when the line stays quiet
  // (negative: never).
  int stopAfterImageBlocks = -1;

  bool Active() const { return active_; }
  // Wakes up (a sync byte arrived in normal mode); the answer goes to out.
  void Enter(std::string& out, Clock::time_point now);
  // Takes bytes while active; answers go to out.
  void Feed(const std::uint8_t* data, std::size_t size, std::string& out, Events& events, Clock::time_point now);
  // Leaves when the host has been quiet for kIdleExit; true when it did.
  bool ExpireIfIdle(Clock::time_point now);
  // The image bytes of the last completed update.
  const std::vector<std::uint8_t>& Flash() const { return flash_; }

 private:
  void Handle(const brom::Frame& frame, std::string& out, Events& events);
  void Answer(const brom::Frame& frame, brom::Status status, const std::vector<std::uint8_t>& extra, std::string& out);
  void Leave();

  bool active_ = false;
  bool silent_ = false;
  Clock::time_point lastInput_{};
  brom::FrameReader reader_{brom::kHostStart};
  bool haveSeq_ = false;
  std::uint16_t lastSeq_ = 0;
  std::string lastAnswer_;
  std::uint32_t agentLength_ = 0;
  std::uint32_t agentCrc_ = 0;
  std::vector<std::uint8_t> agent_;
  bool agentRunning_ = false;
  bool imageOpen_ = false;
  std::uint32_t imageLength_ = 0;
  std::uint32_t imageCrc_ = 0;
  std::vector<std::uint8_t> image_;
  int imageBlocks_ = 0;
  std::vector<std::uint8_t> flash_;
};

// A firmware file for the simulated logger: an image of imageSize bytes that carries
// "KAVRO-FW-VER=" and the version (hundredths: 131 is 1.31), then its CRC-32 trailer.
std::vector<std::uint8_t> SampleFirmwareFile(int version, std::size_t imageSize = 65536);

}  // namespace kavro::sim
