#include "params/recalculate.h"

#include "core/store/field_rules.h"
#include "core/store/row_io.h"
#include "core/text.h"
#include "engine/month_calculation.h"
#include "engine/payroll_engine.h"
#include "params/unit_of_work.h"

namespace traveno::params {

std::vector<PersRow> StorePastRows::RowsOf(int iid, Date from, Date to) const {
  if (from > to) return {};
  if (!rows_of_) {
    rows_of_.emplace(db_.Prepare(
        "SELECT * FROM firma.Pers WHERE IID = ? AND LUNA BETWEEN ? AND ? ORDER BY LUNA, Nr"));
  }
  Statement& statement = *rows_of_;
  statement.Reset();
  statement.BindAll(iid, from, to);
  std::vector<PersRow> rows;
  row_io::ReadAll(statement, rows);
  statement.Reset();
  return rows;
}

std::optional<double> StorePastRows::CompanyValueOf(Date month, std::string_view name) const {
  if (!value_of_) {
    value_of_.emplace(
        db_.Prepare("SELECT Val FROM firma.ParF WHERE Luna = ? AND Den = ? ORDER BY Nr LIMIT 1"));
  }
  Statement& statement = *value_of_;
  statement.Reset();
  statement.BindAll(month, name);
  std::optional<double> value;
  if (statement.Step()) value = statement.Double(0);
  statement.Reset();
  return value;
}

engine::TaxTable MonthlyBrackets(Database& db, Date month) {
  engine::TaxTable table;
  Statement statement = db.Prepare(
      "SELECT P_Venit, V_Const, V_Proc FROM main.Impo WHERE Luna = ? ORDER BY P_Venit, Nr");
  statement.Bind(1, month);
  while (statement.Step()) {
    table.push_back({statement.Double(0), statement.Double(1), statement.Double(2)});
  }
  return table;
}

namespace {

// A refusal of a line's value, naming the employee.
[[noreturn]] void RefuseLine(const PersRow& line, const ValueRefused& refused) {
  throw ValueRefused("Angajatul " + Trim(line.NUME + " " + line.PRENUME) + " (IID " +
                     std::to_string(line.IID) + "): " + refused.what());
}

}  // namespace

void RequireLineValues(const PersRow& before, const PersRow& after) {
  try {
    RequireChangedValues(before, after);
  } catch (const ValueRefused& refused) {
    RefuseLine(after, refused);
  }
}

void CalculateAndWriteRows(Database& db, const engine::PayrollEngine& payroll,
                           std::span<PersRow> rows, const FieldMask& also_written) {
  // Every line is calculated before any is written: the engine may read the
  // month's lines as stored.
  std::vector<FieldMask> changed(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    PersRow& row = rows[i];
    const PersRow before = row;
    payroll.CalculSalariu(row);
    changed[i] = ChangedFields(before, row);
    try {
      RequireFieldValues(row, changed[i]);
    } catch (const ValueRefused& refused) {
      RefuseLine(row, refused);
    }
  }
  // Unqualified: the company's Pers is the only one on the connection.
  RowWriter<PersRow> writer(db, "Pers");
  for (std::size_t i = 0; i < rows.size(); ++i) {
    writer.UpdateFields(rows[i], changed[i] | also_written);
  }
}

engine::MonthResult CalculateAndWriteMonth(Database& db, Date month,
                                           const engine::MonthParameters& parameters, bool open) {
  std::vector<PersRow> rows =
      QueryManyRows<PersRow>(db, "FROM firma.Pers WHERE LUNA = ?", "LUNA, IID, Nr", month);
  StorePastRows past(db);
  const engine::PayrollEngine payroll(parameters, MonthlyBrackets(db, month), &past);
  if (open) CalculateAndWriteRows(db, payroll, rows);
  return engine::RecalculateMonth(payroll, rows, false);
}

void RecalculateMonth(Session& session, ProgressReporter& progress) {
  WaitScope wait(progress, "Calcul Salarii", "Va rog asteptati...");
  SessionWork work(session, WorkWrites::kCompanyFile);
  const engine::MonthResult result = CalculateAndWriteMonth(
      session.db(), session.working_month(), session.parameters(), !session.month_closed());
  work.Commit();
  session.totals() = result.totals;
  session.funds() = result.funds;
}

}  // namespace traveno::params
