#include "protocol/Exchange.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>

#include "support/SimLink.h"
#include "support/PtyPair.h"
#include "protocol/Sentence.h"

namespace kavro {
namespace {

using test::Count;
using test::Recorded;

class ExchangeOnSim : public ::testing::Test {
 protected:
  void Open(const sim::Scenario& scenario, sim::SimulatorOptions options = {}, ExchangeTiming timing = {}) {
    sim_ = test::StartSim(scenario, options);
    ASSERT_NE(sim_, nullptr);
    link_.SetTiming(timing);
    ASSERT_TRUE(link_.OpenSelected(sim_->SlavePath(), 38400));
  }
  std::unique_ptr<sim::Simulator> sim_;
  Link link_;
};

TEST_F(ExchangeOnSim, QueriesAndIdentificationReadTheLoggersValues) {
  Open(test::Named("other"));
  const ExchangeResult t = PmtkRequest(link_, 2, 3, 99);  // b is dropped for queries
  ASSERT_TRUE(t.IsReply());
  EXPECT_EQ(ReplyNumber(t.text, false), 150);
  const ExchangeResult pos = PmtkRequest(link_, 2, 8, 0);
  ASSERT_TRUE(pos.IsReply());
  EXPECT_EQ(ReplyNumber(pos.text, true), sim::WritePosition(test::Named("other")));
  const ExchangeResult name = IdentExchange(link_, 5);
  ASSERT_TRUE(name.IsReply());
  EXPECT_EQ(name.text.substr(0, 28), "$KAVRO001,5,Trail-Runner_02*");
  const auto got = sim_->Received();
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0], Recorded("$PMTK182,2,3"));
  EXPECT_EQ(got[2], Recorded("$KAVRO580,5"));
}

TEST_F(ExchangeOnSim, FastModeWritesSixteenBytePieces) {
  Open(test::Named("demo"));
  std::vector<std::size_t> pieces;
  link_.Port().SetTap([&](ByteStream::Direction d, const std::uint8_t*, std::size_t n, bool) {
    if (d == ByteStream::Direction::Out) pieces.push_back(n);
  });
  link_.fastMode = true;
  // 17 fixed characters plus the digits of the two arguments.
  ASSERT_EQ(AppendChecksum(PmtkBody(7, 0x1234567, 0x12345678)).size(), 32u);
  PmtkExchange(link_, 7, 0x1234567, 0x12345678);
  EXPECT_EQ(pieces, (std::vector<std::size_t>{16, 16}));
  pieces.clear();
  ASSERT_EQ(AppendChecksum(PmtkBody(7, 0x12345678, 0x12345678)).size(), 33u);
  PmtkExchange(link_, 7, 0x12345678, 0x12345678);
  EXPECT_EQ(pieces, (std::vector<std::size_t>{16, 16, 1}));
  // The logger got both sentences whole.
  ASSERT_TRUE(sim_->WaitForReceived("$PMTK182,7,12345678", std::chrono::seconds(2)));
  const auto got = sim_->Received();
  EXPECT_EQ(Count(got, Recorded("$PMTK182,7,1234567,12345678")), 1);
  EXPECT_EQ(Count(got, Recorded("$PMTK182,7,12345678,12345678")), 1);
  link_.fastMode = false;
  pieces.clear();
  PmtkExchange(link_, 2, 3, 0);
  EXPECT_EQ(pieces, (std::vector<std::size_t>{AppendChecksum("$PMTK182,2,3").size()}));
}

TEST_F(ExchangeOnSim, EchoedCommandIsSkippedAndTheRealReplyTaken) {
  sim::SimulatorOptions options;
  options.faults.echo = true;
  Open(test::Named("demo"), options);
  const ExchangeResult r = PmtkRequest(link_, 2, 3, 0);
  ASSERT_TRUE(r.IsReply());
  EXPECT_EQ(r.text.rfind("$PMTK182,3,3,", 0), 0u);
  EXPECT_EQ(ReplyNumber(r.text, false), 50);
}

TEST_F(ExchangeOnSim, SplitRepliesAreJoinedAndCorruptedOnesRefused) {
  sim::SimulatorOptions options;
  options.faults.splitBytes = 3;
  Open(test::Named("demo"), options);
  const ExchangeResult r = PmtkRequest(link_, 2, 4, 0);
  ASSERT_TRUE(r.IsReply());
  EXPECT_EQ(ReplyNumber(r.text, false), 1000);

  sim::Faults corrupt;
  corrupt.badChecksumReply = 1;
  sim_->SetFaults(corrupt);
  sim_->ClearReceived();
  const ExchangeResult again = PmtkRequest(link_, 2, 4, 0);
  ASSERT_TRUE(again.IsReply());
  EXPECT_TRUE(HasValidChecksum(again.text));
  // The corrupted first answer made the request go out a second time.
  EXPECT_EQ(Count(sim_->Received(), Recorded("$PMTK182,2,4")), 2);
}

TEST_F(ExchangeOnSim, ResendsRunOutAndSetCommandTimedOut) {
  sim::SimulatorOptions options;
  options.faults.silenceAfterBytes = 0;
  Open(test::Named("demo"), options, test::QuickTiming());
  const ExchangeResult r = PmtkRequest(link_, 2, 1, 0);
  EXPECT_TRUE(r.IsNotConnected());
  EXPECT_EQ(r.text, "Not Connected");
  EXPECT_TRUE(link_.commandTimedOut);
  // The first try and 50 resends.
  ASSERT_TRUE(sim_->WaitForReceived("$PMTK182,2,1", std::chrono::seconds(1)));
  EXPECT_EQ(Count(sim_->Received(), Recorded("$PMTK182,2,1")), 51);
}

TEST_F(ExchangeOnSim, TwoThreadsNeverInterleaveOnTheLine) {
  Open(test::Named("demo"));
  link_.fastMode = true;  // slow pieces: the widest window for interleaving
  constexpr int kEach = 4;
  std::atomic<int> replies{0};
  std::thread a([&] {
    for (int i = 0; i < kEach; ++i)
      if (PmtkExchange(link_, 2, 3, 0).IsReply()) ++replies;
  });
  std::thread b([&] {
    for (int i = 0; i < kEach; ++i)
      if (IdentExchange(link_, 6).IsReply()) ++replies;
  });
  a.join();
  b.join();
  EXPECT_EQ(replies, 2 * kEach);
  const auto got = sim_->Received();
  ASSERT_EQ(got.size(), static_cast<std::size_t>(2 * kEach));
  for (const std::string& s : got) EXPECT_TRUE(s == Recorded("$PMTK182,2,3") || s == Recorded("$KAVRO580,6")) << s;
}

TEST_F(ExchangeOnSim, UnpluggedLoggerGivesNotConnectedAndClosesThePort) {
  Open(test::Named("demo"));
  ASSERT_TRUE(IdentExchange(link_, 6).IsReply());
  sim_->Unplug();
  const ExchangeResult r = IdentExchange(link_, 6);
  EXPECT_TRUE(r.IsNotConnected());
  EXPECT_TRUE(link_.LinkLost());
  EXPECT_FALSE(link_.Port().IsOpen());
  EXPECT_FALSE(link_.portOpen);
  // Every later exchange answers at once.
  EXPECT_TRUE(PmtkRequest(link_, 2, 3, 0).IsNotConnected());
  EXPECT_FALSE(link_.commandTimedOut);
}

TEST(Exchange, NothingIsSentWhileThePortIsClosed) {
  Link link;
  EXPECT_TRUE(IdentExchange(link, 1).IsNotConnected());
  EXPECT_TRUE(PmtkExchange(link, 2, 3, 0).IsNotConnected());
  EXPECT_TRUE(QuickPmtkExchange(link, 2, 8, 0).IsNotConnected());
  // The port was opened but PortOpen says otherwise: the handle is closed.
  test::PtyPair pty;
  ASSERT_TRUE(pty.Ok());
  link.Port().SetPortName(pty.SlavePath());
  ASSERT_TRUE(link.Port().Open());
  EXPECT_TRUE(IdentExchange(link, 1).IsNotConnected());
  EXPECT_FALSE(link.Port().IsOpen());
}

// The own pty peer: the test puts a reply on the line from inside the program's n-th read.
class ExchangeOnPty : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty_.Ok());
    ASSERT_TRUE(link_.OpenSelected(pty_.SlavePath(), 38400));
  }
  // Sends `bytes` right after read number `n` (1-based) of the next exchange.
  void ReplyAfterRead(int n, std::string bytes) {
    reads_ = 0;
    link_.Port().SetTap([this, n, bytes](ByteStream::Direction d, const std::uint8_t*, std::size_t, bool) {
      if (d == ByteStream::Direction::In && ++reads_ == n) pty_.Send(bytes);
    });
  }
  test::PtyPair pty_;
  Link link_;
  int reads_ = 0;
};

TEST_F(ExchangeOnPty, ReplyOnTheLastAllowedPollCounts) {
  // In the queue before read 10 of 10.
  ReplyAfterRead(9, AppendChecksum("$PMTK182,3,3,50"));
  const ExchangeResult r = PmtkExchange(link_, 2, 3, 0);
  ASSERT_TRUE(r.IsReply());
  EXPECT_EQ(ReplyNumber(r.text, false), 50);
  EXPECT_EQ(reads_, 10);
}

TEST_F(ExchangeOnPty, ReplyAfterTheLastPollIsNoReply) {
  ReplyAfterRead(10, AppendChecksum("$PMTK182,3,3,50"));
  const ExchangeResult r = PmtkExchange(link_, 2, 3, 0);
  EXPECT_EQ(r.kind, ExchangeResult::Kind::NoReply);
  EXPECT_EQ(reads_, 10);
}

TEST_F(ExchangeOnPty, AnEchoAloneIsNeverAReply) {
  ReplyAfterRead(1, AppendChecksum("$PMTK182,2,3"));
  EXPECT_EQ(PmtkExchange(link_, 2, 3, 0).kind, ExchangeResult::Kind::NoReply);
  ReplyAfterRead(1, AppendChecksum("$KAVRO580,5"));
  link_.SetTiming([] {
    ExchangeTiming t;
    t.identPolls = 5;
    return t;
  }());
  EXPECT_EQ(IdentExchange(link_, 5).kind, ExchangeResult::Kind::NoReply);
}

TEST_F(ExchangeOnPty, GarbageHalvesAndBadChecksumsAreNotReplies) {
  const std::string good = AppendChecksum("$PMTK182,3,3,50");
  std::string bad = good;
  bad[good.size() - 3] = bad[good.size() - 3] == '0' ? '1' : '0';
  std::string noise = "\x01\xff$$$PMTK182,3,3,\r\n**\r\n$PMTK182,3,3,50*\r\n";
  noise += "$PMTK182,3,3,5";  // a half sentence ...
  noise += bad;                // ... and a whole one with a wrong checksum
  noise += AppendChecksum("$PMTK182,3,4,70");  // a whole reply about another item
  noise += std::string(300, 'Z');
  ReplyAfterRead(2, noise);
  EXPECT_EQ(PmtkExchange(link_, 2, 3, 0).kind, ExchangeResult::Kind::NoReply);
  // The same rubbish followed by the real reply: the real reply is found.
  ReplyAfterRead(2, noise + "\r\n" + good);
  const ExchangeResult r = PmtkExchange(link_, 2, 3, 0);
  ASSERT_TRUE(r.IsReply());
  EXPECT_EQ(r.text, good);
}

TEST_F(ExchangeOnPty, ALateReplyIsTakenByTheNextTryOfTheSameRequest) {
  // The reply to the first try comes after its last poll ...
  ReplyAfterRead(10, AppendChecksum("$PMTK182,3,3,50"));
  EXPECT_EQ(PmtkExchange(link_, 2, 3, 0).kind, ExchangeResult::Kind::NoReply);
  // ... and the second try takes it at its first poll instead of waiting for another.
  const ExchangeResult r = PmtkExchange(link_, 2, 3, 0);
  ASSERT_TRUE(r.IsReply());
  EXPECT_EQ(ReplyNumber(r.text, false), 50);
  EXPECT_EQ(reads_, 11);

  // The same for a reply that arrived half in one try and half in the next.
  const std::string name = AppendChecksum("$KAVRO001,5,Logger1");
  link_.SetTiming([] {
    ExchangeTiming t;
    t.identPolls = 3;
    return t;
  }());
  reads_ = 0;
  link_.Port().SetTap([this, name](ByteStream::Direction d, const std::uint8_t*, std::size_t, bool) {
    if (d != ByteStream::Direction::In) return;
    ++reads_;
    if (reads_ == 3) pty_.Send(name.substr(0, 9));
    if (reads_ == 4) pty_.Send(name.substr(9));
  });
  EXPECT_EQ(IdentExchange(link_, 5).kind, ExchangeResult::Kind::NoReply);
  const ExchangeResult n = IdentExchange(link_, 5);
  ASSERT_TRUE(n.IsReply());
  EXPECT_EQ(n.text, name);
}

TEST_F(ExchangeOnPty, InputThatCannotAnswerTheRequestInFlightIsDropped) {
  // Two answers to one query: the first is the reply; the second, already waiting when the
  // next query goes out, cannot be the reply to that one.
  const std::string reply = AppendChecksum("$PMTK182,3,3,50");
  ReplyAfterRead(1, reply + reply);
  ASSERT_TRUE(PmtkExchange(link_, 2, 3, 0).IsReply());
  link_.Port().SetTap({});
  EXPECT_EQ(PmtkExchange(link_, 2, 3, 0).kind, ExchangeResult::Kind::NoReply);

  // A late answer to one request is not taken for another, nor kept for a later one.
  ReplyAfterRead(10, AppendChecksum("$PMTK182,3,3,50"));
  EXPECT_EQ(PmtkExchange(link_, 2, 3, 0).kind, ExchangeResult::Kind::NoReply);
  link_.Port().SetTap({});
  EXPECT_EQ(PmtkExchange(link_, 2, 4, 0).kind, ExchangeResult::Kind::NoReply);
  EXPECT_EQ(PmtkExchange(link_, 2, 3, 0).kind, ExchangeResult::Kind::NoReply);
}

TEST_F(ExchangeOnPty, AnAcknowledgementCountsOnlyForTheCommandItNames) {
  link_.SetTiming([] {
    ExchangeTiming t;
    t.erasePolls = 5;
    return t;
  }());
  // A settings acknowledgement arriving during the erase is not the erase's.
  ReplyAfterRead(1, AppendChecksum("$PMTK001,182,1,3") + AppendChecksum("$PMTK001,400,3"));
  EXPECT_EQ(PmtkExchange(link_, 6, 1, 0).kind, ExchangeResult::Kind::NoReply);
  ReplyAfterRead(1, AppendChecksum("$PMTK001,182,1,3") + AppendChecksum("$PMTK001,182,6,3"));
  const ExchangeResult r = PmtkExchange(link_, 6, 1, 0);
  ASSERT_TRUE(r.IsReply());
  EXPECT_EQ(r.text, AppendChecksum("$PMTK001,182,6,3"));
  ReplyAfterRead(1, AppendChecksum("$PMTK001,182,1,3") + AppendChecksum("$PMTK001,400,3"));
  const ExchangeResult hello = PmtkExchange(link_, 400, 0, 0);
  ASSERT_TRUE(hello.IsReply());
  EXPECT_EQ(hello.text, AppendChecksum("$PMTK001,400,3"));
}

TEST_F(ExchangeOnSim, RepliesInPiecesReachTheQuickQueryAndTheOnePollMemoryRead) {
  // 8 bytes every 50 ms, as a slow USB bridge might deliver: a reply takes longer than the
  // one wait of the quick query and the one poll of the memory read.
  sim::SimulatorOptions options;
  options.faults.splitBytes = 8;
  Open(test::Named("wrapped"), options);
  std::optional<ExchangeResult> quick;
  for (int i = 0; i < 30 && !quick; ++i) {
    ExchangeResult q = QuickPmtkExchange(link_, 2, 8, 0);
    if (q.IsReply()) quick = std::move(q);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_TRUE(quick.has_value());
  EXPECT_EQ(static_cast<std::uint32_t>(ReplyNumber(quick->text, true)), sim_->WritePosition());

  const ExchangeResult r = PmtkRequest(link_, 7, 0x1F0000, 16);
  ASSERT_TRUE(r.IsReply());
  EXPECT_EQ(r.text.rfind("$PMTK182,8,001F0000,", 0), 0u);
}

}  // namespace
}  // namespace kavro
