// kavro download's line speed, decided as the window decides it: a port the discovery reports
// as a CP210x reads at 921600 baud without a flag, a plain port at 38400; --fast and --slow
// override. The command line runs in this process, so the discovery can be handed a
// pseudo-terminal that stands for the bridge (as the window's tests hand it to the port list).
#include <gtest/gtest.h>

#include <QString>
#include <QTextStream>
#include <filesystem>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "support/PortEntries.h"
#include "support/SimLink.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;

struct InProcessRun {
  int status = -1;
  QString out;
  QString err;
};

InProcessRun RunKavro(std::vector<std::string> args, const std::vector<PortInfo>& extraPorts) {
  AppContext ctx;
  InProcessRun run;
  QTextStream out(&run.out);
  QTextStream err(&run.err);
  cli::CliEnv env{ctx, out, err, false, extraPorts};
  args.insert(args.begin(), "kavro");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  run.status = cli::RunCommandLine(env, static_cast<int>(argv.size()), argv.data());
  out.flush();
  err.flush();
  return run;
}

class DownloadSpeed : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kavro-download-speed-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    sim_ = test::StartSim(test::Named("demo"));
    ASSERT_TRUE(sim_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Downloads from the simulator on its port and tells whether the logger was switched to
  // 921600 baud on the way.
  bool DownloadedFast(const std::vector<std::string>& flags, const std::vector<PortInfo>& extraPorts) {
    sim_->ClearReceived();
    std::vector<std::string> args{"download", "--port", sim_->SlavePath(), "--dir", dir_.string()};
    args.insert(args.end(), flags.begin(), flags.end());
    const InProcessRun r = RunKavro(args, extraPorts);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Upload Succeed!"))) << r.out.toStdString();
    const auto fast = test::Count(sim_->Received(), "$PMTK182,14,921600*");
    const auto back = test::Count(sim_->Received(), "$PMTK182,14,38400*");
    EXPECT_EQ(fast, back) << "the speed is set back after a fast download";
    // kavro lets the logger go at once: the goodbye is the next sentence after the speed
    // change, at the normal speed the logger is back at.
    const std::vector<std::string> got = sim_->Received();
    EXPECT_FALSE(got.empty());
    if (fast > 0 && got.size() >= 2) {
      EXPECT_EQ(got[got.size() - 2].rfind("$PMTK182,14,38400*", 0), 0u) << got[got.size() - 2];
      EXPECT_EQ(got.back().rfind("$KAVRO580,2*", 0), 0u) << got.back();
    }
    return fast > 0;
  }

  fs::path dir_;
  std::unique_ptr<sim::Simulator> sim_;
};

TEST_F(DownloadSpeed, BridgeReadsFastWithoutAFlagAndSlowWithSlow) {
  const std::vector<PortInfo> bridge{test::Cp210xEntry(sim_->SlavePath())};
  EXPECT_TRUE(DownloadedFast({}, bridge));
  EXPECT_FALSE(DownloadedFast({"--slow"}, bridge));
  EXPECT_EQ(sim_->State().baud, 38400);
}

TEST_F(DownloadSpeed, PlainPortReadsAtTheNormalSpeedUnlessFast) {
  EXPECT_FALSE(DownloadedFast({}, {}));
  EXPECT_TRUE(DownloadedFast({"--fast"}, {}));
  const InProcessRun both = RunKavro({"download", "--port", sim_->SlavePath(), "--dir", dir_.string(), "--fast", "--slow"}, {});
  EXPECT_EQ(both.status, 2);
}

}  // namespace
}  // namespace kavro
