// The commands that run the payroll calculation without any data folder:
// calc, tax and formula.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace traveno::cli {

void RegisterEngineCommands(CLI::App& app, CliContext& context);

}  // namespace traveno::cli
