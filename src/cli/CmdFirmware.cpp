// kavro firmware: the firmware page's Download and Update from the command line.
#include <QCoreApplication>
#include <QFileInfo>

#include "Cli.h"
#include "Connection.h"
#include "common/Texts.h"
#include "firmware/FirmwareUpdate.h"

namespace kavro::cli {

int RunFirmware(CliEnv& env, const QStringList& args) {
  const QString usage = QStringLiteral("usage: kavro firmware FILE.bin (--port PATH | --simulate[=SCENARIO])");
  PortOptions options;
  QString file;
  for (int i = 0; i < args.size(); ++i) {
    QString error;
    if (TakePortOption(env, args, i, options, error)) {
      if (!error.isEmpty()) return env.Usage(error + '\n' + usage);
    } else if (!args[i].startsWith(QLatin1String("--")) && file.isEmpty()) {
      file = args[i];
    } else {
      return env.Usage(env.ctx.strings.Format(txt::UnknownOption, {args[i]}) + '\n' + usage);
    }
  }
  if (file.isEmpty()) return env.Usage(env.ctx.strings.Text(txt::SelectFirmwareFile) + '\n' + usage);
  if (options.simulate == !options.port.isEmpty()) return env.Usage(env.ctx.strings.Text(txt::CliNeedPort));

  // Like the window: the agent and the scatter file come from the program's own folder.
  SerialBootRom library;
  FirmwareUpdate update(QCoreApplication::applicationDirPath().toStdString(), library);
  update.ChooseFile(QFileInfo(file).absoluteFilePath().toStdString());
  const FirmwareMessage check = update.Check();
  if (check.IsError()) {
    std::vector<QString> messageArgs;
    for (const std::string& a : check.args) messageArgs.push_back(QString::fromStdString(a));
    return env.Fail(env.ctx.strings.Format(check.textId, messageArgs));
  }

  std::unique_ptr<sim::Simulator> simulator;
  std::string path = options.port.toStdString();
  if (options.simulate) {
    int status = 0;
    simulator = StartCliSimulator(env, options.scenario, status);
    if (!simulator) return status;
    path = simulator->SlavePath();
  }

  int lastStatus = 0;
  int lastPercent = -1;
  FirmwareCallbacks callbacks;
  // Each status once, as the page's status line changes; the percent on a line of its own on a
  // terminal. The callbacks run on this thread.
  callbacks.status = [&](int id) {
    if (id == lastStatus) return;
    lastStatus = id;
    if (env.interactive && lastPercent >= 0) env.out << '\n';
    lastPercent = -1;
    PrintStatus(env, id);
  };
  callbacks.progress = [&](int percent) {
    if (!env.interactive || percent == lastPercent) return;
    lastPercent = percent;
    env.out << '\r' << percent << '%';
    env.out.flush();
  };
  update.Prepare({path, SerialPort::kDefaultBaud, 0}, callbacks);
  const FirmwareOutcome outcome = update.Run(callbacks);
  if (env.interactive && lastPercent >= 0) env.out << '\n';
  if (outcome != FirmwareOutcome::Updated) return env.Fail(env.ctx.strings.Text(lastStatus));
  env.out << env.ctx.strings.Text(txt::DownloadAndUpdateSuccess) << '\n';
  env.out.flush();
  return 0;
}

}  // namespace kavro::cli
