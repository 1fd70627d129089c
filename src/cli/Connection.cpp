#include "Connection.h"

#include <CLI/App.hpp>
#include <QStringList>

#include "common/Texts.h"
#include "protocol/ConnectFlow.h"
#include "protocol/Disconnect.h"

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

std::unique_ptr<sim::Simulator> StartCliSimulator(CliEnv& env, const std::string& scenario, int& status) {
  const std::string name = scenario.empty() ? std::string("demo") : scenario;
  if (!sim::ScenarioByName(name)) {
    QStringList names;
    for (const std::string& n : sim::ScenarioNames()) names << QString::fromStdString(n);
    status = env.Usage(env.ctx.strings.Format(
        txt::CliUnknownScenario, {QString::fromStdString(scenario), names.join(QStringLiteral(", "))}));
    return nullptr;
  }
  std::string error;
  auto simulator = sim::StartSimulator(name, &error);
  if (!simulator) {
    status = env.Fail(env.ctx.strings.Format(txt::CliSimulatorFailed, {QString::fromStdString(error)}));
    return nullptr;
  }
  status = 0;
  return simulator;
}

int ResolvePortPath(CliEnv& env, const PortOptions& options, std::unique_ptr<sim::Simulator>& simulator,
                    std::string& path) {
  if (options.Simulate() == !options.port.empty()) return env.Usage(env.ctx.strings.Text(txt::CliNeedPort));
  if (!options.Simulate()) {
    path = options.port;
    return 0;
  }
  int status = 0;
  simulator = StartCliSimulator(env, options.scenario, status);
  if (!simulator) return status;
  path = simulator->SlavePath();
  return 0;
}

QString OpenErrorMessage(const StringTable& strings, OpenError error, const QString& port, const std::string& why) {
  switch (error) {
    case OpenError::Missing: return strings.Format(txt::PortMissing, {port});
    case OpenError::Busy: return strings.Format(txt::PortBusy, {port});
    case OpenError::Permission: return strings.Format(txt::PortPermission, {port});
    default: return strings.Format(txt::PortOtherError, {port, QString::fromStdString(why)});
  }
}

LoggerConnection::~LoggerConnection() { Close(); }

int LoggerConnection::Open(const PortOptions& options) {
  if (const int status = ResolvePortPath(env_, options, simulator_, portPath_)) return status;
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
  if (r.openError != OpenError::None) return env_.Fail(OpenErrorMessage(ctx.strings, r.openError, port, r.openErrorText));
  // The status line already said it failed; name the port on the way out.
  if (r.linkLost) return env_.Fail(ctx.strings.Format(txt::CliLoggerGone, {port}));
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

int LoggerConnection::FailWith(int textId) {
  if (env_.ctx.link.LinkLost())
    return env_.Fail(env_.ctx.strings.Format(txt::CliLoggerGone, {QString::fromStdString(portPath_)}));
  return env_.Fail(env_.ctx.strings.Text(textId));
}

}  // namespace kavro::cli
