#include "engine/month_calculation.h"

namespace traveno::engine {

MonthResult RecalculateMonth(const PayrollEngine& engine, std::span<PersRow> rows,
                             bool calculate) {
  MonthResult result;
  ResetCompanyTotals(result.totals);
  for (PersRow& row : rows) {
    if (calculate) engine.CalculSalariu(row);
    AddRowToTotals(result.totals, row, engine.parameters());
  }
  result.funds = ComputeCompanyFunds(result.totals, engine.parameters());
  result.numar_mediu_salariati = NumarMediuSalariati(result.totals, engine.parameters());
  return result;
}

}  // namespace traveno::engine
