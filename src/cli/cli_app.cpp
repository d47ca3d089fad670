#include "cli/cli_app.h"

#include "cli/company_commands.h"
#include "cli/core_commands.h"
#include "cli/declaration_commands.h"
#include "cli/efiling_commands.h"
#include "cli/engine_commands.h"
#include "cli/import_commands.h"
#include "cli/month_commands.h"
#include "cli/personnel_commands.h"
#include "cli/report_commands.h"
#include "core/system_info.h"

namespace traveno::cli {

void ConfigureCliApp(CLI::App& app, CliContext& context) {
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
