// kavro geotag: the photo page's conversion from the command line.
#include <filesystem>

#include <CLI/App.hpp>

#include "Commands.h"
#include "PhotoOptions.h"
#include "common/Texts.h"
#include "photo/PhotoConversion.h"
#include "photo/PhotoReportText.h"
#include "photo/PhotoSettings.h"
#include "track/TrackFileReader.h"

namespace kavro::cli {
namespace {

class PrintingListener : public PhotoConversionListener {
 public:
  // toErr: the lines go to stderr, as stdout carries the JSON report.
  PrintingListener(CliEnv& env, bool toErr) : env_(env), lines_(toErr ? env.err : env.out) {}
  void OnLine(const std::string& line) override {
    EndProgress();
    lines_ << QString::fromStdString(line) << '\n';
  }
  void OnSummary(const std::string& summary) override { summary_ = summary; }
  void OnProblem(const std::string& message) override {
    EndProgress();
    env_.err << QString::fromStdString(message) << '\n';
    env_.err.flush();
  }
  // Only a terminal gets the progress line, on stderr, redrawn at each whole percent.
  void OnProgress(std::size_t done, std::size_t total) override {
    if (!env_.interactive || total == 0) return;
    const std::size_t percent = done * 100 / total;
    if (percent == lastPercent_ && done != total) return;
    lastPercent_ = percent;
    lines_.flush();
    env_.err << '\r'
             << env_.ctx.strings.Format(txt::GeotagProgress, {QString::number(percent), QString::number(total / 2)});
    env_.err.flush();
    progressOpen_ = true;
  }
  void EndProgress() {
    if (!progressOpen_) return;
    env_.err << '\n';
    env_.err.flush();
    progressOpen_ = false;
  }
  const std::string& Summary() const { return summary_; }

 private:
  CliEnv& env_;
  QTextStream& lines_;
  std::string summary_;
  std::size_t lastPercent_ = 101;
  bool progressOpen_ = false;
};

class GeotagCommand : public Command {
 public:
  explicit GeotagCommand(CLI::App& program)
      : Command(program, "geotag", "Match photos to a track log: a KML of the photos, and GPS copies on request") {
    Sub().add_option("TRACK.trl", trl_, "The track log file")->required();
    Sub().add_option("PHOTO_DIR", photoDir_, "Directory of the photos (JPEG, RAW, HEIC)")->required();
    Sub().add_option("--kml", kml_, "The KML file to write")->option_text("OUT.kml")->required();
    matching_.AddTo(Sub(), "Time zone the camera clock was set to, e.g. +08:00 or Europe/Berlin; kavro zones lists them (default: the system's)");
    Sub().add_flag("--write-gps", writeGps_, "Also write a copy of each matched photo with its position (*_GPS.jpg)");
    AddReportOptions();
    AddSidecarOptions();
  }

  int Run(CliEnv& env) override;

 private:
  void AddReportOptions() {
    Sub().add_flag("--dry-run", dryRun_, "Match and report what would be written, but write nothing (no KML either)");
    Sub().add_flag("--json", json_, "Print the report of every photo as JSON on stdout (result lines go to stderr)");
    Sub().add_flag("--report", table_, "Print the report table even when stdout is not a terminal");
  }
  void AddSidecarOptions() {
    Sub().add_flag("--sidecars", sidecarsAlways_, "Write XMP sidecars for JPEGs too, instead of GPS copies");
    Sub().add_flag("--sidecar-ext", sidecarExt_, "Name sidecars NAME.EXT.xmp instead of NAME.xmp");
    Sub().add_flag("--replace-positions", replacePositions_, "Overwrite a position an existing sidecar already holds");
  }
  void ApplyOptions(PhotoConversionSettings& settings) const {
    settings.dryRun = dryRun_;
    settings.sidecars = sidecarsAlways_ ? SidecarMode::Always : SidecarMode::ForRawOnly;
    settings.sidecarName = sidecarExt_ ? SidecarName::NameExtXmp : SidecarName::NameXmp;
    settings.replacePositions = replacePositions_;
  }
  void PrintReport(CliEnv& env, const PhotoConversionResult& result) const;

  std::string trl_, photoDir_, kml_;
  bool writeGps_ = false;
  bool dryRun_ = false, json_ = false, table_ = false;
  bool sidecarsAlways_ = false, sidecarExt_ = false, replacePositions_ = false;
  // The zone, the clock correction and the match options, shared with kavro map.
  PhotoOptions matching_;
};

}  // namespace

void GeotagCommand::PrintReport(CliEnv& env, const PhotoConversionResult& result) const {
  if (json_) {
    env.out << QString::fromStdString(PhotoReportText::Json(result.report));
  } else if (table_ || env.interactive) {
    env.out << '\n' << QString::fromStdString(PhotoReportText(env.ctx.strings).Table(result.report));
  }
  env.out.flush();
}

int GeotagCommand::Run(CliEnv& env) {
  const QStringList positional = {QString::fromStdString(trl_), QString::fromStdString(photoDir_)};
  const StringTable& words = env.ctx.strings;
  if (kml_.empty()) return env.Usage(words.Format(txt::MissingArgument, {QStringLiteral("--kml")}));
  PhotoConversionSettings settings;
  std::string syncSummary;
  if (const int usage = matching_.Apply(env, settings, &syncSummary); usage != 0) return usage;
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

  settings.writeGps = writeGps_;
  ApplyOptions(settings);

  if (!syncSummary.empty()) {
    QTextStream& to = json_ ? env.err : env.out;
    to << QString::fromStdString(syncSummary) << '\n';
    to.flush();
  }
  PrintingListener listener(env, json_);
  PhotoConversion conversion(words);
  std::string error;
  const PhotoConversionResult result = conversion.RunToFile(settings, kml_, &listener, error);
  listener.EndProgress();
  QTextStream& summary = json_ ? env.err : env.out;
  if (!listener.Summary().empty()) summary << QString::fromStdString(listener.Summary()) << '\n';
  summary.flush();
  if (!error.empty()) return env.Fail(QString::fromStdString(error));
  if (!result.trackRead || !result.photosRead) return 1;
  PrintReport(env, result);
  if (result.copiesFailed > 0) return env.Fail(words.Format(txt::GpsCopiesMissing, {QString::number(result.copiesFailed)}));
  if (result.sidecarsFailed > 0)
    return env.Fail(words.Format(txt::SidecarsMissing, {QString::number(result.sidecarsFailed)}));
  return 0;
}

std::unique_ptr<Command> AddGeotag(CLI::App& program) { return std::make_unique<GeotagCommand>(program); }

}  // namespace kavro::cli
