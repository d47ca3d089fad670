// The printed bracket list ("Grila de Impozitare") of the monthly table of
// the working month or the annual table of the working year: each bracket
// with the income it covers, its fixed tax and its percentage.
#pragma once

#include "reports/page_composer.h"
#include "reports/report_common.h"

namespace traveno::reports {

inline constexpr const char* kBracketListTitle = "Grila de Impozitare";

// The brackets in threshold order; printed with its headings even when the
// period has none. StoreError on failure.
Report BracketList(const DocumentContext& context, bool annual);

}  // namespace traveno::reports
