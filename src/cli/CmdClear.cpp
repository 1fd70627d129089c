#include "Cli.h"

namespace kavro::cli {

int RunClear(CliEnv& env, const QStringList&) { return env.Fail(QStringLiteral("not available yet")); }

}  // namespace kavro::cli
