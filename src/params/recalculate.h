// The whole-month recalculation and what the engine reads of earlier months,
// both over the open company of the store.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/prompter.h"
#include "core/store/records.h"
#include "core/store/sqlite.h"
#include "engine/month_calculation.h"
#include "engine/past_rows.h"
#include "engine/tax_table.h"
#include "params/session.h"

namespace traveno::params {

// The engine's view of the company's stored months (the averages of the
// holiday pay and of the medical leave). Reads firma.Pers and firma.ParF of
// the connection with statements prepared once; failures are thrown as
// StoreError. Lives no longer than the connection's company.
class StorePastRows final : public engine::PastRowsSource {
 public:
  explicit StorePastRows(Database& db) : db_(db) {}
  std::vector<PersRow> RowsOf(int iid, Date from, Date to) const override;
  std::optional<double> CompanyValueOf(Date month, std::string_view name) const override;

 private:
  Database& db_;
  mutable std::optional<Statement> rows_of_;
  mutable std::optional<Statement> value_of_;
};

// The monthly bracket table of a month in threshold order.
engine::TaxTable MonthlyBrackets(Database& db, Date month);

// Checks the fields of an employee's line that differ from the line as
// stored against their rules; a refusal (ValueRefused) names the employee.
void RequireLineValues(const PersRow& before, const PersRow& after);

// Calculates every row with `payroll`, checks each field the calculation
// changed against its rule (ValueRefused naming the employee) and writes
// those fields back, inside the caller's transaction. Every row is
// calculated before the first is written. The fields in `also_written` are
// written too: those the caller changed in the rows before calculating them.
void CalculateAndWriteRows(Database& db, const engine::PayrollEngine& payroll,
                           std::span<PersRow> rows, const FieldMask& also_written = {});

// Calculates every row of `month` of the open company with `parameters`
// (when `open`; a closed month is only summed), checks each changed field
// against its rule and writes the rows back, inside the caller's
// transaction. Returns the month's totals and funds. Throws ValueRefused
// (naming the employee), StoreError, or what the engine throws.
engine::MonthResult CalculateAndWriteMonth(Database& db, Date month,
                                           const engine::MonthParameters& parameters, bool open);

// Recalculates the working month: the totals are reset; every employee row of
// the month, in LUNA;IID order, goes through CalculSalariu while the month is
// open (a closed month keeps its stored figures) and into the totals; then
// the employer's funds are computed. The rows are read, calculated and
// written back in one transaction (joining the caller's), the parameters
// read again first when another writer changed them. Shows the wait window
// "Calcul Salarii" / "Va rog asteptati...". On failure (ValueRefused for a
// figure out of its range, StoreError, or what the engine throws) nothing is
// written and the session's totals and funds keep their former values.
void RecalculateMonth(Session& session, ProgressReporter& progress);

}  // namespace traveno::params
