// kavro convert: the conversion page from the command line.
#include "Cli.h"
#include "common/Texts.h"
#include "convert/TrackConversion.h"
#include "track/TimeZoneTable.h"

namespace kavro::cli {

// The row a --zone text names, or the row the conversion page would preselect.
std::optional<int> ZoneRowForCli(const QString& zoneText) {
  if (!zoneText.isNull()) return ZoneRowByUserText(zoneText.toStdString());
  ZoneChoice choice;
  SelectDefaultZone(DefaultZoneLabel(false, {}, SystemZoneBiasMinutes()), choice);
  return choice.row;
}

int RunConvert(CliEnv& env, const QStringList& args) {
  const QString usage = QStringLiteral("usage: kavro convert TRACK.trl [--text] [--kml] [--nmea] [--gpx] [--zone LABEL]");
  ConversionRequest request;
  request.kml = false;
  QString source, zoneText;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == QLatin1String("--text")) request.text = true;
    else if (a == QLatin1String("--kml")) request.kml = true;
    else if (a == QLatin1String("--nmea")) request.nmea = true;
    else if (a == QLatin1String("--gpx")) request.gpx = true;
    else if (a == QLatin1String("--zone")) {
      if (i + 1 >= args.size()) return env.Usage(env.ctx.strings.Format(txt::MissingArgument, {a}) + '\n' + usage);
      zoneText = args[++i];
    } else if (a.startsWith(QLatin1String("--zone="))) {
      zoneText = a.mid(7);
    } else if (a.startsWith(QLatin1String("--")) || !source.isEmpty()) {
      return env.Usage(env.ctx.strings.Format(txt::UnknownOption, {a}) + '\n' + usage);
    } else {
      source = a;
    }
  }
  if (source.isEmpty()) return env.Usage(env.ctx.strings.Text(txt::SelectTrlSource) + '\n' + usage);
  if (!request.text && !request.kml && !request.nmea && !request.gpx) request.kml = true;
  const std::optional<int> row = ZoneRowForCli(zoneText);
  if (!row) return env.Usage(env.ctx.strings.Format(txt::ZoneNotInTable, {zoneText}));

  // The zone applied stays in force for the rest of the run, as on the page.
  env.ctx.zone.ApplyZone(*row);
  request.clock = env.ctx.zone.Clock();
  request.source = source.toStdString();
  const ConversionResult result = ConvertTrackFile(request);
  for (const auto& path : result.written)
    env.out << env.ctx.strings.Text(txt::CreateFileOk) << ' ' << QString::fromStdString(path.string()) << '\n';
  for (const ConversionProblem& p : result.problems)
    env.err << env.ctx.strings.Format(p.textId, {QString::fromStdString(p.path.string()), QString::fromStdString(p.reason)})
            << '\n';
  if (!result.Ok()) return env.Fail(env.ctx.strings.Text(txt::ConvertFailed));
  env.out << env.ctx.strings.Text(txt::ConvertSuccess) << '\n';
  return 0;
}

}  // namespace kavro::cli
