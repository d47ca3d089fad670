#include "cli/engine_commands.h"

namespace traveno::cli {

void RegisterEngineCommands(CLI::App& /*app*/, CliContext& /*context*/) {}

}  // namespace traveno::cli
