// A whole month through the engine, as the pay grid's recalculation runs it:
// the totals reset, every row calculated (only while the month is open) and
// added, then the employer's funds.
#pragma once

#include <span>

#include "core/store/records.h"
#include "engine/company_totals.h"
#include "engine/payroll_engine.h"

namespace traveno::engine {

struct MonthResult {
  CompanyTotals totals;
  CompanyFunds funds;
  long double numar_mediu_salariati = 0;
};

// Calculates the rows in order when `calculate` is set (an open month; a
// closed month keeps its stored figures and is only summed), adds each row to
// fresh totals and computes the funds. Throws what CalculSalariu throws.
MonthResult RecalculateMonth(const PayrollEngine& engine, std::span<PersRow> rows,
                             bool calculate = true);

}  // namespace traveno::engine
