#pragma once
// Every subcommand, in the order `kavro --help` lists them. A new subcommand is one file,
// Cmd<Name>.cpp, that defines `std::unique_ptr<Command> Add<Name>(CLI::App&)`, plus one line here.
#include <memory>

#include "Cli.h"

#define KAVRO_CLI_COMMANDS(X) \
  X(Ports)                    \
  X(Info)                     \
  X(SetName)                  \
  X(Settings)                 \
  X(Clear)                    \
  X(Download)                 \
  X(Convert)                  \
  X(Tracks)                   \
  X(Geotag)                   \
  X(Map)                      \
  X(Firmware)                 \
  X(BtAddress)

namespace kavro::cli {

#define KAVRO_DECLARE_COMMAND(Name) std::unique_ptr<Command> Add##Name(CLI::App& program);
KAVRO_CLI_COMMANDS(KAVRO_DECLARE_COMMAND)
#undef KAVRO_DECLARE_COMMAND

}  // namespace kavro::cli
