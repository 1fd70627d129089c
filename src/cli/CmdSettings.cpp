// kavro settings: the Track Log Setting page from the command line; with options, Apply All.
#include <CLI/App.hpp>
#include <QStringList>

#include "Commands.h"
#include "Connection.h"
#include "common/Texts.h"
#include "protocol/TrackLogSettings.h"

namespace kavro::cli {
namespace {

template <std::size_t N>
QString ListText(const std::array<int, N>& list) {
  QStringList items;
  for (int v : list) items << QString::number(v);
  return items.join(QStringLiteral(", "));
}

struct Changes {
  std::optional<int> secondsIndex;
  std::optional<int> distanceIndex;
  std::optional<int> recordMode;
  std::optional<int> basis;
  bool Any() const { return secondsIndex || distanceIndex || recordMode || basis; }
};

class SettingsCommand : public Command {
 public:
  explicit SettingsCommand(CLI::App& program)
      : Command(program, "settings", "Show the recording settings; with options, change them as Apply All does") {
    seconds_ = Sub().add_option("--seconds", secondsText_, "Time interval in seconds: one of " +
                                    ListText(TrackLogSettings::kSeconds).toStdString())->option_text("N");
    distance_ = Sub().add_option("--distance", distanceText_, "Distance interval in metres: one of " +
                                     ListText(TrackLogSettings::kDistanceShown).toStdString())->option_text("N");
    mode_ = Sub().add_option("--mode", modeText_, "When the memory is full: overwrite or stop")
                ->option_text("overwrite|stop");
    basis_ = Sub().add_option("--basis", basisText_, "Record by time or by distance")->option_text("time|distance");
    port_.AddTo(Sub());
  }

  int Run(CliEnv& env) override;

 private:
  // The changes the options ask for: 0, or the usage status after printing why.
  int ReadChanges(CliEnv& env, Changes& changes) const;

  std::string secondsText_, distanceText_, modeText_, basisText_;
  CLI::Option* seconds_ = nullptr;
  CLI::Option* distance_ = nullptr;
  CLI::Option* mode_ = nullptr;
  CLI::Option* basis_ = nullptr;
  PortOptions port_;
};

int SettingsCommand::ReadChanges(CliEnv& env, Changes& changes) const {
  const StringTable& t = env.ctx.strings;
  auto bad = [&](const char* name, const std::string& value, const QString& list) {
    return env.Usage(t.Format(txt::CliBadListValue, {QLatin1String(name), QString::fromStdString(value), list}));
  };
  bool ok = true;
  if (seconds_->count() > 0) {
    const int n = QString::fromStdString(secondsText_).toInt(&ok);
    changes.secondsIndex = ok ? TrackLogSettings::SecondsIndexOf(n) : std::nullopt;
    if (!changes.secondsIndex) return bad("--seconds", secondsText_, ListText(TrackLogSettings::kSeconds));
  }
  if (distance_->count() > 0) {
    const int n = QString::fromStdString(distanceText_).toInt(&ok);
    changes.distanceIndex = ok ? TrackLogSettings::DistanceIndexOf(n) : std::nullopt;
    if (!changes.distanceIndex) return bad("--distance", distanceText_, ListText(TrackLogSettings::kDistanceShown));
  }
  if (mode_->count() > 0) {
    if (modeText_ == "overwrite") changes.recordMode = 1;
    else if (modeText_ == "stop") changes.recordMode = 2;
    else return bad("--mode", modeText_, QStringLiteral("overwrite, stop"));
  }
  if (basis_->count() > 0) {
    if (basisText_ == "time") changes.basis = 0;
    else if (basisText_ == "distance") changes.basis = 1;
    else return bad("--basis", basisText_, QStringLiteral("time, distance"));
  }
  return 0;
}

}  // namespace

int SettingsCommand::Run(CliEnv& env) {
  const StringTable& t = env.ctx.strings;
  Changes changes;
  if (const int status = ReadChanges(env, changes); status != 0) return status;

  LoggerConnection logger(env);
  if (const int status = logger.Open(port_); status != 0) return status;

  TrackLogSettings settings;
  settings.RefreshFromDevice(env.ctx.device);
  if (changes.Any()) {
    if (!settings.controlsEnabled) return env.Fail(t.Text(txt::CliSettingsLocked));
    if (changes.secondsIndex) settings.SelectSecondsIndex(*changes.secondsIndex);
    if (changes.distanceIndex) settings.SelectDistanceIndex(*changes.distanceIndex);
    if (changes.recordMode) settings.SelectRecordMode(*changes.recordMode);
    if (changes.basis) settings.SelectBasis(*changes.basis);
    const SettingsOutcome o =
        ApplySettings(env.ctx.link, env.ctx.device, settings, [&env](int id) { PrintStatus(env, id); });
    if (o != SettingsOutcome::Done) return logger.FailWith(txt::ConnectionFailedSettings);
  }

  // What the logger has now.
  const DeviceInfo d = env.ctx.device.Snapshot();
  auto line = [&](int label, const QString& v) { env.out << t.Text(label) << ": " << v << '\n'; };
  const QString notRead = t.Text(txt::CliNotRead);
  line(txt::CliRecordMode, t.Text(d.recordMode == 1 ? txt::Overwrite : txt::FullAndStop));
  line(txt::CliRecordingBasis, d.basisValid ? t.Text(d.basis == 1 ? txt::Distance : txt::Second) : notRead);
  line(txt::CliTimeInterval, t.Format(txt::CliTenthsOfSecond, {QString::number(d.timeInterval)}));
  line(txt::CliDistanceInterval, t.Format(txt::CliTenthsOfMetre, {QString::number(d.distanceInterval)}));
  line(txt::CliDistanceUnit, d.distanceUnitValid ? t.Text(d.distanceUnit == 1 ? txt::Feet : txt::Meter) : notRead);
  line(txt::MemoryUsage, t.Format(txt::CliFreeRecords, {QString::fromStdString(d.memoryText)}));
  env.out.flush();
  logger.Close();
  return 0;
}

std::unique_ptr<Command> AddSettings(CLI::App& program) { return std::make_unique<SettingsCommand>(program); }

}  // namespace kavro::cli
