#include "cli/core_commands.h"

#include <nlohmann/json.hpp>

#include "backup/restore.h"
#include "backup/safety_copies.h"
#include "cli/cli_prompter.h"
#include "cli/cli_session.h"
#include "cli/json_output.h"
#include "core/data_folder.h"
#include "core/store/schema_upgrades.h"
#include "core/store/store.h"
#include "core/text.h"

namespace traveno::cli {
namespace fs = std::filesystem;
namespace {

// The data folder of the command, made when missing.
fs::path PreparedDataFolder(const CliContext& context) {
  const fs::path folder = ResolveDataFolder(context.data_dir);
  std::error_code ignored;
  fs::create_directories(folder, ignored);
  return folder;
}

void Init(CliContext& context) {
  const fs::path folder = PreparedDataFolder(context);
  ClearReadOnly(folder, true);
  backup::CompleteInterruptedRestore(folder);
  CliPrompter prompter(*context.out, *context.err, context.yes, context.confirm);
  {
    Store store(folder);
    store.VerificareFoldere(prompter, backup::PurgeSafetyCopy(folder));
    store.EnsureRegisterTables();
  }
  SilentProgress progress;
  RunUpgrades(folder, prompter, progress);
  if (!context.json)
    *context.out << "Registrul firmelor este pregatit in " << folder.string() << "\n";
}

void ListCompanies(CliContext& context) {
  auto store = OpenUpgradedDatabases(context);
  const auto companies = store->Companies();
  if (context.json) {
    nlohmann::json list = nlohmann::json::array();
    for (const FirmeRow& company : companies) {
      list.push_back({{"Cod", company.Cod}, {"Denumire", company.Denumire}});
    }
    *context.out << list.dump(2, ' ', false, kReplaceInvalidUtf8) << "\n";
    return;
  }
  for (const FirmeRow& company : companies) {
    *context.out << PadRight(company.Cod, 9) << company.Denumire << "\n";
  }
}

}  // namespace

void RegisterCoreCommands(CLI::App& app, CliContext& context) {
  CLI::App* init = app.add_subcommand(
      "init",
      "Pregateste registrul firmelor: scoate firmele fara director si creeaza tabelele lipsa");
  init->callback([&context] { Init(context); });

  CLI::App* company = app.add_subcommand("company", "Registrul firmelor");
  company->require_subcommand(1);
  CLI::App* list = company->add_subcommand("list", "Firmele registrului, in ordinea codului");
  list->callback([&context] { ListCompanies(context); });
}

}  // namespace traveno::cli
