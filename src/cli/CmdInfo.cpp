// kavro info: connect as the Connect button does and print what the logger said.
#include "Cli.h"
#include "Connection.h"
#include "common/Texts.h"
#include "protocol/ConnectFlow.h"

namespace kavro::cli {
namespace {

void Line(CliEnv& env, int labelId, const QString& value) {
  env.out << env.ctx.strings.Text(labelId) << ": " << value << '\n';
}

}  // namespace

int RunInfo(CliEnv& env, const QStringList& args) {
  const QString usage = QStringLiteral("usage: kavro info (--port PATH | --simulate[=SCENARIO])");
  PortOptions options;
  if (const int status = TakeOnlyPortOptions(env, args, usage, options); status != 0) return status;
  LoggerConnection logger(env);
  if (const int status = logger.Open(options); status != 0) return status;

  const StringTable& t = env.ctx.strings;
  const DeviceInfo d = env.ctx.device.Snapshot();
  auto text = [&](int id) { return t.Text(id); };
  auto number = [](long long v) { return QString::number(v); };
  const QString notRead = text(txt::CliNotRead);
  const std::string model = ModelName(d.model);
  Line(env, txt::DeviceType, model.empty() ? text(txt::NoDeviceAvailable) : QString::fromStdString(model));
  Line(env, txt::VersionLabel, QString::fromStdString(d.versionText));
  Line(env, txt::MemoryUsage, t.Format(txt::CliFreeRecords, {QString::fromStdString(d.memoryText)}));
  Line(env, txt::UserName, QString::fromStdString(d.userName));
  Line(env, txt::CliTimeInterval, t.Format(txt::CliTenthsOfSecond, {number(d.timeInterval)}));
  Line(env, txt::CliDistanceInterval, t.Format(txt::CliTenthsOfMetre, {number(d.distanceInterval)}));
  Line(env, txt::CliRecordMode,
       d.recordMode == 1 ? text(txt::Overwrite) : d.recordMode == 2 ? text(txt::FullAndStop) : number(d.recordMode));
  Line(env, txt::CliWritePosition,
       QStringLiteral("0x%1 (%2)").arg(d.logUsedSize, 8, 16, QLatin1Char('0')).arg(d.logUsedSize));
  Line(env, txt::CliMemoryWrapped, text(d.logWrapped ? txt::CliYes : txt::CliNo));
  Line(env, txt::CliRecordingBasis,
       d.basisValid ? text(d.basis == 1 ? txt::Distance : txt::Second) : notRead);
  Line(env, txt::CliTimeZone, d.timeZoneValid ? QString::fromStdString(d.timeZone) : notRead);
  Line(env, txt::CliDistanceUnit,
       d.distanceUnitValid ? text(d.distanceUnit == 1 ? txt::Feet : txt::Meter) : notRead);
  env.out.flush();
  logger.Close();
  return 0;
}

}  // namespace kavro::cli
