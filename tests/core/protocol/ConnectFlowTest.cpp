#include "protocol/ConnectFlow.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "common/Texts.h"
#include "support/SimLink.h"
#include "protocol/Exchange.h"
#include "protocol/KeepAlive.h"
#include "protocol/Sentence.h"

namespace kavro {
namespace {

using test::Count;
using test::Recorded;

class ConnectOnSim : public ::testing::Test {
 protected:
  ConnectResult ConnectTo(const sim::Scenario& scenario, sim::SimulatorOptions options = {},
                          ExchangeTiming timing = {}) {
    sim_ = test::StartSim(scenario, options);
    if (!sim_) return {};
    link_.SetTiming(timing);
    return Connect(link_, device_, sim_->SlavePath(), 38400, [this](int id) { statuses_.push_back(id); });
  }
  std::unique_ptr<sim::Simulator> sim_;
  Link link_;
  DeviceState device_;
  std::vector<int> statuses_;
};

TEST_F(ConnectOnSim, DemoLoggerFillsEveryValue) {
  const sim::Scenario s = test::Named("demo");
  const ConnectResult r = ConnectTo(s);
  ASSERT_EQ(r.outcome, ConnectOutcome::Connected);
  EXPECT_TRUE(r.portHeld);
  EXPECT_TRUE(link_.SessionActive());
  EXPECT_EQ(statuses_, (std::vector<int>{txt::Connecting, txt::DeviceConnected}));
  const DeviceInfo d = device_.Snapshot();
  EXPECT_EQ(d.model, DeviceModel::T580);
  EXPECT_EQ(d.versionText, "[ V1.25 ][ V12]");
  EXPECT_EQ(d.timeInterval, 50);
  EXPECT_EQ(d.distanceInterval, 1000);
  EXPECT_EQ(d.recordMode, 1);
  EXPECT_EQ(d.logUsedSize, sim::WritePosition(s));
  EXPECT_EQ(d.freeRecords, static_cast<int>((0x200000 - sim::WritePosition(s)) / 16));
  EXPECT_EQ(d.memoryText, std::to_string(d.freeRecords));
  EXPECT_EQ(d.logWrapped, 0);
  EXPECT_EQ(d.userName, "Logger1");
  EXPECT_EQ(d.basis, 0);
  EXPECT_TRUE(d.basisValid);
  EXPECT_EQ(d.timeZone, "+08:00");
  EXPECT_TRUE(d.timeZoneValid);
  EXPECT_EQ(d.distanceUnit, 0);
  EXPECT_TRUE(d.distanceUnitValid);
  EXPECT_NE(d.connectTime, std::chrono::system_clock::time_point{});
  // The order on the line: settings queries first, then identification.
  const auto got = sim_->Received();
  ASSERT_GE(got.size(), 8u);
  EXPECT_EQ(got[0], Recorded("$PMTK182,2,1"));
  EXPECT_EQ(got[1], Recorded("$PMTK400"));
  EXPECT_EQ(got[5], Recorded("$PMTK182,2,8"));
  EXPECT_EQ(got[6], Recorded("$KAVRO580,1"));
}

TEST_F(ConnectOnSim, OtherLoggerFillsEveryValueDifferently) {
  const sim::Scenario s = test::Named("other");
  ASSERT_EQ(ConnectTo(s).outcome, ConnectOutcome::Connected);
  const DeviceInfo d = device_.Snapshot();
  EXPECT_EQ(d.versionText, "[ V1.31 ][ V21]");
  EXPECT_EQ(d.timeInterval, 150);
  EXPECT_EQ(d.distanceInterval, 304);
  EXPECT_EQ(d.recordMode, 2);
  EXPECT_EQ(d.logUsedSize, sim::WritePosition(s));
  EXPECT_EQ(d.userName, "Trail-Runner_02");
  EXPECT_EQ(d.basis, 1);
  EXPECT_EQ(d.timeZone, "-05:00");
  EXPECT_EQ(d.distanceUnit, 1);
  EXPECT_EQ(d.logWrapped, 0);
}

TEST_F(ConnectOnSim, WrappedMemoryAndTheZeroZone) {
  ASSERT_EQ(ConnectTo(test::Named("wrapped")).outcome, ConnectOutcome::Connected);
  const DeviceInfo d = device_.Snapshot();
  EXPECT_EQ(d.logWrapped, 1);
  EXPECT_EQ(d.timeZone, " 00:00");  // the logger said "00000:0"
  EXPECT_EQ(Count(sim_->Received(), Recorded("$PMTK182,7,1F0000,10")), 1);
}

TEST_F(ConnectOnSim, EmptyLoggerHasAllRecordsFree) {
  ASSERT_EQ(ConnectTo(test::Named("empty")).outcome, ConnectOutcome::Connected);
  EXPECT_EQ(device_.Snapshot().freeRecords, 131072);
  EXPECT_EQ(device_.Snapshot().memoryText, "131072");
}

TEST_F(ConnectOnSim, LastSlotWrittenShowsZeroFree) {
  sim::Scenario s = test::Named("empty");
  s.written.assign(memory::kSlotCount - 1, sim::FillSlot());
  ASSERT_EQ(sim::WritePosition(s), 2097136u);
  ASSERT_EQ(ConnectTo(s, {}, test::QuickTiming()).outcome, ConnectOutcome::Connected);
  EXPECT_EQ(device_.Snapshot().freeRecords, 1);
  EXPECT_EQ(device_.Snapshot().memoryText, "0");
}

TEST_F(ConnectOnSim, SilentFromTheStartEndsInTimeout) {
  sim::SimulatorOptions options;
  options.faults.silenceAfterBytes = 0;
  const ConnectResult r = ConnectTo(test::Named("demo"), options, test::QuickTiming());
  EXPECT_EQ(r.outcome, ConnectOutcome::TimedOut);
  EXPECT_FALSE(r.portHeld);
  EXPECT_FALSE(link_.Port().IsOpen());
  EXPECT_FALSE(link_.SessionActive());
  EXPECT_FALSE(link_.commandTimedOut);
  EXPECT_EQ(device_.Model(), DeviceModel::None);
  EXPECT_EQ(statuses_, (std::vector<int>{txt::Connecting, txt::TimeoutDisconnected}));
}

TEST_F(ConnectOnSim, LoggerFallingSilentMidConnectEndsWithinTheBound) {
  // The logger answers the settings queries and the first identification, then says nothing.
  const sim::Scenario s = test::Named("demo");
  char position[16];
  std::snprintf(position, sizeof position, "%08X", sim::WritePosition(s));
  std::size_t bytes = 0;
  for (const std::string body : {"$PMTK182,3,1,0000003F", "$PMTK001,400,3", "$PMTK182,3,3,50", "$PMTK182,3,4,1000",
                                 "$PMTK182,3,6,1", "$KAVRO001,1,T580"})
    bytes += AppendChecksum(body).size();
  bytes += AppendChecksum(std::string("$PMTK182,3,8,") + position).size();
  sim::SimulatorOptions options;
  options.faults.silenceAfterBytes = static_cast<std::int64_t>(bytes);
  const ExchangeTiming timing = test::QuickTiming();
  const ConnectResult r = ConnectTo(s, options, timing);
  EXPECT_EQ(r.outcome, ConnectOutcome::Failed);
  EXPECT_EQ(statuses_.back(), txt::ConnectFailed);
  EXPECT_EQ(device_.Model(), DeviceModel::None);
  // Every step had its full count of tries, and no more: 20 firmware reads, one hardware
  // read (both may go missing), then the bounded free-memory queries (one write-position query
  // came before), whose failure ends the connect.
  // The last query may still be on its way into the simulator.
  EXPECT_EQ(test::AwaitCount(*sim_, Recorded("$PMTK182,2,8"), 1 + timing.freeMemoryAttempts),
            1 + timing.freeMemoryAttempts);
  const auto got = sim_->Received();
  EXPECT_EQ(Count(got, Recorded("$KAVRO580,3")), 20);
  EXPECT_EQ(Count(got, Recorded("$KAVRO580,7")), 1);
  EXPECT_EQ(Count(got, Recorded("$KAVRO580,5")), 0);
  // The port stays open (the button offers Disconnect), as after any failed query.
  EXPECT_TRUE(r.portHeld);
}

TEST_F(ConnectOnSim, AFirmwareVersionThatNeverComesLeavesTheConnectGoingOn) {
  sim::SimulatorOptions options;
  options.faults.unanswered = "$KAVRO580,3*";
  const ExchangeTiming timing = test::QuickTiming();
  const ConnectResult r = ConnectTo(test::Named("demo"), options, timing);
  EXPECT_EQ(r.outcome, ConnectOutcome::Connected);
  EXPECT_EQ(Count(sim_->Received(), Recorded("$KAVRO580,3")), 20);
  const DeviceInfo d = device_.Snapshot();
  EXPECT_EQ(d.userName, "Logger1");
  EXPECT_EQ(d.freeRecords, FreeRecordsFor(sim::WritePosition(test::Named("demo"))));
  EXPECT_EQ(statuses_.back(), txt::DeviceConnected);
}

TEST_F(ConnectOnSim, AUserNameThatNeverComesEndsAfterOneRoundOfReads) {
  sim::SimulatorOptions options;
  options.faults.unanswered = "$KAVRO580,5*";
  const ExchangeTiming timing = test::QuickTiming();
  const ConnectResult r = ConnectTo(test::Named("demo"), options, timing);
  EXPECT_EQ(r.outcome, ConnectOutcome::Failed);
  EXPECT_EQ(statuses_.back(), txt::ConnectFailed);
  EXPECT_EQ(Count(sim_->Received(), Recorded("$KAVRO580,5")), timing.userNameAttempts);
  EXPECT_EQ(Count(sim_->Received(), Recorded("$PMTK182,7,1F0000,10")), 0);
}

TEST_F(ConnectOnSim, LateSplitAndEchoedRepliesGiveTheSameValues) {
  ASSERT_EQ(ConnectTo(test::Named("other")).outcome, ConnectOutcome::Connected);
  const DeviceInfo clean = device_.Snapshot();
  for (int kind = 0; kind < 3; ++kind) {
    sim::Faults faults;
    if (kind == 0) faults.replyDelay = std::chrono::milliseconds(200);
    if (kind == 1) faults.splitBytes = 8;
    if (kind == 2) faults.echo = true;
    link_.ClosePort();
    link_.EndSession();
    device_.Update([](DeviceInfo& d) { d = DeviceInfo(); });
    sim::SimulatorOptions options;
    options.faults = faults;
    ASSERT_EQ(ConnectTo(test::Named("other"), options).outcome, ConnectOutcome::Connected)
        << faults.replyDelay.count() << " ms late, pieces of " << faults.splitBytes << ", echo " << faults.echo;
    const DeviceInfo d = device_.Snapshot();
    EXPECT_EQ(d.versionText, clean.versionText);
    EXPECT_EQ(d.memoryText, clean.memoryText);
    EXPECT_EQ(d.userName, clean.userName);
    EXPECT_EQ(d.timeInterval, clean.timeInterval);
    EXPECT_EQ(d.distanceInterval, clean.distanceInterval);
    EXPECT_EQ(d.recordMode, clean.recordMode);
    EXPECT_EQ(d.logUsedSize, clean.logUsedSize);
    EXPECT_EQ(d.logWrapped, clean.logWrapped);
    EXPECT_EQ(d.basis, clean.basis);
    EXPECT_TRUE(d.basisValid);
    EXPECT_EQ(d.timeZone, clean.timeZone);
    EXPECT_TRUE(d.timeZoneValid);
    EXPECT_EQ(d.distanceUnit, clean.distanceUnit);
    EXPECT_TRUE(d.distanceUnitValid);
  }
}

TEST_F(ConnectOnSim, MissingPortFailsWithItsReason) {
  const ConnectResult r =
      Connect(link_, device_, "/dev/kavro-no-such-port", 38400, [this](int id) { statuses_.push_back(id); });
  EXPECT_EQ(r.outcome, ConnectOutcome::Failed);
  EXPECT_EQ(r.openError, OpenError::Missing);
  EXPECT_FALSE(r.portHeld);
  EXPECT_FALSE(link_.SessionActive());
  EXPECT_EQ(statuses_, (std::vector<int>{txt::Connecting, txt::ConnectFailed}));
}

TEST_F(ConnectOnSim, BusyPortFailsWithItsReason) {
  sim_ = test::StartSim(test::Named("demo"));
  ASSERT_NE(sim_, nullptr);
  SerialPort other;
  other.SetPortName(sim_->SlavePath());
  ASSERT_TRUE(other.Open());
  const ConnectResult r = Connect(link_, device_, sim_->SlavePath(), 38400, {});
  EXPECT_EQ(r.outcome, ConnectOutcome::Failed);
  EXPECT_EQ(r.openError, OpenError::Busy);
}

TEST_F(ConnectOnSim, ConnectWithThePortOpenSkipsTheQueries) {
  ASSERT_EQ(ConnectTo(test::Named("demo")).outcome, ConnectOutcome::Connected);
  sim_->ClearReceived();
  ASSERT_EQ(ConnectFlow(link_, device_, sim_->SlavePath(), 38400, {}).outcome, ConnectOutcome::Connected);
  const auto got = sim_->Received();
  EXPECT_EQ(got.front(), Recorded("$KAVRO580,1"));
  EXPECT_EQ(Count(got, Recorded("$PMTK400")), 0);
  EXPECT_EQ(Count(got, Recorded("$PMTK182,2,1")), 0);
}

TEST_F(ConnectOnSim, KeepAliveSendsWhileOnAndStopsWhenOff) {
  ExchangeTiming timing = test::QuickTiming();
  timing.keepAlivePeriod = std::chrono::milliseconds(20);
  ASSERT_EQ(ConnectTo(test::Named("demo"), {}, timing).outcome, ConnectOutcome::Connected);
  KeepAlive keepAlive(link_);
  keepAlive.SetEnabled(true);
  ASSERT_TRUE(sim_->WaitForReceived("$KAVRO580,6", std::chrono::seconds(10)));
  keepAlive.SetEnabled(false);
  const long sent = Count(sim_->Received(), "$KAVRO580,6");
  EXPECT_EQ(sent, keepAlive.SentCount());
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(Count(sim_->Received(), "$KAVRO580,6"), sent);
}

TEST_F(ConnectOnSim, KeepAliveReportsAnUnpluggedLogger) {
  ExchangeTiming timing = test::QuickTiming();
  timing.keepAlivePeriod = std::chrono::milliseconds(20);
  ASSERT_EQ(ConnectTo(test::Named("demo"), {}, timing).outcome, ConnectOutcome::Connected);
  std::mutex m;
  std::condition_variable cv;
  bool lost = false;
  KeepAlive keepAlive(link_);
  keepAlive.SetLostHandler([&] {
    std::lock_guard<std::mutex> lock(m);
    lost = true;
    cv.notify_all();
  });
  keepAlive.SetEnabled(true);
  sim_->Unplug();
  std::unique_lock<std::mutex> lock(m);
  EXPECT_TRUE(cv.wait_for(lock, std::chrono::seconds(10), [&] { return lost; }));
  EXPECT_TRUE(link_.LinkLost());
  EXPECT_FALSE(keepAlive.Enabled());
}

}  // namespace
}  // namespace kavro

namespace kavro {
namespace {

TEST(KeepAlive, StaysOutOfTheWayOfAnExchangeInProgress) {
  auto sim = test::StartSim(test::Named("demo"));
  ASSERT_NE(sim, nullptr);
  ExchangeTiming timing = test::QuickTiming();
  timing.keepAlivePeriod = std::chrono::milliseconds(5);
  Link link(timing);
  ASSERT_TRUE(link.OpenSelected(sim->SlavePath(), 38400));
  link.BeginSession();
  KeepAlive keepAlive(link);
  {
    // Someone holds the line (as the download does) and switches the keep-alive off meanwhile.
    auto line = link.Lock();
    keepAlive.SetEnabled(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    keepAlive.SetEnabled(false);
  }
  EXPECT_EQ(keepAlive.SentCount(), 0);
  EXPECT_TRUE(sim->Received().empty());
}

}  // namespace
}  // namespace kavro
