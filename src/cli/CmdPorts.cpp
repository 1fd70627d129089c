// kavro ports: the port list of the Device page, with the bridges and Auto Detect's pick.
#include <CLI/App.hpp>

#include "Commands.h"
#include "Connection.h"
#include "common/Texts.h"
#include "serial/PortDiscovery.h"

namespace kavro::cli {
namespace {

class PortsCommand : public Command {
 public:
  explicit PortsCommand(CLI::App& program)
      : Command(program, "ports", "List the serial ports as the Device page does, and Auto Detect's pick") {
    port_.AddTo(Sub(), false);
  }

  int Run(CliEnv& env) override;

 private:
  PortOptions port_;
};

int PortsCommand::Run(CliEnv& env) {
  // With --simulate the simulated logger's port is listed as the window lists it.
  sim::SimulatedPort simulated;
  std::string simulatedPath;
  if (port_.Simulate())
    if (const int status = ResolvePortPath(env, port_, simulated, simulatedPath)) return status;
  const std::vector<PortInfo> ports = ListedPorts(env, simulatedPath);
  if (ports.empty()) {
    env.out << env.ctx.strings.Text(txt::CliNoPorts) << '\n';
    return 0;
  }
  const PortChoice choice = FillPortChoice(ports);
  for (const PortInfo& p : ports) {
    env.out << (p.devicePath == choice.selectedPort ? "* " : "  ") << QString::fromStdString(p.friendlyName);
    if (IsCp210x(p)) env.out << "  [" << env.ctx.strings.Text(txt::CliCp210xBridge) << ']';
    else if (IsProlific(p)) env.out << "  [" << env.ctx.strings.Text(txt::CliProlificBridge) << ']';
    env.out << '\n';
  }
  env.out << env.ctx.strings.Text(txt::AutoDetect) << ": " << QString::fromStdString(choice.selectedPort) << '\n';
  return 0;
}

}  // namespace

std::unique_ptr<Command> AddPorts(CLI::App& program) { return std::make_unique<PortsCommand>(program); }

}  // namespace kavro::cli
