// The printed documents of traveno-cli: "report NAME" prepares a document of
// a company's month as the desktop program does, and prints its pages as
// text lines or writes them as a PDF file.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace traveno::cli {

void RegisterReportCommands(CLI::App& app, CliContext& context);

}  // namespace traveno::cli
