// kavro geotag: the photo page's conversion from the command line.
#include <filesystem>

#include <CLI/App.hpp>

#include "Commands.h"
#include "PhotoOptions.h"
#include "common/Texts.h"
#include "photo/PhotoConversion.h"
#include "photo/PhotoSettings.h"
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

class GeotagCommand : public Command {
 public:
  explicit GeotagCommand(CLI::App& program)
      : Command(program, "geotag", "Match photos to a track log: a KML of the photos, and GPS copies on request") {
    Sub().add_option("TRACK.trl", trl_, "The track log file")->required();
    Sub().add_option("PHOTO_DIR", photoDir_, "Directory of the JPEG photos")->required();
    Sub().add_option("--kml", kml_, "The KML file to write")->option_text("OUT.kml")->required();
    matching_.AddTo(Sub(), "Time zone the camera clock was set to, e.g. +08:00 (default: the system's)");
    Sub().add_flag("--write-gps", writeGps_, "Also write a copy of each matched photo with its position (*_GPS.jpg)");
  }

  int Run(CliEnv& env) override;

 private:
  std::string trl_, photoDir_, kml_;
  bool writeGps_ = false;
  PhotoOptions matching_;
};

}  // namespace

int GeotagCommand::Run(CliEnv& env) {
  const QStringList positional = {QString::fromStdString(trl_), QString::fromStdString(photoDir_)};
  const StringTable& words = env.ctx.strings;
  if (kml_.empty()) return env.Usage(words.Format(txt::MissingArgument, {QStringLiteral("--kml")}));
  PhotoConversionSettings settings;
  if (const int usage = matching_.Apply(env, settings); usage != 0) return usage;
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

  PrintingListener listener(env);
  PhotoConversion conversion(words);
  std::string error;
  const PhotoConversionResult result = conversion.RunToFile(settings, kml_, &listener, error);
  if (!listener.Summary().empty()) env.out << QString::fromStdString(listener.Summary()) << '\n';
  env.out.flush();
  if (!error.empty()) return env.Fail(QString::fromStdString(error));
  if (!result.trackRead || !result.photosRead) return 1;
  if (result.copiesFailed > 0) return env.Fail(words.Format(txt::GpsCopiesMissing, {QString::number(result.copiesFailed)}));
  return 0;
}

std::unique_ptr<Command> AddGeotag(CLI::App& program) { return std::make_unique<GeotagCommand>(program); }

}  // namespace kavro::cli
