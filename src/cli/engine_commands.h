// The commands that run the payroll calculation without any data folder:
// calc (a month from a JSON document), tax (the tax calculator) and formula
// (check and evaluate a formula).
#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <string>

#include "cli/cli_context.h"

namespace traveno::cli {

void RegisterEngineCommands(CLI::App& app, CliContext& context);

// The calc command's work: reads the month's JSON document and returns the
// calculated result as JSON text. Throws std::invalid_argument with a message
// naming the offending field when the document is not valid JSON or a value
// has the wrong type.
std::string CalculateMonthDocument(const std::string& input);

}  // namespace traveno::cli
