// The imports of traveno-cli: the data of earlier versions (Paradox tables)
// and, later, a company from its fiscal-sheet files.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace traveno::cli {

void RegisterImportCommands(CLI::App& app, CliContext& context);

}  // namespace traveno::cli
