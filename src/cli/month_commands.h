// The month's settings and cycle from the command line: params show|set,
// brackets list|add|modify|delete|check, transition, month close|open,
// holidays set and departments list|add|modify|delete.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace traveno::cli {

void RegisterMonthCommands(CLI::App& app, CliContext& context);

}  // namespace traveno::cli
