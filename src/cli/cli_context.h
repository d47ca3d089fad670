// What every traveno-cli command receives: the global options and the
// streams it writes to.
#pragma once

#include <iostream>
#include <optional>
#include <string>

namespace traveno::cli {

struct CliContext {
  // --data-dir DIR; empty means TRAVENO_DATA, else the user's data folder.
  std::string data_dir;
  // --json: lists and results as JSON on standard output.
  bool json = false;
  // --yes answers every question with Yes; --confirm types "CONFIRM".
  bool yes = false;
  bool confirm = false;
  // --quiet: no progress line on standard error during long work.
  bool quiet = false;
  std::ostream* out = &std::cout;
  std::ostream* err = &std::cerr;
  // The status the program ends with; a command sets it on failure.
  int exit_code = 0;
};

}  // namespace traveno::cli
