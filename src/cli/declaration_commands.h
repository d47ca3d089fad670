// traveno-cli declaration cas|somaj|sanatate: the monthly social-insurance,
// unemployment and health declarations, confirmed with the same rules as
// their windows, then shown (figures, or the printed declarations as text)
// or written (the electronic files into a folder).
#pragma once

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace traveno::cli {

void RegisterDeclarationCommands(CLI::App& app, CliContext& context);

}  // namespace traveno::cli
