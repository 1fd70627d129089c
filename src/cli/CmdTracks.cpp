// kavro tracks: decodes a saved log memory image and writes its track log files, as a download
// does after its last sector.
#include <CLI/App.hpp>
#include <QFile>

#include "Commands.h"
#include "ZoneOption.h"
#include "common/FileReport.h"
#include "common/Texts.h"
#include "download/LogDecoder.h"
#include "download/TrackFileWriter.h"

namespace kavro::cli {
namespace {

class TracksCommand : public Command {
 public:
  explicit TracksCommand(CLI::App& program)
      : Command(program, "tracks", "Write the track log files of a saved log memory image, as a download does") {
    Sub().add_option("MEMORY.bin", image_, "The 2 MB log memory image")->required();
    Sub().add_option("--dir", dir_, "Directory the track log files are written to")->option_text("DIR")->required();
    Sub().add_flag("--total", total_, "Also write all tracks into one file");
    Sub().add_option("--user", user_, "User name that starts the file names")->option_text("NAME");
    zone_.AddTo(Sub(), "Time zone of the file names and times, e.g. +08:00 or Europe/Berlin; kavro zones lists them (default: the system's)");
    Sub().add_flag("--kml", kml_, "Also write a KML file beside each track log file");
    Sub().add_flag("--no-week-fix", noWeekFix_,
                   "Drop records dated 1024 weeks early (GPS week rollover) instead of correcting their dates");
  }

  int Run(CliEnv& env) override;

 private:
  std::string image_, dir_, user_;
  bool total_ = false, kml_ = false, noWeekFix_ = false;
  ZoneOption zone_;
};

int TracksCommand::Run(CliEnv& env) {
  const StringTable& s = env.ctx.strings;
  const QString image = QString::fromStdString(image_);
  const QString dir = QString::fromStdString(dir_);
  if (dir_.empty()) return env.Usage(s.Format(txt::MissingArgument, {QStringLiteral("--dir")}));
  std::error_code ec;
  if (!std::filesystem::is_directory(dir_, ec)) return env.Fail(s.Format(txt::DirectoryMissing, {dir}));
  if (zone_.Given()) {
    const std::optional<int> row = zone_.Row(env);
    if (!row) return 2;
    env.ctx.zone.ApplyZone(*row);
  }

  QFile file(image);
  if (!file.open(QIODevice::ReadOnly)) return env.Fail(s.Format(txt::SourceOpenFailed, {image, file.errorString()}));
  if (file.size() != static_cast<qint64>(memory::kSize))
    return env.Fail(s.Format(txt::MemoryImageSize,
                             {image, QString::number(file.size()), QString::number(memory::kSize)}));
  const QByteArray bytes = file.readAll();
  if (bytes.size() != static_cast<qsizetype>(memory::kSize))
    return env.Fail(s.Format(txt::SourceOpenFailed, {image, file.errorString()}));

  LogDecoder decoder;
  decoder.SetWeekFix(!noWeekFix_);
  decoder.ResetDecoder(env.ctx.zone.Clock(), LogDecoder::CurrentUtcYear());
  decoder.DecodeImage(reinterpret_cast<const std::uint8_t*>(bytes.constData()), memory::kSize);

  TrackFilesOptions options;
  options.directory = dir_;
  options.writeTotal = total_;
  options.userName = user_;
  options.clock = env.ctx.zone.Clock();
  auto show = [&](const TrackFileReport& r) { (r.Written() ? env.out : env.err) << FileReportLine(s, r) << '\n'; };
  const TrackFilesResult result = WriteTrackFiles(decoder, options, show);
  int failed = result.failed;
  if (kml_) failed += WriteKmlForTrackFiles(result, options.clock, show);
  if (decoder.WeekFixedCount() > 0)
    env.out << s.Format(txt::WeekFixedRecords, {QString::number(decoder.WeekFixedCount())}) << '\n';
  if (decoder.ValidCount() == 0) env.err << s.Text(txt::NoTrackRecords) << '\n';
  env.out.flush();
  env.err.flush();
  return failed == 0 ? 0 : 1;
}

}  // namespace

std::unique_ptr<Command> AddTracks(CLI::App& program) { return std::make_unique<TracksCommand>(program); }

}  // namespace kavro::cli
