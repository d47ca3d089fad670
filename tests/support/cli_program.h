// Runs traveno-cli in-process exactly as the program runs a command line:
// a failure that escapes a command becomes a message on standard error and
// a non-zero status, as a user of the program sees it.
#pragma once

#include <CLI/CLI.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_app.h"

namespace traveno::testing {

struct ProgramResult {
  int status = 0;
  std::string out;
  std::string err;
};

inline ProgramResult RunProgram(const std::vector<std::string>& arguments) {
  std::ostringstream out;
  std::ostringstream err;
  cli::CliContext context;
  context.out = &out;
  context.err = &err;
  CLI::App app{"traveno-cli"};
  cli::ConfigureCliApp(app, context);
  const int status = cli::RunCommandLine(app, context, arguments);
  return {status, out.str(), err.str()};
}

}  // namespace traveno::testing
