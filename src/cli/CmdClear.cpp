// kavro clear: the Clear button from the command line.
#include "Cli.h"
#include "Connection.h"
#include "common/Texts.h"
#include "protocol/TrackLogSettings.h"

namespace kavro::cli {

int RunClear(CliEnv& env, const QStringList& args) {
  const QString usage = QStringLiteral("usage: kavro clear (--port PATH | --simulate[=SCENARIO])");
  PortOptions options;
  if (const int status = TakeOnlyPortOptions(env, args, usage, options); status != 0) return status;
  LoggerConnection logger(env);
  if (const int status = logger.Open(options); status != 0) return status;
  const SettingsOutcome o = ClearLog(env.ctx.link, env.ctx.device, [&env](int id) { PrintStatus(env, id); });
  if (o != SettingsOutcome::Done)
    return logger.FailWith(o == SettingsOutcome::NotConnected ? txt::ClearFailedNoDevice : txt::ConnectionFailedSettings);
  const DeviceInfo d = env.ctx.device.Snapshot();
  env.out << env.ctx.strings.Text(txt::ClearSucceed) << '\n';
  env.out << env.ctx.strings.Text(txt::MemoryUsage) << ": "
          << env.ctx.strings.Format(txt::CliFreeRecords, {QString::fromStdString(d.memoryText)}) << '\n';
  env.out.flush();
  logger.Close();
  return 0;
}

}  // namespace kavro::cli
