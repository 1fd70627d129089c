// kavro set-name: Write Name from the command line.
#include <CLI/App.hpp>

#include "Commands.h"
#include "Connection.h"
#include "common/Texts.h"
#include "protocol/WriteName.h"

namespace kavro::cli {
namespace {

int MessageFor(WriteNameOutcome o) {
  switch (o) {
    case WriteNameOutcome::NotAscii: return txt::UserNameNotAscii;
    case WriteNameOutcome::Forbidden: return txt::UserNameForbidden;
    case WriteNameOutcome::TooLong: return txt::UserNameTooLong;
    case WriteNameOutcome::NotConnected: return txt::DeviceNotConnected;
    case WriteNameOutcome::Sent: break;
  }
  return 0;
}

class SetNameCommand : public Command {
 public:
  explicit SetNameCommand(CLI::App& program)
      : Command(program, "set-name", "Write a user name to the logger, as Write Name does") {
    Sub().add_option("NAME", name_, "The user name: up to 16 ASCII characters")->required();
    port_.AddTo(Sub());
  }

  int Run(CliEnv& env) override;

 private:
  std::string name_;
  PortOptions port_;
};

}  // namespace

int SetNameCommand::Run(CliEnv& env) {
  const QString name = QString::fromStdString(name_);
  // The name is checked before anything goes to the logger.
  const std::string& bytes = name_;
  if (const int message = MessageFor(CheckUserName(bytes))) return env.Fail(env.ctx.strings.Text(message));

  LoggerConnection logger(env);
  if (const int status = logger.Open(port_); status != 0) return status;
  const WriteNameOutcome o = WriteName(env.ctx.link, env.ctx.device, bytes);
  if (o != WriteNameOutcome::Sent) return logger.FailWith(MessageFor(o));
  env.out << env.ctx.strings.Format(txt::CliNameSent, {name}) << '\n';
  env.out.flush();
  logger.Close();
  return 0;
}

std::unique_ptr<Command> AddSetName(CLI::App& program) { return std::make_unique<SetNameCommand>(program); }

}  // namespace kavro::cli
