// Runs traveno-cli in-process, as the program builds it, with its output
// captured. A failure that escapes a command reaches the test.
#pragma once

#include <CLI/CLI.hpp>
#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_app.h"

namespace traveno::testing {

struct CliResult {
  int exit_code = 0;
  std::string out;
  std::string err;
  nlohmann::json Json() const { return nlohmann::json::parse(out); }
};

inline CliResult RunCli(std::vector<std::string> arguments) {
  std::ostringstream out;
  std::ostringstream err;
  cli::CliContext context;
  context.out = &out;
  context.err = &err;
  CLI::App app{"traveno-cli"};
  cli::ConfigureCliApp(app, context);
  std::reverse(arguments.begin(), arguments.end());  // CLI11 takes them last first
  app.parse(arguments);
  return {context.exit_code, out.str(), err.str()};
}

}  // namespace traveno::testing
