#include "legacy/legacy_company_writer.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/store/field_rules.h"
#include "core/store/row_io.h"
#include "core/store/schema.h"
#include "core/store/schema_upgrades.h"
#include "core/text.h"
#include "engine/tax_table.h"
#include "params/company_register.h"
#include "params/month_cycle.h"

namespace traveno::legacy {
namespace fs = std::filesystem;
namespace {

std::int64_t RowsIn(Database& db, const char* table) {
  return db.QueryInt("SELECT count(*) FROM firma." + std::string(table)).value_or(0);
}

template <typename Row>
void InsertAll(Database& db, const char* table, const std::vector<Row>& rows, bool keep_identity) {
  RowWriter<Row> writer(db, table);
  for (const Row& row : rows) {
    RequireRowValues(row);
    writer.Insert(row, keep_identity);
  }
}

// Whether the company tables of a database ("main", or the company's
// attached as kCompanySchema) hold any row. The database an interrupted
// import or company creation leaves (without tables, or with them empty)
// holds none: it is no data, and the import fills it.
bool HoldsCompanyData(Database& db, std::string_view schema) {
  for (const TableDef* table : CompanyTables()) {
    if (db.TableExists(schema, table->name) &&
        db.QueryInt("SELECT 1 FROM " + QuoteIdentifier(schema) + "." +
                    QuoteIdentifier(table->name) + " LIMIT 1")) {
      return true;
    }
  }
  return false;
}

// Makes a company's folder with its database file at once: built under a
// name no company can have (a code holds no "."), then renamed, so that an
// interruption leaves either no folder or one whose database holds no table.
// False when another import made the folder meanwhile.
bool MakeCompanyFolder(const fs::path& data_folder, const fs::path& folder,
                       const std::string& code) {
  const fs::path building = data_folder / ("." + code + ".preluare-" + std::to_string(::getpid()));
  std::error_code error;
  fs::remove_all(building, error);
  fs::create_directories(building, error);
  if (!error) {
    std::ofstream(building / kCompanyDatabaseName, std::ios::binary).close();
    SyncFolder(building);
    fs::rename(building, folder, error);
  }
  if (error) {
    const int cause = error.value();
    fs::remove_all(building, error);
    if (fs::is_directory(folder, error)) return false;
    throw OsError(params::kCompanyFolderNotCreated, cause);
  }
  SyncFolder(data_folder);
  return true;
}

// The company tables of the attached database, inside the import's
// transaction: a database without data gets them anew in the program's
// layout (whatever an interruption left in it); one with data keeps them
// when they are in that layout and is refused in any other.
void PrepareCompanyTables(Database& db, const fs::path& file, bool holds_data) {
  if (holds_data) {
    const int version = LayoutVersion(db, kCompanySchema);
    if (version > kStoreLayoutVersion) throw NewerDatabaseError(file, version);
    if (version != kStoreLayoutVersion) {
      throw StoreError("Tabelele firmei din " + file.parent_path().string() +
                       " sunt intr-un format vechi care nu a putut fi adus la zi !");
    }
  } else {
    for (const TableDef* table : CompanyTables()) {
      if (db.TableExists(kCompanySchema, table->name)) {
        db.Execute("DROP TABLE " + std::string(kCompanySchema) + "." +
                   QuoteIdentifier(table->name));
      }
    }
    SetLayoutVersion(db, kStoreLayoutVersion, kCompanySchema);
  }
  for (const TableDef* table : CompanyTables()) {
    if (!db.TableExists(kCompanySchema, table->name)) CreateTable(db, kCompanySchema, *table);
  }
}

// 5.2.0 gave every year of an employee's row that had no annual brackets the
// default table; returns the rows written.
int AddAnnualBrackets(Database& db, const std::set<int>& years) {
  int written = 0;
  for (const int year : years) {
    const Date january = Date::FromYmd(year, 1, 1);
    if (db.QueryInt("SELECT 1 FROM main.Impo_an WHERE Luna = ? LIMIT 1", january)) continue;
    for (const engine::TaxBracket& bracket : params::DefaultAnnualBrackets()) {
      db.Run("INSERT INTO main.Impo_an (Luna, P_Venit, V_Const, V_Proc) VALUES (?, ?, ?, ?)",
             january, bracket.P_Venit, bracket.V_Const, bracket.V_Proc);
      ++written;
    }
  }
  return written;
}

}  // namespace

std::optional<FirmeRow> FindRegistered(Store& store, std::string_view code) {
  for (const FirmeRow& row : store.Companies()) {
    if (EqualsIgnoreCase(Trim(row.Cod), code)) return row;
  }
  return std::nullopt;
}

bool FolderHoldsCompanyData(const fs::path& folder) {
  const fs::path file = folder / kCompanyDatabaseName;
  std::error_code error;
  if (!fs::is_regular_file(file, error)) return false;
  try {
    Database company(file, false);  // a journal left behind is rolled back here
    return HoldsCompanyData(company, "main");
  } catch (const StoreError&) {
    return true;
  }
}

std::optional<std::string> Refusal(const std::string& code, bool registered, bool holds_data,
                                   const LegacyImportOptions& options) {
  if (registered && EqualsIgnoreCase(options.working_company, code)) {
    return "Firma " + code + " este firma de lucru si nu poate fi inlocuita.";
  }
  if (registered && !options.replace) {
    return "Firma " + code + " exista deja in registru si nu a fost preluata.";
  }
  // A company's data in its folder without a register row is data as well.
  if (!registered && holds_data && !options.replace) {
    return "Firma " + code + " are deja date in directorul ei si nu a fost preluata.";
  }
  return std::nullopt;
}

namespace {

// Removes the folder this import made for a company it could not write,
// unless another import has meanwhile registered the company or written into
// it (looked at under the write lock, which that import holds while it
// writes). When it cannot be looked at, the folder stays: its database holds
// no data, so the next import fills it.
void RemoveMadeFolder(Store& store, const std::string& code, const fs::path& folder) {
  try {
    store.AttachNewCompany(code);
    Transaction tx(store.db());
    if (!FindRegistered(store, code) && !HoldsCompanyData(store.db(), kCompanySchema)) {
      std::error_code error;
      fs::remove_all(folder, error);
    }
  } catch (const std::exception&) {
    // Left for the next import, as said above.
  }
  store.CloseCompany();
}

}  // namespace

int WriteLegacyCompany(Store& store, FirmeRow firme, const LegacyImportOptions& options,
                       const LegacyCompany& company) {
  const std::string code = firme.Cod;
  const fs::path folder = CheckedCompanyFolder(store.data_folder(), code);
  const fs::path file = folder / kCompanyDatabaseName;
  std::error_code error;
  // A company the earlier version never opened has no tables: it is only
  // registered, as a new company is, and its first choice makes its folder.
  const bool with_tables = company.has_tables || fs::is_regular_file(file, error);
  bool made_folder = false;
  try {
    if (with_tables && !fs::is_directory(folder, error)) {
      made_folder = MakeCompanyFolder(store.data_folder(), folder, code);
    }
    if (with_tables) store.AttachNewCompany(code);
    Database& db = store.db();
    Transaction tx(db);
    const std::optional<FirmeRow> existing = FindRegistered(store, code);
    const bool holds_data = with_tables && HoldsCompanyData(db, kCompanySchema);
    if (auto refusal = Refusal(code, existing.has_value(), holds_data, options)) {
      throw CompanyTaken{*refusal};
    }
    int brackets = 0;
    if (with_tables) {
      // A folder removed meanwhile (by another import that failed) is not
      // written into.
      if (!fs::is_regular_file(file, error)) {
        throw Error("Directorul firmei " + code + " a fost sters in timpul preluarii !");
      }
      PrepareCompanyTables(db, file, holds_data);
      for (const char* table : {"Pers", "Pint", "ParF", "Poze"}) {
        db.Execute("DELETE FROM firma." + std::string(table));
      }
      InsertAll(db, "Pers", company.pers, true);
      InsertAll(db, "ParF", company.parf, true);
      InsertAll(db, "ParF", company.parf_added, false);
      InsertAll(db, "Pint", company.pint, true);
      InsertAll(db, "Poze", company.poze, true);
      // Every row read is written, or counted as left out.
      const std::int64_t expected_parf =
          static_cast<std::int64_t>(company.parf.size() + company.parf_added.size());
      if (RowsIn(db, "Pers") != static_cast<std::int64_t>(company.pers.size()) ||
          RowsIn(db, "ParF") != expected_parf ||
          RowsIn(db, "Pint") != static_cast<std::int64_t>(company.pint.size()) ||
          RowsIn(db, "Poze") != static_cast<std::int64_t>(company.poze.size())) {
        throw Error("numarul randurilor scrise difera de cel al randurilor citite");
      }
      brackets = AddAnnualBrackets(db, company.years_needing_annual_brackets);
    }
    RowWriter<FirmeRow> register_writer(db, "Firme");
    RequireRowValues(firme);
    if (existing) {
      firme.CodF = existing->CodF;
      register_writer.Update(firme);
    } else {
      register_writer.Insert(firme);
    }
    tx.Commit();
    store.CloseCompany();
    return brackets;
  } catch (...) {
    store.CloseCompany();
    if (made_folder) RemoveMadeFolder(store, code, folder);
    throw;
  }
}

namespace {

// Whether two rows hold the same values, their row numbers (Nr, CodF) aside
// when asked.
template <typename Row>
bool SameRow(const Row& a, const Row& b, bool with_row_number) {
  const auto fields = FieldsOf<Row>();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (!with_row_number && fields[i].kind == FieldKind::kAutoInc) continue;
    if (!(GetField(a, i) == GetField(b, i))) return false;
  }
  return true;
}

template <typename Row>
std::vector<Row> ByRowNumber(std::vector<Row> rows) {
  std::stable_sort(rows.begin(), rows.end(),
                   [](const Row& a, const Row& b) { return a.Nr < b.Nr; });
  return rows;
}

// Whether a company table holds `kept` (compared with their row numbers)
// followed by `added` (rows numbered after them).
template <typename Row>
bool TableHolds(Database& db, const char* table, const std::vector<Row>& kept,
                const std::vector<Row>& added = {}) {
  const std::vector<Row> stored =
      QueryRows<Row>(db, "SELECT * FROM firma." + std::string(table) + " ORDER BY Nr");
  const std::vector<Row> expected = ByRowNumber(kept);
  if (stored.size() != expected.size() + added.size()) return false;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    const bool is_kept = i < expected.size();
    if (!SameRow(stored[i], is_kept ? expected[i] : added[i - expected.size()], is_kept)) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool AlreadyImported(Store& store, const FirmeRow& firme, const LegacyCompany& company) {
  try {
    const std::optional<FirmeRow> registered = FindRegistered(store, firme.Cod);
    if (!registered || !SameRow(*registered, firme, false)) return false;
    std::error_code error;
    const fs::path file =
        CheckedCompanyFolder(store.data_folder(), firme.Cod) / kCompanyDatabaseName;
    if (!company.has_tables) return !fs::exists(file, error);
    store.OpenCompany(firme.Cod);
    Database& db = store.db();
    const bool same = TableHolds(db, "Pers", company.pers) &&
                      TableHolds(db, "ParF", company.parf, company.parf_added) &&
                      TableHolds(db, "Pint", company.pint) && TableHolds(db, "Poze", company.poze);
    store.CloseCompany();
    return same;
  } catch (const Error&) {
    // A company that cannot be read (or is newer than the program) is left
    // as it is.
    store.CloseCompany();
    return false;
  }
}

}  // namespace traveno::legacy
