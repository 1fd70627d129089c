#pragma once
#include "Cli.h"

namespace kavro::cli {

// Parses the command line, runs the subcommand it names and returns the exit status:
// 0 success (also --help and --version), 1 failure, 2 usage.
int RunCommandLine(CliEnv& env, int argc, char** argv);

}  // namespace kavro::cli
