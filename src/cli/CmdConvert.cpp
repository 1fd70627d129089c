// kavro convert: the conversion page from the command line.
#include <CLI/App.hpp>

#include "Commands.h"
#include "ZoneOption.h"
#include "common/FileReport.h"
#include "common/Texts.h"
#include "convert/TrackConversion.h"

namespace kavro::cli {
namespace {

class ConvertCommand : public Command {
 public:
  explicit ConvertCommand(CLI::App& program)
      : Command(program, "convert", "Convert a track log file (*.trl) into the formats named, written beside it") {
    Sub().add_option("TRACK.trl", source_, "The track log file");
    const auto formats = OutputFormats();
    for (const OutputFormat& format : formats) {
      std::string help = std::string("Write TRACK") + format.suffix;
      if (format.byDefault) help += " (the default when no format is named)";
      chosen_.push_back(Sub().add_flag(format.flag)->description(help));
    }
    zone_.AddTo(Sub(), "Time zone of the written times, e.g. +08:00 or Europe/Berlin; kavro zones lists them (default: the system's)");
  }

  int Run(CliEnv& env) override {
    if (source_.empty()) return env.Usage(env.ctx.strings.Text(txt::SelectTrlSource));
    ConversionRequest request;
    request.formats.clear();
    for (std::size_t i = 0; i < chosen_.size(); ++i)
      if (chosen_[i]->count() > 0) request.formats.push_back(OutputFormats()[i].format);
    if (request.formats.empty()) request.formats = DefaultFormats();
    const std::optional<int> row = zone_.Row(env);
    if (!row) return 2;

    // The zone applied stays in force for the rest of the run, as on the page.
    env.ctx.zone.ApplyZone(*row);
    request.clock = env.ctx.zone.Clock();
    request.source = source_;
    const ConversionResult result = ConvertTrackFile(request);
    for (const auto& path : result.written)
      env.out << FileReportLine(env.ctx.strings, {txt::CreateFileOk, path, {}}) << '\n';
    for (const ConversionProblem& p : result.problems) env.err << FileReportLine(env.ctx.strings, p) << '\n';
    if (!result.Ok()) return env.Fail(env.ctx.strings.Text(txt::ConvertFailed));
    env.out << env.ctx.strings.Text(txt::ConvertSuccess) << '\n';
    return 0;
  }

 private:
  std::string source_;
  std::vector<CLI::Option*> chosen_;  // one per row of OutputFormats()
  ZoneOption zone_;
};

}  // namespace

std::unique_ptr<Command> AddConvert(CLI::App& program) { return std::make_unique<ConvertCommand>(program); }

}  // namespace kavro::cli
