// The trends of traveno-cli: "trend" gives a company's months over an
// interval as the figures of the "Evolutie" window (JSON or a table), and
// writes its chart as a PNG file and the printed trend as a PDF file, drawn
// offscreen as the window draws them; "compare" gives the comparison of a
// month with the one before ("Comparatie cu luna anterioara").
#pragma once

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace traveno::cli {

void RegisterTrendCommands(CLI::App& app, CliContext& context);

}  // namespace traveno::cli
