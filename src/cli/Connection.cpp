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

LoggerConnection::~LoggerConnection() { Close(); }

int LoggerConnection::Open(const PortOptions& options) {
  if (options.Simulate() == !options.port.empty()) return env_.Usage(env_.ctx.strings.Text(txt::CliNeedPort));
  if (options.Simulate()) {
    int status = 0;
    simulator_ = StartCliSimulator(env_, options.scenario, status);
    if (!simulator_) return status;
    portPath_ = simulator_->SlavePath();
  } else {
    portPath_ = options.port;
  }
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
  switch (r.openError) {
    case OpenError::Missing:
      return env_.Fail(ctx.strings.Format(txt::PortMissing, {port}));
    case OpenError::Busy:
      return env_.Fail(ctx.strings.Format(txt::PortBusy, {port}));
    case OpenError::Permission:
      return env_.Fail(ctx.strings.Format(txt::PortPermission, {port}));
    case OpenError::Other:
      return env_.Fail(ctx.strings.Format(txt::PortOtherError, {port, QString::fromStdString(r.openErrorText)}));
    case OpenError::None:
      break;
  }
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
