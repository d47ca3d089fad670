#include "legacy/fiscal_sheet_import.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "backup/safety_copies.h"
#include "core/errors.h"
#include "core/store/field_rules.h"
#include "core/store/row_io.h"
#include "core/store/sqlite.h"
#include "core/system_info.h"
#include "core/text.h"
#include "legacy/fiscal_sheet_reader.h"
#include "params/holidays.h"

namespace traveno::legacy {
namespace fs = std::filesystem;
namespace {

// A line that cannot be taken: it is skipped with its file's message.
struct LineRefused {};

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw OsError("Nu pot citi fisierul " + path + " !", errno);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return SplitSheetLines(SheetTextToUtf8(bytes));
}

std::string Text(SheetLine& line) { return std::string(Unmark(line.NextField())); }

template <typename Row>
void SetText(Row& row, const char* field, const std::string& value) {
  SetField(row, *FindField<Row>(field), FieldValue(value));
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
    auto company = session.store().FindCompany(session.company());
    if (!company) {
      prompter.Message(MessageKind::kError, kSheetCompanyFailed);
      ++result.failed;
      continue;
    }
    SheetLine line(text);
    FirmeRow& row = *company;
    try {
      row.CodFiscal = Truncate(Text(line), 13);
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

bool MonthHasCode(Database& db, Date month, std::string_view code) {
  return db
      .QueryInt("SELECT 1 FROM firma.Pers WHERE LUNA = ? AND CODNUMPERS = ? COLLATE NOCASE", month,
                code)
      .has_value();
}

struct CreatedRow {
  std::int64_t nr;
  Date leaving;
};

// Reads the fields common to both kinds (1..14) into a new row of the month.
PersRow EmployeeOf(SheetLine& line, Date month, const char* kind) {
  PersRow row;
  row.LUNA = month;
  row.TIP = kind;
  SetText(row, "CODNUMPERS", std::string(line.NextField()));
  for (const char* field : {"NUME", "PRENUME", "LOCALITATE", "Judet", "STRADA", "NUMAR",
                            "CODPOSTAL", "BLOC", "SCARA", "ETAJ", "AP", "SECTOR"}) {
    SetText(row, field, Text(line));
  }
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

void AddEmployees(params::Session& session, const std::vector<std::string>& lines, const char* kind,
                  Prompter& prompter, SheetImportResult& result, std::vector<CreatedRow>& created) {
  Database& db = session.db();
  const Date month = session.working_month();
  RowWriter<PersRow> writer(db, "Pers");
  for (const std::string& text : lines) {
    SheetLine line(text);
    if (MonthHasCode(db, month, SheetLine(text).NextField())) {
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
    db.Run("UPDATE firma.Pers SET IID = Nr WHERE Nr = ?", nr);
    created.push_back({nr, row.DATA_LICH});
  }
}

void AddDependants(params::Session& session, const std::vector<std::string>& lines,
                   SheetImportResult& result) {
  Database& db = session.db();
  const Date month = session.working_month();
  RowWriter<PintRow> writer(db, "Pint");
  for (const std::string& text : lines) {
    SheetLine line(text);
    const std::string employee_code(Unmark(line.NextField()));
    Statement employee = db.Prepare(
        "SELECT Nr, IID FROM firma.Pers WHERE LUNA = ? AND CODNUMPERS = ? COLLATE NOCASE "
        "ORDER BY Nr LIMIT 1");
    employee.BindAll(month, employee_code);
    if (!employee.Step()) {
      ++result.skipped;
      continue;
    }
    PintRow row;
    row.Luna = month;
    row.AiPers = static_cast<int>(employee.Int64(0));
    row.IID = static_cast<int>(employee.Int64(1));
    SetText(row, "CODNUMPERS", Text(line));
    if (db.QueryInt("SELECT 1 FROM firma.Pint WHERE Luna = ? AND IID = ? AND CODNUMPERS = ? "
                    "COLLATE NOCASE",
                    month, row.IID, row.CODNUMPERS)
            .has_value()) {
      ++result.skipped;
      continue;
    }
    SetText(row, "Nume", Text(line));
    SetText(row, "Prenume", Text(line));
    const int relations[] = {0, 1, 3};
    for (int relation : relations) {
      if (IsTicked(line.NextField())) row.Calitate = relation;
    }
    for (int grade = 1; grade <= 3; ++grade) {
      if (IsTicked(line.NextField())) row.Invaliditate = grade;
    }
    RequireRowValues(row);
    writer.Insert(row);
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
  auto path_of = [&](std::string_view name) { return std::string(folder) + std::string(name); };
  for (const char* name : kSheetFileNames) {
    if (!fs::is_regular_file(fs::path(path_of(name)), error)) {
      prompter.Message(MessageKind::kError, SheetFileMissingMessage(name));
      result.outcome = SheetImportOutcome::kFileMissing;
      return result;
    }
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
  const auto rep = ReadLines(path_of("Rep_2002.txt"));
  const auto ff1 = ReadLines(path_of("FF1_2002.txt"));
  const auto ff2 = ReadLines(path_of("FF2_2002.txt"));
  const auto ded = ReadLines(path_of("Ded_2002.txt"));

  backup::KeepSafetyCopy(session.store().data_folder(), session.company(), "fise");
  Transaction tx(session.db());
  {
    WaitScope wait(progress, kApplicationTitle, "Preluare date firma...");
    UpdateCompany(session, rep, prompter, result);
  }
  std::vector<CreatedRow> created;
  {
    WaitScope wait(progress, kApplicationTitle, "Preluare date angajati permanenti...");
    AddEmployees(session, ff1, "1", prompter, result, created);
  }
  {
    WaitScope wait(progress, kApplicationTitle, "Preluare date angajati contracte partiale...");
    AddEmployees(session, ff2, "2", prompter, result, created);
  }
  // Those who left before the working month are not on its payroll.
  for (const CreatedRow& row : created) {
    if (!row.leaving.IsEmpty() && row.leaving < session.working_month()) {
      session.db().Run("DELETE FROM firma.Pers WHERE Nr = ?", row.nr);
    } else {
      ++result.employees;
    }
  }
  {
    WaitScope wait(progress, kApplicationTitle, "Preluare date deducere personala...");
    AddDependants(session, ded, result);
  }
  tx.Commit();
  result.outcome = SheetImportOutcome::kImported;
  return result;
}

}  // namespace traveno::legacy
