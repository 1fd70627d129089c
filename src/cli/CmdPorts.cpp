// kavro ports: the port list of the Device page, with the bridges and Auto Detect's pick.
#include "Cli.h"
#include "Connection.h"
#include "common/Texts.h"
#include "serial/PortDiscovery.h"

namespace kavro::cli {

int RunPorts(CliEnv& env, const QStringList& args) {
  const QString usage = QStringLiteral("usage: kavro ports [--simulate[=SCENARIO]]");
  PortOptions options;
  for (int i = 0; i < args.size(); ++i) {
    QString error;
    if (!TakePortOption(env, args, i, options, error) || !options.port.isEmpty())
      error = env.ctx.strings.Format(txt::UnknownOption, {args[i]});
    if (!error.isEmpty()) return env.Usage(error + '\n' + usage);
  }
  // With --simulate the simulated logger's port is listed as the window lists it.
  std::unique_ptr<sim::Simulator> simulator;
  std::vector<PortInfo> virtualPorts;
  if (options.simulate) {
    int status = 0;
    simulator = StartCliSimulator(env, options.scenario, status);
    if (!simulator) return status;
    PortInfo p;
    p.devicePath = simulator->SlavePath();
    p.description = env.ctx.strings.Utf8(txt::SimulatedLogger);
    virtualPorts.push_back(p);
  }
  const std::vector<PortInfo> ports = EnumeratePorts(virtualPorts);
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

}  // namespace kavro::cli
