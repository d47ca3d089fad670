#include "core/store/store.h"

#include <ctime>

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/store/row_io.h"
#include "core/store/schema.h"
#include "core/store/schema_upgrades.h"
#include "core/text.h"

namespace traveno {
namespace fs = std::filesystem;

namespace {

void RequireDataFolder(const fs::path& folder) {
  std::error_code error;
  if (fs::is_directory(folder, error)) return;
  if (fs::exists(folder, error)) throw Error(kDataFolderIsFile + folder.string());
  throw Error(kRegisterFolderMissing);
}

std::string NowForFileName() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char text[32] = "copie";
  if (localtime_r(&now, &local) != nullptr) {
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  }
  return text;
}

}  // namespace

// The month is kept in a temporary table so that the month views need no
// value pasted into their text.
Store::Store(fs::path data_folder) : data_folder_(std::move(data_folder)) {
  RequireDataFolder(data_folder_);
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
  RequireDataFolder(data_folder_);
  bool complete = true;
  for (const TableDef* table : RegisterTables())
    complete = complete && RegisterTableExists(table->name);
  if (complete) return;  // nothing to write: a read-only folder stays usable
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
    if (table == &FirmeTable()) RowWriter<FirmeRow>(*db_, "Firme").Insert(PlaceholderCompany());
  }
  tx.Commit();
}

namespace {

// Whether a register row is still the placeholder a new register is made
// with: nobody ever set it up or changed it.
bool IsUntouchedPlaceholder(FirmeRow row) {
  const FirmeRow placeholder = PlaceholderCompany();
  row.CodF = placeholder.CodF;
  const auto fields = FieldsOf<FirmeRow>();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (GetField(row, i) != GetField(placeholder, i)) return false;
  }
  return true;
}

}  // namespace

std::string DamagedCompanyMessage(std::string_view company_code, const fs::path& file) {
  return "Fisierul de date al firmei " + std::string(company_code) +
         " este deteriorat sau nu este o baza de date a programului (" + file.string() +
         ") ! Firma nu a fost modificata si nu poate fi folosita pana cand fisierul nu este "
         "refacut, de exemplu dintr-o copie de siguranta.";
}

bool IsDamagedDatabaseFailure(const StoreError& error) {
  const int primary = error.code().value_or(0) & 0xFF;
  return primary == 11 || primary == 26;  // SQLITE_CORRUPT, SQLITE_NOTADB
}

FirmeRow PlaceholderCompany() {
  FirmeRow test;
  test.Cod = "TEST";
  test.Denumire = "TEST";
  test.TipAngaj = 1;
  return test;
}

std::vector<std::string> Store::CompaniesWithoutFolder() {
  std::vector<std::string> codes;
  for (const FirmeRow& company : Companies()) {
    if (!IsValidCompanyCode(Truncate(Trim(company.Cod), 8))) continue;
    std::error_code error;
    if (!fs::is_directory(CompanyFolderOf(company.Cod), error)) codes.push_back(company.Cod);
  }
  return codes;
}

bool Store::VerificareFoldere(Prompter& prompter, const std::function<void()>& keep_copy) {
  std::vector<std::string> missing;
  std::vector<std::string> placeholders;
  std::int64_t companies = 0;
  try {
    if (!RegisterTableExists("Firme")) return false;
    for (const FirmeRow& company : Companies()) {
      // A code that cannot name a folder belongs to another program: left alone.
      if (!IsValidCompanyCode(Truncate(Trim(company.Cod), 8))) continue;
      std::error_code error;
      if (fs::is_directory(CompanyFolderOf(company.Cod), error)) continue;
      missing.push_back(company.Cod);
      if (IsUntouchedPlaceholder(company)) placeholders.push_back(company.Cod);
    }
    companies = db_->QueryInt("SELECT count(*) FROM main.Firme").value_or(0);
  } catch (const StoreError&) {
    return false;  // an unreadable register is left for the opening to report
  }
  // The placeholder of a new register, never set up, leaves without a
  // question: there is nothing of it to lose. It stays while it is the only
  // company, so a register nobody has used yet keeps its tables.
  if (missing.empty()) return false;
  if (missing.size() == placeholders.size()) {
    if (static_cast<std::int64_t>(placeholders.size()) == companies) return false;
    try {
      Transaction tx(*db_);
      for (const std::string& code : placeholders) {
        db_->Run("DELETE FROM main.Firme WHERE Cod = ?", code);
      }
      tx.Commit();
      return true;
    } catch (const std::exception&) {
      return false;  // tried again at the next start
    }
  }
  std::string codes;
  for (const std::string& code : missing) codes += (codes.empty() ? "" : ", ") + code;
  std::string question =
      "Directoarele firmelor urmatoare nu exista in directorul de date:\r\n" + codes +
      "\r\nDaca un disc din retea nu este conectat sau un director a fost redenumit, "
      "raspundeti Nu.";
  if (static_cast<std::int64_t>(missing.size()) == companies) {
    question +=
        "\r\nRegistrul va ramane fara firme: parametrii generali si transele de impozitare ale "
        "tuturor lunilor vor fi sterse.";
  }
  question += "\r\nSe pastreaza o copie a registrului. Stergeti aceste firme din registru ?";
  if (!prompter.AskYesNo(question)) return false;
  try {
    // A consistent copy under a temporary name, renamed once complete.
    const fs::path copy =
        data_folder_ / (std::string(kRegisterDatabaseName) + "." + NowForFileName() + ".bak");
    const fs::path partial = copy.string() + ".tmp";
    std::error_code ignored;
    fs::remove(partial, ignored);
    db_->Run("VACUUM main INTO ?", partial.string());
    fs::rename(partial, copy);
    if (keep_copy) keep_copy();
    Transaction tx(*db_);
    for (const std::string& code : missing) {
      db_->Run("DELETE FROM main.Firme WHERE Cod = ?", code);
    }
    if (db_->QueryInt("SELECT count(*) FROM main.Firme").value_or(0) == 0) {
      for (const char* table : {"Firme", "Para", "Impo", "Impo_an"}) {
        if (RegisterTableExists(table)) db_->Execute("DROP TABLE main." + QuoteIdentifier(table));
      }
    }
    tx.Commit();
    return true;
  } catch (const std::exception&) {
    // Nothing removed; the question comes back at the next start.
    return false;
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
  return CheckedCompanyFolder(data_folder_, Truncate(Trim(company_code), 8));
}

bool Store::CreateCompanyTables(std::string_view company_code) {
  if (!IsValidCompanyCode(Truncate(Trim(company_code), 8))) return false;
  const fs::path folder = CompanyFolderOf(company_code);
  std::error_code error;
  if (!fs::is_directory(folder, error)) return false;
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
  int version = 0;
  try {
    db_->Attach(file, kCompanySchema);
    version = LayoutVersion(*db_, kCompanySchema);
  } catch (const StoreError& failure) {
    if (!IsDamagedDatabaseFailure(failure)) throw;
    try {
      db_->Detach(kCompanySchema);
    } catch (const StoreError&) {
      // It was never attached.
    }
    throw DamagedCompanyError(company_code, file);
  }
  if (version != kStoreLayoutVersion) {
    db_->Detach(kCompanySchema);
    if (version > kStoreLayoutVersion) throw NewerDatabaseError(file, version);
    throw StoreError("Tabelele firmei " + std::string(company_code) +
                     " sunt intr-un format vechi care nu a putut fi adus la zi !");
  }
  open_company_ = Truncate(Trim(company_code), 8);
}

void Store::AttachNewCompany(std::string_view company_code) {
  CloseCompany();
  const fs::path folder = CompanyFolderOf(company_code);
  std::error_code error;
  if (!fs::is_directory(folder, error)) {
    throw StoreError("Directorul firmei " + std::string(company_code) + " nu exista !");
  }
  db_->Attach(folder / kCompanyDatabaseName, kCompanySchema);
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
  std::optional<Transaction> tx;
  if (!db_->InTransaction()) tx.emplace(*db_, TransactionKind::kDeferred);
  db_->Execute("DELETE FROM temp.working_month");
  db_->Run("INSERT INTO temp.working_month (luna) VALUES (?)", first);
  if (tx) tx->Commit();
  open_month_ = first;
}

std::unique_ptr<Store> OpenDatabases(const fs::path& data_folder) {
  std::error_code error;
  if (fs::exists(data_folder, error) && !fs::is_directory(data_folder, error)) {
    throw Error(kDataFolderIsFile + data_folder.string());
  }
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
