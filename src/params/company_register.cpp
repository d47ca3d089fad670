#include "params/company_register.h"

#include <fstream>

#include "backup/safety_copies.h"
#include "core/data_folder.h"
#include "core/errors.h"
#include "core/store/field_rules.h"
#include "core/store/row_io.h"
#include "core/store/schema.h"
#include "core/store/schema_upgrades.h"
#include "core/system_info.h"
#include "core/text.h"
#include "params/departments.h"
#include "params/parameter_store.h"
#include "params/recalculate.h"

namespace traveno::params {
namespace fs = std::filesystem;
namespace {

std::string CompanyCode(std::string_view code) { return Truncate(UpperTrim(code), 8); }

fs::path CompanyDatabase(Store& store, std::string_view code) {
  return store.CompanyFolderOf(CompanyCode(code)) / kCompanyDatabaseName;
}

bool FileExists(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

// Attaches a second company for the length of a scope; the connection must
// not be in a transaction when it begins or ends (the engine refuses it).
class AttachedSource {
 public:
  AttachedSource(Database& db, const fs::path& file) : db_(db) { db_.Attach(file, "sursa"); }
  ~AttachedSource() {
    try {
      db_.Detach("sursa");
    } catch (const StoreError&) {
      // The connection closes it in any case; a failed detach loses nothing.
    }
  }
  AttachedSource(const AttachedSource&) = delete;
  AttachedSource& operator=(const AttachedSource&) = delete;

 private:
  Database& db_;
};

// Re-reads what the session keeps of its month from the store.
void ReloadMonth(Session& session) {
  session.store().OpenMonth(session.working_month());
  session.LoadParameters();
  // Totals of another month must not survive the change; the next
  // recalculation builds them.
  session.totals() = {};
  session.funds() = {};
  session.footer() = LoadFooter(session.store().data_folder(), session.company());
  CountDepartments(session);
  const auto months = CompanyMonths(session.db());
  session.set_last_month(months.empty() ? session.working_month() : months.back().luna);
}

}  // namespace

bool ValidFolderName(std::string_view text) { return IsValidCompanyCode(text); }

ConfirmResult ValidateCompanyInput(const CompanyInput& input, Prompter& prompter) {
  if (!ValidFolderName(input.row.Cod)) {
    prompter.Message(MessageKind::kWarning, kInvalidCompanyCode);
    return {false, "Cod"};
  }
  // Every text as it will be stored (upper-cased, held to its width), and
  // the footer lines, which are single lines of the settings file.
  const FirmeRow row = StoredCompanyRow(input);
  const auto fields = FieldsOf<FirmeRow>();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].kind != FieldKind::kText) continue;
    const std::string refusal =
        RefusalOf(std::string("campul ") + fields[i].name, RuleOf<FirmeRow>(i), GetField(row, i));
    if (!refusal.empty()) {
      prompter.Message(MessageKind::kWarning, refusal);
      return {false, fields[i].name};
    }
  }
  const ValueRule footer_rule{ValueKind::kText, 0, 0, static_cast<int>(kFooterWidth)};
  const std::pair<const std::string*, const char*> footers[] = {{&input.footer.line1, "Footer1"},
                                                                {&input.footer.line2, "Footer2"}};
  for (const auto& [line, focus] : footers) {
    const std::string refusal =
        RefusalOf("subsolul fluturasilor", footer_rule, FieldValue(Truncate(*line, kFooterWidth)));
    if (!refusal.empty()) {
      prompter.Message(MessageKind::kWarning, refusal);
      return {false, focus};
    }
  }
  if (input.legal_entity && Trim(input.row.Denumire).empty()) {
    prompter.Message(MessageKind::kWarning, kCompanyNameMissing);
    return {false, "Denumire"};
  }
  if (!input.legal_entity && Trim(input.row.Nume).empty()) {
    prompter.Message(MessageKind::kWarning, kEmployerNameMissing);
    return {false, "Nume"};
  }
  return {true, ""};
}

FirmeRow StoredCompanyRow(const CompanyInput& input) {
  FirmeRow row = input.row;
  const auto fields = FieldsOf<FirmeRow>();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].kind != FieldKind::kText) continue;
    if (EqualsIgnoreCase(fields[i].name, "nr")) continue;  // kept for the other programs
    std::string value = std::get<std::string>(GetField(row, i));
    if (!EqualsIgnoreCase(fields[i].name, "EMail")) value = ToUpperLatin(value);
    SetField(row, i, FieldValue(value));
  }
  row.Cod = CompanyCode(row.Cod);
  if (input.legal_entity) {
    row.TipAngaj = 1;
    row.Nume.clear();
    row.Prenume.clear();
  } else {
    row.TipAngaj = 2;
    row.Denumire = Truncate(row.Nume + " " + row.Prenume, 40);
  }
  return row;
}

AddCompanyResult AddCompany(Store& store, const CompanyInput& input, Prompter& prompter) {
  if (!ValidateCompanyInput(input, prompter).confirmed) return AddCompanyResult::kInvalid;
  const FirmeRow row = StoredCompanyRow(input);
  RequireRowValues(row);
  Database& db = store.db();
  {
    Transaction tx(db);
    if (db.QueryInt("SELECT 1 FROM main.Firme WHERE Cod = ? COLLATE NOCASE", row.Cod)) {
      return AddCompanyResult::kCodeExists;
    }
    RowWriter<FirmeRow>(db, "Firme").Insert(row);
    tx.Commit();
  }
  SaveFooter(store.data_folder(), row.Cod, input.footer);
  return AddCompanyResult::kAdded;
}

bool ModifyCompany(Store& store, std::int64_t codf, const CompanyInput& input, Prompter& prompter) {
  Transaction tx(store.db());
  auto rows = QueryRows<FirmeRow>(store.db(), "SELECT * FROM main.Firme WHERE CodF = ?", codf);
  if (rows.empty()) return false;
  CompanyInput kept = input;
  kept.row.Cod = rows.front().Cod;  // the code names the folder: it never changes
  if (!ValidateCompanyInput(kept, prompter).confirmed) return false;
  FirmeRow row = StoredCompanyRow(kept);
  row.CodF = codf;
  row.NrI = rows.front().NrI;
  row.nr = rows.front().nr;
  RequireRowValues(row);
  RowWriter<FirmeRow>(store.db(), "Firme").Update(row);
  tx.Commit();
  SaveFooter(store.data_folder(), row.Cod, input.footer);
  return true;
}

CompanyInput LoadCompanyInput(Store& store, const FirmeRow& row) {
  CompanyInput input;
  input.row = row;
  input.legal_entity = row.TipAngaj != 2;
  input.footer = LoadFooter(store.data_folder(), row.Cod);
  return input;
}

namespace {

// Whether a company folder holds nothing but what an interrupted creation
// leaves: a database (and its journal) without any table. An empty folder is
// not one: a new company's folder appears with its database file.
bool IsUnfinishedCompanyFolder(const fs::path& folder) {
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name != kCompanyDatabaseName && name != std::string(kCompanyDatabaseName) + "-journal") {
      return false;
    }
  }
  if (error) return false;
  const fs::path file = folder / kCompanyDatabaseName;
  if (!FileExists(file)) return false;
  Database company(file, false);  // a journal left behind is rolled back here
  return !company.QueryInt("SELECT 1 FROM sqlite_master LIMIT 1").has_value();
}

}  // namespace

bool PrepareCompanyFolder(Store& store, std::string_view code, Prompter& prompter) {
  const std::string company = CompanyCode(code);
  const fs::path folder = store.CompanyFolderOf(company);
  std::error_code error;
  if (fs::exists(folder, error)) {
    if (!fs::is_directory(folder, error) || !IsUnfinishedCompanyFolder(folder)) {
      prompter.Message(MessageKind::kWarning, kCompanyFolderExists);
      return false;
    }
  } else {
    // The folder appears at once with its (empty) database file: built under
    // a name no company can have (a code never holds a "."), then renamed.
    const fs::path building = store.data_folder() / ("." + company + ".nou");
    fs::remove_all(building, error);
    fs::create_directories(building, error);
    if (!error) {
      std::ofstream(building / kCompanyDatabaseName, std::ios::binary).close();
      SyncFolder(building);
      fs::rename(building, folder, error);
    }
    if (error || !fs::is_directory(folder, error)) {
      fs::remove_all(building, error);
      prompter.Message(MessageKind::kWarning, kCompanyFolderNotCreated);
      return false;
    }
    SyncFolder(store.data_folder());
  }
  store.AttachNewCompany(company);
  return true;
}

void WriteFirstMonth(Database& db, Date month) {
  SetLayoutVersion(db, kStoreLayoutVersion, kCompanySchema);
  for (const TableDef* table : CompanyTables()) {
    if (!db.TableExists(kCompanySchema, table->name)) CreateTable(db, kCompanySchema, *table);
  }
  if (CompanyMonths(db).empty()) WriteCompanyDefaults(db, FirstOfMonth(month));
  PrepareSharedTables(db, FirstOfMonth(month));
}

bool DeleteCompany(Store& store, std::string_view working_company, std::string_view code,
                   Prompter& prompter) {
  if (!MayDeleteCompany(working_company, code, prompter)) return false;
  const std::string company = CompanyCode(code);
  // A code that cannot name a folder (put in the register by another
  // program) has none: only its row can go.
  const bool has_folder_name = ValidFolderName(company);
  const fs::path folder = has_folder_name ? store.CompanyFolderOf(company) : fs::path();
  std::error_code error;
  bool folder_listed = false;
  for (fs::directory_iterator it(store.data_folder(), error), end;
       has_folder_name && !error && it != end; it.increment(error)) {
    if (it->is_directory(error) && UpperTrim(it->path().filename().string()) == company) {
      folder_listed = true;
    }
  }
  bool delete_folder = false;
  bool yes = false;
  if (!folder_listed) {
    yes = prompter.AskYesNo(
        "Este posibil ca firma aleasa de dvs. sa fie folosita de alte\n\rprograme ale firmei "
        "Velmoranti Soft !\n\rSigur doriti sa o stergeti ?");
  } else if (FileExists(folder / kCompanyDatabaseName)) {
    yes = prompter.AskYesNo("Firma " + company +
                            " are parametrii specificati si este posibil\n\rca alte programe "
                            "ale firmei Velmoranti Soft sa foloseasca\n\raceasta firma !\n\rSigur "
                            "doriti sa o stergeti ?");
    delete_folder = true;
  } else {
    yes = prompter.AskYesNo(
        "Programul de Traveno nu poate folosi aceasta firma\n\rdeoarece parametrii sai au fost "
        "stersi de pe hard disc\n\rindependent de aplicatiile firmei Velmoranti Soft.\n\rEste "
        "posibil ca firma  " +
        company +
        " sa fie folosita de alte\n\rprograme ale firmei Velmoranti Soft !\n\rSigur doriti sa o "
        "stergeti ?");
  }
  if (!yes) return false;
  try {
    if (store.open_company() && EqualsIgnoreCase(*store.open_company(), company)) {
      store.CloseCompany();
    }
    store.db().Run("DELETE FROM main.Firme WHERE Cod = ? COLLATE NOCASE", company);
  } catch (const StoreError&) {
    prompter.Message(MessageKind::kWarning, kDeleteFailed);
    return false;
  }
  if (delete_folder) fs::remove_all(folder, error);  // its result is not reported
  return true;
}

bool MayDeleteCompany(std::string_view working_company, std::string_view code,
                      Prompter& prompter) {
  if (!working_company.empty() &&
      EqualsIgnoreCase(CompanyCode(working_company), CompanyCode(code))) {
    prompter.Message(MessageKind::kWarning, kDeleteWorkingCompany);
    return false;
  }
  return true;
}

bool IsCompanyInitialised(Store& store, std::string_view code) {
  if (!ValidFolderName(CompanyCode(code))) return false;
  const fs::path file = CompanyDatabase(store, code);
  if (!FileExists(file)) return false;
  try {
    Database company(file, false);
    return company.TableExists("main", "ParF");
  } catch (const StoreError&) {
    return true;  // a database that cannot be read is reported when it is opened
  }
}

std::vector<CompanyMonth> ListCompanyMonths(Store& store, std::string_view code) {
  if (!IsCompanyInitialised(store, code)) return {};
  const fs::path file = CompanyDatabase(store, code);
  try {
    Database other(file, false);
    if (!other.TableExists("main", "ParF")) return {};
    std::vector<CompanyMonth> months;
    Statement statement = other.Prepare(
        "SELECT Luna, max(Val) FROM ParF WHERE Den = 'Deschisa' GROUP BY Luna ORDER BY Luna");
    while (statement.Step()) months.push_back({statement.DateAt(0), statement.Double(1) == 1});
    return months;
  } catch (const StoreError& failure) {
    if (IsDamagedDatabaseFailure(failure)) throw DamagedCompanyError(CompanyCode(code), file);
    throw;
  }
}

bool ChooseCompanyAndMonth(Session& session, std::string_view code, std::optional<Date> month,
                           Prompter& prompter, ProgressReporter& progress) {
  Store& store = session.store();
  const std::string company = CompanyCode(code);
  if (!store.FindCompany(company)) {
    prompter.Message(MessageKind::kWarning, kCompanyNotInRegister);
    return false;
  }
  if (!ValidFolderName(company)) {
    prompter.Message(MessageKind::kWarning, InvalidCompanyCodeMessage(company));
    return false;
  }
  Date chosen;
  // A company whose tables exist without any month (left so by an older
  // version) gets its first month now, as a new company does.
  bool first_month = false;
  if (IsCompanyInitialised(store, company)) {
    std::vector<CompanyMonth> months;
    try {
      months = ListCompanyMonths(store, company);
    } catch (const DamagedCompanyError& damaged) {
      prompter.Message(MessageKind::kError, damaged.what());
      return false;
    }
    if (months.empty() && month) {
      first_month = true;
      chosen = FirstOfMonth(*month);
    } else {
      if (!month && months.empty()) {
        prompter.Message(MessageKind::kWarning, kMonthNotInCompany);
        return false;
      }
      chosen = month ? FirstOfMonth(*month) : months.back().luna;
      bool known = false;
      for (const CompanyMonth& entry : months) known = known || entry.luna == chosen;
      if (!known) {
        prompter.Message(MessageKind::kWarning, kMonthNotInCompany);
        return false;
      }
    }
  } else {
    if (!month) return false;  // the first-month dialog was abandoned
    chosen = FirstOfMonth(*month);
    first_month = true;
  }
  if (first_month) {
    // A month outside the years a stored date may have could hold no
    // employee and have no next month.
    const std::string refusal =
        RefusalOf("luna de lucru", ValueRule{.kind = ValueKind::kDate}, FieldValue(chosen));
    if (!refusal.empty()) {
      prompter.Message(MessageKind::kWarning, refusal);
      return false;
    }
  }
  const std::string former_company = session.company();
  const Date former_month = session.working_month();
  try {
    if (first_month) {
      WaitScope wait(progress, "Se initializeaza datele firmei ", "Asteptati va rog...");
      if (!IsCompanyInitialised(store, company)) {
        if (!PrepareCompanyFolder(store, company, prompter)) return false;
      } else {
        store.OpenCompany(company);
      }
      // The company's tables, its parameters and the register's tables of
      // the month in one transaction: an interruption leaves no month, and
      // choosing the company again makes it.
      Transaction tx(store.db());
      WriteFirstMonth(store.db(), chosen);
      tx.Commit();
    }
    if (!store.open_company() || *store.open_company() != company) store.OpenCompany(company);
    PrepareSharedTables(store.db(), chosen);
    session.SetWorkingMonth(company, chosen);
    ReloadMonth(session);
  } catch (...) {
    session.SetWorkingMonth(former_company, former_month);
    if (!former_company.empty() && former_month != NoWorkingMonth()) {
      store.OpenCompany(former_company);
      ReloadMonth(session);
    }
    throw;
  }
  return true;
}

CloneOutcome CloneMonthOutcome(Session& session, std::string_view source_code,
                               Date source_month, Prompter& prompter,
                               ProgressReporter& progress) {
  if (!IsConfirmWord(prompter.AskTypedConfirmation(kCloneQuestion))) {
    prompter.Message(MessageKind::kWarning, kCloneNotDone);
    return CloneOutcome::kNotConfirmed;
  }
  const std::string source = CompanyCode(source_code);
  if (EqualsIgnoreCase(source, session.company())) {
    prompter.Message(MessageKind::kWarning, kCloneSameCompany);
    return CloneOutcome::kSameCompany;
  }
  // The source is a company of the register, never a path of another folder.
  if (!ValidFolderName(source) || !session.store().FindCompany(source)) {
    prompter.Message(MessageKind::kWarning, kCloneSourceNotInRegister);
    return CloneOutcome::kRefused;
  }
  const Date month = session.working_month();
  if (FirstOfMonth(source_month) != month) {
    prompter.Message(MessageKind::kWarning, kCloneOtherMonth);
    return CloneOutcome::kOtherMonth;
  }
  bool source_has_month = false;
  for (const CompanyMonth& entry : ListCompanyMonths(session.store(), source)) {
    source_has_month = source_has_month || entry.luna == month;
  }
  if (!source_has_month) {
    prompter.Message(MessageKind::kWarning, kCloneSourceMonthMissing);
    return CloneOutcome::kRefused;
  }
  backup::KeepSafetyCopy(session.store().data_folder(), session.company(), "clonare");
  WaitScope wait(progress, std::string(kApplicationTitle) + " - clonare ", "Va rog asteptati!");
  Database& db = session.db();
  {
    AttachedSource attached(db, CompanyDatabase(session.store(), source));
    Transaction tx(db);
    try {
      db.Run("DELETE FROM firma.Pers WHERE LUNA = ?", month);
      db.Run("DELETE FROM firma.Pint WHERE Luna = ?", month);
      db.Run("DELETE FROM firma.ParF WHERE Luna = ?", month);
    } catch (const StoreError&) {
      prompter.Message(MessageKind::kWarning, kCloneDeleteFailed);
      return CloneOutcome::kRefused;
    }
    // The lines get row numbers of the destination (their own would clash
    // with its other months); the person keeps the identity IID.
    const std::vector<PersRow> lines =
        QueryManyRows<PersRow>(db, "FROM sursa.Pers WHERE LUNA = ?", "Nr", month);
    try {
      RowWriter<PersRow> writer(db, "Pers");
      for (const PersRow& line : lines) {
        RequireLineValues(PersRow{}, line);
        writer.Insert(line);
      }
    } catch (const StoreError&) {
      prompter.Message(MessageKind::kError, kCloneCopyFailed);
      return CloneOutcome::kRefused;
    }
    // An employee added later takes its row number as its identity: the
    // numbering goes on above every identity the company holds.
    db.Run(
        "UPDATE firma.sqlite_sequence SET seq = (SELECT max(IID) FROM firma.Pers) "
        "WHERE name = 'Pers' AND seq < (SELECT max(IID) FROM firma.Pers)");
    db.Run(
        "INSERT INTO firma.Pint (Luna, IID, AiPers, Nume, Prenume, CODNUMPERS, Calitate, "
        "Invaliditate, Coef) SELECT S.Luna, S.IID, coalesce((SELECT P.Nr FROM firma.Pers P "
        "WHERE P.LUNA = S.Luna AND P.IID = S.IID ORDER BY P.Nr LIMIT 1), 0), S.Nume, S.Prenume, "
        "S.CODNUMPERS, S.Calitate, S.Invaliditate, S.Coef FROM sursa.Pint S WHERE S.Luna = ? "
        "ORDER BY S.Nr",
        month);
    db.Run(
        "INSERT INTO firma.ParF (Luna, Den, Val, Grupa) SELECT Luna, Den, Val, Grupa "
        "FROM sursa.ParF WHERE Luna = ? ORDER BY Nr",
        month);
    db.Run(
        "INSERT INTO firma.Poze (IID, Poza) SELECT S.IID, S.Poza FROM sursa.Poze S WHERE NOT "
        "EXISTS (SELECT 1 FROM firma.Poze D WHERE D.IID = S.IID AND D.Poza IS S.Poza) "
        "ORDER BY S.Nr");
    tx.Commit();
  }
  ReloadMonth(session);
  return CloneOutcome::kCloned;
}

bool CloneMonth(Session& session, std::string_view source_code, Date source_month,
                Prompter& prompter, ProgressReporter& progress) {
  return CloneMonthOutcome(session, source_code, source_month, prompter, progress) ==
         CloneOutcome::kCloned;
}

}  // namespace traveno::params
