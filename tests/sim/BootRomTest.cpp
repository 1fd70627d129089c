// The simulated boot ROM frame by frame: damaged frames are refused for a resend, a repeated
// frame is answered again but carried out once, and noise that looks like a frame start is
// given up after a pause.
#include <gtest/gtest.h>

#include "BootRom.h"
#include "firmware/BootRomProtocol.h"

namespace kavro::sim {
namespace {

using brom::Command;
using Clock = BootRom::Clock;

std::vector<std::uint8_t> HostFrame(Command c, std::uint16_t seq, std::vector<std::uint8_t> payload) {
  brom::Frame f;
  f.command = static_cast<std::uint8_t>(c);
  f.seq = seq;
  f.payload = std::move(payload);
  return brom::Encode(f);
}

// The status bytes of the replies in out, in order.
std::vector<int> Statuses(const std::string& out) {
  brom::FrameReader reader(brom::kRomStart);
  reader.Feed(reinterpret_cast<const std::uint8_t*>(out.data()), out.size());
  std::vector<int> statuses;
  brom::Frame f;
  while (reader.Next(f) == brom::FrameReader::Result::Frame) statuses.push_back(f.payload.empty() ? -1 : f.payload[0]);
  return statuses;
}

struct Rom {
  BootRom rom;
  Clock::time_point now = Clock::now();
  BootRom::Events events;
  std::string Send(const std::vector<std::uint8_t>& bytes, std::chrono::milliseconds after = std::chrono::milliseconds(1)) {
    now += after;
    std::string out;
    rom.Feed(bytes.data(), bytes.size(), out, events, now);
    return out;
  }
};

std::vector<std::uint8_t> AgentFile() {
  std::vector<std::uint8_t> code(300, 0x42);
  std::vector<std::uint8_t> file(brom::kAgentMagic.begin(), brom::kAgentMagic.end());
  brom::PutU32(file, BootRom::kAgentAddress);
  brom::PutU32(file, static_cast<std::uint32_t>(code.size()));
  brom::PutU32(file, brom::Crc32(code));
  file.insert(file.end(), code.begin(), code.end());
  return file;
}

TEST(SimBootRom, DamagedRepeatedAndNoisyFrames) {
  Rom r;
  std::string out;
  r.rom.Enter(out, r.now);
  EXPECT_EQ(out, std::string(1, static_cast<char>(brom::kSyncAnswer)));
  // Stray sync bytes are answered too.
  EXPECT_EQ(r.Send({brom::kSync, brom::kSync}), std::string(2, static_cast<char>(brom::kSyncAnswer)));
  EXPECT_EQ(Statuses(r.Send(HostFrame(Command::Hello, 1, {}))), std::vector<int>{0});

  const std::vector<std::uint8_t> agent = AgentFile();
  std::vector<std::uint8_t> begin;
  brom::PutU32(begin, BootRom::kAgentAddress);
  brom::PutU32(begin, static_cast<std::uint32_t>(agent.size()));
  brom::PutU32(begin, brom::Crc32(agent));
  EXPECT_EQ(Statuses(r.Send(HostFrame(Command::AgentBegin, 2, begin))), std::vector<int>{0});

  std::vector<std::uint8_t> block;
  brom::PutU32(block, 0);
  block.insert(block.end(), agent.begin(), agent.end());
  std::vector<std::uint8_t> damaged = HostFrame(Command::AgentData, 3, block);
  damaged[20] ^= 0xFF;
  EXPECT_EQ(Statuses(r.Send(damaged)), std::vector<int>{1});
  EXPECT_EQ(Statuses(r.Send(HostFrame(Command::AgentData, 3, block))), std::vector<int>{0});
  // The same frame again (its acknowledgement was lost): answered, not appended twice.
  EXPECT_EQ(Statuses(r.Send(HostFrame(Command::AgentData, 3, block))), std::vector<int>{0});

  // A start byte in noise announcing a long frame; after a pause the real frame still counts.
  EXPECT_EQ(r.Send({brom::kHostStart, 0x21, 0x00, 0x00, 0xFF, 0x0F}), "");
  EXPECT_EQ(Statuses(r.Send(HostFrame(Command::AgentRun, 4, {}), std::chrono::milliseconds(400))), std::vector<int>{0});

  // An image larger than the flash region is refused.
  std::vector<std::uint8_t> tooBig;
  brom::PutU32(tooBig, BootRom::kFlashStart);
  brom::PutU32(tooBig, BootRom::kFlashLength + 1);
  brom::PutU32(tooBig, 0);
  EXPECT_EQ(Statuses(r.Send(HostFrame(Command::ImageBegin, 5, tooBig))), std::vector<int>{2});
  EXPECT_FALSE(r.events.erased);

  const std::string image = "....KAVRO-FW-VER=133....";
  std::vector<std::uint8_t> imageBytes(image.begin(), image.end());
  std::vector<std::uint8_t> imageBegin;
  brom::PutU32(imageBegin, BootRom::kFlashStart);
  brom::PutU32(imageBegin, static_cast<std::uint32_t>(imageBytes.size()));
  brom::PutU32(imageBegin, brom::Crc32(imageBytes));
  EXPECT_EQ(Statuses(r.Send(HostFrame(Command::ImageBegin, 6, imageBegin))), std::vector<int>{0});
  EXPECT_TRUE(r.events.erased);
  std::vector<std::uint8_t> data;
  brom::PutU32(data, 0);
  data.insert(data.end(), imageBytes.begin(), imageBytes.end());
  EXPECT_EQ(Statuses(r.Send(HostFrame(Command::ImageData, 7, data))), std::vector<int>{0});
  EXPECT_EQ(Statuses(r.Send(HostFrame(Command::ImageEnd, 8, {}))), std::vector<int>{0});
  ASSERT_TRUE(r.events.committed);
  EXPECT_EQ(*r.events.committed, 133);
  EXPECT_TRUE(r.events.left);
  EXPECT_FALSE(r.rom.Active());
  EXPECT_EQ(r.rom.Flash(), imageBytes);
}

TEST(SimBootRom, QuietHostIsGivenUp) {
  Rom r;
  std::string out;
  r.rom.Enter(out, r.now);
  EXPECT_FALSE(r.rom.ExpireIfIdle(r.now + BootRom::kIdleExit / 2));
  EXPECT_TRUE(r.rom.ExpireIfIdle(r.now + BootRom::kIdleExit));
  EXPECT_FALSE(r.rom.Active());
}

}  // namespace
}  // namespace kavro::sim
