#include "core/store/schema_upgrades.h"

#include <algorithm>
#include <optional>

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/store/pers_upgrade_rules.h"
#include "core/store/row_io.h"
#include "core/store/schema.h"
#include "core/store/sqlite.h"
#include "core/store/table_rebuild.h"
#include "core/text.h"

namespace traveno {
namespace fs = std::filesystem;
namespace {

bool HasAnyTable(Database& db) {
  return db
      .QueryInt(
          "SELECT 1 FROM main.sqlite_master WHERE type = 'table' "
          "AND name NOT LIKE 'sqlite_%'")
      .has_value();
}

// A register that holds a company code more than once (written by another
// program, or by two imports at once before the code was unique) keeps the
// first row of each code, the one every operation has always found; the copy
// kept before the upgrade holds the others. Both rows named the same folder,
// so no company loses its data.
void KeepFirstRowOfEachCode(Database& db) {
  db.Execute(
      "DELETE FROM main.Firme WHERE CodF NOT IN "
      "(SELECT min(CodF) FROM main.Firme GROUP BY Cod COLLATE NOCASE)");
}

// Version 1, the layout of 5.4.1.2: every table with all its fields and
// indexes. Tables of a database written before versions were recorded are
// rebuilt when their fields differ; employees of an older layout get the
// values of the upgrades they missed, and their company the parameter rows.
void RegisterToVersion1(Database& db) {
  if (!ColumnNames(db, "Firme").empty()) {
    // A rebuilt register gets the unique code index of version 2.
    KeepFirstRowOfEachCode(db);
    RebuildTable<FirmeRow>(db, FirmeTable());
  }
  if (!ColumnNames(db, "Para").empty()) RebuildTable<ParaRow>(db, ParaTable());
  if (!ColumnNames(db, "Impo").empty()) RebuildTable<ImpoRow>(db, ImpoTable());
  if (!ColumnNames(db, "Impo_an").empty()) RebuildTable<ImpoRow>(db, ImpoAnTable());
}

void CompanyToVersion1(Database& db, const UpgradeContext& context) {
  const std::vector<std::string> columns = ColumnNames(db, "Pers");
  PersUpgrades upgrades;
  std::map<std::int64_t, double> regularizare;
  if (!columns.empty() && !HasCurrentLayout(columns, PersTable())) {
    upgrades = DecidePersUpgrades(columns);
    if (std::any_of(columns.begin(), columns.end(),
                    [](const std::string& c) { return EqualsIgnoreCase(c, "Regularizare"); })) {
      Statement statement = db.Prepare("SELECT Nr, Regularizare FROM main.Pers");
      while (statement.Step()) regularizare[statement.Int64(0)] = statement.Double(1);
    }
  }
  RebuildTable<PersRow>(db, PersTable(), [&](PersRow& row) {
    const auto chelt = context.chelt_prof.find(row.LUNA);
    const auto old = regularizare.find(row.Nr);
    ApplyPersUpgrades(upgrades, row, {old == regularizare.end() ? 0.0 : old->second},
                      chelt == context.chelt_prof.end() ? 0.0 : chelt->second);
  });
  RebuildTable<PintRow>(db, PintTable());
  RebuildTable<ParFRow>(db, ParFTable());
  RebuildTable<PozeRow>(db, PozeTable());

  std::vector<ParFRow> parameters = QueryRows<ParFRow>(db, "SELECT * FROM main.ParF ORDER BY Nr");
  const std::vector<ParFRow> before = parameters;
  CloseMonthsBeforeLast(upgrades, parameters);
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    if (parameters[i].Val != before[i].Val) {
      db.Run("UPDATE main.ParF SET Val = ? WHERE Nr = ?", parameters[i].Val, parameters[i].Nr);
    }
  }
  RowWriter<ParFRow> writer(db, "ParF");
  for (const ParFRow& row : ParFRowsAddedByUpgrades(upgrades, parameters)) writer.Insert(row);
}

// Version 2: one register row per company code, kept by a unique index, so
// that two imports (or any two writers) at once cannot register a company
// twice. Company databases are unchanged.
void RegisterToVersion2(Database& db) {
  if (ColumnNames(db, "Firme").empty()) return;
  KeepFirstRowOfEachCode(db);
  db.Execute("DROP INDEX IF EXISTS main.Firme_iCod");
  EnsureIndexes(db, FirmeTable());
}

const UpgradeStep kSteps[] = {
    {1, "5.4.1.2", RegisterToVersion1, CompanyToVersion1},
    {2, "0.1.0", RegisterToVersion2, nullptr},
};

// Copies the database file beside itself as "<name>.bak-<version>".
void KeepCopy(const fs::path& file, int version) {
  const fs::path copy = fs::path(file.string() + ".bak-" + std::to_string(version));
  const fs::path temporary = fs::path(copy.string() + ".tmp");
  std::error_code error;
  fs::copy_file(file, temporary, fs::copy_options::overwrite_existing, error);
  if (!error) fs::rename(temporary, copy, error);
  if (error) {
    fs::remove(temporary, error);
    throw OsError("Nu pot pastra copia fisierului " + file.string() + " inainte de upgrade !",
                  error.value());
  }
}

std::map<Date, double> ReadCheltProf(Database& db) {
  std::map<Date, double> values;
  if (!db.TableExists("main", "Para")) return values;
  Statement statement =
      db.Prepare("SELECT Luna, Val FROM main.Para WHERE Den = 'CheltProf' COLLATE NOCASE");
  while (statement.Step()) values[statement.DateAt(0)] = statement.Double(1);
  return values;
}

enum class Outcome { kCurrent, kUpgraded, kFailed, kNewer };

// Brings one database to the last step's version; `company_code` is empty
// for the register.
Outcome UpgradeDatabase(const fs::path& file, std::string_view company_code,
                        std::span<const UpgradeStep> steps, const UpgradeContext& context,
                        Prompter& prompter, ProgressReporter& progress) {
  const int latest = steps.empty() ? 0 : steps.back().version;
  Database db(file, false);
  const int version = LayoutVersion(db);
  if (version > latest) {
    if (company_code.empty()) throw NewerDatabaseError(file, version);
    prompter.Message(MessageKind::kError, NewerDatabaseMessage(file, version));
    return Outcome::kNewer;
  }
  if (version == latest) return Outcome::kCurrent;
  if (version == 0 && !HasAnyTable(db)) {
    // A database just made, before its tables: it is born in the current layout.
    SetLayoutVersion(db, latest);
    return Outcome::kCurrent;
  }
  // A step that does not change this kind of database only records its
  // version: no copy, no wait window.
  const auto changes = [&](const UpgradeStep& step) {
    return company_code.empty() ? step.upgrade_register != nullptr
                                : step.upgrade_company != nullptr;
  };
  try {
    if (std::any_of(steps.begin(), steps.end(), [&](const UpgradeStep& step) {
          return step.version > version && changes(step);
        })) {
      KeepCopy(file, version);
    }
  } catch (const Error& error) {
    prompter.Message(MessageKind::kError, error.what());
    return Outcome::kFailed;
  }
  for (const UpgradeStep& step : steps) {
    if (step.version <= LayoutVersion(db)) continue;
    std::optional<WaitScope> wait;
    if (changes(step)) wait.emplace(progress, UpgradeTitle(step, company_code), kUpgradeWaitText);
    try {
      Transaction tx(db);
      if (company_code.empty()) {
        if (step.upgrade_register) step.upgrade_register(db);
      } else if (step.upgrade_company) {
        step.upgrade_company(db, context);
      }
      SetLayoutVersion(db, step.version);
      tx.Commit();
    } catch (const std::exception&) {
      prompter.Message(MessageKind::kError, UpgradeFailedMessage(step, company_code));
      return Outcome::kFailed;
    }
  }
  return Outcome::kUpgraded;
}

std::vector<std::string> CompanyCodes(Database& db) {
  std::vector<std::string> codes;
  if (!db.TableExists("main", "Firme")) return codes;
  Statement statement = db.Prepare("SELECT Cod FROM main.Firme ORDER BY Cod COLLATE NOCASE, CodF");
  while (statement.Step()) {
    const std::string code = Truncate(Trim(statement.Text(0)), 8);
    if (!code.empty()) codes.push_back(code);
  }
  return codes;
}

bool Exists(const fs::path& file) {
  std::error_code error;
  return fs::is_regular_file(file, error);
}

}  // namespace

int LayoutVersion(Database& db, std::string_view schema) {
  return static_cast<int>(
      db.QueryInt("PRAGMA " + QuoteIdentifier(schema) + ".user_version").value_or(0));
}

void SetLayoutVersion(Database& db, int version, std::string_view schema) {
  db.Execute("PRAGMA " + QuoteIdentifier(schema) + ".user_version = " + std::to_string(version));
}

std::string NewerDatabaseMessage(const fs::path& file, int version) {
  return "Fisierul " + file.string() +
         " a fost scris de o versiune mai noua a programului "
         "(formatul " +
         std::to_string(version) + ", programul cunoaste formatul " +
         std::to_string(kStoreLayoutVersion) +
         ").\r\nFolositi versiunea mai noua a programului. Fisierul nu a fost modificat.";
}

void RefuseNewerDatabase(Database& db, const fs::path& file, std::string_view schema) {
  const int version = LayoutVersion(db, schema);
  if (version > kStoreLayoutVersion) throw NewerDatabaseError(file, version);
}

std::span<const UpgradeStep> StoreUpgradeSteps() { return kSteps; }

std::string UpgradeTitle(const UpgradeStep& step, std::string_view company_code) {
  std::string title = "Upgrade Traveno v " + step.label;
  if (!company_code.empty()) title += " pentru firma " + std::string(company_code);
  return title;
}

std::string UpgradeFailedMessage(const UpgradeStep& step, std::string_view company_code) {
  if (company_code.empty()) {
    return "Datorita unor probleme cu bazele de date nu se poate face upgrade " + step.label +
           " la registrul firmelor";
  }
  return "Datorita unor probleme cu bazele de date nu se poate face upgrade " + step.label +
         " la firma:  " + std::string(company_code);
}

UpgradeResult RunUpgrades(const fs::path& data_folder, Prompter& prompter,
                          ProgressReporter& progress, std::span<const UpgradeStep> steps) {
  UpgradeResult result;
  const fs::path register_file = data_folder / kRegisterDatabaseName;
  if (!Exists(register_file)) return result;
  UpgradeContext context;
  std::vector<std::string> codes;
  switch (UpgradeDatabase(register_file, "", steps, context, prompter, progress)) {
    case Outcome::kUpgraded:
      result.upgraded.push_back("");
      break;
    case Outcome::kFailed:
      result.failed.push_back("");
      break;
    default:
      break;
  }
  {
    Database db(register_file, false);
    context.chelt_prof = ReadCheltProf(db);
    codes = CompanyCodes(db);
  }
  for (const std::string& code : codes) {
    const fs::path file = CompanyFolder(data_folder, code) / kCompanyDatabaseName;
    if (!Exists(file)) continue;
    switch (UpgradeDatabase(file, code, steps, context, prompter, progress)) {
      case Outcome::kUpgraded:
        result.upgraded.push_back(code);
        break;
      case Outcome::kFailed:
      case Outcome::kNewer:
        result.failed.push_back(code);
        break;
      case Outcome::kCurrent:
        break;
    }
  }
  return result;
}

bool UpgradesNeeded(const fs::path& data_folder, std::span<const UpgradeStep> steps) {
  const int latest = steps.empty() ? 0 : steps.back().version;
  const fs::path register_file = data_folder / kRegisterDatabaseName;
  if (!Exists(register_file)) return false;
  try {
    Database db(register_file, false);
    if (LayoutVersion(db) != latest) return true;
    for (const std::string& code : CompanyCodes(db)) {
      const fs::path file = CompanyFolder(data_folder, code) / kCompanyDatabaseName;
      if (!Exists(file)) continue;
      Database company(file, false);
      if (LayoutVersion(company) != latest) return true;
    }
  } catch (const StoreError&) {
    return false;
  }
  return false;
}

}  // namespace traveno
