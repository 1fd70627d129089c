// kavro firmware: the firmware page's Download and Update from the command line.
#include <CLI/App.hpp>
#include <QCoreApplication>
#include <QFileInfo>

#include "Commands.h"
#include "Connection.h"
#include "common/Texts.h"
#include "firmware/FirmwareUpdate.h"

namespace kavro::cli {
namespace {

class FirmwareCommand : public Command {
 public:
  explicit FirmwareCommand(CLI::App& program)
      : Command(program, "firmware",
                "Write a firmware file into the logger through its boot ROM, keeping its Bluetooth address") {
    Sub().add_option("FILE", file_, "The firmware file (*.bin): the image and its CRC-32")->required();
    port_.AddTo(Sub());
    Sub().add_flag("-y,--yes", yes_, "Write without asking (needed when not run on a terminal)");
  }

  int Run(CliEnv& env) override;

 private:
  std::string file_;
  PortOptions port_;
  bool yes_ = false;
};

QString MessageText(const StringTable& strings, const FirmwareMessage& message) {
  std::vector<QString> args;
  for (const std::string& a : message.args) args.push_back(QString::fromStdString(a));
  return strings.Format(message.textId, args);
}

}  // namespace

int FirmwareCommand::Run(CliEnv& env) {
  const PortOptions& options = port_;
  if (!options.OnePort()) return env.Usage(env.ctx.strings.Text(txt::CliNeedPort));
  const QString file = QString::fromStdString(file_);
  // Like the window: the agent and the scatter file come from the program's own folder.
  SerialBootRom library;
  FirmwareUpdate update(QCoreApplication::applicationDirPath().toStdString(), library);
  update.ChooseFile(QFileInfo(file).absoluteFilePath().toStdString());
  const FirmwareMessage check = update.Check();
  if (check.IsError()) return env.Fail(MessageText(env.ctx.strings, check));

  sim::SimulatedPort simulated;
  std::string path;
  if (const int status = ResolvePortPath(env, options, simulated, path)) {
    update.DropImageCopy();
    return status;
  }
  if (const int status = env.Confirm(MessageText(env.ctx.strings, update.Confirmation(path)), yes_)) {
    update.DropImageCopy();
    return status;
  }

  int lastStatus = 0;
  int lastPercent = -1;
  FirmwareCallbacks callbacks;
  // Each status once, as the page's status line changes, except the last one, which is the
  // result; the percent on a line of its own on a terminal. The callbacks run on this thread.
  const auto isResult = [](int id) {
    return id == txt::DownloadAndUpdateSuccess || id == txt::OpenComPortFailed ||
           (id >= txt::FirmwareFailedNoBootRom && id <= txt::FirmwareFailedLink);
  };
  callbacks.status = [&](int id) {
    if (id == lastStatus) return;
    lastStatus = id;
    if (isResult(id)) return;
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

std::unique_ptr<Command> AddFirmware(CLI::App& program) { return std::make_unique<FirmwareCommand>(program); }

}  // namespace kavro::cli
