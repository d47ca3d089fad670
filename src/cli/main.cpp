// traveno-cli: the program's operations without windows, over the same
// services as the desktop program.
#include <CLI/CLI.hpp>
#include <string_view>

#include "cli/cli_app.h"
#include "cli/cli_context.h"
#include "cli/cli_prompter.h"
#include "core/data_folder.h"
#include "core/error_report.h"
#include "core/fatal_signals.h"
#include "core/system_info.h"

namespace {

// An error that escaped a command: the report goes to the error file of the
// data folder, the message to standard error, and the command fails.
int ReportCommandFailure(traveno::cli::CliContext& context, const std::string& command) {
  const traveno::ErrorInfo error = traveno::DescribeException(std::current_exception());
  const traveno::SenderInfo sender{"traveno-cli", command, ""};
  const auto error_file =
      traveno::ResolveDataFolder(context.data_dir) / traveno::kErrorFileName;
  traveno::AppendErrorReport(error_file,
                             traveno::FormatErrorReport(error, &sender, {},
                                                        traveno::ReportEnvironment::Collect()));
  *context.err << traveno::cli::TerminalText(error.message) << "\n";
  return 1;
}

}  // namespace

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

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  } catch (...) {
    std::string command;
    for (const CLI::App* sub = &app; !sub->get_subcommands().empty();) {
      sub = sub->get_subcommands().front();
      command += (command.empty() ? "" : " ") + sub->get_name();
    }
    return ReportCommandFailure(context, command);
  }
  return context.exit_code;
}
