// The pay slips ("fluturasi") of the working month: for every employee the
// earnings, the deductions and the amount paid. Four sheets fit on an A4
// page, two across and two down: in the layout of two copies each employee's
// sheet is printed twice side by side (one copy to keep, signed), in the
// layout of one copy two employees share a row. A change of department (with
// more than one department) and, with PagColab 1, a department's first
// partial-contract employee start a new page.
#pragma once

#include <optional>

#include "reports/page_composer.h"
#include "reports/report_common.h"

namespace traveno::reports {

inline constexpr const char* kPaySlipsTitle = "Fluturasi lichidare";

// The layout chosen by TipFluturasi: 1 one copy, 0 or 2 two copies.
enum class PaySlipLayout { kOneCopy, kTwoCopies };
// Empty for any other value of TipFluturasi (nothing is printed).
std::optional<PaySlipLayout> PaySlipLayoutOf(double tip_fluturasi);

// The slips of the working month in the company's layout. Empty when the
// month has no rows or the layout prints nothing. StoreError on failure.
std::optional<Report> PaySlips(const DocumentContext& context);

}  // namespace traveno::reports
