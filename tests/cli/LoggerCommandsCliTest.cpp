// kavro ports, info, set-name, settings and clear, run as programs against the simulated logger.
#include <gtest/gtest.h>

#include "support/KavroRun.h"
#include "support/PtyPair.h"
#include "support/TerminalRun.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "Simulator.h"
#include "serial/SerialPort.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;

using test::Has;
using test::Kavro;

std::string Expected(const sim::Scenario& s, const std::string& version, const std::string& mode,
                     const std::string& basis, const std::string& unit) {
  const std::uint32_t pos = sim::WritePosition(s);
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08x", pos);
  return "Device Type: T-580\n[FW] [HW] Version: " + version + "\nMemory Usage: " +
         std::to_string((0x200000 - pos) / 16) + " free records\nUser Name: " + s.userName +
         "\nTime interval: " + std::to_string(s.timeInterval) + " tenths of a second\nDistance interval: " +
         std::to_string(s.distanceInterval) + " tenths of a metre\nRecord mode: " + mode + "\nWrite position: " + hex +
         " (" + std::to_string(pos) + ")\nMemory wrapped: no\nRecording basis: " + basis + "\nTime zone: " +
         s.timeZone + "\nDistance unit: " + unit + "\n";
}

class LoggerCli : public ::testing::Test {
 protected:
  // A simulated logger in this process, so its record of sentences can be checked.
  std::string Start(const std::string& scenario) {
    std::string error;
    sim::SimulatorOptions options;
    options.eraseDelay = std::chrono::milliseconds(100);
    sim_ = sim::StartSimulator(scenario, &error, options);
    if (!sim_) ADD_FAILURE() << error;
    return sim_ ? " --port " + sim_->SlavePath() : std::string();
  }
  std::unique_ptr<sim::Simulator> sim_;
};

TEST_F(LoggerCli, InfoSimulatePrintsEveryValueOfTwoDifferentLoggers) {
  const test::CliRun demo = Kavro("info --simulate");
  ASSERT_EQ(demo.status, 0) << demo.err;
  EXPECT_EQ(demo.out, Expected(*sim::ScenarioByName("demo"), "[ V1.25 ][ V12]", "Overwrite", "Second", "meter"));
  EXPECT_TRUE(Has(demo.err, "Device Connected!"));
  const test::CliRun other = Kavro("info --simulate=other");
  ASSERT_EQ(other.status, 0) << other.err;
  EXPECT_EQ(other.out, Expected(*sim::ScenarioByName("other"), "[ V1.31 ][ V21]", "Full and Stop", "Distance", "ft"));
}

TEST_F(LoggerCli, InfoSaysGoodbyeAndLetsThePortGo) {
  const std::string port = Start("wrapped");
  const test::CliRun r = Kavro("info" + port);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Has(r.out, "Memory wrapped: yes\n"));
  EXPECT_TRUE(Has(r.out, "Time zone:  00:00\n"));
  const auto got = sim_->Received();
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.back().substr(0, 12), "$KAVRO580,2*");
  SerialPort again;
  again.SetPortName(sim_->SlavePath());
  EXPECT_TRUE(again.Open());
}

TEST_F(LoggerCli, TraceShowsEveryByteInHex) {
  const test::CliRun quiet = Kavro("info --simulate");
  EXPECT_FALSE(Has(quiet.err, "kavro > "));
  const test::CliRun traced = Kavro("info --simulate", "KAVRO_TRACE=1");
  ASSERT_EQ(traced.status, 0) << traced.err;
  // $PMTK182,2,1 goes out first, the logger's goodbye answer comes in last.
  EXPECT_TRUE(Has(traced.err, "] 24 50 4D 54 4B 31 38 32 2C 32 2C 31 2A")) << traced.err;
  EXPECT_TRUE(Has(traced.err, "|$KAVRO001,2,OK*"));
  EXPECT_EQ(traced.out, quiet.out);
}

TEST_F(LoggerCli, PortFailuresNameThePortAndTheReason) {
  const test::CliRun missing = Kavro("info --port /dev/kavro-no-such-port");
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(Has(missing.err, "The port /dev/kavro-no-such-port does not exist.")) << missing.err;
  const std::string port = Start("demo");
  SerialPort holder;
  holder.SetPortName(sim_->SlavePath());
  ASSERT_TRUE(holder.Open());
  const test::CliRun busy = Kavro("clear --yes" + port);
  EXPECT_EQ(busy.status, 1);
  EXPECT_TRUE(Has(busy.err, "The port " + sim_->SlavePath() + " is in use by another program.")) << busy.err;
  EXPECT_EQ(sim_->State().eraseCount, 0);
}

// Nothing answers on the port: the timeout is said once, then where it listened and what to try.
TEST_F(LoggerCli, PortWhereNothingAnswersSaysSoOnce) {
  test::PtyPair silent;
  ASSERT_TRUE(silent.Ok());
  const test::CliRun r = Kavro("info --port " + silent.SlavePath());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Connecting to device...\nTimeout. Device Disconnected!\nNothing answered on " + silent.SlavePath() +
                       ". \"kavro ports\" lists the ports and the one Auto Detect picks; name another with --port.\n");
}

TEST_F(LoggerCli, SetNameChecksFirstAndSendsNothingWhenWrong) {
  const std::string port = Start("demo");
  const test::CliRun spaced = Kavro("set-name 'Bad Name'" + port);
  EXPECT_EQ(spaced.status, 1);
  EXPECT_TRUE(Has(spaced.err, "UserName is not Correct!!")) << spaced.err;
  const test::CliRun foreign = Kavro("set-name 'Gr\xc3\xbc\xc3\x9f" "e'" + port);
  EXPECT_EQ(foreign.status, 1);
  EXPECT_TRUE(Has(foreign.err, "Allow only ASCII English alphabet and symbol")) << foreign.err;
  EXPECT_TRUE(sim_->Received().empty());
  const test::CliRun good = Kavro("set-name Hiker-16-chars-X" + port);
  ASSERT_EQ(good.status, 0) << good.err;
  EXPECT_EQ(sim_->UserName(), "Hiker-16-chars-X");
}

TEST_F(LoggerCli, SettingsApplyLikeApplyAll) {
  const std::string port = Start("other");
  const test::CliRun r = Kavro("settings --seconds 5 --mode overwrite --basis=time" + port);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(sim_->TimeInterval(), 50);
  EXPECT_EQ(sim_->RecordMode(), 1);
  EXPECT_EQ(sim_->Basis(), 0);
  EXPECT_EQ(sim_->DistanceInterval(), 304);  // not asked for, not written
  EXPECT_TRUE(Has(r.out, "Time interval: 50 tenths of a second\n"));
  EXPECT_TRUE(Has(r.out, "Record mode: Overwrite\n"));
  EXPECT_TRUE(Has(r.err, "Updating Settings Successfully!"));
  const test::CliRun shown = Kavro("settings" + port);
  ASSERT_EQ(shown.status, 0);
  EXPECT_TRUE(Has(shown.out, "Recording basis: Second\n"));
}

TEST_F(LoggerCli, SettingsRefuseValuesOutsideTheListsAndAFullLogger) {
  const test::CliRun seven = Kavro("settings --simulate --seconds 7");
  EXPECT_EQ(seven.status, 2);
  EXPECT_TRUE(Has(seven.err, "--seconds 7 is not in the list"));
  EXPECT_EQ(Kavro("settings --simulate --mode sometimes").status, 2);
  EXPECT_EQ(Kavro("settings --simulate --distance").status, 2);
  const std::string port = Start("full");
  const test::CliRun full = Kavro("settings --seconds 1" + port);
  EXPECT_EQ(full.status, 1);
  EXPECT_TRUE(Has(full.err, "3 or fewer free records"));
  EXPECT_EQ(sim_->TimeInterval(), 50);
}

TEST_F(LoggerCli, ClearEmptiesTheLog) {
  const std::string port = Start("demo");
  const test::CliRun r = Kavro("clear --yes" + port);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(sim_->State().eraseCount, 1);
  EXPECT_EQ(r.out, "Clear Succeed!\nMemory Usage: 131072 free records\n");
}

// Not on a terminal, clear needs --yes: nobody can be asked, and nothing is sent.
TEST_F(LoggerCli, ClearWithoutYesAndNoTerminalErasesNothing) {
  const std::string port = Start("demo");
  const test::CliRun r = Kavro("clear" + port);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "Erase all track data on the logger? This cannot be undone.\n"
                   "There is no terminal to ask on: add --yes to go ahead.\n");
  EXPECT_EQ(sim_->State().eraseCount, 0);
  EXPECT_TRUE(sim_->Received().empty());
}

// On a terminal, clear asks; only yes erases.
TEST_F(LoggerCli, ClearOnATerminalAsksFirst) {
  const std::string port = Start("demo");
  const test::TerminalRun no = test::RunOnTerminal({"clear", "--port", sim_->SlavePath()}, "[y/N]", "n\n");
  EXPECT_EQ(no.status, 1) << no.screen;
  EXPECT_TRUE(Has(no.screen, "Erase all track data on the logger? This cannot be undone. [y/N] ")) << no.screen;
  EXPECT_TRUE(Has(no.screen, "Nothing was changed.")) << no.screen;
  EXPECT_EQ(sim_->State().eraseCount, 0);
  const test::TerminalRun empty = test::RunOnTerminal({"clear", "--port", sim_->SlavePath()}, "[y/N]", "\n");
  EXPECT_EQ(empty.status, 1) << empty.screen;  // No is the default
  EXPECT_EQ(sim_->State().eraseCount, 0);
  const test::TerminalRun yes = test::RunOnTerminal({"clear", "--port", sim_->SlavePath()}, "[y/N]", "y\n");
  EXPECT_EQ(yes.status, 0) << yes.screen;
  EXPECT_TRUE(Has(yes.screen, "Clear Succeed!")) << yes.screen;
  EXPECT_EQ(sim_->State().eraseCount, 1);
}

TEST_F(LoggerCli, PortsListsTheSimulatorAndAutoDetectsPick) {
  const test::CliRun r = Kavro("ports --simulate");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Has(r.out, "Simulated T-580 (/dev/pts/")) << r.out;
  EXPECT_TRUE(Has(r.out, "\nAuto Detect: ") || r.out.rfind("Auto Detect: ", 0) == 0) << r.out;
  EXPECT_EQ(Kavro("ports --port /dev/ttyS0").status, 2);
}

TEST_F(LoggerCli, UsageErrorsExitWithTwo) {
  EXPECT_EQ(Kavro("info").status, 2);
  EXPECT_EQ(Kavro("info --simulate --port /dev/ttyS0").status, 2);
  EXPECT_EQ(Kavro("info --simulate --verbose").status, 2);
  const test::CliRun scenario = Kavro("info --simulate=nosuch");
  EXPECT_EQ(scenario.status, 2);
  EXPECT_TRUE(Has(scenario.err, "Unknown scenario \"nosuch\""));
  EXPECT_EQ(Kavro("set-name --simulate").status, 2);
  EXPECT_EQ(Kavro("clear --port").status, 2);
}

}  // namespace
}  // namespace kavro
