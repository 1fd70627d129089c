// kavro: the command-line face of the logger utility.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

#include "CommandLine.h"
#include "Translations.h"
#include "download/KeptCopy.h"

namespace {

// `kavro map` draws text, which needs Qt's font machinery; the offscreen platform gives it
// without a display. Every other subcommand stays a plain console program.
bool DrawsPictures(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (argv[i][0] != '-') return std::strcmp(argv[i], "map") == 0;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<QCoreApplication> app;
  // Qt gets its own arguments: the command line's stay whole for the parser.
  int qtArgc = 3;
  char platform[] = "-platform";
  char offscreen[] = "offscreen";
  char* qtArgv[] = {argv[0], platform, offscreen, nullptr};
  if (DrawsPictures(argc, argv))
    app = std::make_unique<QGuiApplication>(qtArgc, qtArgv);
  else
    app = std::make_unique<QCoreApplication>(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("kavro"));
  QTextStream out(stdout);
  QTextStream err(stderr);

  kavro::AppContext ctx;
  kavro::LoadSystemLanguage(ctx.strings);
  ctx.keptCopyFolder = kavro::KeptCopyStore::DefaultFolder();
  kavro::cli::CliEnv env{ctx, out, err, isatty(fileno(stdout)) != 0, {}, isatty(fileno(stdin)) != 0};
  const int status = kavro::cli::RunCommandLine(env, argc, argv);
  out.flush();
  err.flush();
  return status;
}
