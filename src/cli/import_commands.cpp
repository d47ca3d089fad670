#include "cli/import_commands.h"

#include <memory>
#include <nlohmann/json.hpp>

#include "cli/cli_prompter.h"
#include "cli/cli_session.h"
#include "cli/json_output.h"
#include "core/data_folder.h"
#include "core/errors.h"
#include "core/store/schema_upgrades.h"
#include "core/store/store.h"
#include "core/text.h"
#include "legacy/fiscal_sheet_import.h"
#include "legacy/legacy_import.h"

namespace traveno::cli {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct LegacyOptions {
  std::string from;
  bool replace = false;
};

json CountJson(const legacy::TableCount& count) {
  return {{"tabel", count.table},    {"citite", count.read},    {"scrise", count.written},
          {"adaugate", count.added}, {"omise", count.left_out}, {"motiv", count.left_out_reason}};
}

const char* StatusName(legacy::CompanyStatus status) {
  switch (status) {
    case legacy::CompanyStatus::kImported:
      return "preluata";
    case legacy::CompanyStatus::kAlreadyImported:
      return "preluata_deja";
    case legacy::CompanyStatus::kExists:
      return "exista";
    case legacy::CompanyStatus::kNoFolder:
      return "fara_director";
    case legacy::CompanyStatus::kFailed:
      return "esuata";
  }
  return "";
}

void ImportLegacy(CliContext& context, const LegacyOptions& options) {
  // A folder without a register is refused before the data folder is touched.
  if (!legacy::HoldsLegacyRegister(options.from)) throw Error(legacy::kNoLegacyRegister);
  const fs::path folder = ResolveDataFolder(context.data_dir);
  std::error_code ignored;
  fs::create_directories(folder, ignored);
  CliPrompter prompter(*context.out, *context.err, context.yes, context.confirm);
  SilentProgress progress;
  Store(folder).EnsureRegisterTables();
  RunUpgrades(folder, prompter, progress);
  legacy::LegacyImportOptions import_options;
  import_options.source = options.from;
  import_options.replace = options.replace;
  const legacy::LegacyImportReport report =
      legacy::ImportLegacyData(folder, import_options, progress);
  if (context.json) {
    json result = {{"registru", json::array()}, {"firme", json::array()}};
    for (const auto& count : report.register_tables) result["registru"].push_back(CountJson(count));
    for (const auto& company : report.companies) {
      json tables = json::array();
      for (const auto& count : company.tables) tables.push_back(CountJson(count));
      result["firme"].push_back({{"cod", company.code},
                                 {"stare", StatusName(company.status)},
                                 {"mesaj", company.message},
                                 {"tabele", tables}});
    }
    *context.out << result.dump(2, ' ', false, kReplaceInvalidUtf8) << "\n";
  } else {
    for (const std::string& line : legacy::ReportLines(report)) *context.out << line << "\n";
  }
  for (const auto& company : report.companies) {
    if (company.status == legacy::CompanyStatus::kExists && !options.replace) {
      *context.err << "Firma " << company.code
                   << " exista deja; folositi --replace pentru a o inlocui.\n";
    }
  }
  if (!report.Complete()) context.exit_code = 1;
}

struct SheetOptions {
  std::string cod;
  std::string dir;
  std::optional<std::string> month;
};

void ImportSheets(CliContext& context, const SheetOptions& options) {
  CliSession cli(context);
  std::optional<Date> month;
  if (options.month) month = ParseMonthArgument(*options.month);
  if (!cli.Open(UpperTrim(options.cod), month)) {
    context.exit_code = 1;
    return;
  }
  // The window appends the file names to the folder as typed; a folder given
  // here gets its separator.
  std::string folder = options.dir;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  const legacy::SheetImportResult result =
      legacy::ImportFromFiscalSheets(*cli.session, folder, cli.prompter, cli.progress);
  if (result.outcome != legacy::SheetImportOutcome::kImported) {
    context.exit_code = 1;
    return;
  }
  if (context.json) {
    *context.out << json{{"angajati", result.employees},
                         {"persoane_in_intretinere", result.dependants},
                         {"linii_omise", result.skipped},
                         {"linii_refuzate", result.failed}}
                        .dump(2, ' ', false, kReplaceInvalidUtf8)
                 << "\n";
  } else {
    *context.out << "Angajati preluati: " << result.employees
                 << ", persoane in intretinere: " << result.dependants
                 << ", linii omise: " << result.skipped << ", linii refuzate: " << result.failed
                 << "\n";
  }
  if (result.failed > 0) context.exit_code = 1;
}

}  // namespace

void RegisterImportCommands(CLI::App& app, CliContext& context) {
  auto legacy_options = std::make_shared<LegacyOptions>();
  CLI::App* import_legacy = app.add_subcommand(
      "import-legacy",
      "Preia registrul si firmele unei versiuni anterioare (tabele Paradox) dintr-un director");
  import_legacy
      ->add_option("--from", legacy_options->from,
                   "Directorul cu Firme.DB si cu directoarele firmelor")
      ->required()
      ->check(CLI::ExistingDirectory);
  import_legacy->add_flag(
      "--replace", legacy_options->replace,
      "Inlocuieste firmele care exista deja (in registru sau in directorul lor)");
  import_legacy->callback([&context, legacy_options] { ImportLegacy(context, *legacy_options); });

  auto sheet_options = std::make_shared<SheetOptions>();
  CLI::App* import_ff = app.add_subcommand(
      "import-ff",
      "Preia firma, angajatii si persoanele in intretinere din fisele fiscale 2002 (TXT)");
  import_ff->add_option("--cod", sheet_options->cod, "Codul firmei")->required();
  import_ff
      ->add_option("--dir", sheet_options->dir,
                   "Directorul cu Rep_2002.txt, FF1_2002.txt, FF2_2002.txt, Ded_2002.txt")
      ->required();
  import_ff->add_option("--month", sheet_options->month,
                        "Luna AAAA-LL (altfel ultima luna a firmei)");
  import_ff->callback([&context, sheet_options] { ImportSheets(context, *sheet_options); });
}

}  // namespace traveno::cli
