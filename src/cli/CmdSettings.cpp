// kavro settings: the Track Log Setting page from the command line; with options, Apply All.
#include "Cli.h"
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

}  // namespace

int RunSettings(CliEnv& env, const QStringList& args) {
  const QString usage = QStringLiteral(
      "usage: kavro settings [--seconds N] [--distance N] [--mode overwrite|stop] [--basis time|distance] "
      "(--port PATH | --simulate[=SCENARIO])");
  const StringTable& t = env.ctx.strings;
  PortOptions options;
  Changes changes;
  for (int i = 0; i < args.size(); ++i) {
    QString error;
    if (TakePortOption(env, args, i, options, error)) {
      if (!error.isEmpty()) return env.Usage(error + '\n' + usage);
      continue;
    }
    const QString& a = args[i];
    QString name = a;
    QString value;
    if (const qsizetype eq = a.indexOf(QLatin1Char('=')); a.startsWith(QLatin1String("--")) && eq > 0) {
      name = a.left(eq);
      value = a.mid(eq + 1);
    } else if (i + 1 < args.size()) {
      value = args[i + 1];
    }
    const bool separate = name == a;
    bool known = true;
    bool ok = true;
    if (name == QLatin1String("--seconds")) {
      const int n = value.toInt(&ok);
      changes.secondsIndex = ok ? TrackLogSettings::SecondsIndexOf(n) : std::nullopt;
      if (!changes.secondsIndex)
        error = t.Format(txt::CliBadListValue, {name, value, ListText(TrackLogSettings::kSeconds)});
    } else if (name == QLatin1String("--distance")) {
      const int n = value.toInt(&ok);
      changes.distanceIndex = ok ? TrackLogSettings::DistanceIndexOf(n) : std::nullopt;
      if (!changes.distanceIndex)
        error = t.Format(txt::CliBadListValue, {name, value, ListText(TrackLogSettings::kDistanceShown)});
    } else if (name == QLatin1String("--mode")) {
      if (value == QLatin1String("overwrite")) changes.recordMode = 1;
      else if (value == QLatin1String("stop")) changes.recordMode = 2;
      else error = t.Format(txt::CliBadListValue, {name, value, QStringLiteral("overwrite, stop")});
    } else if (name == QLatin1String("--basis")) {
      if (value == QLatin1String("time")) changes.basis = 0;
      else if (value == QLatin1String("distance")) changes.basis = 1;
      else error = t.Format(txt::CliBadListValue, {name, value, QStringLiteral("time, distance")});
    } else {
      known = false;
      error = t.Format(txt::UnknownOption, {a});
    }
    if (known && value.isNull()) error = t.Format(txt::MissingArgument, {name});
    if (!error.isEmpty()) return env.Usage(error + '\n' + usage);
    if (separate) ++i;
  }

  LoggerConnection logger(env);
  if (const int status = logger.Open(options); status != 0) return status;

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

}  // namespace kavro::cli
