// The whole command line of traveno-cli: its global options (--data-dir,
// --json, --yes, --confirm) and every command, bound to one context. The
// program and the in-process tests build the same application with it.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "cli/cli_context.h"

namespace traveno::cli {

void ConfigureCliApp(CLI::App& app, CliContext& context);

// Parses and runs one command line (the arguments without the program's
// name) as the program does: a refusal's message goes to standard error, an
// unexpected failure also to the error file of the data folder; returns the
// exit status (0 on success).
int RunCommandLine(CLI::App& app, CliContext& context, std::vector<std::string> arguments);

}  // namespace traveno::cli
