#pragma once
// --zone LABEL, shared by convert, tracks, download and geotag: a label of the time zone table
// or a zone name of the system's database (Europe/Berlin).
#include <optional>
#include <string>

#include "Cli.h"

namespace CLI {
class Option;
}

namespace kavro::cli {

class ZoneOption {
 public:
  void AddTo(CLI::App& sub, const char* description);
  bool Given() const;
  // The table row the option names, or (not given) the row the conversion page preselects for
  // the system zone. Prints the unknown-zone message and returns nullopt for a label not in the table.
  std::optional<int> Row(CliEnv& env) const;

 private:
  std::string text_;
  CLI::Option* option_ = nullptr;
};

}  // namespace kavro::cli
