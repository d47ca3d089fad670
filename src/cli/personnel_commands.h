// The personnel commands of traveno-cli: employees, dependants, the pay
// grid's line and bulk operations, checks and lists, personal codes, medical
// leave, history and the demonstration company.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace traveno::cli {

void RegisterPersonnelCommands(CLI::App& app, CliContext& context);

// "grid": the heading, columns and cells of a page of the pay grid.
void RegisterGridCommands(CLI::App& app, CliContext& context);

// The checks, lists, code, medical-leave and history commands.
void RegisterPersonnelListCommands(CLI::App& app, CliContext& context);

}  // namespace traveno::cli
