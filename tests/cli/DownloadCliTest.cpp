// kavro download, run as a program: the same files as kavro tracks writes from the simulator's
// dumped memory, "Transmission interrupt !" and nothing written when the logger goes away, and
// Ctrl+C cancelling with the logger set back to its normal speed.
#include <gtest/gtest.h>

#include "support/Files.h"
#include "support/KavroRun.h"
#include "support/PrivateMounts.h"
#include "support/TerminalRun.h"

#include <csignal>
#include <fcntl.h>
#include <map>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "Simulator.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;
using test::Has;
using test::Kavro;
using test::ReadDir;

class DownloadCli : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = fs::temp_directory_path() / ("kavro-download-cli-" + std::to_string(::getpid()));
    fs::remove_all(base_);
    fs::create_directories(base_ / "got");
    fs::create_directories(base_ / "want");
  }
  void TearDown() override { fs::remove_all(base_); }
  std::string Got() const { return (base_ / "got").string(); }
  fs::path base_;
};

TEST_F(DownloadCli, WritesWhatTracksWritesFromTheDumpedMemory) {
  const test::CliRun r = Kavro("download --simulate --dir " + Got() + " --total --zone +08:00");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Has(r.out, "Upload Succeed!\n"));
  EXPECT_TRUE(Has(r.out, "0% received\n"));  // not a terminal: plain lines
  EXPECT_FALSE(Has(r.out, "\r"));
  const fs::path image = base_ / "demo.bin";
  ASSERT_EQ(std::system((std::string(KAVRO_SIM) + " --dump " + image.string()).c_str()), 0);
  const test::CliRun t = Kavro("tracks " + image.string() + " --dir " + (base_ / "want").string() +
                               " --total --user Logger1 --zone +08:00 --kml");
  ASSERT_EQ(t.status, 0) << t.err;
  const auto want = ReadDir(base_ / "want");
  EXPECT_EQ(want.size(), 10u);
  EXPECT_EQ(ReadDir(Got()), want);
}

// The simulated logger stands for one behind a CP210x bridge: its download switches to 921600
// baud (the speed command then goes out in 16-byte pieces), unless --slow says not to.
TEST_F(DownloadCli, SimulatedLoggerReadsFastUnlessSlow) {
  const test::CliRun fast = Kavro("download --simulate --dir " + Got(), "KAVRO_TRACE=1");
  ASSERT_EQ(fast.status, 0) << fast.err.substr(0, 2000);
  EXPECT_TRUE(Has(fast.err, "|$PMTK182,14,9216|"));
  const test::CliRun slow = Kavro("download --simulate --slow --dir " + Got(), "KAVRO_TRACE=1");
  ASSERT_EQ(slow.status, 0) << slow.err.substr(0, 2000);
  EXPECT_FALSE(Has(slow.err, "$PMTK182,14,"));
  EXPECT_TRUE(Has(slow.out, "Upload Succeed!\n"));
}

TEST_F(DownloadCli, PlainFileAsPortSaysItIsNotASerialPort) {
  const fs::path file = base_ / "notes.txt";
  std::ofstream(file) << "not a port";
  const test::CliRun r = Kavro("download --port " + file.string() + " --dir " + Got());
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Has(r.err, file.string() + " is not a serial port.\n")) << r.err;
  EXPECT_FALSE(Has(r.err, "ioctl")) << r.err;
  const test::CliRun german = Kavro("download --port " + base_.string() + " --dir " + Got(),
                                    "LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8");
  EXPECT_EQ(german.status, 1);
  EXPECT_TRUE(Has(german.err, base_.string() + " ist kein serieller Anschluss.\n")) << german.err;
}

// Not on a terminal the progress is one line per tenth, not one per percent.
TEST_F(DownloadCli, ProgressOnAPipeIsOneLinePerTenth) {
  const test::CliRun r = Kavro("download --simulate --dir " + Got());
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> progress;
  std::istringstream lines(r.out);
  for (std::string l; std::getline(lines, l);)
    if (Has(l, "% received")) progress.push_back(l);
  ASSERT_GE(progress.size(), 3u);
  EXPECT_LE(progress.size(), 11u);
  EXPECT_EQ(progress.front(), "0% received");
  EXPECT_EQ(progress.back(), "100% received");
  for (std::size_t i = 1; i + 1 < progress.size(); ++i) {
    const int before = std::stoi(progress[i - 1]), now = std::stoi(progress[i]);
    EXPECT_GT(now / 10, before / 10) << progress[i];
  }
}

// On a terminal the progress is one line that is written over, ending once.
TEST_F(DownloadCli, ProgressOnATerminalIsOneLineThatUpdates) {
  const test::TerminalRun t = test::RunOnTerminal({"download", "--simulate", "--dir", Got()});
  ASSERT_EQ(t.status, 0) << t.screen;
  const std::size_t first = t.screen.find("% received (");
  const std::size_t last = t.screen.rfind("% received (");
  ASSERT_NE(first, std::string::npos) << t.screen;
  ASSERT_LT(first, last) << t.screen;
  EXPECT_EQ(t.screen.substr(first, last - first).find('\n'), std::string::npos) << t.screen;
  EXPECT_TRUE(Has(t.screen, "Upload Succeed!\r\n"));
}

// A folder that takes no file: the files are named as failed and the last line is no success.
TEST_F(DownloadCli, FilesThatCannotBeWrittenEndInFailure) {
  bool skipped = false;
  const fs::path dir = base_ / "ro";
  fs::create_directories(dir);
  const std::string got = test::InPrivateChild(
      [&] {
        if (::mount("tmpfs", dir.c_str(), "tmpfs", MS_RDONLY, "size=1m") != 0) ::_exit(test::kNoPrivateMounts);
        const test::CliRun r = Kavro("download --simulate --dir " + dir.string());
        return std::to_string(r.status) + "\n" + r.out + "\n--err--\n" + r.err;
      },
      &skipped);
  if (skipped) GTEST_SKIP() << "no private mounts here";
  EXPECT_EQ(got.substr(0, 2), "1\n") << got;
  EXPECT_FALSE(Has(got, "Upload Succeed!")) << got;
  EXPECT_TRUE(Has(got, "Create File Failed " + dir.string())) << got;
  const std::size_t at = got.rfind("Upload finished, but ");
  ASSERT_NE(at, std::string::npos) << got;
  EXPECT_EQ(got.substr(got.find('\n', at)), "\n") << "the last line";
  EXPECT_TRUE(Has(got.substr(at), " of the files could not be written.")) << got;
}

TEST_F(DownloadCli, LoggerGoingAwaySaysTransmissionInterruptAndWritesNothing) {
  std::string error;
  auto sim = sim::StartSimulator("demo", &error);
  ASSERT_TRUE(sim) << error;
  std::thread unplug([&] {
    if (sim->WaitForReceived("$PMTK182,7,", std::chrono::seconds(60))) {
      sim::Faults f;
      f.disconnectAfterBytes = 50000;
      sim->SetFaults(f);
    }
  });
  const test::CliRun r = Kavro("download --port " + sim->SlavePath() + " --dir " + Got());
  unplug.join();
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Has(r.err, "Transmission interrupt !\n")) << r.err;
  EXPECT_FALSE(Has(r.out, "Create File OK"));
  EXPECT_TRUE(ReadDir(Got()).empty());
}

TEST_F(DownloadCli, CtrlCCancelsAndSetsTheLoggerBackToItsSpeed) {
  std::string error;
  sim::SimulatorOptions options;
  options.paced = true;  // 921600 baud: the whole memory takes most of a minute
  auto sim = sim::StartSimulator("full", &error, options);
  ASSERT_TRUE(sim) << error;
  const fs::path errFile = base_ / "err.txt";
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    const int fd = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(fd, 2);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::execl(KAVRO_CLI, KAVRO_CLI, "download", "--port", sim->SlavePath().c_str(), "--fast", "--dir", Got().c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ASSERT_TRUE(sim->WaitForReceived("$PMTK182,7,10000,", std::chrono::seconds(60)));
  EXPECT_EQ(sim->Baud(), 921600);
  ::kill(pid, SIGINT);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  std::ifstream e(errFile);
  std::stringstream err;
  err << e.rdbuf();
  EXPECT_TRUE(Has(err.str(), "Transmission interrupt !")) << err.str();
  EXPECT_TRUE(ReadDir(Got()).empty());
  EXPECT_EQ(sim->Baud(), 38400);
  const auto got = sim->Received();
  ASSERT_GE(got.size(), 2u);
  EXPECT_EQ(got[got.size() - 2].substr(0, 18), "$PMTK182,14,38400*");
  EXPECT_EQ(got.back().substr(0, 12), "$KAVRO580,2*");
}

TEST_F(DownloadCli, PhotosGiveThePhotoKmlInsteadOfThePlainOne) {
  const test::CliRun r = Kavro("download --simulate --dir " + Got() + " --photos " + KAVRO_TEST_DATA + "/photos");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto got = ReadDir(Got());
  EXPECT_EQ(got.size(), 8u);  // three tracks and the waypoints, each with its KML
  for (const auto& [name, bytes] : got) {
    if (name.substr(name.size() - 4) != ".kml") continue;
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE")) << name;
  }
}

TEST_F(DownloadCli, UsageErrors) {
  EXPECT_EQ(Kavro("download --simulate").status, 2);
  EXPECT_EQ(Kavro("download --simulate --dir " + Got() + " --write-gps").status, 2);
  EXPECT_EQ(Kavro("download --simulate --dir " + Got() + " --zone +99:00").status, 2);
  EXPECT_EQ(Kavro("download --dir " + Got()).status, 2);
  const test::CliRun missing = Kavro("download --simulate --dir " + (base_ / "nowhere").string());
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(Has(missing.err, "does not exist")) << missing.err;
}

}  // namespace
}  // namespace kavro
