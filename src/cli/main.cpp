// kavro: the command-line face of the logger utility.
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

#include "Cli.h"
#include "Translations.h"

namespace {

struct Command {
  const char* name;
  int (*run)(kavro::cli::CliEnv&, const QStringList&);
  const char* synopsis;
};

const Command kCommands[] = {
    {"ports", kavro::cli::RunPorts, "ports [--simulate]"},
    {"info", kavro::cli::RunInfo, "info (--port PATH | --simulate[=SCENARIO])"},
    {"set-name", kavro::cli::RunSetName, "set-name NAME (--port PATH | --simulate[=SCENARIO])"},
    {"settings", kavro::cli::RunSettings,
     "settings [--seconds N] [--distance N] [--mode overwrite|stop] [--basis time|distance] (--port PATH | --simulate)"},
    {"clear", kavro::cli::RunClear, "clear (--port PATH | --simulate[=SCENARIO])"},
    {"download", kavro::cli::RunDownload,
     "download (--port PATH [--fast] | --simulate[=SCENARIO]) --dir DIR [--total] [--zone LABEL] [--photos DIR "
     "[--write-gps]]"},
    {"convert", kavro::cli::RunConvert, "convert TRACK.trl [--text] [--kml] [--nmea] [--gpx] [--zone LABEL]"},
    {"tracks", kavro::cli::RunTracks, "tracks MEMORY.bin --dir DIR [--total] [--user NAME] [--zone LABEL] [--kml]"},
    {"geotag", kavro::cli::RunGeotag,
     "geotag TRACK.trl PHOTO_DIR --kml OUT.kml [--zone LABEL] [--calibrate D:H:M:S] [--write-gps]"},
};

void PrintUsage(QTextStream& s) {
  s << "usage: kavro COMMAND [options]\n\ncommands:\n";
  for (const Command& c : kCommands) s << "  kavro " << c.synopsis << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("kavro"));
  QTextStream out(stdout);
  QTextStream err(stderr);

  kavro::AppContext ctx;
  kavro::LoadSystemLanguage(ctx.strings);

  QStringList args = QCoreApplication::arguments();
  args.removeFirst();
  if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
    PrintUsage(args.isEmpty() ? err : out);
    return args.isEmpty() ? 2 : 0;
  }
  const QString name = args.takeFirst();
  for (const Command& c : kCommands) {
    if (name == QLatin1String(c.name)) {
      kavro::cli::CliEnv env{ctx, out, err, isatty(fileno(stdout)) != 0};
      const int status = c.run(env, args);
      out.flush();
      err.flush();
      return status;
    }
  }
  err << "kavro: unknown command '" << name << "'\n";
  PrintUsage(err);
  return 2;
}
