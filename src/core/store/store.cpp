#include "core/store/store.h"

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/store/row_io.h"
#include "core/store/schema.h"
#include "core/store/schema_upgrades.h"
#include "core/text.h"

namespace traveno {
namespace fs = std::filesystem;

// The month is kept in a temporary table so that the month views need no
// value pasted into their text.
Store::Store(fs::path data_folder) : data_folder_(std::move(data_folder)) {
  std::error_code error;
  if (!fs::is_directory(data_folder_, error)) throw Error(kRegisterFolderMissing);
  db_ = std::make_unique<Database>(data_folder_ / kRegisterDatabaseName, true);
  RefuseNewerDatabase(*db_, data_folder_ / kRegisterDatabaseName);
  db_->Execute("CREATE TEMP TABLE IF NOT EXISTS working_month (luna TEXT NOT NULL)");
}

void Store::CreateMonthViews() {
  db_->Execute(
      "CREATE TEMP VIEW IF NOT EXISTS ParaLuna AS SELECT * FROM main.Para "
      "  WHERE Luna = (SELECT luna FROM temp.working_month);"
      "CREATE TEMP VIEW IF NOT EXISTS ImpoLuna AS SELECT * FROM main.Impo "
      "  WHERE Luna = (SELECT luna FROM temp.working_month);"
      "CREATE TEMP VIEW IF NOT EXISTS ImpoAnLuna AS SELECT * FROM main.Impo_an "
      "  WHERE Luna BETWEEN substr((SELECT luna FROM temp.working_month), 1, 4) || '-01-01' "
      "                 AND substr((SELECT luna FROM temp.working_month), 1, 4) || '-12-01';");
}

void Store::CreateCompanyMonthViews() {
  db_->Execute(
      "CREATE TEMP VIEW IF NOT EXISTS PersLuna AS SELECT * FROM firma.Pers "
      "  WHERE LUNA = (SELECT luna FROM temp.working_month);"
      "CREATE TEMP VIEW IF NOT EXISTS PintLuna AS SELECT * FROM firma.Pint "
      "  WHERE Luna = (SELECT luna FROM temp.working_month);"
      "CREATE TEMP VIEW IF NOT EXISTS ParFLuna AS SELECT * FROM firma.ParF "
      "  WHERE Luna = (SELECT luna FROM temp.working_month);");
}

bool Store::RegisterTableExists(std::string_view table) { return db_->TableExists("main", table); }

void Store::EnsureRegisterTables() {
  std::error_code error;
  if (!fs::is_directory(data_folder_, error)) throw Error(kRegisterFolderMissing);
  Transaction tx(*db_);
  bool none_existed = true;
  for (const TableDef* table : RegisterTables()) {
    none_existed = none_existed && !RegisterTableExists(table->name);
  }
  // A register made here is born in the program's layout.
  if (none_existed && LayoutVersion(*db_) == 0) SetLayoutVersion(*db_, kStoreLayoutVersion);
  for (const TableDef* table : RegisterTables()) {
    if (RegisterTableExists(table->name)) continue;
    CreateTable(*db_, "main", *table);
    if (table == &FirmeTable()) {
      FirmeRow test;
      test.Cod = "TEST";
      test.Denumire = "TEST";
      test.TipAngaj = 1;
      RowWriter<FirmeRow>(*db_, "Firme").Insert(test);
    }
  }
  tx.Commit();
}

void Store::VerificareFoldere() {
  if (!RegisterTableExists("Firme")) return;
  std::vector<FirmeRow> companies;
  try {
    companies = Companies();
  } catch (const StoreError&) {
    return;  // an unreadable register is left for the opening to report
  }
  for (const FirmeRow& company : companies) {
    std::error_code error;
    if (fs::is_directory(CompanyFolderOf(company.Cod), error)) continue;
    try {
      db_->Run("DELETE FROM main.Firme WHERE CodF = ?", company.CodF);
    } catch (const StoreError&) {
      // One row that cannot be removed does not stop the purge.
    }
  }
  try {
    if (db_->QueryInt("SELECT count(*) FROM main.Firme").value_or(0) > 0) return;
    Transaction tx(*db_);
    for (const char* table : {"Firme", "Para", "Impo", "Impo_an"}) {
      if (RegisterTableExists(table)) db_->Execute("DROP TABLE main." + QuoteIdentifier(table));
    }
    tx.Commit();
  } catch (const StoreError&) {
    // The tables are made again at the next start in any case.
  }
}

std::vector<FirmeRow> Store::Companies() {
  return QueryRows<FirmeRow>(*db_, "SELECT * FROM main.Firme ORDER BY Cod COLLATE NOCASE, CodF");
}

std::optional<FirmeRow> Store::FindCompany(std::string_view code) {
  auto rows = QueryRows<FirmeRow>(*db_, "SELECT * FROM main.Firme WHERE Cod = ?", code);
  if (rows.empty()) return std::nullopt;
  return rows.front();
}

fs::path Store::CompanyFolderOf(std::string_view company_code) const {
  return CompanyFolder(data_folder_, company_code);
}

bool Store::CreateCompanyTables(std::string_view company_code) {
  const fs::path folder = CompanyFolderOf(company_code);
  std::error_code error;
  if (Trim(company_code).empty() || !fs::is_directory(folder, error)) return false;
  Database company(folder / kCompanyDatabaseName, true);
  Transaction tx(company);
  bool none_existed = true;
  for (const TableDef* table : CompanyTables()) {
    none_existed = none_existed && !company.TableExists("main", table->name);
  }
  if (none_existed && LayoutVersion(company) == 0) SetLayoutVersion(company, kStoreLayoutVersion);
  for (const TableDef* table : CompanyTables()) {
    if (!company.TableExists("main", table->name)) CreateTable(company, "main", *table);
  }
  tx.Commit();
  return true;
}

void Store::OpenCompany(std::string_view company_code) {
  CloseCompany();
  const fs::path file = CompanyFolderOf(company_code) / kCompanyDatabaseName;
  std::error_code error;
  if (!fs::is_regular_file(file, error)) {
    throw StoreError("Tabelele firmei " + std::string(company_code) + " nu exista !");
  }
  db_->Attach(file, kCompanySchema);
  if (const int version = LayoutVersion(*db_, kCompanySchema); version != kStoreLayoutVersion) {
    db_->Detach(kCompanySchema);
    if (version > kStoreLayoutVersion) throw NewerDatabaseError(file, version);
    throw StoreError("Tabelele firmei " + std::string(company_code) +
                     " sunt intr-un format vechi care nu a putut fi adus la zi !");
  }
  open_company_ = Truncate(Trim(company_code), 8);
}

void Store::CloseCompany() {
  if (!open_company_) return;
  db_->Detach(kCompanySchema);
  open_company_.reset();
  open_month_.reset();
}

void Store::OpenMonth(Date month) {
  const Date first = FirstOfMonth(month);
  // The views are made at the first opening, once their tables exist.
  CreateMonthViews();
  if (open_company_) CreateCompanyMonthViews();
  Transaction tx(*db_);
  db_->Execute("DELETE FROM temp.working_month");
  db_->Run("INSERT INTO temp.working_month (luna) VALUES (?)", first);
  tx.Commit();
  open_month_ = first;
}

std::unique_ptr<Store> OpenDatabases(const fs::path& data_folder) {
  try {
    auto store = std::make_unique<Store>(data_folder);
    for (const char* table : {"Firme", "Para", "Impo", "Impo_an"}) {
      if (!store->RegisterTableExists(table)) throw StoreError(table);
    }
    // A register left in an older layout (its upgrade failed) is not worked on.
    if (LayoutVersion(store->db()) != kStoreLayoutVersion) throw StoreError("registru");
    return store;
  } catch (const NewerDatabaseError&) {
    throw;  // its own message tells the user what to do
  } catch (const std::exception&) {
    throw Error(kOpenDatabasesFailed, "EDBEngineError");
  }
}

}  // namespace traveno
