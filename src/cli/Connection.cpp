#include "Connection.h"

#include <CLI/App.hpp>
#include <QStringList>

#include "common/Texts.h"
#include "protocol/ConnectFlow.h"
#include "protocol/Disconnect.h"
#include "serial/PortOpenText.h"

namespace kavro::cli {

void PrintStatus(CliEnv& env, int textId) {
  env.err << env.ctx.strings.Text(textId) << '\n';
  env.err.flush();
}

void PortOptions::AddTo(CLI::App& sub, bool withPort) {
  if (withPort) sub.add_option("--port", port, "The logger's serial port, e.g. /dev/ttyUSB0")->option_text("PATH");
  std::string names;
  for (const std::string& n : sim::ScenarioNames()) names += (names.empty() ? "" : ", ") + n;
  simulateFlag = sub.add_flag("--simulate{demo}", scenario, "Start a simulated T-580 and use its port; SCENARIO (default demo) is one of " + names)
                     ->option_text("[=SCENARIO]");
}

bool PortOptions::Simulate() const { return simulateFlag != nullptr && simulateFlag->count() > 0; }

std::string PortOptions::PortName() const {
  return Simulate() ? sim::SimulatedPort::PortName(scenario.empty() ? std::string("demo") : scenario) : port;
}

int ResolvePortPath(CliEnv& env, const PortOptions& options, sim::SimulatedPort& simulated, std::string& path) {
  if (!options.OnePort()) return env.Usage(env.ctx.strings.Text(txt::CliNeedPort));
  if (options.Simulate() && !sim::ScenarioByName(options.scenario.empty() ? "demo" : options.scenario)) {
    QStringList names;
    for (const std::string& n : sim::ScenarioNames()) names << QString::fromStdString(n);
    return env.Usage(env.ctx.strings.Format(
        txt::CliUnknownScenario, {QString::fromStdString(options.scenario), names.join(QStringLiteral(", "))}));
  }
  std::string error;
  path = simulated.DevicePath(options.PortName(), &error);
  if (path.empty()) return env.Fail(env.ctx.strings.Format(txt::CliSimulatorFailed, {QString::fromStdString(error)}));
  return 0;
}

std::vector<PortInfo> ListedPorts(const CliEnv& env, const std::string& simulatedPath) {
  std::vector<PortInfo> virtualPorts = env.extraPorts;
  if (!simulatedPath.empty())
    virtualPorts.push_back(sim::SimulatedPort::Entry(simulatedPath, env.ctx.strings.Utf8(txt::SimulatedLogger)));
  return EnumeratePorts(virtualPorts);
}

QString OpenErrorMessage(const StringTable& strings, OpenError error, const std::string& port, const std::string& why) {
  return strings.Format(PortOpenText(error, port, why));
}

LoggerConnection::~LoggerConnection() { Close(); }

int LoggerConnection::Open(const PortOptions& options) {
  if (const int status = ResolvePortPath(env_, options, simulated_, portPath_)) return status;
  AppContext& ctx = env_.ctx;
  // No keep-alive runs here, so the disconnect need not wait for one to finish.
  ExchangeTiming timing = ctx.link.Timing();
  timing.disconnectPause = std::chrono::milliseconds(0);
  ctx.link.SetTiming(timing);
  const ConnectResult r = Connect(ctx.link, ctx.device, portPath_, ctx.link.Port().BaudRate(),
                                  [this](int id) { PrintStatus(env_, id); });
  open_ = r.portHeld;
  if (r.outcome == ConnectOutcome::Connected) return 0;
  const QString port = QString::fromStdString(portPath_);
  if (r.openError != OpenError::None)
    return env_.Fail(OpenErrorMessage(ctx.strings, r.openError, portPath_, r.openErrorText));
  // The status line already said it failed; name the port on the way out.
  if (r.linkLost) return env_.Fail(ctx.strings.Format(txt::CliLoggerGone, {port}));
  if (r.noAnswer) return env_.Fail(ctx.strings.Format(txt::CliNoAnswerOnPort, {port}));
  return env_.Fail(ctx.strings.Text(r.outcome == ConnectOutcome::TimedOut ? txt::TimeoutDisconnected : txt::ConnectFailed) +
                   QStringLiteral(" (") + port + QLatin1Char(')'));
}

void LoggerConnection::Close() {
  if (!open_) return;
  open_ = false;
  Disconnect(env_.ctx.link, env_.ctx.device, [this] { env_.ctx.keepAlive.SetEnabled(false); }, {});
  env_.ctx.link.ClosePort();
  env_.ctx.link.EndSession();
}

bool LoggerConnection::OnBridge() const {
  return IsBridgePort(ListedPorts(env_, simulated_.Running() ? portPath_ : std::string()), portPath_);
}

int LoggerConnection::FailWith(int textId) {
  if (env_.ctx.link.LinkLost())
    return env_.Fail(env_.ctx.strings.Format(txt::CliLoggerGone, {QString::fromStdString(portPath_)}));
  return env_.Fail(env_.ctx.strings.Text(textId));
}

}  // namespace kavro::cli
