// traveno-cli: the program's operations without windows, over the same
// services as the desktop program.
#include <CLI/CLI.hpp>
#include <string_view>

#include "cli/cli_app.h"
#include "cli/cli_context.h"
#include "core/data_folder.h"
#include "core/error_report.h"
#include "core/fatal_signals.h"
#include "core/system_info.h"

// The data folder named on the command line, read before parsing so that a
// crash anywhere is reported to the right error file.
static std::string DataDirArgument(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--data-dir" && i + 1 < argc) return argv[i + 1];
    if (argument.starts_with("--data-dir=")) return std::string(argument.substr(11));
  }
  return {};
}

int main(int argc, char** argv) {
  traveno::InstallFatalSignalHandlers(
      traveno::ResolveDataFolder(DataDirArgument(argc, argv)) / traveno::kErrorFileName,
      "traveno-cli");
  traveno::cli::CliContext context;
  CLI::App app{std::string(traveno::kApplicationTitle) + " - linie de comanda", "traveno-cli"};
  traveno::cli::ConfigureCliApp(app, context);
  return traveno::cli::RunCommandLine(app, context,
                                      std::vector<std::string>(argv + 1, argv + argc));
}
