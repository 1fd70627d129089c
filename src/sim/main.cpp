// t580-sim: a simulated T-580 logger on a pseudo-terminal.
#include <signal.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "BootRom.h"
#include "Simulator.h"
#include "common/OutputSink.h"

namespace {

using kavro::sim::Faults;
using kavro::sim::Scenario;
using kavro::sim::ScenarioByName;
using kavro::sim::ScenarioNames;
using kavro::sim::SimulatorOptions;

// What the command line asks for.
struct Request {
  std::string scenarioName = "demo";
  std::string imagePath;
  std::string dumpPath;
  std::vector<std::string> makeFirmware;  // VERSION FILE
  bool list = false;
  bool stats = false;
  long long now = static_cast<long long>(std::time(nullptr));
  SimulatorOptions options;
};

// A value an option does not take; the text names the option and what it needs.
class BadValue : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

constexpr const char* kFaultGroup =
    "Faults (ADDR in hex with 0x or decimal; replies and bytes counted from the start)";

bool ParseInt(const char* text, long long min, long long* out) {
  if (!text || !*text) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text, &end, 0);
  if (errno != 0 || *end != '\0' || v < min) return false;
  *out = v;
  return true;
}

// A whole-number option of at least `min`.
CLI::Option* AddNumber(CLI::App& app, const std::string& name, const char* unit, long long min,
                       const std::string& help, std::function<void(long long)> set) {
  auto take = [name, min, set = std::move(set)](const std::string& text) {
    long long n = 0;
    if (!ParseInt(text.c_str(), min, &n)) throw BadValue(name + " needs a number" + (min > 0 ? " above 0" : ""));
    set(n);
  };
  return app.add_option_function<std::string>(name, take, help)->type_name(unit);
}

void AddLoggerOptions(CLI::App& app, Request& request) {
  SimulatorOptions& options = request.options;
  app.add_option("--scenario", request.scenarioName, "the log memory to hold (see --list); demo by default")
      ->type_name("NAME");
  app.add_option("--image", request.imagePath, "serve a 2,097,152-byte memory dump instead of a scenario")
      ->type_name("FILE");
  AddNumber(app, "--now", "SECONDS", 0, "the scenario's records lie in the weeks before this UTC time",
            [&request](long long n) { request.now = n; });
  app.add_flag("--paced", options.paced, "send at the line speed in force (bytes per second = baud / 10)");
  AddNumber(app, "--erase-delay", "MS", 0, "the erase takes this long before it is acknowledged",
            [&options](long long n) { options.eraseDelay = std::chrono::milliseconds(n); });
  app.add_flag_callback(
      "--trace",
      [&options] {
        options.trace = [](const std::string& line) {
          std::fprintf(stderr, "%s\n", line.c_str());
          std::fflush(stderr);
        };
      },
      "show every sentence received (<) and reply sent (>) on stderr");
  app.add_flag("--stats", request.stats, "print the bytes sent on the line on stderr when stopped");
}

void AddOtherUses(CLI::App& app, Request& request) {
  const char* group = "Instead of answering on a port";
  app.add_option("--dump", request.dumpPath, "write the scenario's 2,097,152-byte memory image and exit")
      ->type_name("FILE")
      ->group(group);
  app.add_flag("--list", request.list, "list the scenarios and exit")->group(group);
  app.add_option("--make-firmware", request.makeFirmware,
                 "write a firmware file (VERSION like 1.31) that the boot ROM takes, and exit")
      ->expected(2)
      ->option_text("VERSION FILE")
      ->group(group);
}

// Faults that name a reply, an address or a byte count.
void AddCountedFaults(CLI::App& app, Faults& faults) {
  const auto asInt = [](long long n) { return static_cast<int>(n); };
  AddNumber(app, "--fault-bad-checksum", "K", 1, "reply K goes out with a wrong checksum",
            [&, asInt](long long n) { faults.badChecksumReply = asInt(n); });
  AddNumber(app, "--fault-bad-checksum-at", "ADDR", 0, "the first data reply for ADDR has a wrong checksum",
            [&](long long n) { faults.badChecksumAddress = n; });
  AddNumber(app, "--fault-drop", "K", 1, "reply K is not sent", [&, asInt](long long n) { faults.dropReply = asInt(n); });
  AddNumber(app, "--fault-drop-at", "ADDR", 0, "the first data reply for ADDR is not sent",
            [&](long long n) { faults.dropAddress = n; });
  AddNumber(app, "--fault-wrong-address-at", "ADDR", 0, "the first data reply for ADDR names ADDR + 0x800",
            [&](long long n) { faults.wrongAddress = n; });
  AddNumber(app, "--fault-silence-after", "N", 0, "nothing more is sent after N bytes",
            [&](long long n) { faults.silenceAfterBytes = n; });
  AddNumber(app, "--fault-disconnect-after", "N", 0, "the logger goes away after N bytes",
            [&](long long n) { faults.disconnectAfterBytes = n; });
  AddNumber(app, "--fault-brom-stop-after", "N", 0, "the boot ROM stops answering after N image blocks",
            [&, asInt](long long n) { faults.bootRomStopAfterBlocks = asInt(n); });
}

// Faults of the line's timing and of chance.
void AddTimingFaults(CLI::App& app, Faults& faults) {
  AddNumber(app, "--fault-split", "N", 1, "replies go out in pieces of N bytes, 50 ms apart",
            [&](long long n) { faults.splitBytes = static_cast<int>(n); });
  AddNumber(app, "--fault-delay", "MS", 0, "every reply waits MS milliseconds",
            [&](long long n) { faults.replyDelay = std::chrono::milliseconds(n); });
  AddNumber(app, "--fault-silence-for", "MS", 1, "with --fault-silence-after: the silence ends after MS ms",
            [&](long long n) { faults.silenceFor = std::chrono::milliseconds(n); });
  auto rate = [&faults](const std::string& text) {
    char* end = nullptr;
    const double p = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || p < 0 || p > 1)
      throw BadValue("--fault-bad-checksum-rate takes a chance from 0 to 1");
    faults.badChecksumRate = p;
  };
  app.add_option_function<std::string>("--fault-bad-checksum-rate", rate,
                                       "each data reply has a wrong checksum with chance P (0-1)")
      ->type_name("P");
  AddNumber(app, "--fault-seed", "N", 0, "seed of the chances (default 1)",
            [&](long long n) { faults.seed = static_cast<std::uint32_t>(n); });
}

// Faults that change what the logger answers.
void AddAnswerFaults(CLI::App& app, Faults& faults) {
  app.add_flag("--fault-echo", faults.echo, "every received sentence is echoed");
  app.add_option("--fault-ignore", faults.unanswered, "received sentences beginning with TEXT get no answer")
      ->type_name("TEXT");
  app.add_flag("--fault-no-bt-reply", faults.noBtReply, "$PMTK492 gets no $PMTK592");
  app.add_flag("--fault-blank-bt-address", faults.blankBtAddress, "the logger has lost its Bluetooth address (all FF)");
  app.add_flag("--fault-brom-silent", faults.bootRomSilent, "the boot ROM does not answer a firmware download");
}

void AddFaultOptions(CLI::App& app, Faults& faults) {
  const std::size_t first = app.get_options().size();
  AddCountedFaults(app, faults);
  AddTimingFaults(app, faults);
  AddAnswerFaults(app, faults);
  const std::vector<CLI::Option*> all = app.get_options();
  for (std::size_t i = first; i < all.size(); ++i) all[i]->group(kFaultGroup);
}

int UnknownOption(const CLI::App& app, const std::string& option) {
  std::fprintf(stderr, "t580-sim: unknown or incomplete option %s\n%s", option.c_str(), app.help().c_str());
  return 2;
}

// The exit status when the command line ends the program here (help, a usage error), else -1.
int Parse(CLI::App& app, int argc, char** argv) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {  // --help
    return app.exit(e);
  } catch (const CLI::ArgumentMismatch& e) {
    // "--scenario: 1 required NAME missing"
    const std::string what = e.what();
    return UnknownOption(app, what.substr(0, what.find(':')));
  } catch (const CLI::ParseError& e) {
    std::fprintf(stderr, "t580-sim: %s\n", e.what());
    return 2;
  } catch (const BadValue& e) {
    std::fprintf(stderr, "t580-sim: %s\n", e.what());
    return 2;
  }
  if (const std::vector<std::string> extras = app.remaining(); !extras.empty()) return UnknownOption(app, extras.front());
  return -1;
}

int ListScenarios() {
  for (const std::string& name : ScenarioNames()) {
    const auto s = ScenarioByName(name);
    std::printf("%-8s %s\n", name.c_str(), s ? s->description.c_str() : "");
  }
  return 0;
}

// Written whole or not at all: a file that was there before stays unless the new one is complete.
int WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  kavro::ReplacingFileSink file;
  std::string error;
  const bool ok = file.Open(path, &error) &&
                  file.Write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())) &&
                  file.Commit(&error);
  if (ok) return 0;
  if (error.empty()) error = file.ErrorText();
  std::fprintf(stderr, "t580-sim: cannot write %s: %s\n", path.c_str(), error.c_str());
  return 1;
}

// "1.31" or "131" -> 131; -1 for anything else.
int FirmwareVersion(const std::string& text) {
  const std::size_t dot = text.find('.');
  long long whole = 0;
  long long part = 0;
  if (dot == std::string::npos)
    return ParseInt(text.c_str(), 0, &whole) && whole < 1000 ? static_cast<int>(whole) : -1;
  if (dot + 3 == text.size() && ParseInt(text.substr(0, dot).c_str(), 0, &whole) &&
      ParseInt(text.substr(dot + 1).c_str(), 0, &part) && whole < 10 && text[dot + 1] >= '0' && text[dot + 1] <= '9')
    return static_cast<int>(whole * 100 + part);
  return -1;
}

int MakeFirmware(const std::string& versionText, const std::string& path) {
  const int version = FirmwareVersion(versionText);
  if (version < 0) {
    std::fprintf(stderr, "t580-sim: the version must be like 1.31\n");
    return 2;
  }
  return WriteWholeFile(path, kavro::sim::SampleFirmwareFile(version));
}

// 0 with the scenario in *out, else the exit status.
int LoadScenario(const Request& request, std::optional<Scenario>* out) {
  if (request.imagePath.empty()) {
    *out = ScenarioByName(request.scenarioName, request.now);
    if (*out) return 0;
    std::fprintf(stderr, "t580-sim: unknown scenario \"%s\" (try --list)\n", request.scenarioName.c_str());
    return 2;
  }
  std::FILE* f = std::fopen(request.imagePath.c_str(), "rb");
  if (!f) {
    std::fprintf(stderr, "t580-sim: cannot read %s: %s\n", request.imagePath.c_str(), std::strerror(errno));
    return 1;
  }
  // One byte more than an image may hold tells a file that is too long.
  std::vector<std::uint8_t> bytes(kavro::memory::kSize + 1);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  std::string error;
  *out = kavro::sim::ScenarioFromImage(std::move(bytes), &error);
  if (*out) return 0;
  std::fprintf(stderr, "t580-sim: %s: %s\n", request.imagePath.c_str(), error.c_str());
  return 1;
}

// SIGUSR1: the logger records a trip of about 60 KB that ended a minute ago.
void RecordTrip(kavro::sim::Simulator& sim) {
  constexpr int kPoints = 3800;
  constexpr int kStep = 5;
  const auto start = static_cast<std::int64_t>(std::time(nullptr)) - 60 - std::int64_t{kPoints} * kStep;
  const bool ok = sim.Record(kavro::sim::TripSlots(start, kPoints, kStep));
  std::fprintf(stderr, "t580-sim: %s, write position %X\n", ok ? "trip recorded" : "memory full, trip cut short",
               sim.WritePosition());
  std::fflush(stderr);
}

// Answers on the port until a stop signal comes or the logger goes away.
int Serve(Scenario scenario, const Request& request) {
  // The signals are taken by sigtimedwait below, in this thread only.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGHUP);
  sigaddset(&stopSignals, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  kavro::sim::Simulator sim(std::move(scenario), request.options);
  std::string error;
  if (!sim.Start(&error)) {
    std::fprintf(stderr, "t580-sim: cannot open a pseudo-terminal: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", sim.SlavePath().c_str());
  std::fflush(stdout);

  const timespec tick{0, 200 * 1000 * 1000};
  while (sim.Running()) {
    const int signal = sigtimedwait(&stopSignals, nullptr, &tick);
    if (signal == SIGUSR1) {
      RecordTrip(sim);
      continue;
    }
    if (signal > 0) break;
  }
  sim.Stop();
  if (request.stats) std::fprintf(stderr, "t580-sim: %lld bytes sent\n", static_cast<long long>(sim.BytesSent()));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Request request;
  CLI::App app(
      "A simulated T-580 logger. Prints the path of its port on the first line and answers there until "
      "SIGINT or SIGTERM. SIGUSR1 records a trip of about 60 KB.",
      "t580-sim");
  // A repeated option takes its last value, so a script can override one it set earlier.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.allow_extras();
  AddLoggerOptions(app, request);
  AddOtherUses(app, request);
  AddFaultOptions(app, request.options.faults);
  if (const int status = Parse(app, argc, argv); status >= 0) return status;

  if (request.list) return ListScenarios();
  if (request.makeFirmware.size() == 2) return MakeFirmware(request.makeFirmware[0], request.makeFirmware[1]);
  std::optional<Scenario> scenario;
  if (const int status = LoadScenario(request, &scenario); status != 0) return status;
  if (!request.dumpPath.empty()) return WriteWholeFile(request.dumpPath, kavro::sim::BuildMemoryImage(*scenario));
  return Serve(std::move(*scenario), request);
}
