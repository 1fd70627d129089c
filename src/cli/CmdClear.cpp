// kavro clear: the Clear button from the command line.
#include <CLI/App.hpp>

#include "Commands.h"
#include "Connection.h"
#include "common/Texts.h"
#include "download/LogDownload.h"
#include "protocol/TrackLogSettings.h"

namespace kavro::cli {
namespace {

class ClearCommand : public Command {
 public:
  explicit ClearCommand(CLI::App& program) : Command(program, "clear", "Erase the logger's track log memory") {
    port_.AddTo(Sub());
    Sub().add_flag("-y,--yes", yes_, "Erase without asking (needed when not run on a terminal)");
  }

  int Run(CliEnv& env) override {
    if (const int status = env.Confirm(env.ctx.strings.Text(txt::ClearConfirm), yes_)) return status;
    LoggerConnection logger(env);
    if (const int status = logger.Open(port_); status != 0) return status;
    const SettingsOutcome o = ClearLog(env.ctx.link, env.ctx.device, [&env](int id) { PrintStatus(env, id); });
    if (o != SettingsOutcome::Done)
      return logger.FailWith(o == SettingsOutcome::NotConnected ? txt::ClearFailedNoDevice : txt::ConnectionFailedSettings);
    DropKeptCopy(env.ctx.link, env.ctx.device, env.ctx.keptCopyFolder);
    const DeviceInfo d = env.ctx.device.Snapshot();
    env.out << env.ctx.strings.Text(txt::ClearSucceed) << '\n';
    env.out << env.ctx.strings.Text(txt::MemoryUsage) << ": "
            << env.ctx.strings.Format(txt::CliFreeRecords, {QString::fromStdString(d.memoryText)}) << '\n';
    env.out.flush();
    logger.Close();
    return 0;
  }

 private:
  PortOptions port_;
  bool yes_ = false;
};

}  // namespace

std::unique_ptr<Command> AddClear(CLI::App& program) { return std::make_unique<ClearCommand>(program); }

}  // namespace kavro::cli
