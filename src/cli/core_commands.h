// The commands over the register: init and company list.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace traveno::cli {

void RegisterCoreCommands(CLI::App& app, CliContext& context);

}  // namespace traveno::cli
