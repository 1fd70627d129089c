#pragma once
// What info, set-name, settings and clear share: the --port / --simulate options, opening the
// logger exactly as the Connect button does, and saying goodbye.

#include <QString>
#include <memory>
#include <string>

#include "Cli.h"
#include "SimulatedPort.h"

namespace CLI {
class Option;
}

namespace kavro::cli {

// --port PATH and --simulate[=SCENARIO], shared by every subcommand that talks to a logger.
struct PortOptions {
  std::string port;
  std::string scenario;  // "demo" when --simulate has no value
  CLI::Option* simulateFlag = nullptr;

  // Adds the options to a subcommand; `ports` takes --simulate only.
  void AddTo(CLI::App& sub, bool withPort = true);
  bool Simulate() const;
  // Exactly one of --port and --simulate was given.
  bool OnePort() const { return Simulate() == port.empty(); }
  // The port named: --port as given, or the simulator's port name (SimulatedPort).
  std::string PortName() const;
};

// A connected logger for one subcommand: the simulator (if any) lives as long as this.
class LoggerConnection {
 public:
  explicit LoggerConnection(CliEnv& env) : env_(env) {}
  ~LoggerConnection();
  LoggerConnection(const LoggerConnection&) = delete;
  LoggerConnection& operator=(const LoggerConnection&) = delete;

  // Starts the simulator when asked, then connects as the Connect button does, with its
  // statuses on stderr. Returns 0, or the exit status after printing why (port named).
  int Open(const PortOptions& options);
  // Says goodbye ($KAVRO580,2) and closes the port.
  void Close();
  // The open port may take the 921600-baud download, as the window decides it.
  bool OnBridge() const;
  // 1 with "The logger stopped answering on PORT." when the link is gone, else 1 with text id.
  int FailWith(int textId);

 private:
  CliEnv& env_;
  sim::SimulatedPort simulated_;
  std::string portPath_;
  bool open_ = false;
};

// The device to open for the options: --port as given, or the pseudo-terminal of a simulator
// started in `simulated` for the command's run. Returns 0, or the exit status after printing why.
int ResolvePortPath(CliEnv& env, const PortOptions& options, sim::SimulatedPort& simulated, std::string& path);

// The ports of the system and env.extraPorts, with the simulator's entry when its port is given.
std::vector<PortInfo> ListedPorts(const CliEnv& env, const std::string& simulatedPath = {});

// Why the port could not be opened, naming it.
QString OpenErrorMessage(const StringTable& strings, OpenError error, const std::string& port, const std::string& why);

// A status id reported by the core, printed as a line on stderr.
void PrintStatus(CliEnv& env, int textId);

}  // namespace kavro::cli
