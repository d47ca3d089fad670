#include "cli/cli_app.h"

#include <algorithm>

#include "cli/cli_prompter.h"
#include "cli/company_commands.h"
#include "cli/core_commands.h"
#include "cli/declaration_commands.h"
#include "cli/efiling_commands.h"
#include "cli/engine_commands.h"
#include "cli/import_commands.h"
#include "cli/month_commands.h"
#include "cli/personnel_commands.h"
#include "cli/report_commands.h"
#include "core/data_folder.h"
#include "core/error_report.h"
#include "core/errors.h"
#include "core/system_info.h"

namespace traveno::cli {

namespace {

// The names of the command that failed, as the error report's sender.
std::string CommandName(const CLI::App& app) {
  std::string command;
  for (const CLI::App* sub = &app; !sub->get_subcommands().empty();) {
    sub = sub->get_subcommands().front();
    command += (command.empty() ? "" : " ") + sub->get_name();
  }
  return command;
}

// A failure that escaped a command: a refusal is only told; anything else is
// also reported to the error file of the data folder.
int ReportFailure(const CLI::App& app, CliContext& context) {
  const std::exception_ptr failure = std::current_exception();
  const ErrorInfo error = DescribeException(failure);
  if (!IsRefusal(failure)) {
    const SenderInfo sender{"traveno-cli", CommandName(app), ""};
    AppendErrorReport(ResolveDataFolder(context.data_dir) / kErrorFileName,
                      FormatErrorReport(error, &sender, {}, ReportEnvironment::Collect()));
  }
  *context.err << TerminalText(error.message) << "\n";
  return context.exit_code != 0 ? context.exit_code : 1;
}

}  // namespace

int RunCommandLine(CLI::App& app, CliContext& context, std::vector<std::string> arguments) {
  std::reverse(arguments.begin(), arguments.end());  // CLI11 takes them last first
  try {
    app.parse(arguments);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, *context.out, *context.err);
  } catch (...) {
    return ReportFailure(app, context);
  }
  return context.exit_code;
}

void ConfigureCliApp(CLI::App& app, CliContext& context) {
  // Option names are accepted in any case (--denumire as --Denumire).
  app.option_defaults()->ignore_case();
  app.require_subcommand(1);
  app.fallthrough();
  app.set_version_flag("--version", VersionString());
  app.add_option("--data-dir", context.data_dir,
                 "Directorul de date (altfel TRAVENO_DATA sau ~/.local/share/traveno)");
  app.add_flag("--json", context.json, "Rezultatele in format JSON");
  app.add_flag("--yes", context.yes, "Raspunde Da la intrebari");
  app.add_flag("--confirm", context.confirm, "Tasteaza cuvantul CONFIRM la confirmari");

  RegisterCoreCommands(app, context);
  RegisterEngineCommands(app, context);
  RegisterCompanyCommands(app, context);
  RegisterMonthCommands(app, context);
  RegisterPersonnelCommands(app, context);
  RegisterDeclarationCommands(app, context);
  RegisterImportCommands(app, context);
  RegisterEfilingCommands(app, context);
  RegisterReportCommands(app, context);
}

}  // namespace traveno::cli
