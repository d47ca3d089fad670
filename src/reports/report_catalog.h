// Every monthly document by the name the command line gives it, so that a
// script asks for a document the way the main menu does.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "reports/page_composer.h"
#include "reports/report_common.h"

namespace traveno::reports {

struct ReportRequest {
  std::string name;
  // The month of the situations and of the hired and left lists (the
  // working month when not given).
  std::optional<Date> of;
  // The holiday-advance statement: the IIDs of the rows to print, each one a
  // row of the statement (an IID without a holiday advance is refused).
  std::vector<int> iids;
  // The bracket list: the annual table instead of the monthly one.
  bool annual = false;
};

// The names, in the order of the help text.
const std::vector<std::string_view>& ReportNames();

// The named document of the working month; empty when the document prints
// nothing (a month without rows, nobody with an advance). Throws Error for a
// name that is not a document, StoreError when the store fails.
std::optional<Report> BuildReport(const DocumentContext& context, const ReportRequest& request);

}  // namespace traveno::reports
