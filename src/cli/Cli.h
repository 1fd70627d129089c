#pragma once
#include <QString>
#include <QStringList>
#include <QTextStream>

#include "AppContext.h"

namespace kavro::cli {

// What every subcommand gets: the run's context and the two output streams.
struct CliEnv {
  AppContext& ctx;
  QTextStream& out;
  QTextStream& err;
  bool interactive = false;  // stdout is a terminal: long work may show a progress line

  // Prints the message on stderr and returns exit status 1.
  int Fail(const QString& message) {
    err << message << '\n';
    err.flush();
    return 1;
  }
  // Prints a usage message on stderr and returns exit status 2.
  int Usage(const QString& message) {
    err << message << '\n';
    err.flush();
    return 2;
  }
};

// Subcommands; each lives in Cmd<Name>.cpp. args holds what follows the subcommand's name.
int RunPorts(CliEnv& env, const QStringList& args);
int RunInfo(CliEnv& env, const QStringList& args);
int RunSetName(CliEnv& env, const QStringList& args);
int RunSettings(CliEnv& env, const QStringList& args);
int RunClear(CliEnv& env, const QStringList& args);
int RunConvert(CliEnv& env, const QStringList& args);
int RunTracks(CliEnv& env, const QStringList& args);
int RunGeotag(CliEnv& env, const QStringList& args);
int RunDownload(CliEnv& env, const QStringList& args);

}  // namespace kavro::cli
