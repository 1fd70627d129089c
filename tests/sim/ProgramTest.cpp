// The built t580-sim program: its port line, its answers, its signals and --dump.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "BootRom.h"
#include "Simulator.h"
#include "support/PtyPeer.h"

extern char** environ;

namespace kavro::sim {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using test::ChecksumOk;
using test::PtyPeer;

constexpr std::int64_t kNow = 1781524800;  // 2026-06-15 12:00 UTC

// A running t580-sim with its stdout on a pipe.
class Program {
 public:
  explicit Program(std::vector<std::string> args) {
    args.insert(args.begin(), KAVRO_SIM);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (::pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    if (posix_spawn(&pid_, KAVRO_SIM, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    stdout_ = out[0];
  }
  ~Program() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (stdout_ >= 0) ::close(stdout_);
  }

  // The first line of stdout, within a bound.
  std::string FirstLine(std::chrono::milliseconds bound = 10s) {
    std::string line;
    const auto end = std::chrono::steady_clock::now() + bound;
    while (std::chrono::steady_clock::now() < end) {
      pollfd p{stdout_, POLLIN, 0};
      if (::poll(&p, 1, 100) <= 0) continue;
      char c;
      if (::read(stdout_, &c, 1) != 1) break;
      if (c == '\n') return line;
      line += c;
    }
    return line;
  }

  // Exit status, or -1 when it has not ended within the bound (it is then killed).
  int Wait(std::chrono::milliseconds bound = 10s) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (std::chrono::steady_clock::now() < end) {
      int status = 0;
      const pid_t r = ::waitpid(pid_, &status, WNOHANG);
      if (r == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(20ms);
    }
    return -1;
  }

  // Everything on stdout until the program closes it, within a bound.
  std::string AllOutput(std::chrono::milliseconds bound = 10s) {
    std::string all;
    const auto end = std::chrono::steady_clock::now() + bound;
    while (std::chrono::steady_clock::now() < end) {
      pollfd p{stdout_, POLLIN, 0};
      if (::poll(&p, 1, 100) <= 0) continue;
      char buf[4096];
      const ssize_t n = ::read(stdout_, buf, sizeof buf);
      if (n <= 0) break;
      all.append(buf, static_cast<std::size_t>(n));
    }
    return all;
  }

  void Signal(int sig) { ::kill(pid_, sig); }
  bool Started() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
  int stdout_ = -1;
};

std::vector<std::uint8_t> ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path TempDir() {
  const fs::path dir = fs::temp_directory_path() / ("t580-sim-test-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  return dir;
}

TEST(Program, PrintsItsPortAndAnswersThereUntilTerminated) {
  for (int sig : {SIGTERM, SIGINT}) {
    Program p({"--scenario", "other"});
    ASSERT_TRUE(p.Started());
    const std::string path = p.FirstLine();
    ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;
    PtyPeer peer(path);
    ASSERT_TRUE(peer.IsOpen()) << path;
    const std::string reply = peer.Ask("KAVRO580,3");
    EXPECT_EQ(reply.rfind("$KAVRO001,3,131*", 0), 0u) << reply;
    EXPECT_TRUE(ChecksumOk(reply));
    p.Signal(sig);
    EXPECT_EQ(p.Wait(), 0);
  }
}

TEST(Program, FaultOptionsReachTheLine) {
  Program p({"--fault-bad-checksum", "1", "--fault-echo"});
  const std::string path = p.FirstLine();
  PtyPeer peer(path);
  ASSERT_TRUE(peer.IsOpen()) << path;
  peer.Send("KAVRO580,3");
  const auto lines = peer.ReadLines(2);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0] + "\r\n", test::Frame("KAVRO580,3"));
  EXPECT_EQ(lines[1].rfind("$KAVRO001,3,125*", 0), 0u);
  EXPECT_FALSE(ChecksumOk(lines[1]));
}

TEST(Program, IgnoreFaultLeavesOneKindOfSentenceUnanswered) {
  Program p({"--fault-ignore", "$KAVRO580,3*"});
  PtyPeer peer(p.FirstLine());
  ASSERT_TRUE(peer.IsOpen());
  peer.Send("KAVRO580,3");
  EXPECT_EQ(peer.Drain(std::chrono::milliseconds(200)), "");
  EXPECT_EQ(peer.Ask("KAVRO580,7").rfind("$KAVRO001,7,120*", 0), 0u);
}

TEST(Program, DisconnectFaultEndsTheProgram) {
  Program p({"--fault-disconnect-after", "0"});
  PtyPeer peer(p.FirstLine());
  ASSERT_TRUE(peer.IsOpen());
  peer.Send("KAVRO580,3");
  EXPECT_EQ(p.Wait(), 0);
}

TEST(Program, DumpWritesTheWholeMemoryImage) {
  const fs::path dir = TempDir();
  for (const std::string name : {"demo", "wrapped"}) {
    const fs::path file = dir / (name + ".bin");
    Program p({"--scenario", name, "--now", std::to_string(kNow), "--dump", file.string()});
    ASSERT_EQ(p.Wait(), 0);
    ASSERT_EQ(fs::file_size(file), 2097152u);
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, BuildMemoryImage(*ScenarioByName(name, kNow))) << name;
  }
  fs::remove_all(dir);
}

TEST(Program, ServesAMemoryImageFromAFile) {
  const fs::path dir = TempDir();
  const fs::path file = dir / "wrapped.bin";
  {
    Program dump({"--scenario", "wrapped", "--now", std::to_string(kNow), "--dump", file.string()});
    ASSERT_EQ(dump.Wait(), 0);
  }
  const Scenario wrapped = *ScenarioByName("wrapped", kNow);
  const auto image = BuildMemoryImage(wrapped);
  Program p({"--image", file.string()});
  PtyPeer peer(p.FirstLine());
  ASSERT_TRUE(peer.IsOpen());
  char expected[16];
  std::snprintf(expected, sizeof expected, "%08X", WritePosition(wrapped));
  const std::string pos = peer.Ask("PMTK182,2,8");
  EXPECT_EQ(pos.substr(13, 8), expected) << pos;
  peer.Send("PMTK182,7,1F0000,800");
  const std::string data = peer.ReadLine();
  ASSERT_EQ(data.size(), 20u + 4096u + 3u);
  static const char* digits = "0123456789ABCDEF";
  std::string hex;
  for (std::size_t i = 0; i < 0x800; ++i) {
    hex += digits[image[0x1F0000 + i] >> 4];
    hex += digits[image[0x1F0000 + i] & 15];
  }
  EXPECT_EQ(data.substr(20, 4096), hex);
  p.Signal(SIGTERM);
  EXPECT_EQ(p.Wait(), 0);

  // A file of the wrong size is refused with a reason.
  fs::resize_file(file, 1000);
  Program bad({"--image", file.string()});
  EXPECT_EQ(bad.Wait(), 1);
  Program missing({"--image", (dir / "none.bin").string()});
  EXPECT_EQ(missing.Wait(), 1);
  fs::remove_all(dir);
}

TEST(Program, BadArgumentsAndUnwritableDumpFail) {
  {
    Program p({"--scenario", "no-such-logger"});
    EXPECT_EQ(p.Wait(), 2);
  }
  {
    Program p({"--fault-drop", "many"});
    EXPECT_EQ(p.Wait(), 2);
  }
  {
    Program p({"--bogus"});
    EXPECT_EQ(p.Wait(), 2);
  }
  const fs::path missing = TempDir() / "no" / "such" / "dir" / "image.bin";
  Program p({"--dump", missing.string()});
  EXPECT_EQ(p.Wait(), 1);
  EXPECT_FALSE(fs::exists(missing));
  fs::remove_all(TempDir());
}

TEST(Program, ListNamesEveryScenario) {
  const fs::path dir = TempDir();
  Program p({"--list"});
  std::string all;
  for (std::string line = p.FirstLine(); !line.empty(); line = p.FirstLine(2s)) all += line + "\n";
  EXPECT_EQ(p.Wait(), 0);
  for (const std::string& name : ScenarioNames()) EXPECT_NE(all.find(name + " "), std::string::npos) << all;
  fs::remove_all(dir);
}

TEST(Program, HelpNamesEveryOptionOnStdout) {
  for (const std::string flag : {"--help", "-h"}) {
    Program p({flag});
    const std::string help = p.AllOutput();
    EXPECT_EQ(p.Wait(), 0) << flag;
    for (const char* option :
         {"--scenario NAME", "--image FILE", "--now SECONDS", "--paced", "--erase-delay MS", "--trace", "--stats",
          "--dump FILE", "--list", "--make-firmware VERSION FILE", "--fault-bad-checksum K",
          "--fault-bad-checksum-at ADDR", "--fault-drop K", "--fault-drop-at ADDR", "--fault-wrong-address-at ADDR",
          "--fault-split N", "--fault-echo", "--fault-delay MS", "--fault-silence-after N", "--fault-silence-for MS",
          "--fault-bad-checksum-rate P", "--fault-seed N", "--fault-disconnect-after N", "--fault-ignore TEXT",
          "--fault-no-bt-reply", "--fault-blank-bt-address", "--fault-brom-silent", "--fault-brom-stop-after N"})
      EXPECT_NE(help.find(option), std::string::npos) << flag << " lacks " << option << "\n" << help;
  }
}

TEST(Program, OptionsTakeTheirValueAfterAnEqualsSign) {
  {
    Program p({"--scenario=other", "--fault-bad-checksum=1", "--fault-echo"});
    PtyPeer peer(p.FirstLine());
    ASSERT_TRUE(peer.IsOpen());
    peer.Send("KAVRO580,3");
    const auto lines = peer.ReadLines(2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].rfind("$KAVRO001,3,131*", 0), 0u) << lines[1];
    EXPECT_FALSE(ChecksumOk(lines[1]));
  }
  const fs::path dir = TempDir();
  {
    const fs::path file = dir / "wrapped.bin";
    Program p({"--scenario=wrapped", "--now=" + std::to_string(kNow), "--dump=" + file.string()});
    ASSERT_EQ(p.Wait(), 0);
    EXPECT_EQ(ReadBytes(file), BuildMemoryImage(*ScenarioByName("wrapped", kNow)));
  }
  for (const bool joined : {false, true}) {
    const fs::path file = dir / (joined ? "joined.bin" : "apart.bin");
    Program p(joined ? std::vector<std::string>{"--make-firmware=1.31", file.string()}
                     : std::vector<std::string>{"--make-firmware", "1.31", file.string()});
    ASSERT_EQ(p.Wait(), 0) << joined;
    EXPECT_EQ(ReadBytes(file), SampleFirmwareFile(131)) << joined;
  }
  // A value the option does not take is a usage error either way.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--fault-drop=0"}, {"--fault-bad-checksum-rate=1.5"}, {"--scenario=nowhere"},
        {"--make-firmware=1.3", (dir / "bad.bin").string()}}) {
    Program p(args);
    EXPECT_EQ(p.Wait(), 2) << args.front();
  }
  EXPECT_FALSE(fs::exists(dir / "bad.bin"));
  fs::remove_all(dir);
}

TEST(Program, FailedWritesLeaveWhatWasThere) {
  const fs::path dir = TempDir();
  // A folder in the way of the file is neither replaced nor removed.
  for (const std::string option : {"--make-firmware", "--dump"}) {
    const fs::path target = dir / "in-the-way";
    fs::create_directories(target);
    Program p(option == "--dump" ? std::vector<std::string>{"--dump", target.string()}
                                 : std::vector<std::string>{"--make-firmware", "1.31", target.string()});
    EXPECT_EQ(p.Wait(), 1) << option;
    EXPECT_TRUE(fs::is_directory(target)) << option;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << option;
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace kavro::sim
