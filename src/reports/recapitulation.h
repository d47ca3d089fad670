// The salary recapitulation ("Centralizator salarii"): one page of the
// month's headcount, salaries, earnings and deductions in totals, the amount
// to pay and the taxes the employer owes with their bases. Its sums add up the
// month's rows; its employer figures are the company totals and funds of the
// engine, rebuilt from the same rows as the payroll statement rebuilds them.
// The figures are computed apart from the page, from rows and funds given,
// so that other readers of a month (the trends over many months) get the
// very figures the recapitulation prints.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/store/records.h"
#include "engine/company_totals.h"
#include "reports/page_composer.h"
#include "reports/report_common.h"

namespace traveno::reports {

inline constexpr const char* kRecapitulationTitle = "Centralizator salarii";

// One line of the recapitulation: its caption, its amount (none for a blank
// line) and the base of the tax it names, when it has one.
struct RecapLine {
  std::string caption;
  std::optional<long double> amount;
  std::optional<long double> base;
  bool numbered = false;  // one of the 23 lines (printed bold), not a detail line
};

// The count and sums of a month's rows (the printed recapitulation takes all
// departments and both kinds), the input of every line.
struct RecapSums {
  long double Nr = 0, SalInc = 0, ValOreS = 0, ValOreN = 0, Vals[4] = {0, 0, 0, 0}, CM1L = 0,
              CM2L = 0, CIC = 0, Prime = 0, Alte_Sume = 0, SPORURI = 0, Pr_va = 0, Suma_Zile_CO = 0,
              Dif_Brut = 0, BRUT = 0, SumeExcept = 0, Pensie = 0, Sanatate = 0, Somaj = 0,
              Impozit = 0, Avans = 0, AvansCO = 0, Alte_Ret = 0, Popriri = 0, Garantii = 0,
              Retineri = 0, Prime_Incasate = 0, TotalPL = 0;

  // Counts the row and adds its amounts.
  void Add(const PersRow& row);
  friend bool operator==(const RecapSums&, const RecapSums&) = default;
};
RecapSums SumRecapRows(std::span<const PersRow> rows);

// The amounts of the 23 numbered lines (the detail lines are the sums
// themselves), from the sums of some rows and the running totals and funds
// the engine computed from the same rows with their month's parameters.
struct RecapFigures {
  long double nr = 0;                 // 1. Nr. total de salariati
  long double salarii_incadrare = 0;  // 2.
  long double salarii_tarifare = 0;   // 3. TarifarP + TarifarC
  long double drepturi = 0;           // 4.
  long double concedii_odihna = 0;    // 5.
  long double total_brut = 0;         // 6. Total salarii brute (3+4+5): BrutCalc
  long double sume_exceptate = 0;     // 7.
  long double retineri = 0;           // 8. every deduction, contributions and tax included
  long double rest_de_plata = 0;      // 9. (6+7-8)
  long double cm_stat = 0;            // 10. CM2L
  long double cic = 0;                // 11. CIC
  long double total_de_plata = 0;     // 12. (9+10+11): the sum of RestPL
  long double taxe_firma = 0;         // 13. (14+15+19+20+21+22)
  long double fond_somaj = 0;         // 14.
  long double fond_sanatate = 0;      // 15. without the health contribution on leave days
  long double cas = 0;                // 16.
  long double prestatii_bass = 0;     // 17. CM2L + CIC
  long double total_cas = 0;          // 18. (16-17)
  long double sanatate_cm = 0;        // 19. FondSanatateCM
  long double cas_de_virat = 0;       // 20. (18-19)
  long double fond_accident = 0;      // 21.
  long double comision_cm = 0;        // 22.
  long double total = 0;              // 23. (12+13)
  friend bool operator==(const RecapFigures&, const RecapFigures&) = default;
};
RecapFigures ComputeRecapFigures(const RecapSums& sums, const engine::CompanyTotals& totals,
                                 const engine::CompanyFunds& funds);

// The lines of the working month, in order (23 numbered lines and the lines
// that detail lines 4 and 8). Rebuilds the session's company totals and
// funds. StoreError on failure.
std::vector<RecapLine> RecapitulationLines(params::Session& session);

// The recapitulation of the working month; empty when the month has no rows.
std::optional<Report> Recapitulation(const DocumentContext& context);

}  // namespace traveno::reports
