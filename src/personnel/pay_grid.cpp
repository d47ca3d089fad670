#include "personnel/pay_grid.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "core/store/field_rules.h"
#include "core/store/row_io.h"
#include "core/text.h"
#include "params/departments.h"
#include "params/unit_of_work.h"
#include "personnel/grid_line.h"
#include "personnel/grid_view.h"

namespace traveno::personnel {
namespace {

constexpr const char* kSourceSchema = "sursa";

// Closes the progress bar also on failure.
class ProgressScope {
 public:
  ProgressScope(ProgressReporter& progress, const std::string& title, int total)
      : progress_(progress) {
    progress_.BeginProgress(title, total);
  }
  ~ProgressScope() { progress_.EndProgress(); }
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;

 private:
  ProgressReporter& progress_;
};

void StoreTotals(params::Session& session, const std::vector<PersRow>& rows) {
  engine::CompanyTotals totals;
  engine::ResetCompanyTotals(totals);
  for (const PersRow& row : rows) engine::AddRowToTotals(totals, row, session.parameters());
  session.totals() = totals;
  session.funds() = engine::ComputeCompanyFunds(totals, session.parameters());
}

// Calculates the lines (an open month only), checks what changed and writes
// them back, inside the caller's transaction.
void CalculateAndWrite(params::Session& session, std::vector<PersRow>& rows,
                       const FieldMask& also_written = {}) {
  if (session.month_closed() || rows.empty()) return;
  MonthEngine month_engine(session);
  params::CalculateAndWriteRows(session.db(), month_engine.payroll(), rows, also_written);
}

std::string FillTitle(std::string_view caption) {
  return "Completare coloana \"" + std::string(caption) + "\"";
}

// Detaches the import's source database however the import ends.
class AttachedSource {
 public:
  AttachedSource(Database& db, const std::filesystem::path& file) : db_(db) {
    db_.Attach(file, kSourceSchema);
  }
  ~AttachedSource() {
    try {
      db_.Detach(kSourceSchema);
    } catch (const StoreError&) {
      // The connection closes the attachment with itself; nothing is lost.
    }
  }
  AttachedSource(const AttachedSource&) = delete;
  AttachedSource& operator=(const AttachedSource&) = delete;

 private:
  Database& db_;
};

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

std::vector<PersRow> RecalculateCompanyLines(params::Session& session, ProgressReporter& progress,
                                             const std::optional<std::string>& department) {
  WaitScope wait(progress, "Calcul Salarii", "Va rog asteptati...");
  params::SessionWork work(session, params::WorkWrites::kCompanyFile);
  std::vector<PersRow> rows = MonthLines(session, std::nullopt, department);
  CalculateAndWrite(session, rows);
  work.Commit();
  StoreTotals(session, rows);
  return rows;
}

int RecalculateCompany(params::Session& session, ProgressReporter& progress,
                       const std::optional<std::string>& department) {
  return static_cast<int>(RecalculateCompanyLines(session, progress, department).size());
}

void SumStoredLines(params::Session& session, const std::optional<std::string>& department) {
  StoreTotals(session, MonthLines(session, std::nullopt, department));
}

void SumLines(params::Session& session, std::span<const PersRow> lines) {
  std::vector<const PersRow*> ordered;
  ordered.reserve(lines.size());
  for (const PersRow& line : lines) ordered.push_back(&line);
  std::sort(ordered.begin(), ordered.end(), [](const PersRow* a, const PersRow* b) {
    return std::tie(a->LUNA, a->IID, a->Nr) < std::tie(b->LUNA, b->IID, b->Nr);
  });
  engine::CompanyTotals totals;
  engine::ResetCompanyTotals(totals);
  for (const PersRow* line : ordered) engine::AddRowToTotals(totals, *line, session.parameters());
  session.totals() = totals;
  session.funds() = engine::ComputeCompanyFunds(totals, session.parameters());
}

bool CanFillColumn(const params::Session& session, std::string_view field) {
  if (session.month_closed() || !IsGridEditableField(field)) return false;
  const auto index = FindField<PersRow>(field);
  return index && FieldsOf<PersRow>()[*index].kind == FieldKind::kDouble;
}

std::optional<double> AskFillValue(Prompter& prompter, std::string_view caption) {
  const std::optional<std::string> answer =
      prompter.AskText(FillTitle(caption), "Introduceti valoarea:", "");
  if (!answer || Trim(*answer).empty()) return std::nullopt;
  const std::optional<double> value = TryParseNumber(*answer);
  if (!value) prompter.Message(MessageKind::kError, kInvalidFillValue);
  return value;
}

FillResult FillColumn(params::Session& session, std::string_view field, std::string_view caption,
                      double value, const GridScope& scope, ProgressReporter& progress) {
  FillResult result;
  if (!CanFillColumn(session, field)) return result;
  const auto index = FindField<PersRow>(field);
  RequireValue(std::string("campul ") + FieldsOf<PersRow>()[*index].name, RuleOf<PersRow>(*index),
               FieldValue(value));
  params::SessionWork work(session, params::WorkWrites::kCompanyFile);
  if (!CanFillColumn(session, field)) return result;
  const std::vector<PersRow> lines = MonthLines(session, scope.tip, scope.department);
  if (lines.empty()) return result;

  ProgressScope bar(progress, FillTitle(caption) + "...", static_cast<int>(lines.size()));
  MonthEngine month_engine(session);
  const std::vector<FieldEdit> edits = {{std::string(field), FieldValue(value)}};
  std::vector<PersRow> posted_rows;
  posted_rows.reserve(lines.size());
  for (const PersRow& line : lines) {
    PostedLine posted = PostLineEdit(month_engine.payroll(), line, edits);
    params::RequireLineValues(line, posted.row);
    if (posted.notice) {
      result.notices.push_back(Trim(line.NUME + " " + line.PRENUME) + ": " + *posted.notice);
    }
    posted_rows.push_back(std::move(posted.row));
    progress.Advance(static_cast<int>(posted_rows.size()));
  }
  {
    RowWriter<PersRow> writer(session.db(), "Pers");
    for (const PersRow& row : posted_rows) writer.Update(row);
    work.Commit();
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    engine::RemoveRowFromTotals(session.totals(), lines[i], session.parameters());
    engine::AddRowToTotals(session.totals(), posted_rows[i], session.parameters());
  }
  session.funds() = engine::ComputeCompanyFunds(session.totals(), session.parameters());
  result.lines = static_cast<int>(lines.size());
  return result;
}

double IndexedSalary(double salary, double percent, char sign, int unit) {
  // A salary of 0 has nothing to index (its factor SalInc/SalInc was 0/0).
  if (salary == 0) return 0;
  const double p = std::round(percent * 100) / 100;  // the percent as "##0.00"
  const double r = unit;
  const double scaled = salary * (100 + p) / 100 / r;
  const double shifted = sign == '-' ? scaled - 0.99 : scaled + 0.99;
  return r * std::trunc(shifted);
}

IndexQuestion IndexationQuestion(params::Session& session) {
  const std::optional<std::int64_t> later_rows = session.db().QueryInt(
      "SELECT COUNT(*) FROM firma.Pers WHERE LUNA > ?", session.working_month());
  if (later_rows && *later_rows > 0) {
    return {std::string(kIndexNotLastMonth) + "\r\n\r\n" + kIndexQuestion, true};
  }
  return {kIndexQuestion, false};
}

std::optional<std::string> IndexationRefusal(double percent, char sign, int unit) {
  if (sign != '+' && sign != '-') return kIndexBadSign;
  if (unit <= 0) return kIndexBadUnit;
  if (!(percent >= 0 && percent <= 999)) return kIndexPercentOutOfRange;
  return std::nullopt;
}

int ApplyIndexation(params::Session& session, double percent, char sign, int unit,
                    const GridScope& scope, ProgressReporter& progress) {
  RequireOpenMonth(session);
  if (const auto refusal = IndexationRefusal(percent, sign, unit)) throw Error(*refusal);
  int indexed = 0;
  std::vector<PersRow> lines;
  {
    WaitScope wait(progress, "Indexare salarii incadrare", "Va rog asteptati...");
    // The new salaries and the recalculation of every line are one
    // transaction: an interruption leaves the month as it was, never
    // indexed salaries beside the old gross and net.
    params::SessionWork work(session, params::WorkWrites::kCompanyFile);
    RequireOpenMonth(session);
    lines = MonthLines(session);
    for (PersRow& line : lines) {
      if (line.TIP != scope.tip) continue;
      const PersRow stored = line;
      line.SALINC = IndexedSalary(line.SALINC, percent, sign, unit);
      params::RequireLineValues(stored, line);
      ++indexed;
    }
    // Every line of the kind is indexed, whatever the department chosen:
    // all of them are calculated again, and their salaries written with them.
    FieldMask salary;
    salary.set(*FindField<PersRow>("SALINC"));
    CalculateAndWrite(session, lines, salary);
    work.Commit();
  }
  std::vector<PersRow> scoped;
  const std::string wanted = scope.department ? UpperTrim(*scope.department) : std::string();
  for (const PersRow& line : lines) {
    if (!scope.department || UpperTrim(line.Depart) == wanted) scoped.push_back(line);
  }
  StoreTotals(session, scoped);
  return indexed;
}

std::optional<int> IndexSalaries(params::Session& session, double percent, char sign, int unit,
                                 const GridScope& scope, Prompter& prompter,
                                 ProgressReporter& progress) {
  RequireOpenMonth(session);
  if (!prompter.AskYesNo(IndexationQuestion(session).text)) return std::nullopt;
  if (const auto refusal = IndexationRefusal(percent, sign, unit)) {
    prompter.Message(MessageKind::kError, *refusal);
    return std::nullopt;
  }
  return ApplyIndexation(session, percent, sign, unit, scope, progress);
}

int ImportEmployees(params::Session& session, const std::filesystem::path& source_file,
                    ProgressReporter& progress) {
  RequireOpenMonth(session);
  Database& db = session.db();
  const Date month = session.working_month();
  const auto own_file = session.store().CompanyFolderOf(session.company()) / kCompanyDatabaseName;
  if (SameFile(source_file, own_file)) throw Error(kImportSameCompany);

  std::vector<PersRow> lines;
  try {
    WaitScope wait(progress, "Import date angajati", "Asteptati va rog...");
    std::error_code error;
    if (!std::filesystem::is_regular_file(source_file, error)) throw Error(kImportFailed);
    AttachedSource source(db, source_file);
    if (!db.TableExists(kSourceSchema, "Pers") || !db.TableExists(kSourceSchema, "Pint")) {
      throw Error(kImportFailed);
    }
    params::SessionWork tx(session, params::WorkWrites::kCompanyFile);
    const std::vector<PersRow> source_lines = QueryManyRows<PersRow>(
        db, "FROM sursa.Pers WHERE LUNA = ?", "LUNA, Depart, TIP, CATEGORIE, MARCA, Nr", month);
    RowWriter<PersRow> pers_writer(db, "Pers");
    RowWriter<PintRow> pint_writer(db, "Pint");
    for (const PersRow& source_line : source_lines) {
      params::RequireLineValues(PersRow{}, source_line);
      PersRow line = source_line;
      line.Nr = 0;
      line.LUNA = month;
      line.IID = 0;
      const std::int64_t nr = pers_writer.Insert(line);
      line.Nr = nr;
      line.IID = static_cast<int>(nr);
      pers_writer.Update(line);
      const std::vector<PintRow> dependants = QueryRows<PintRow>(
          db, "SELECT * FROM sursa.Pint WHERE Luna = ? AND IID = ? ORDER BY Luna, IID, Nr", month,
          source_line.IID);
      for (PintRow dependant : dependants) {
        dependant.Nr = 0;
        dependant.Luna = month;
        dependant.IID = line.IID;
        dependant.AiPers = line.IID;
        RequireRowValues(dependant);
        pint_writer.Insert(dependant);
      }
    }

    // Every line's department must be a department of the month.
    lines = MonthLines(session);
    bool uses_central = false;
    for (const PersRow& line : lines) {
      const std::string code = Trim(line.Depart);
      if (UpperTrim(line.Depart) == "CENTRAL") uses_central = true;
      if (code.empty()) continue;
      const auto found = db.QueryInt("SELECT COUNT(*) FROM firma.ParF WHERE Luna = ? AND Den = ?",
                                     month, "DEP_" + code);
      if (!found || *found == 0) {
        db.Run("INSERT INTO firma.ParF (Luna, Den, Val, Grupa) VALUES (?, ?, 0, ?)", month,
               "DEP_" + code, code);
      }
    }
    if (!uses_central) {
      db.Run("DELETE FROM firma.ParF WHERE Luna = ? AND Den = 'DEP_CENTRAL'", month);
    }
    CalculateAndWrite(session, lines);
    tx.Commit();
  } catch (const ValueRefused& refused) {
    throw Error(std::string(kImportFailed) + "\r\n" + refused.what());
  } catch (const std::exception&) {
    throw Error(kImportFailed);
  }
  session.LoadParameters();
  session.set_department_count(static_cast<int>(session.parameters().company.departments.size()));
  StoreTotals(session, lines);
  return static_cast<int>(lines.size());
}

long double CostTotalSalarii(const engine::CompanyTotals& t, const engine::CompanyFunds& f) {
  return f.FondSomaj + f.FondSanatate + f.FondCAS + f.FondHandicap + f.FondCM + f.FondInvat +
         t.BrutP + t.BrutC + f.FondAccident;
}

GridTotals ComputeGridTotals(params::Session& session,
                             const std::optional<std::string>& department) {
  if (department && !params::IsDepartmentOfMonth(session, *department)) {
    throw ValueRefused(params::UnknownDepartment(UpperTrim(*department)));
  }
  // The realised amounts are the one figure the running totals do not
  // carry: only the columns they need are read, in the lines' order.
  Statement statement = session.db().Prepare(
      "SELECT TIP, Depart, REALIZAT FROM firma.Pers WHERE LUNA = ? ORDER BY LUNA, IID, Nr");
  statement.Bind(1, session.working_month());
  const std::string wanted = department ? UpperTrim(*department) : std::string();
  GridLineSums sums;
  while (statement.Step()) {
    if (department && UpperTrim(statement.TextView(1)) != wanted) continue;
    sums.Add(statement.TextView(0), statement.Double(2));
  }
  return GridTotalsOf(session, sums);
}

}  // namespace traveno::personnel
