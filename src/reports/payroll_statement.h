// The payroll statement ("Stat de plata") of the working month: four lines
// per employee with every input, contribution, deduction, the tax and the
// amount to pay; subtotals per employee kind and, when the company has more
// than one department, per department (each department on new pages); and a
// summary page with the company totals and the taxes and funds the employer
// owes, from the company totals and funds of the engine.
#pragma once

#include <optional>

#include "reports/page_composer.h"
#include "reports/report_common.h"

namespace traveno::reports {

inline constexpr const char* kStatementTitle = "Stat plata salarii";

// The statement of the working month over all departments. Rebuilds the
// session's company totals and funds from the rows it prints (as the
// recapitulation printed after it expects). Empty when the month has no rows:
// nothing is printed then. StoreError on failure.
std::optional<Report> PayrollStatement(const DocumentContext& context);

}  // namespace traveno::reports
