#include "legacy/fiscal_sheet_import.h"

#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/errors.h"
#include "core/store/field_rules.h"
#include "core/store/row_io.h"
#include "core/store/sqlite.h"
#include "core/system_info.h"
#include "core/text.h"
#include "legacy/fiscal_sheet_reader.h"
#include "legacy/legacy_rows.h"
#include "params/holidays.h"

namespace traveno::legacy {
namespace fs = std::filesystem;
namespace {

// A line that cannot be taken: it is skipped with its file's message.
struct LineRefused {};

std::vector<std::string> ReadLines(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw OsError("Nu pot citi fisierul " + path.string() + " !", errno);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return SplitSheetLines(SheetTextToUtf8(bytes));
}

// The file that a name appended to the folder as typed names, its name
// compared without regard to case (files copied from other systems come as
// "ff1_2002.txt" or "FF1_2002.TXT"); empty when there is none.
std::optional<fs::path> FindSheetFile(std::string_view folder, std::string_view name) {
  const fs::path glued(std::string(folder) + std::string(name));
  std::error_code error;
  if (fs::is_regular_file(glued, error)) return glued;
  const fs::path parent = glued.has_parent_path() ? glued.parent_path() : fs::path(".");
  const std::string wanted = glued.filename().string();
  for (fs::directory_iterator it(parent, error), end; !error && it != end; it.increment(error)) {
    if (it->is_regular_file(error) && EqualsIgnoreCase(it->path().filename().string(), wanted)) {
      return it->path();
    }
  }
  return std::nullopt;
}

// A line with nothing but blanks: written by editors at the end of a file, it
// is no record.
bool IsBlank(std::string_view line) { return Trim(line).empty(); }

// A code as the month's lookups compare it: SQLite's NOCASE folds ASCII
// letters only.
std::string CodeKey(std::string_view code) { return ToUpperAscii(code); }

std::string Text(SheetLine& line) { return std::string(Unmark(line.NextField())); }

template <typename Row>
void SetText(Row& row, const char* field, const std::string& value) {
  SetField(row, *FindField<Row>(field), FieldValue(value));
}

// A code (personal or fiscal) is never cut to its field: a code longer than
// the field refuses its line.
template <typename Row>
void SetCode(Row& row, const char* field, const std::string& value) {
  const std::size_t index = *FindField<Row>(field);
  if (CharacterCount(value) > static_cast<std::size_t>(FieldsOf<Row>()[index].width)) {
    throw LineRefused{};
  }
  SetField(row, index, FieldValue(value));
}

Date DateField(SheetLine& line) {
  const auto date = SheetDate(line.NextField());
  if (!date) throw LineRefused{};
  return *date;
}

std::optional<int> WholeNumber(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

void UpdateCompany(params::Session& session, const std::vector<std::string>& lines,
                   Prompter& prompter, SheetImportResult& result) {
  for (const std::string& text : lines) {
    if (IsBlank(text)) {
      ++result.skipped;
      continue;
    }
    auto company = session.store().FindCompany(session.company());
    if (!company) {
      prompter.Message(MessageKind::kError, kSheetCompanyFailed);
      ++result.failed;
      continue;
    }
    SheetLine line(text);
    FirmeRow& row = *company;
    try {
      SetCode(row, "CodFiscal", Text(line));
      const auto kind = WholeNumber(Text(line));
      if (!kind) throw LineRefused{};
      row.TipAngaj = *kind;
      for (const char* field :
           {"Denumire", "Nume", "Prenume", "Localitate", "Judet", "Strada", "Numar", "CodPostal",
            "Bloc", "Scara", "Etaj", "Ap", "Sector", "Telefon", "EMail"}) {
        SetText(row, field, Text(line));
      }
      RequireRowValues(row);
    } catch (const LineRefused&) {
      prompter.Message(MessageKind::kError, kSheetCompanyFailed);
      ++result.failed;
      continue;
    } catch (const ValueRefused&) {
      prompter.Message(MessageKind::kError, kSheetCompanyFailed);
      ++result.failed;
      continue;
    }
    RowWriter<FirmeRow>(session.db(), "Firme").Update(row);
  }
}

struct CreatedRow {
  std::int64_t nr;
  Date leaving;
};

// Reads the fields common to both kinds (1..14) into a new row of the month.
// A line without a personal code or a surname is no employee.
PersRow EmployeeOf(SheetLine& line, Date month, const char* kind) {
  PersRow row;
  row.LUNA = month;
  row.TIP = kind;
  SetCode(row, "CODNUMPERS", std::string(line.NextField()));
  for (const char* field : {"NUME", "PRENUME", "LOCALITATE", "Judet", "STRADA", "NUMAR",
                            "CODPOSTAL", "BLOC", "SCARA", "ETAJ", "AP", "SECTOR"}) {
    SetText(row, field, Text(line));
  }
  if (Trim(row.CODNUMPERS).empty() || Trim(row.NUME).empty()) throw LineRefused{};
  row.fisa_rectif = IsTicked(line.NextField()) ? "1" : "0";
  return row;
}

void ReadPermanent(SheetLine& line, PersRow& row) {
  row.fisa_regul = IsTicked(line.NextField()) ? "1" : "0";
  row.Domiciliu_ext = IsTicked(line.NextField()) ? "1" : "0";
  row.ALT_VENIT = IsTicked(line.NextField()) ? 1 : 0;
  for (int grade = 1; grade <= 3; ++grade) {
    if (IsTicked(line.NextField())) row.INVALIDITATE = grade;
  }
  row.DATA_ANG = DateField(line);
  row.DATA_LICH = DateField(line);
  line.Skip(11);
  row.CoefInd = row.CoefInd1 = SheetCoefficient(line.NextField());
}

// The personal codes of the month's employees, read once and kept as rows
// are added (a query per line made the import slow down with the square of
// its lines).
std::unordered_set<std::string> MonthCodes(Database& db, Date month) {
  std::unordered_set<std::string> codes;
  Statement rows = db.Prepare("SELECT CODNUMPERS FROM firma.Pers WHERE LUNA = ?");
  rows.BindAll(month);
  while (rows.Step()) codes.insert(CodeKey(rows.Text(0)));
  return codes;
}

void AddEmployees(params::Session& session, const std::vector<std::string>& lines, const char* kind,
                  Prompter& prompter, SheetImportResult& result, std::vector<CreatedRow>& created,
                  std::unordered_set<std::string>& codes) {
  Database& db = session.db();
  const Date month = session.working_month();
  RowWriter<PersRow> writer(db, "Pers");
  Statement own_identity = db.Prepare("UPDATE firma.Pers SET IID = Nr WHERE Nr = ?");
  for (const std::string& text : lines) {
    if (IsBlank(text)) {
      ++result.skipped;
      continue;
    }
    SheetLine line(text);
    if (codes.contains(CodeKey(SheetLine(text).NextField()))) {
      ++result.skipped;
      continue;
    }
    PersRow row;
    try {
      row = EmployeeOf(line, month, kind);
      if (std::string_view(kind) == "1") ReadPermanent(line, row);
      RequireRowValues(row);
    } catch (const LineRefused&) {
      prompter.Message(MessageKind::kError, kSheetEmployeeFailed);
      ++result.failed;
      continue;
    } catch (const ValueRefused&) {
      prompter.Message(MessageKind::kError, kSheetEmployeeFailed);
      ++result.failed;
      continue;
    }
    const std::int64_t nr = writer.Insert(row);
    own_identity.BindAll(nr);
    own_identity.Run();
    codes.insert(CodeKey(row.CODNUMPERS));
    created.push_back({nr, row.DATA_LICH});
  }
}

struct EmployeeRow {
  std::int64_t nr;
  std::int64_t iid;
};

void AddDependants(params::Session& session, const std::vector<std::string>& lines,
                   Prompter& prompter, SheetImportResult& result) {
  Database& db = session.db();
  const Date month = session.working_month();
  // The first row of each personal code of the month, and the dependants'
  // codes of each person, read once.
  std::unordered_map<std::string, EmployeeRow> employees;
  Statement rows =
      db.Prepare("SELECT Nr, IID, CODNUMPERS FROM firma.Pers WHERE LUNA = ? ORDER BY Nr");
  rows.BindAll(month);
  while (rows.Step()) {
    employees.emplace(CodeKey(rows.Text(2)), EmployeeRow{rows.Int64(0), rows.Int64(1)});
  }
  std::set<std::pair<std::int64_t, std::string>> dependants;
  Statement held = db.Prepare("SELECT IID, CODNUMPERS FROM firma.Pint WHERE Luna = ?");
  held.BindAll(month);
  while (held.Step()) dependants.emplace(held.Int64(0), CodeKey(held.Text(1)));

  RowWriter<PintRow> writer(db, "Pint");
  for (const std::string& text : lines) {
    if (IsBlank(text)) {
      ++result.skipped;
      continue;
    }
    SheetLine line(text);
    const auto employee = employees.find(CodeKey(Unmark(line.NextField())));
    if (employee == employees.end()) {
      ++result.skipped;
      continue;
    }
    PintRow row;
    row.Luna = month;
    row.AiPers = static_cast<int>(employee->second.nr);
    row.IID = static_cast<int>(employee->second.iid);
    try {
      SetCode(row, "CODNUMPERS", Text(line));
      if (dependants.contains({row.IID, CodeKey(row.CODNUMPERS)})) {
        ++result.skipped;
        continue;
      }
      SetText(row, "Nume", Text(line));
      SetText(row, "Prenume", Text(line));
      // A line without the dependant's name (the employee's code alone, say)
      // is no dependant.
      if (Trim(row.Nume).empty()) throw LineRefused{};
      const int relations[] = {0, 1, 3};
      for (int relation : relations) {
        if (IsTicked(line.NextField())) row.Calitate = relation;
      }
      for (int grade = 1; grade <= 3; ++grade) {
        if (IsTicked(line.NextField())) row.Invaliditate = grade;
      }
      RequireRowValues(row);
    } catch (const LineRefused&) {
      prompter.Message(MessageKind::kError, kSheetEmployeeFailed);
      ++result.failed;
      continue;
    } catch (const ValueRefused&) {
      prompter.Message(MessageKind::kError, kSheetEmployeeFailed);
      ++result.failed;
      continue;
    }
    writer.Insert(row);
    dependants.emplace(row.IID, CodeKey(row.CODNUMPERS));
    ++result.dependants;
  }
}

}  // namespace

std::string SheetFileMissingMessage(std::string_view file_name) {
  return "Directorul specificat nu contine fisierul " + std::string(file_name) +
         "! Va rog verificati!";
}

bool WorkingMonthHasEmployees(params::Session& session) {
  return session.db()
      .QueryInt("SELECT 1 FROM firma.Pers WHERE LUNA = ? LIMIT 1", session.working_month())
      .has_value();
}

SheetImportResult ImportFromFiscalSheets(params::Session& session, std::string_view folder,
                                         Prompter& prompter, ProgressReporter& progress) {
  SheetImportResult result;
  std::error_code error;
  if (Trim(folder).empty() || !fs::is_directory(fs::path(folder), error)) {
    prompter.Message(MessageKind::kError, kSheetFolderInvalid);
    result.outcome = SheetImportOutcome::kFolderInvalid;
    return result;
  }
  // The names are appended to the folder as typed.
  std::map<std::string, fs::path> files;
  for (const char* name : kSheetFileNames) {
    const auto file = FindSheetFile(folder, name);
    if (!file) {
      prompter.Message(MessageKind::kError, SheetFileMissingMessage(name));
      result.outcome = SheetImportOutcome::kFileMissing;
      return result;
    }
    files[name] = *file;
  }
  if (session.working_month() < Date::FromYmd(2003, 1, 1)) {
    prompter.Message(MessageKind::kError, kSheetsBefore2003);
    return result;
  }
  if (session.month_closed()) {
    prompter.Message(MessageKind::kError, params::kMonthClosedMessage);
    return result;
  }
  if (WorkingMonthHasEmployees(session)) {
    prompter.Message(MessageKind::kError, kSheetsPersNotEmpty);
    return result;
  }
  const auto rep = ReadLines(files["Rep_2002.txt"]);
  const auto ff1 = ReadLines(files["FF1_2002.txt"]);
  const auto ff2 = ReadLines(files["FF2_2002.txt"]);
  const auto ded = ReadLines(files["Ded_2002.txt"]);

  Transaction tx(session.db());
  {
    WaitScope wait(progress, kApplicationTitle, "Preluare date firma...");
    UpdateCompany(session, rep, prompter, result);
  }
  std::vector<CreatedRow> created;
  std::unordered_set<std::string> codes = MonthCodes(session.db(), session.working_month());
  {
    WaitScope wait(progress, kApplicationTitle, "Preluare date angajati permanenti...");
    AddEmployees(session, ff1, "1", prompter, result, created, codes);
  }
  {
    WaitScope wait(progress, kApplicationTitle, "Preluare date angajati contracte partiale...");
    AddEmployees(session, ff2, "2", prompter, result, created, codes);
  }
  // Those who left before the working month are not on its payroll.
  Statement remove = session.db().Prepare("DELETE FROM firma.Pers WHERE Nr = ?");
  for (const CreatedRow& row : created) {
    if (!row.leaving.IsEmpty() && row.leaving < session.working_month()) {
      remove.BindAll(row.nr);
      remove.Run();
    } else {
      ++result.employees;
    }
  }
  {
    WaitScope wait(progress, kApplicationTitle, "Preluare date deducere personala...");
    AddDependants(session, ded, prompter, result);
  }
  tx.Commit();
  result.outcome = SheetImportOutcome::kImported;
  return result;
}

}  // namespace traveno::legacy
