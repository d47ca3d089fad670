// The whole command line of traveno-cli: its global options (--data-dir,
// --json, --yes, --confirm) and every command, bound to one context. The
// program and the in-process tests build the same application with it.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace traveno::cli {

void ConfigureCliApp(CLI::App& app, CliContext& context);

}  // namespace traveno::cli
