#include "protocol/TrackLogSettings.h"

#include <gtest/gtest.h>

#include "common/Texts.h"
#include "support/SimLink.h"
#include "protocol/ConnectFlow.h"

namespace kavro {
namespace {

using test::Recorded;

TEST(TrackLogSettings, DefaultsFollowTheUnit) {
  TrackLogSettings s;
  EXPECT_EQ(s.timeInterval, 5);
  EXPECT_EQ(s.secondsIndex, 1);
  EXPECT_EQ(s.distanceInterval, 1000);
  EXPECT_EQ(s.recordMode, 2);
  EXPECT_EQ(s.basis, 0);
  EXPECT_EQ(s.UnitTextId(), txt::Meter);
  s.feet = 1;
  s.Defaults();
  EXPECT_EQ(s.distanceInterval, 304);
  EXPECT_EQ(s.UnitTextId(), txt::Feet);
}

TEST(TrackLogSettings, RefreshTakesTheLoggersValues) {
  DeviceInfo d;
  d.freeRecords = 1000;
  d.timeInterval = 20;  // 2 s: not in the list
  d.distanceInterval = 1524;
  d.distanceUnit = 1;
  d.recordMode = 1;
  d.basis = 1;
  TrackLogSettings s;
  s.RefreshFromDevice(d);
  EXPECT_TRUE(s.controlsEnabled);
  EXPECT_EQ(s.timeInterval, 2);
  EXPECT_EQ(s.secondsIndex, 1);
  EXPECT_EQ(s.distanceInterval, 1524);
  EXPECT_EQ(s.distanceIndex, 4);
  EXPECT_EQ(s.recordMode, 1);
  EXPECT_EQ(s.basis, 1);
  // A distance in neither column leaves list and field as they were.
  d.distanceInterval = 777;
  d.timeInterval = 1200;
  s.RefreshFromDevice(d);
  EXPECT_EQ(s.distanceInterval, 1524);
  EXPECT_EQ(s.distanceIndex, 4);
  EXPECT_EQ(s.secondsIndex, 6);
}

TEST(TrackLogSettings, ThreeFreeRecordsDisableTheControls) {
  DeviceInfo d;
  d.freeRecords = 3;
  d.timeInterval = 600;
  TrackLogSettings s;
  s.RefreshFromDevice(d);
  EXPECT_FALSE(s.controlsEnabled);
  EXPECT_EQ(s.timeInterval, 5);  // untouched
  d.freeRecords = 4;
  s.RefreshFromDevice(d);
  EXPECT_TRUE(s.controlsEnabled);
  EXPECT_EQ(s.timeInterval, 60);
}

TEST(TrackLogSettings, HandlersIgnoreIndexesOutsideTheLists) {
  TrackLogSettings s;
  s.SelectSecondsIndex(7);
  s.SelectDistanceIndex(-1);
  s.SelectRecordMode(3);
  EXPECT_EQ(s.timeInterval, 5);
  EXPECT_EQ(s.distanceInterval, 1000);
  EXPECT_EQ(s.recordMode, 2);
  s.feet = 1;
  s.SelectDistanceIndex(1);
  EXPECT_EQ(s.distanceInterval, 304);
  s.feet = 0;
  s.SelectDistanceIndex(5);
  EXPECT_EQ(s.distanceInterval, 10000);
  EXPECT_EQ(TrackLogSettings::SecondsIndexOf(30), 4);
  EXPECT_FALSE(TrackLogSettings::DistanceIndexOf(200).has_value());
}

class SettingsOnSim : public ::testing::Test {
 protected:
  void ConnectTo(const sim::Scenario& scenario, ExchangeTiming timing = {}) {
    sim::SimulatorOptions options;
    options.eraseDelay = std::chrono::milliseconds(100);
    sim_ = test::StartSim(scenario, options);
    ASSERT_NE(sim_, nullptr);
    link_.SetTiming(timing);
    ASSERT_EQ(Connect(link_, device_, sim_->SlavePath(), 38400, {}).outcome, ConnectOutcome::Connected);
    settings_.RefreshFromDevice(device_);
    sim_->ClearReceived();
  }
  SettingsOutcome Apply() {
    statuses_.clear();
    return ApplySettings(link_, device_, settings_, [this](int id) { statuses_.push_back(id); });
  }
  std::unique_ptr<sim::Simulator> sim_;
  Link link_;
  DeviceState device_;
  TrackLogSettings settings_;
  std::vector<int> statuses_;
};

TEST_F(SettingsOnSim, ApplyWithNothingChangedSendsNothing) {
  ConnectTo(test::Named("other"));
  EXPECT_EQ(Apply(), SettingsOutcome::Done);
  EXPECT_TRUE(sim_->Received().empty());
  EXPECT_EQ(statuses_, (std::vector<int>{txt::UpdatingSecond, txt::UpdatingDistance, txt::UpdatingRecordStyle,
                                         txt::UpdatingSuccess}));
}

TEST_F(SettingsOnSim, FiveSecondsAndOverwriteAndBasisAreWritten) {
  ConnectTo(test::Named("other"));  // 15 s, stop when full, by distance
  settings_.SelectSecondsIndex(*TrackLogSettings::SecondsIndexOf(5));
  settings_.SelectRecordMode(1);
  settings_.SelectBasis(0);
  EXPECT_EQ(Apply(), SettingsOutcome::Done);
  EXPECT_EQ(sim_->Received(), (std::vector<std::string>{Recorded("$PMTK182,1,3,50"), Recorded("$PMTK182,1,6,1"),
                                                         Recorded("$KAVRO580,9,0")}));
  EXPECT_EQ(sim_->TimeInterval(), 50);
  EXPECT_EQ(sim_->RecordMode(), 1);
  EXPECT_EQ(sim_->Basis(), 0);
  const DeviceInfo d = device_.Snapshot();
  EXPECT_EQ(d.timeInterval, 50);
  EXPECT_EQ(d.recordMode, 1);
  EXPECT_EQ(d.basis, 0);
  // Written once: a second Apply has nothing left to do.
  sim_->ClearReceived();
  EXPECT_EQ(Apply(), SettingsOutcome::Done);
  EXPECT_TRUE(sim_->Received().empty());
}

TEST_F(SettingsOnSim, HundredFeetIsWrittenInTenthsOfAMetre) {
  sim::Scenario s = test::Named("other");
  s.distanceInterval = 1524;  // 500 ft
  ConnectTo(s);
  ASSERT_EQ(settings_.feet, 1);
  ASSERT_EQ(settings_.distanceIndex, 4);
  settings_.SelectDistanceIndex(*TrackLogSettings::DistanceIndexOf(100));
  EXPECT_EQ(Apply(), SettingsOutcome::Done);
  EXPECT_EQ(sim_->Received(), (std::vector<std::string>{Recorded("$PMTK182,1,4,304")}));
  EXPECT_EQ(sim_->DistanceInterval(), 304);
}

TEST_F(SettingsOnSim, FailedWriteSaysSoAndIsTriedAgain) {
  ConnectTo(test::Named("other"), test::QuickTiming());
  sim::Faults silent;
  silent.silenceAfterBytes = 0;
  sim_->SetFaults(silent);
  settings_.SelectSecondsIndex(*TrackLogSettings::SecondsIndexOf(5));
  EXPECT_EQ(Apply(), SettingsOutcome::Failed);
  EXPECT_EQ(statuses_.back(), txt::ConnectionFailedSettings);
  EXPECT_EQ(std::count(statuses_.begin(), statuses_.end(), txt::UpdatingSuccess), 0);
  EXPECT_EQ(device_.Snapshot().timeInterval, 150);  // still what the logger has
  link_.commandTimedOut = false;

  sim_->SetFaults({});
  sim_->ClearReceived();
  EXPECT_EQ(Apply(), SettingsOutcome::Done);
  EXPECT_EQ(sim_->Received(), (std::vector<std::string>{Recorded("$PMTK182,1,3,50")}));
  EXPECT_EQ(sim_->TimeInterval(), 50);
  EXPECT_EQ(device_.Snapshot().timeInterval, 50);
}

TEST_F(SettingsOnSim, ClearEmptiesTheLogAndUpdatesTheFreeRecords) {
  ConnectTo(test::Named("demo"));
  ASSERT_LT(device_.Snapshot().freeRecords, 131072);
  std::vector<int> statuses;
  EXPECT_EQ(ClearLog(link_, device_, [&](int id) { statuses.push_back(id); }), SettingsOutcome::Done);
  EXPECT_EQ(statuses, (std::vector<int>{txt::StartClearing, txt::ClearSucceed}));
  EXPECT_EQ(sim_->State().eraseCount, 1);
  const DeviceInfo d = device_.Snapshot();
  EXPECT_EQ(d.freeRecords, 131072);
  EXPECT_EQ(d.memoryText, "131072");
  EXPECT_EQ(d.logUsedSize, 0u);
  EXPECT_EQ(sim_->Received().front(), Recorded("$PMTK182,6,1"));
}

TEST_F(SettingsOnSim, ClearThatIsNeverAcknowledgedFails) {
  ExchangeTiming timing = test::QuickTiming();
  timing.erasePolls = 5;
  ConnectTo(test::Named("demo"), timing);
  sim::Faults silent;
  silent.silenceAfterBytes = 0;
  sim_->SetFaults(silent);
  std::vector<int> statuses;
  EXPECT_EQ(ClearLog(link_, device_, [&](int id) { statuses.push_back(id); }), SettingsOutcome::Failed);
  EXPECT_EQ(statuses, (std::vector<int>{txt::StartClearing, txt::ConnectionFailedSettings}));
  EXPECT_EQ(test::AwaitCount(*sim_, Recorded("$PMTK182,6,1"), timing.erasePasses), timing.erasePasses);
}

TEST(Settings, NothingHappensWithoutAPort) {
  Link link;
  DeviceState device;
  TrackLogSettings settings;
  settings.SelectSecondsIndex(0);
  std::vector<int> statuses;
  auto report = [&](int id) { statuses.push_back(id); };
  EXPECT_EQ(ApplySettings(link, device, settings, report), SettingsOutcome::NotConnected);
  EXPECT_TRUE(statuses.empty());
  EXPECT_EQ(ClearLog(link, device, report), SettingsOutcome::NotConnected);
  EXPECT_EQ(statuses, (std::vector<int>{txt::ClearFailedNoDevice}));
}

TEST_F(SettingsOnSim, FullLoggerDisablesTheSettings) {
  ConnectTo(test::Named("full"), test::QuickTiming());
  EXPECT_EQ(device_.Snapshot().freeRecords, 3);
  EXPECT_FALSE(settings_.controlsEnabled);
}

}  // namespace
}  // namespace kavro
