// The company register and the choice of a company and month from the
// command line: company add|modify|delete|show|open, months and clone.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace traveno::cli {

// Adds its subcommands to the "company" command (made by the core commands)
// and the commands months and clone.
void RegisterCompanyCommands(CLI::App& app, CliContext& context);

}  // namespace traveno::cli
