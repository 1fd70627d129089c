// kavro info: connect as the Connect button does and print what the logger said.
#include <CLI/App.hpp>
#include <QJsonDocument>
#include <QJsonObject>

#include "Commands.h"
#include "Connection.h"
#include "common/Texts.h"
#include "protocol/ConnectFlow.h"

namespace kavro::cli {
namespace {

void Line(CliEnv& env, int labelId, const QString& value) {
  env.out << env.ctx.strings.Text(labelId) << ": " << value << '\n';
}

// The values for scripts: numbers as numbers, fixed English keys and words, null when not read.
QJsonObject DeviceJson(const DeviceInfo& d) {
  auto orNull = [](bool valid, const QJsonValue& v) { return valid ? v : QJsonValue(QJsonValue::Null); };
  const std::string model = ModelName(d.model);
  QJsonObject o;
  o[QStringLiteral("model")] = model.empty() ? QJsonValue(QJsonValue::Null) : QJsonValue(QString::fromStdString(model));
  o[QStringLiteral("version")] = QString::fromStdString(d.versionText);
  o[QStringLiteral("userName")] = QString::fromStdString(d.userName);
  o[QStringLiteral("freeRecords")] = d.freeRecords;
  o[QStringLiteral("writePosition")] = static_cast<qint64>(d.logUsedSize);
  o[QStringLiteral("memoryWrapped")] = d.logWrapped != 0;
  o[QStringLiteral("timeIntervalTenthsOfSecond")] = d.timeInterval;
  o[QStringLiteral("distanceIntervalTenthsOfMetre")] = d.distanceInterval;
  o[QStringLiteral("recordMode")] = d.recordMode == 1   ? QJsonValue(QStringLiteral("overwrite"))
                                    : d.recordMode == 2 ? QJsonValue(QStringLiteral("stop"))
                                                        : QJsonValue(d.recordMode);
  o[QStringLiteral("recordingBasis")] =
      orNull(d.basisValid, QString::fromLatin1(d.basis == 1 ? "distance" : "time"));
  o[QStringLiteral("timeZone")] = orNull(d.timeZoneValid, QString::fromStdString(d.timeZone));
  o[QStringLiteral("distanceUnit")] = orNull(d.distanceUnitValid, QString::fromLatin1(d.distanceUnit == 1 ? "feet" : "metres"));
  return o;
}

class InfoCommand : public Command {
 public:
  explicit InfoCommand(CLI::App& program)
      : Command(program, "info", "Connect as the Connect button does and print what the logger reports") {
    Sub().add_flag("--json", json_, "Print the values as one JSON object, for scripts");
    port_.AddTo(Sub());
  }

  int Run(CliEnv& env) override;

 private:
  bool json_ = false;
  PortOptions port_;
};

int InfoCommand::Run(CliEnv& env) {
  LoggerConnection logger(env);
  if (const int status = logger.Open(port_); status != 0) return status;

  const StringTable& t = env.ctx.strings;
  const DeviceInfo d = env.ctx.device.Snapshot();
  if (json_) {
    env.out << QString::fromUtf8(QJsonDocument(DeviceJson(d)).toJson(QJsonDocument::Indented));
    env.out.flush();
    logger.Close();
    return 0;
  }
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

}  // namespace

std::unique_ptr<Command> AddInfo(CLI::App& program) { return std::make_unique<InfoCommand>(program); }

}  // namespace kavro::cli
