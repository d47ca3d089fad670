// The salary recapitulation ("Centralizator salarii"): one page of the
// month's headcount, salaries, earnings and deductions in totals, the amount
// to pay and the taxes the employer owes with their bases. Its sums come from
// one SQL query over the month's rows; its employer figures are the company
// totals and funds of the engine, rebuilt from the same rows as the payroll
// statement rebuilds them.
#pragma once

#include <optional>
#include <string>
#include <vector>

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

// The lines of the working month, in order (23 numbered lines and the lines
// that detail lines 4 and 8). Rebuilds the session's company totals and
// funds. StoreError on failure.
std::vector<RecapLine> RecapitulationLines(params::Session& session);

// The recapitulation of the working month; empty when the month has no rows.
std::optional<Report> Recapitulation(const DocumentContext& context);

}  // namespace traveno::reports
