// kavro: the command-line face of the logger utility.
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

#include "CommandLine.h"
#include "Translations.h"
#include "download/KeptCopy.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
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
