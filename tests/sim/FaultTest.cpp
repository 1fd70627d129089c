// Each fault the simulator can inject, seen from the program's side of the line.
#include <gtest/gtest.h>

#include <algorithm>

#include "Simulator.h"
#include "support/PtyPeer.h"

namespace kavro::sim {
namespace {

using namespace std::chrono_literals;
using test::ChecksumOk;
using test::Frame;
using test::PtyPeer;

class FaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim_ = std::make_unique<Simulator>(*ScenarioByName("demo"));
    std::string error;
    ASSERT_TRUE(sim_->Start(&error)) << error;
    peer_ = std::make_unique<PtyPeer>(sim_->SlavePath());
    ASSERT_TRUE(peer_->IsOpen());
    // A first exchange without faults, so the counters start on a talking line.
    ASSERT_EQ(peer_->Ask("KAVRO580,1").rfind("$KAVRO001,1,", 0), 0u);
  }

  std::vector<std::string> ReadSector(std::uint32_t address, std::size_t expected) {
    char body[48];
    std::snprintf(body, sizeof body, "PMTK182,7,%X,10000", address);
    peer_->Send(body);
    auto lines = peer_->ReadLines(expected);
    // Anything beyond what was expected shows up here.
    const std::string rest = peer_->Drain(100ms);
    if (!rest.empty()) lines.push_back(rest);
    return lines;
  }

  static std::string Address(const std::string& line) { return line.size() >= 19 ? line.substr(11, 8) : line; }

  std::unique_ptr<Simulator> sim_;
  std::unique_ptr<PtyPeer> peer_;
};

TEST_F(FaultTest, BadChecksumInReplyK) {
  Faults f;
  f.badChecksumReply = 2;
  sim_->SetFaults(f);
  const std::string first = peer_->Ask("KAVRO580,3");
  const std::string second = peer_->Ask("KAVRO580,3");
  const std::string third = peer_->Ask("KAVRO580,3");
  EXPECT_TRUE(ChecksumOk(first)) << first;
  EXPECT_FALSE(ChecksumOk(second)) << second;
  EXPECT_EQ(second.substr(0, second.find('*')), first.substr(0, first.find('*')));
  EXPECT_TRUE(ChecksumOk(third)) << third;
}

TEST_F(FaultTest, BadChecksumAtAnAddressHitsOnlyThatReplyAndOnlyOnce) {
  Faults f;
  f.badChecksumAddress = 0x23000;
  sim_->SetFaults(f);
  const auto lines = ReadSector(0x20000, 32);
  ASSERT_EQ(lines.size(), 32u);
  for (std::size_t k = 0; k < 32; ++k) EXPECT_EQ(ChecksumOk(lines[k]), k != 6) << k;
  // The program asks again from the chunk that failed; now it is good.
  peer_->Send("PMTK182,7,23000,D000");
  const auto again = peer_->ReadLines(26);
  ASSERT_EQ(again.size(), 26u);
  EXPECT_EQ(Address(again[0]), "00023000");
  EXPECT_TRUE(std::all_of(again.begin(), again.end(), ChecksumOk));
}

TEST_F(FaultTest, DroppedReplyKAndDroppedDataReply) {
  Faults f;
  f.dropReply = 1;
  sim_->SetFaults(f);
  peer_->Send("KAVRO580,3");
  EXPECT_EQ(peer_->Drain(200ms), "");
  EXPECT_EQ(peer_->Ask("KAVRO580,3").rfind("$KAVRO001,3,125*", 0), 0u);

  f = {};
  f.dropAddress = 0x800;
  sim_->SetFaults(f);
  const auto lines = ReadSector(0, 31);
  ASSERT_EQ(lines.size(), 31u);
  EXPECT_EQ(Address(lines[0]), "00000000");
  EXPECT_EQ(Address(lines[1]), "00001000");
}

TEST_F(FaultTest, WrongAddressNamesTheNextChunk) {
  Faults f;
  f.wrongAddress = 0x1000;
  sim_->SetFaults(f);
  const auto lines = ReadSector(0, 32);
  ASSERT_EQ(lines.size(), 32u);
  EXPECT_EQ(Address(lines[1]), "00000800");
  EXPECT_EQ(Address(lines[2]), "00001800");
  EXPECT_EQ(Address(lines[3]), "00001800");
  EXPECT_TRUE(ChecksumOk(lines[2]));
}

TEST_F(FaultTest, SplitRepliesArriveInSmallPieces) {
  Faults f;
  f.splitBytes = 8;
  f.splitPause = 300ms;  // long enough that the pieces cannot meet in one read
  sim_->SetFaults(f);
  const std::size_t readsBefore = peer_->ReadSizes().size();
  const std::string reply = peer_->Ask("KAVRO580,5");
  EXPECT_EQ(reply, "$KAVRO001,5,Logger1*" + test::Checksum("KAVRO001,5,Logger1"));
  const std::vector<std::size_t> sizes(peer_->ReadSizes().begin() + static_cast<std::ptrdiff_t>(readsBefore),
                                       peer_->ReadSizes().end());
  EXPECT_GE(sizes.size(), 2u);
  EXPECT_LE(sizes.front(), 8u);
}

TEST_F(FaultTest, EchoComesBackBeforeTheReply) {
  Faults f;
  f.echo = true;
  sim_->SetFaults(f);
  peer_->Send("PMTK182,2,3");
  const auto lines = peer_->ReadLines(2);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0] + "\r\n", Frame("PMTK182,2,3"));
  EXPECT_EQ(lines[1].rfind("$PMTK182,3,3,50*", 0), 0u);
}

TEST_F(FaultTest, DelayedRepliesComeLateButWhole) {
  Faults f;
  f.replyDelay = 1500ms;
  sim_->SetFaults(f);
  peer_->Send("KAVRO580,3");
  EXPECT_EQ(peer_->Drain(200ms), "");
  EXPECT_EQ(peer_->ReadLine(), "$KAVRO001,3,125*75");
}

TEST_F(FaultTest, SilenceAfterNBytesStillListens) {
  Faults f;
  f.silenceAfterBytes = 30;
  sim_->SetFaults(f);
  EXPECT_EQ(peer_->Ask("KAVRO580,3").size(), 18u);  // 20 bytes with CR LF
  peer_->Send("KAVRO580,5");
  EXPECT_EQ(peer_->ReadBytes(10), "$KAVRO001,");  // the first 10 bytes of the next reply
  EXPECT_EQ(peer_->Drain(200ms), "");
  peer_->Send("KAVRO580,2");
  EXPECT_EQ(peer_->Drain(200ms), "");
  EXPECT_TRUE(sim_->WaitForReceived("$KAVRO580,2*", 2s));
  EXPECT_TRUE(sim_->Running());
}

TEST_F(FaultTest, DisconnectAfterNBytesHangsUpTheLine) {
  Faults f;
  f.disconnectAfterBytes = 5;
  sim_->SetFaults(f);
  peer_->Send("KAVRO580,3");
  // At most the first 5 bytes (the hang-up may discard what was still queued).
  const std::string got = peer_->Drain(300ms);
  EXPECT_EQ(std::string("$KAVR").rfind(got, 0), 0u) << got;
  pollfd p{peer_->Fd(), POLLIN, 0};
  ASSERT_EQ(::poll(&p, 1, 2000), 1);
  EXPECT_TRUE(p.revents & POLLHUP);
  EXPECT_FALSE(sim_->Running());
}

TEST_F(FaultTest, SentencesOfOneKindGoUnansweredAndTheRestAsBefore) {
  Faults f;
  f.unanswered = "$KAVRO580,3*";
  sim_->SetFaults(f);
  peer_->Send("KAVRO580,3");
  EXPECT_EQ(peer_->Drain(200ms), "");
  EXPECT_TRUE(sim_->WaitForReceived("$KAVRO580,3*", 2s));
  EXPECT_EQ(peer_->Ask("KAVRO580,5"), "$KAVRO001,5,Logger1*" + test::Checksum("KAVRO001,5,Logger1"));
}

TEST(FaultOptions, FaultsGivenAtStartCountFromTheStart) {
  SimulatorOptions options;
  options.faults.badChecksumReply = 1;
  Simulator sim(*ScenarioByName("demo"), options);
  std::string error;
  ASSERT_TRUE(sim.Start(&error)) << error;
  PtyPeer peer(sim.SlavePath());
  EXPECT_FALSE(ChecksumOk(peer.Ask("KAVRO580,3")));
  EXPECT_TRUE(ChecksumOk(peer.Ask("KAVRO580,3")));
}

}  // namespace
}  // namespace kavro::sim
