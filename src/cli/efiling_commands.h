// The fiscal-sheet commands of traveno-cli: the year's e-filing files into a
// folder ("efiling") and one person's fiscal sheet ("fiscal-sheet").
#pragma once

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace traveno::cli {

void RegisterEfilingCommands(CLI::App& app, CliContext& context);

}  // namespace traveno::cli
