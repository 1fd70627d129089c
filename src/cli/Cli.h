#pragma once
#include <QString>
#include <QTextStream>
#include <memory>
#include <vector>

#include "AppContext.h"
#include "serial/PortDiscovery.h"

namespace CLI {
class App;
}

namespace kavro::cli {

// What every subcommand gets: the run's context and the two output streams.
struct CliEnv {
  AppContext& ctx;
  QTextStream& out;
  QTextStream& err;
  bool interactive = false;  // stdout is a terminal: long work may show a progress line
  // Ports offered besides the system's, as the window's port list takes them (a pseudo-terminal
  // standing for a USB bridge, say).
  std::vector<PortInfo> extraPorts;
  bool canAsk = false;  // stdin is a terminal: a question can be answered

  // Before what cannot be undone: goes on with --yes, else asks on the terminal. Returns 0 to go
  // on, 1 when the answer was no, 2 when there is no terminal to ask on and no --yes.
  int Confirm(const QString& question, bool yes);

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

// One subcommand. Its constructor adds the subcommand to the program's parser and binds the
// options to members; Run does the work once the whole command line has parsed.
class Command {
 public:
  Command(CLI::App& program, const char* name, const char* description);
  virtual ~Command() = default;
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  // Returns the exit status: 0 success, 1 failure, 2 usage.
  virtual int Run(CliEnv& env) = 0;
  CLI::App& Sub() const { return *sub_; }

 private:
  CLI::App* sub_;
};

}  // namespace kavro::cli
