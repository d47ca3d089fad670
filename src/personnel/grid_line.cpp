#include "personnel/grid_line.h"

#include "core/errors.h"
#include "core/store/field_rules.h"
#include "core/store/row_io.h"
#include "core/text.h"
#include "params/departments.h"
#include "params/unit_of_work.h"

namespace traveno::personnel {

MonthEngine::MonthEngine(params::Session& session)
    : past_(session.db()),
      payroll_(session.parameters(), params::MonthlyBrackets(session.db(), session.working_month()),
               &past_) {}

std::optional<PersRow> FindLine(params::Session& session, std::int64_t nr) {
  auto rows = QueryRows<PersRow>(session.db(), "SELECT * FROM firma.Pers WHERE Nr = ? AND LUNA = ?",
                                 nr, session.working_month());
  if (rows.empty()) return std::nullopt;
  return rows.front();
}

std::optional<PersRow> FindLineOfPerson(params::Session& session, int iid) {
  auto rows = QueryRows<PersRow>(
      session.db(), "SELECT * FROM firma.Pers WHERE IID = ? AND LUNA = ? ORDER BY Nr LIMIT 1", iid,
      session.working_month());
  if (rows.empty()) return std::nullopt;
  return rows.front();
}

std::vector<PersRow> MonthLines(params::Session& session, std::optional<std::string> tip,
                                std::optional<std::string> department) {
  // A department the month does not have is a mistake, not an empty scope.
  if (department && !params::IsDepartmentOfMonth(session, *department)) {
    throw ValueRefused(params::UnknownDepartment(UpperTrim(*department)));
  }
  // The kind is chosen by the query; a department (compared by UpperTrim)
  // is kept in place among the lines read.
  std::vector<PersRow> rows =
      tip ? QueryManyRows<PersRow>(session.db(), "FROM firma.Pers WHERE LUNA = ? AND TIP = ?",
                                   "LUNA, IID, Nr", session.working_month(), *tip)
          : QueryManyRows<PersRow>(session.db(), "FROM firma.Pers WHERE LUNA = ?", "LUNA, IID, Nr",
                                   session.working_month());
  if (department) {
    const std::string wanted = UpperTrim(*department);
    std::erase_if(rows, [&wanted](const PersRow& row) { return UpperTrim(row.Depart) != wanted; });
  }
  return rows;
}

void WriteLine(params::Session& session, const PersRow& row) {
  RowWriter<PersRow> writer(session.db(), "Pers");
  writer.Update(row);
}

void WriteChangedFields(params::Session& session, const PersRow& before, const PersRow& after) {
  RowWriter<PersRow> writer(session.db(), "Pers");
  writer.UpdateChanged(before, after);
}

void RequireOpenMonth(const params::Session& session) {
  if (session.month_closed()) throw Error(kMonthClosed);
}

PostedLine ChangeLine(params::Session& session, std::int64_t nr, const LineChange& change) {
  RequireOpenMonth(session);
  PostedLine posted;
  std::optional<PersRow> stored;
  {
    // The line is read under the write lock: a change made meanwhile by
    // another writer is the one this change builds on.
    params::SessionWork work(session, params::WorkWrites::kCompanyFile);
    RequireOpenMonth(session);
    stored = FindLine(session, nr);
    if (!stored) throw Error(kLineMissing);
    MonthEngine month_engine(session);
    posted = change(month_engine.payroll(), *stored);
    RequireChangedValues(*stored, posted.row);
    WriteChangedFields(session, *stored, posted.row);
    work.Commit();
  }
  // The totals change only once the line is stored.
  engine::RemoveRowFromTotals(session.totals(), *stored, session.parameters());
  engine::AddRowToTotals(session.totals(), posted.row, session.parameters());
  session.funds() = engine::ComputeCompanyFunds(session.totals(), session.parameters());
  return posted;
}

PostedLine UpdateGridLine(params::Session& session, std::int64_t nr,
                          const std::vector<FieldEdit>& edits) {
  return ChangeLine(session, nr, [&edits](const engine::PayrollEngine& engine, const PersRow& line) {
    return PostLineEdit(engine, line, edits);
  });
}

}  // namespace traveno::personnel
