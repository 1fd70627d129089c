// The simulated logger over a real pseudo-terminal, spoken to as the program speaks to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <thread>

#include "Simulator.h"
#include "support/PtyPeer.h"

namespace kavro::sim {
namespace {

using namespace std::chrono_literals;
using test::ChecksumOk;
using test::Frame;
using test::PtyPeer;

// What the program cuts out of an identification reply: the value from offset 12 (13 for the
// sub-commands 10 and 11) up to the "*".
std::string IdentValue(const std::string& reply, int n) {
  const std::size_t offset = n >= 10 ? 13 : 12;
  if (reply.size() <= offset) return "<short>";
  return reply.substr(offset, reply.find('*') - offset);
}

// The value of a "$PMTK182,3,a,v" query reply: from offset 13, past one comma, up to "*".
std::string QueryValue(const std::string& reply) {
  if (reply.size() <= 13) return "<short>";
  std::string v = reply.substr(13, reply.find('*') - 13);
  if (!v.empty() && v[0] == ',') v.erase(0, 1);
  return v;
}

std::string HexBytes(const std::uint8_t* p, std::size_t n) {
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  for (std::size_t i = 0; i < n; ++i) {
    s += digits[p[i] >> 4];
    s += digits[p[i] & 15];
  }
  return s;
}

class SimTest : public ::testing::Test {
 protected:
  void Launch(const std::string& name, SimulatorOptions options = {}) {
    auto s = ScenarioByName(name);
    ASSERT_TRUE(s.has_value());
    scenario_ = *s;
    sim_ = std::make_unique<Simulator>(scenario_, options);
    std::string error;
    ASSERT_TRUE(sim_->Start(&error)) << error;
    ASSERT_FALSE(sim_->SlavePath().empty());
    peer_ = std::make_unique<PtyPeer>(sim_->SlavePath());
    ASSERT_TRUE(peer_->IsOpen()) << sim_->SlavePath();
  }

  Scenario scenario_;
  std::unique_ptr<Simulator> sim_;
  std::unique_ptr<PtyPeer> peer_;
};

TEST_F(SimTest, IdentificationRepliesCarryTheirValuesAtTheProgramsOffsets) {
  // wrapped and full keep basis and unit apart, so the two cannot be swapped unseen.
  for (const char* name : {"demo", "other", "wrapped", "full"}) {
    SCOPED_TRACE(name);
    Launch(name);
    const Scenario& s = scenario_;
    std::vector<std::pair<int, std::string>> expected = {
        {3, std::to_string(s.firmware)}, {5, s.userName},  {7, s.hardware},
        {8, std::to_string(s.basis)},    {10, s.timeZone}, {11, std::to_string(s.unit)}};
    ASSERT_EQ(peer_->Ask("KAVRO580,1").rfind("$KAVRO001,1,", 0), 0u);
    for (const auto& [n, value] : expected) {
      const std::string reply = peer_->Ask("KAVRO580," + std::to_string(n));
      SCOPED_TRACE(reply);
      EXPECT_TRUE(ChecksumOk(reply));
      EXPECT_EQ(reply.rfind("$KAVRO001," + std::to_string(n) + ",", 0), 0u);
      EXPECT_EQ(IdentValue(reply, n), value);
    }
    // The user name's "*" lies within 17 characters of offset 12.
    EXPECT_LE(peer_->Ask("KAVRO580,5").find('*'), 12u + 17u);
    // Hardware "12" is the first two of the three characters.
    EXPECT_EQ(IdentValue(peer_->Ask("KAVRO580,7"), 7).substr(0, 2), s.hardware.substr(0, 2));
    peer_.reset();
    sim_.reset();
  }
}

TEST_F(SimTest, QueriesReportTheSettingsAndAWritePositionThatAgreesWithTheMemory) {
  for (const char* name : {"demo", "other", "empty", "wrapped", "full"}) {
    SCOPED_TRACE(name);
    Launch(name);
    EXPECT_EQ(peer_->Ask("PMTK182,2,1").rfind("$PMTK182,3,1,", 0), 0u);
    EXPECT_EQ(QueryValue(peer_->Ask("PMTK182,2,3")), std::to_string(scenario_.timeInterval));
    EXPECT_EQ(QueryValue(peer_->Ask("PMTK182,2,4")), std::to_string(scenario_.distanceInterval));
    EXPECT_EQ(QueryValue(peer_->Ask("PMTK182,2,6")), std::to_string(scenario_.recordMode));
    const std::string pos = peer_->Ask("PMTK182,2,8");
    EXPECT_TRUE(ChecksumOk(pos)) << pos;
    const std::string hex = QueryValue(pos);
    ASSERT_EQ(hex.size(), 8u) << pos;
    const auto value = static_cast<std::uint32_t>(std::stoul(hex, nullptr, 16));
    EXPECT_EQ(value, WritePosition(scenario_));
    EXPECT_EQ(value, sim_->WritePosition());
    // The memory agrees: the slot at the write position is empty unless the memory wrapped.
    if (value < memory::kSize && scenario_.written.size() <= memory::kSlotCount) {
      char body[64];
      std::snprintf(body, sizeof body, "PMTK182,7,%X,10", value);
      const std::string reply = peer_->Ask(body);
      EXPECT_EQ(reply.substr(20, 32), std::string(32, 'F')) << reply;
    }
    EXPECT_EQ(peer_->Ask("PMTK400").rfind("$PMTK001,400,", 0), 0u);
    peer_.reset();
    sim_.reset();
  }
}

TEST_F(SimTest, SettingsAreAcknowledgedAndStored) {
  Launch("demo");
  EXPECT_EQ(peer_->Ask("PMTK182,1,3,150"), "$PMTK001,182,1,3*" + test::Checksum("PMTK001,182,1,3"));
  EXPECT_EQ(peer_->Ask("PMTK182,1,4,304").rfind("$PMTK001,182,1,3*", 0), 0u);
  EXPECT_EQ(peer_->Ask("PMTK182,1,6,2").rfind("$PMTK001,182,1,3*", 0), 0u);
  EXPECT_EQ(sim_->TimeInterval(), 150);
  EXPECT_EQ(sim_->DistanceInterval(), 304);
  EXPECT_EQ(sim_->RecordMode(), 2);
  EXPECT_EQ(QueryValue(peer_->Ask("PMTK182,2,3")), "150");
  // A record mode the logger does not have is refused and changes nothing.
  EXPECT_EQ(peer_->Ask("PMTK182,1,6,5").rfind("$PMTK001,182,1,2*", 0), 0u);
  EXPECT_EQ(sim_->RecordMode(), 2);

  EXPECT_EQ(peer_->Ask("KAVRO580,4,Walker 7").rfind("$KAVRO001,4,", 0), 0u);
  EXPECT_EQ(sim_->UserName(), "Walker 7");
  EXPECT_EQ(IdentValue(peer_->Ask("KAVRO580,5"), 5), "Walker 7");
  peer_->Ask("KAVRO580,4,ABCDEFGHIJKLMNOPQRS");
  EXPECT_EQ(sim_->UserName(), "ABCDEFGHIJKLMNOP");

  EXPECT_EQ(peer_->Ask("KAVRO580,9,1").rfind("$KAVRO001,9,", 0), 0u);
  EXPECT_EQ(sim_->Basis(), 1);
  EXPECT_EQ(IdentValue(peer_->Ask("KAVRO580,8"), 8), "1");
  peer_->Ask("KAVRO580,9,7");
  EXPECT_EQ(sim_->Basis(), 1);
}

TEST_F(SimTest, EveryReceivedSentenceIsRecordedAndOnlyGoodOnesAnswered) {
  Launch("demo");
  EXPECT_EQ(peer_->Ask("KAVRO580,6").rfind("$KAVRO001,6,", 0), 0u);
  // Wrong checksum, no checksum, garbage and an unknown word: recorded, never answered.
  peer_->WriteRaw("$KAVRO580,3*00\r\n");
  peer_->WriteRaw("$KAVRO580,3\r\n");
  peer_->WriteRaw("#garbage\r\n");
  peer_->Send("GPXYZ,1");
  peer_->Send("KAVRO580,42");
  EXPECT_EQ(peer_->Drain(300ms), "");
  EXPECT_EQ(peer_->Ask("KAVRO580,2").rfind("$KAVRO001,2,", 0), 0u);
  ASSERT_TRUE(sim_->WaitForReceived("$KAVRO580,2*", 2s));
  const std::vector<std::string> expected = {"$KAVRO580,6*" + test::Checksum("KAVRO580,6"),
                                             "$KAVRO580,3*00",
                                             "$KAVRO580,3",
                                             "#garbage",
                                             "$GPXYZ,1*" + test::Checksum("GPXYZ,1"),
                                             "$KAVRO580,42*" + test::Checksum("KAVRO580,42"),
                                             "$KAVRO580,2*" + test::Checksum("KAVRO580,2")};
  EXPECT_EQ(sim_->Received(), expected);
  sim_->ClearReceived();
  EXPECT_TRUE(sim_->Received().empty());
  EXPECT_FALSE(sim_->WaitForReceived("$KAVRO580,2*", 10ms));
}

TEST_F(SimTest, LineNoiseAndOverlongLinesLeaveTheLoggerAnswering) {
  Launch("demo");
  // Noise made of the frame's own characters, as a bad cable would deliver it.
  std::string noise;
  std::uint32_t x = 12345;
  const char alphabet[] = "$*,\r\n0123456789ABCDEFKAVROPMTK\x00\xff";
  for (int i = 0; i < 65536; ++i) {
    x = x * 1103515245u + 12345u;
    noise += alphabet[(x >> 16) % (sizeof alphabet - 1)];
  }
  noise += std::string(40000, 'A');  // a line far longer than any sentence
  ASSERT_TRUE(peer_->WriteAll(noise));
  peer_->Drain(300ms);
  // A sentence right after the noise, on the same line, is still understood.
  EXPECT_EQ(IdentValue(peer_->Ask("KAVRO580,3"), 3), "125");
  EXPECT_EQ(IdentValue(peer_->Ask("KAVRO580,5"), 5), "Logger1");
  EXPECT_TRUE(sim_->Running());
}

TEST_F(SimTest, TraceShowsTheDialogueWithDataRepliesShortened) {
  std::vector<std::string> lines;
  std::mutex m;
  SimulatorOptions options;
  options.trace = [&](const std::string& line) {
    std::lock_guard lock(m);
    lines.push_back(line);
  };
  Launch("demo", options);
  peer_->Ask("KAVRO580,3");
  peer_->Ask("PMTK182,7,0,800");
  std::lock_guard lock(m);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "< " + Frame("KAVRO580,3").substr(0, 14));
  EXPECT_EQ(lines[1], "> $KAVRO001,3,125*75");
  EXPECT_EQ(lines[3].rfind("> $PMTK182,8,00000000,", 0), 0u);
  EXPECT_LE(lines[3].size(), 2u + 72u);
}

TEST_F(SimTest, ASentenceArrivingInSixteenBytePiecesIsOneCommand) {
  Launch("demo");
  const std::string sentence = Frame("PMTK182,7,1F0000,10");
  for (std::size_t i = 0; i < sentence.size(); i += 16) {
    peer_->WriteRaw(sentence.substr(i, 16));
    std::this_thread::sleep_for(20ms);
  }
  const std::string reply = peer_->ReadLine();
  EXPECT_EQ(reply.rfind("$PMTK182,8,001F0000,", 0), 0u) << reply;
  EXPECT_EQ(sim_->Received(), std::vector<std::string>{sentence.substr(0, sentence.size() - 2)});
}

TEST_F(SimTest, ASectorReadComesAs32RepliesWithTheirAddressesAndBytes) {
  Launch("demo");
  const auto image = BuildMemoryImage(scenario_);
  peer_->Send("PMTK182,7,10000,10000");
  const auto lines = peer_->ReadLines(32);
  ASSERT_EQ(lines.size(), 32u);
  for (std::size_t k = 0; k < 32; ++k) {
    SCOPED_TRACE(k);
    const std::uint32_t addr = 0x10000 + static_cast<std::uint32_t>(k) * 0x800;
    char head[32];
    std::snprintf(head, sizeof head, "$PMTK182,8,%08X,", addr);
    ASSERT_EQ(lines[k].rfind(head, 0), 0u) << lines[k].substr(0, 30);
    EXPECT_TRUE(ChecksumOk(lines[k]));
    ASSERT_EQ(lines[k].size(), 20u + 4096u + 3u);
    EXPECT_EQ(lines[k].substr(20, 4096), HexBytes(image.data() + addr, 0x800));
  }
  EXPECT_EQ(peer_->Drain(100ms), "");

  // A resumed read starts at its own address; a read past the end stops at the end.
  peer_->Send("PMTK182,7,13000,D000");
  const auto resumed = peer_->ReadLines(26);
  ASSERT_EQ(resumed.size(), 26u);
  EXPECT_EQ(resumed.front().rfind("$PMTK182,8,00013000,", 0), 0u);
  EXPECT_EQ(resumed.back().rfind("$PMTK182,8,0001F800,", 0), 0u);
  peer_->Send("PMTK182,7,1FF800,10000");
  EXPECT_EQ(peer_->ReadLine().rfind("$PMTK182,8,001FF800,", 0), 0u);
  EXPECT_EQ(peer_->Drain(200ms), "");
  EXPECT_EQ(peer_->Ask("PMTK182,7,200000,10"), "$PMTK001,182,7,0*" + test::Checksum("PMTK001,182,7,0"));
}

TEST_F(SimTest, TheProbeOfTheLastSectorTellsWrappedFromUnwrapped) {
  for (const char* name : {"demo", "wrapped", "empty"}) {
    SCOPED_TRACE(name);
    Launch(name);
    const std::string reply = peer_->Ask("PMTK182,7,1F0000,10");
    ASSERT_EQ(reply.size(), 20u + 32u + 3u) << reply;
    EXPECT_TRUE(ChecksumOk(reply));
    EXPECT_EQ(reply.substr(20, 32) == std::string(32, 'F'), std::string(name) != "wrapped");
    peer_.reset();
    sim_.reset();
  }
}

TEST_F(SimTest, EraseIsAcknowledgedAfterItsDelayAndEmptiesTheMemory) {
  SimulatorOptions options;
  options.eraseDelay = 200ms;
  Launch("demo", options);
  ASSERT_NE(sim_->WritePosition(), 0u);
  peer_->Send("PMTK182,6,1");
  // A query sent while the flash is busy is answered after the acknowledgement.
  peer_->Send("PMTK182,2,8");
  const auto lines = peer_->ReadLines(2);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "$PMTK001,182,6,3*" + test::Checksum("PMTK001,182,6,3"));
  EXPECT_EQ(QueryValue(lines[1]), "00000000");
  EXPECT_EQ(sim_->WritePosition(), 0u);
  EXPECT_EQ(sim_->State().eraseCount, 1);
  const auto memory = sim_->Memory();
  EXPECT_TRUE(std::all_of(memory.begin(), memory.end(), [](std::uint8_t b) { return b == 0xFF; }));
  EXPECT_EQ(peer_->Ask("PMTK182,7,200,10").substr(20, 32), std::string(32, 'F'));
}

TEST_F(SimTest, SpeedChangeIsAcknowledgedAtTheOldSpeedThenTakesEffect) {
  Launch("demo");
  EXPECT_EQ(sim_->Baud(), 38400);
  EXPECT_EQ(peer_->Ask("PMTK182,14,921600").rfind("$PMTK001,182,14,3*", 0), 0u);
  EXPECT_EQ(sim_->Baud(), 921600);
  EXPECT_EQ(peer_->Ask("PMTK182,14,12345").rfind("$PMTK001,182,14,2*", 0), 0u);
  EXPECT_EQ(sim_->Baud(), 921600);
  EXPECT_EQ(peer_->Ask("PMTK182,14,38400").rfind("$PMTK001,182,14,3*", 0), 0u);
  EXPECT_EQ(sim_->Baud(), 38400);
}

TEST_F(SimTest, PacedOutputDeliversTheSameBytes) {
  SimulatorOptions options;
  options.paced = true;
  Launch("demo", options);
  EXPECT_EQ(IdentValue(peer_->Ask("KAVRO580,3"), 3), "125");
  ASSERT_EQ(peer_->Ask("PMTK182,14,921600").rfind("$PMTK001,182,14,3*", 0), 0u);
  const auto image = BuildMemoryImage(scenario_);
  peer_->Send("PMTK182,7,0,10000");
  const auto lines = peer_->ReadLines(32, 20s);
  ASSERT_EQ(lines.size(), 32u);
  for (std::size_t k = 0; k < 32; ++k) EXPECT_EQ(lines[k].substr(20, 4096), HexBytes(image.data() + k * 0x800, 0x800));
}

TEST_F(SimTest, BluetoothAddressIsReportedAndReplaced) {
  Launch("demo");
  peer_->WriteRaw("$PMTK492*3D\r\n");
  EXPECT_EQ(peer_->ReadLine(), "$PMTK592,0012AB345678*" + test::Checksum("PMTK592,0012AB345678"));
  EXPECT_EQ(peer_->Ask("PMTK392,A1B2C3,D4E5F6").rfind("$PMTK010,001*", 0), 0u);
  const std::array<std::uint8_t, 6> expected{0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6};
  EXPECT_EQ(sim_->State().btAddress, expected);
  EXPECT_EQ(peer_->Ask("PMTK492"), "$PMTK592,A1B2C3D4E5F6*" + test::Checksum("PMTK592,A1B2C3D4E5F6"));
}

TEST_F(SimTest, TheLoggerStillAnswersAfterThePortIsClosedAndOpenedAgain) {
  Launch("demo");
  EXPECT_EQ(IdentValue(peer_->Ask("KAVRO580,3"), 3), "125");
  peer_->Close();
  peer_ = std::make_unique<PtyPeer>(sim_->SlavePath());
  ASSERT_TRUE(peer_->IsOpen());
  EXPECT_EQ(IdentValue(peer_->Ask("KAVRO580,3"), 3), "125");
  EXPECT_TRUE(sim_->Running());
}

TEST_F(SimTest, UnplugMakesTheSlaveSideHangUp) {
  Launch("demo");
  EXPECT_EQ(IdentValue(peer_->Ask("KAVRO580,3"), 3), "125");
  EXPECT_TRUE(sim_->Running());
  sim_->Unplug();
  EXPECT_FALSE(sim_->Running());
  pollfd p{peer_->Fd(), POLLIN, 0};
  ASSERT_EQ(::poll(&p, 1, 2000), 1);
  EXPECT_TRUE(p.revents & POLLHUP);
  const std::string sentence = Frame("KAVRO580,3");
  errno = 0;
  EXPECT_EQ(::write(peer_->Fd(), sentence.data(), sentence.size()), -1);
  EXPECT_EQ(errno, EIO);
  sim_->Unplug();  // twice is harmless
  sim_->Stop();
}

TEST(StartSimulator, StartsANamedScenarioOrSaysWhyNot) {
  std::string error;
  auto sim = StartSimulator("other", &error);
  ASSERT_NE(sim, nullptr) << error;
  PtyPeer peer(sim->SlavePath());
  ASSERT_TRUE(peer.IsOpen());
  EXPECT_EQ(IdentValue(peer.Ask("KAVRO580,3"), 3), "131");
  EXPECT_EQ(StartSimulator("no-such-logger", &error), nullptr);
  EXPECT_NE(error.find("no-such-logger"), std::string::npos);
  auto demo = StartSimulator("", &error);
  ASSERT_NE(demo, nullptr);
  EXPECT_EQ(demo->UserName(), ScenarioByName("demo")->userName);
  std::string again;
  EXPECT_FALSE(demo->Start(&again));
  EXPECT_FALSE(again.empty());
}

}  // namespace
}  // namespace kavro::sim
