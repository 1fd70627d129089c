// t580-sim: a simulated T-580 logger on a pseudo-terminal.
#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "BootRom.h"
#include "Simulator.h"

namespace {

using kavro::sim::Faults;
using kavro::sim::ScenarioByName;
using kavro::sim::ScenarioNames;
using kavro::sim::SimulatorOptions;

void PrintUsage(std::FILE* to) {
  std::fprintf(to,
               "usage: t580-sim [--scenario NAME] [--paced] [--erase-delay MS] [--now SECONDS] [--trace] [--stats] [faults]\n"
               "       t580-sim [--scenario NAME] [--now SECONDS] --dump FILE\n"
               "       t580-sim --image FILE [options]   (serve a 2,097,152-byte memory dump)\n"
               "       t580-sim --list\n"
               "       t580-sim --make-firmware VERSION FILE   (a firmware file, e.g. 1.31, for the update)\n"
               "Prints the path of its port on the first line and answers there until SIGINT or SIGTERM.\n"
               "--trace shows every sentence received (<) and reply sent (>) on stderr.\n"
               "--stats prints the bytes sent on the line on stderr when stopped.\n"
               "Faults (ADDR in hex with 0x or decimal; replies and bytes counted from the start):\n"
               "  --fault-bad-checksum K       reply K goes out with a wrong checksum\n"
               "  --fault-bad-checksum-at ADDR the first data reply for ADDR has a wrong checksum\n"
               "  --fault-drop K               reply K is not sent\n"
               "  --fault-drop-at ADDR         the first data reply for ADDR is not sent\n"
               "  --fault-wrong-address-at ADDR the first data reply for ADDR names ADDR + 0x800\n"
               "  --fault-split N              replies go out in pieces of N bytes, 50 ms apart\n"
               "  --fault-echo                 every received sentence is echoed\n"
               "  --fault-delay MS             every reply waits MS milliseconds\n"
               "  --fault-silence-after N      nothing more is sent after N bytes\n"
               "  --fault-silence-for MS       with --fault-silence-after: the silence ends after MS ms\n"
               "  --fault-bad-checksum-rate P  each data reply has a wrong checksum with chance P (0-1)\n"
               "  --fault-seed N               seed of the chances (default 1)\n"
               "  --fault-disconnect-after N   the logger goes away after N bytes\n"
               "  --fault-ignore TEXT          received sentences beginning with TEXT get no answer\n"
               "  --fault-no-bt-reply          $PMTK492 gets no $PMTK592\n"
               "  --fault-blank-bt-address     the logger has lost its Bluetooth address (all FF)\n"
               "  --fault-brom-silent          the boot ROM does not answer a firmware download\n"
               "  --fault-brom-stop-after N    the boot ROM stops answering after N image blocks\n");
}

bool ParseInt(const char* text, long long min, long long* out) {
  if (!text || !*text) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text, &end, 0);
  if (errno != 0 || *end != '\0' || v < min) return false;
  *out = v;
  return true;
}

// "1.31" or "131" -> 131.
int MakeFirmware(const std::string& versionText, const std::string& path) {
  int version = -1;
  const std::size_t dot = versionText.find('.');
  long long whole = 0;
  long long part = 0;
  if (dot == std::string::npos) {
    if (ParseInt(versionText.c_str(), 0, &whole) && whole < 1000) version = static_cast<int>(whole);
  } else if (dot + 3 == versionText.size() && ParseInt(versionText.substr(0, dot).c_str(), 0, &whole) &&
             ParseInt(versionText.substr(dot + 1).c_str(), 0, &part) && whole < 10 &&
             versionText[dot + 1] >= '0' && versionText[dot + 1] <= '9') {
    version = static_cast<int>(whole * 100 + part);
  }
  if (version < 0) {
    std::fprintf(stderr, "t580-sim: the version must be like 1.31\n");
    return 2;
  }
  const std::vector<std::uint8_t> file = kavro::sim::SampleFirmwareFile(version);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  bool ok = f && std::fwrite(file.data(), 1, file.size(), f) == file.size();
  if (f) ok = (std::fclose(f) == 0) && ok;
  if (!ok) {
    std::fprintf(stderr, "t580-sim: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
    std::remove(path.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string scenarioName = "demo";
  std::string dumpPath;
  bool stats = false;
  std::string imagePath;
  long long now = static_cast<long long>(std::time(nullptr));
  SimulatorOptions options;
  Faults& faults = options.faults;

  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    long long n = 0;
    auto number = [&](long long min) {
      if (!ParseInt(value, min, &n)) {
        std::fprintf(stderr, "t580-sim: %s needs a number%s\n", arg.c_str(), min > 0 ? " above 0" : "");
        std::exit(2);
      }
      ++i;
      return n;
    };
    if (arg == "--help" || arg == "-h") {
      PrintUsage(stdout);
      return 0;
    } else if (arg == "--list") {
      for (const std::string& name : ScenarioNames()) {
        const auto s = ScenarioByName(name);
        std::printf("%-8s %s\n", name.c_str(), s ? s->description.c_str() : "");
      }
      return 0;
    } else if (arg == "--scenario" && value) {
      scenarioName = value;
      ++i;
    } else if (arg.rfind("--scenario=", 0) == 0) {
      scenarioName = arg.substr(11);
    } else if (arg == "--dump" && value) {
      dumpPath = value;
      ++i;
    } else if (arg == "--image" && value) {
      imagePath = value;
      ++i;
    } else if (arg == "--trace") {
      options.trace = [](const std::string& line) {
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
      };
    } else if (arg == "--stats") {
      stats = true;
    } else if (arg == "--paced") {
      options.paced = true;
    } else if (arg == "--erase-delay") {
      options.eraseDelay = std::chrono::milliseconds(number(0));
    } else if (arg == "--now") {
      now = number(0);
    } else if (arg == "--fault-bad-checksum") {
      faults.badChecksumReply = static_cast<int>(number(1));
    } else if (arg == "--fault-bad-checksum-at") {
      faults.badChecksumAddress = number(0);
    } else if (arg == "--fault-drop") {
      faults.dropReply = static_cast<int>(number(1));
    } else if (arg == "--fault-drop-at") {
      faults.dropAddress = number(0);
    } else if (arg == "--fault-wrong-address-at") {
      faults.wrongAddress = number(0);
    } else if (arg == "--fault-split") {
      faults.splitBytes = static_cast<int>(number(1));
    } else if (arg == "--fault-delay") {
      faults.replyDelay = std::chrono::milliseconds(number(0));
    } else if (arg == "--fault-echo") {
      faults.echo = true;
    } else if (arg == "--fault-silence-after") {
      faults.silenceAfterBytes = number(0);
    } else if (arg == "--fault-silence-for") {
      faults.silenceFor = std::chrono::milliseconds(number(1));
    } else if (arg == "--fault-bad-checksum-rate" && value) {
      char* end = nullptr;
      const double p = std::strtod(value, &end);
      if (end == value || *end != '\0' || p < 0 || p > 1) {
        std::fprintf(stderr, "t580-sim: --fault-bad-checksum-rate takes a chance from 0 to 1\n");
        return 2;
      }
      faults.badChecksumRate = p;
      ++i;
    } else if (arg == "--fault-seed") {
      faults.seed = static_cast<std::uint32_t>(number(0));
    } else if (arg == "--fault-disconnect-after") {
      faults.disconnectAfterBytes = number(0);
    } else if (arg == "--fault-ignore" && value != nullptr) {
      faults.unanswered = value;
      ++i;
    } else if (arg == "--fault-no-bt-reply") {
      faults.noBtReply = true;
    } else if (arg == "--fault-blank-bt-address") {
      faults.blankBtAddress = true;
    } else if (arg == "--fault-brom-silent") {
      faults.bootRomSilent = true;
    } else if (arg == "--fault-brom-stop-after") {
      faults.bootRomStopAfterBlocks = static_cast<int>(number(0));
    } else if (arg == "--make-firmware" && value && i + 2 < argc) {
      return MakeFirmware(argv[i + 1], argv[i + 2]);
    } else {
      std::fprintf(stderr, "t580-sim: unknown or incomplete option %s\n", arg.c_str());
      PrintUsage(stderr);
      return 2;
    }
  }

  std::optional<kavro::sim::Scenario> scenario;
  if (!imagePath.empty()) {
    std::FILE* f = std::fopen(imagePath.c_str(), "rb");
    if (!f) {
      std::fprintf(stderr, "t580-sim: cannot read %s: %s\n", imagePath.c_str(), std::strerror(errno));
      return 1;
    }
    // One byte more than an image may hold tells a file that is too long.
    std::vector<std::uint8_t> bytes(kavro::memory::kSize + 1);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    std::string error;
    scenario = kavro::sim::ScenarioFromImage(std::move(bytes), &error);
    if (!scenario) {
      std::fprintf(stderr, "t580-sim: %s: %s\n", imagePath.c_str(), error.c_str());
      return 1;
    }
  } else {
    scenario = ScenarioByName(scenarioName, now);
    if (!scenario) {
      std::fprintf(stderr, "t580-sim: unknown scenario \"%s\" (try --list)\n", scenarioName.c_str());
      return 2;
    }
  }

  if (!dumpPath.empty()) {
    const std::vector<std::uint8_t> image = kavro::sim::BuildMemoryImage(*scenario);
    const std::string temp = dumpPath + ".part";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    bool ok = f && std::fwrite(image.data(), 1, image.size(), f) == image.size();
    if (f) ok = (std::fclose(f) == 0) && ok;
    // Written whole or not at all.
    if (ok) ok = std::rename(temp.c_str(), dumpPath.c_str()) == 0;
    if (!ok) {
      std::fprintf(stderr, "t580-sim: cannot write %s: %s\n", dumpPath.c_str(), std::strerror(errno));
      std::remove(temp.c_str());
      return 1;
    }
    return 0;
  }

  // The signals are taken by sigtimedwait below, in this thread only.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  kavro::sim::Simulator sim(std::move(*scenario), options);
  std::string error;
  if (!sim.Start(&error)) {
    std::fprintf(stderr, "t580-sim: cannot open a pseudo-terminal: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", sim.SlavePath().c_str());
  std::fflush(stdout);

  const timespec tick{0, 200 * 1000 * 1000};
  while (sim.Running()) {
    if (sigtimedwait(&stopSignals, nullptr, &tick) > 0) break;
  }
  sim.Stop();
  if (stats) std::fprintf(stderr, "t580-sim: %lld bytes sent\n", static_cast<long long>(sim.BytesSent()));
  return 0;
}
