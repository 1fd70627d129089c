// kavro set-name: Write Name from the command line.
#include "Cli.h"
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

}  // namespace

int RunSetName(CliEnv& env, const QStringList& args) {
  const QString usage = QStringLiteral("usage: kavro set-name NAME (--port PATH | --simulate[=SCENARIO])");
  PortOptions options;
  QString name;
  bool haveName = false;
  for (int i = 0; i < args.size(); ++i) {
    QString error;
    if (!TakePortOption(env, args, i, options, error)) {
      if (args[i].startsWith(QLatin1String("--")) || haveName)
        error = env.ctx.strings.Format(txt::UnknownOption, {args[i]});
      else {
        name = args[i];
        haveName = true;
      }
    }
    if (!error.isEmpty()) return env.Usage(error + '\n' + usage);
  }
  if (!haveName) return env.Usage(env.ctx.strings.Format(txt::MissingArgument, {QStringLiteral("NAME")}) + '\n' + usage);

  // The name is checked before anything goes to the logger.
  const std::string bytes = name.toStdString();
  if (const int message = MessageFor(CheckUserName(bytes))) return env.Fail(env.ctx.strings.Text(message));

  LoggerConnection logger(env);
  if (const int status = logger.Open(options); status != 0) return status;
  const WriteNameOutcome o = WriteName(env.ctx.link, env.ctx.device, bytes);
  if (o != WriteNameOutcome::Sent) return logger.FailWith(MessageFor(o));
  env.out << env.ctx.strings.Format(txt::CliNameSent, {name}) << '\n';
  env.out.flush();
  logger.Close();
  return 0;
}

}  // namespace kavro::cli
