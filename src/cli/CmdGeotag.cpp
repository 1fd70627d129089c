// kavro geotag: the photo page's conversion from the command line.
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <QRegularExpression>

#include "Cli.h"
#include "common/Texts.h"
#include "photo/PhotoConversion.h"
#include "track/TimeZoneTable.h"
#include "track/TrackFileReader.h"

namespace kavro::cli {
namespace {

class PrintingListener : public PhotoConversionListener {
 public:
  explicit PrintingListener(CliEnv& env) : env_(env) {}
  void OnLine(const std::string& line) override { env_.out << QString::fromStdString(line) << '\n'; }
  void OnSummary(const std::string& summary) override { summary_ = summary; }
  void OnProblem(const std::string& message) override {
    env_.err << QString::fromStdString(message) << '\n';
    env_.err.flush();
  }
  const std::string& Summary() const { return summary_; }

 private:
  CliEnv& env_;
  std::string summary_;
};

// "D:H:M:S", each part signed and within the settings dialog's ranges.
bool ParseCalibration(const QString& text, std::int32_t& seconds) {
  static const QRegularExpression form(QStringLiteral("^([+-]?\\d+):([+-]?\\d+):([+-]?\\d+):([+-]?\\d+)$"));
  const QRegularExpressionMatch m = form.match(text.trimmed());
  if (!m.hasMatch()) return false;
  const int limits[4] = {30, 23, 59, 59};
  const int scale[4] = {86400, 3600, 60, 1};
  std::int32_t total = 0;
  for (int i = 0; i < 4; ++i) {
    bool ok = false;
    const int v = m.captured(i + 1).toInt(&ok);
    if (!ok || v < -limits[i] || v > limits[i]) return false;
    total += v * scale[i];
  }
  seconds = total;
  return true;
}

}  // namespace

int RunGeotag(CliEnv& env, const QStringList& args) {
  const QString usage = QStringLiteral(
      "usage: kavro geotag TRACK.trl PHOTO_DIR --kml OUT.kml [--zone LABEL] [--calibrate D:H:M:S] [--write-gps]");
  QStringList positional;
  QString kml, zoneText, calibration;
  bool writeGps = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    auto value = [&](QString& into) {
      if (i + 1 >= args.size()) return false;
      into = args[++i];
      return true;
    };
    if (a == QLatin1String("--kml")) {
      if (!value(kml)) return env.Usage(usage);
    } else if (a.startsWith(QLatin1String("--kml="))) {
      kml = a.mid(6);
    } else if (a == QLatin1String("--zone")) {
      if (!value(zoneText)) return env.Usage(usage);
    } else if (a.startsWith(QLatin1String("--zone="))) {
      zoneText = a.mid(7);
    } else if (a == QLatin1String("--calibrate")) {
      if (!value(calibration)) return env.Usage(usage);
    } else if (a.startsWith(QLatin1String("--calibrate="))) {
      calibration = a.mid(12);
    } else if (a == QLatin1String("--write-gps")) {
      writeGps = true;
    } else if (a.startsWith(QLatin1String("--")) && a.size() > 2) {
      return env.Usage(usage);
    } else {
      positional << a;
    }
  }
  if (positional.size() != 2 || kml.isEmpty()) return env.Usage(usage);

  const StringTable& words = env.ctx.strings;
  int row = kUtcZoneRow;
  if (!zoneText.isEmpty()) {
    const std::optional<int> r = ZoneRowByUserText(zoneText.toStdString());
    if (!r) return env.Usage(words.Format(txt::UnknownZone, {zoneText}));
    row = *r;
  } else {
    ZoneChoice choice;
    SelectDefaultZone(DefaultZoneLabel(false, std::string(), SystemZoneBiasMinutes()), choice);
    row = choice.row;
  }
  std::int32_t calibrationSeconds = 0;
  if (!calibration.isEmpty() && !ParseCalibration(calibration, calibrationSeconds)) {
    return env.Usage(words.Text(txt::CalibrationFormat));
  }

  PhotoConversionSettings settings;
  settings.trlPath = positional[0].toStdString();
  // The balloons point at the photos from wherever the KML is opened: absolute paths.
  std::error_code absError;
  settings.photoDir = std::filesystem::absolute(positional[1].toStdString(), absError);
  if (absError) settings.photoDir = positional[1].toStdString();
  {
    TrackFileReader probe;
    std::string reason;
    if (!probe.Open(settings.trlPath, &reason)) {
      return env.Fail(words.Format(txt::TrackOpenFailed, {positional[0], QString::fromStdString(reason)}));
    }
  }
  if (!QFileInfo(positional[1]).isDir()) {
    return env.Fail(words.Format(txt::PhotoDirectoryFailed, {positional[1], QString::fromStdString(std::strerror(ENOTDIR))}));
  }

  // The photo zone stays in force for the rest of the run, as after the page's Convert.
  env.ctx.zone.ApplyZone(row);
  settings.photoZone = env.ctx.zone.Clock();
  settings.calibrationSeconds = calibrationSeconds;
  settings.writeGps = writeGps;

  PrintingListener listener(env);
  PhotoConversion conversion(words);
  std::string error;
  const PhotoConversionResult result = conversion.RunToFile(settings, kml.toStdString(), &listener, error);
  env.out << QString::fromStdString(listener.Summary()) << '\n';
  env.out.flush();
  if (!error.empty()) return env.Fail(QString::fromStdString(error));
  if (!result.trackRead || !result.photosRead) return 1;
  if (result.copiesFailed > 0) return env.Fail(words.Format(txt::GpsCopiesMissing, {QString::number(result.copiesFailed)}));
  return 0;
}

}  // namespace kavro::cli
