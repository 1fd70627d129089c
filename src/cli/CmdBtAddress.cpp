// kavro bt-address: the logger's Bluetooth address and the one saved for the firmware update.
#include <CLI/App.hpp>

#include "Commands.h"
#include "Connection.h"
#include "common/Texts.h"
#include "firmware/BtAddress.h"

namespace kavro::cli {
namespace {

class BtAddressCommand : public Command {
 public:
  explicit BtAddressCommand(CLI::App& program)
      : Command(program, "bt-address", "Show the logger's Bluetooth address and the one saved for firmware updates") {
    port_.AddTo(Sub());
  }

  int Run(CliEnv& env) override;

 private:
  PortOptions port_;
};

}  // namespace

int BtAddressCommand::Run(CliEnv& env) {
  sim::SimulatedPort simulated;
  std::string path;
  if (const int status = ResolvePortPath(env, port_, simulated, path)) return status;
  const QString port = QString::fromStdString(path);
  const BtQuery q = QueryBtAddress(path, SerialPort::kDefaultBaud);
  if (!q.portOpened) return env.Fail(OpenErrorMessage(env.ctx.strings, q.openError, path, q.openErrorText));
  // Both in the order of the logger's sentences, so equal addresses read the same.
  const BtAddressStore store;
  std::optional<BtAddress> saved;
  if (const auto text = store.Load()) saved = ParseSavedBtText(*text);
  const QString savedText =
      saved ? QString::fromStdString(BtAddressText(*saved)) : env.ctx.strings.Text(txt::CliBtAddressNone);
  if (q.address)
    env.out << env.ctx.strings.Format(txt::CliBtAddressLogger, {QString::fromStdString(BtAddressText(*q.address))}) << '\n';
  env.out << env.ctx.strings.Format(txt::CliBtAddressSaved, {savedText}) << '\n';
  env.out.flush();
  if (!q.address) return env.Fail(env.ctx.strings.Text(txt::CliBtNoReply) + QStringLiteral(" (") + port + QLatin1Char(')'));
  return 0;
}

std::unique_ptr<Command> AddBtAddress(CLI::App& program) { return std::make_unique<BtAddressCommand>(program); }

}  // namespace kavro::cli
