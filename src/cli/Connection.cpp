#include "Connection.h"

#include "common/Texts.h"
#include "protocol/ConnectFlow.h"
#include "protocol/Disconnect.h"

namespace kavro::cli {

void PrintStatus(CliEnv& env, int textId) {
  env.err << env.ctx.strings.Text(textId) << '\n';
  env.err.flush();
}

bool TakePortOption(CliEnv& env, const QStringList& args, int& i, PortOptions& options, QString& error) {
  const QString& a = args[i];
  if (a == QLatin1String("--port")) {
    if (i + 1 >= args.size()) {
      error = env.ctx.strings.Format(txt::MissingArgument, {a});
      return true;
    }
    options.port = args[++i];
    return true;
  }
  if (a.startsWith(QLatin1String("--port="))) {
    options.port = a.mid(7);
    if (options.port.isEmpty()) error = env.ctx.strings.Format(txt::MissingArgument, {QStringLiteral("--port")});
    return true;
  }
  if (a == QLatin1String("--simulate")) {
    options.simulate = true;
    return true;
  }
  if (a.startsWith(QLatin1String("--simulate="))) {
    options.simulate = true;
    options.scenario = a.mid(11);
    return true;
  }
  return false;
}

int TakeOnlyPortOptions(CliEnv& env, const QStringList& args, const QString& usage, PortOptions& options) {
  for (int i = 0; i < args.size(); ++i) {
    QString error;
    if (!TakePortOption(env, args, i, options, error)) error = env.ctx.strings.Format(txt::UnknownOption, {args[i]});
    if (!error.isEmpty()) return env.Usage(error + '\n' + usage);
  }
  return 0;
}

std::unique_ptr<sim::Simulator> StartCliSimulator(CliEnv& env, const QString& scenario, int& status) {
  const std::string name = scenario.isEmpty() ? std::string("demo") : scenario.toStdString();
  if (!sim::ScenarioByName(name)) {
    QStringList names;
    for (const std::string& n : sim::ScenarioNames()) names << QString::fromStdString(n);
    status = env.Usage(env.ctx.strings.Format(txt::CliUnknownScenario, {scenario, names.join(QStringLiteral(", "))}));
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
  if (options.simulate == !options.port.isEmpty()) return env_.Usage(env_.ctx.strings.Text(txt::CliNeedPort));
  if (options.simulate) {
    int status = 0;
    simulator_ = StartCliSimulator(env_, options.scenario, status);
    if (!simulator_) return status;
    portPath_ = simulator_->SlavePath();
  } else {
    portPath_ = options.port.toStdString();
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
