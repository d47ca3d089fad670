// The printed health declaration (one portrait page) and its annexed lists
// of persons entering and leaving activity and of the insured.
#pragma once

#include <optional>
#include <vector>

#include "declarations/declaration_employer.h"
#include "declarations/declaration_header.h"
#include "declarations/health_declaration.h"
#include "params/session.h"
#include "reports/page_composer.h"

namespace traveno::declarations {

// The lists chosen in the window.
struct HealthListChoice {
  bool entering = false;
  bool leaving = false;
  bool nominal = false;
};

// What the declaration prints.
struct HealthPrint {
  Date month;
  std::optional<DeclarationEmployer> employer;
  double zi_lichidare = 0;
  HealthComputed computed;
  HealthSections stored;  // the nine figures as stored
  DeclarationHeader header;
  HealthListChoice lists;
};

// The declaration's data: the employer and the stored figures of the
// session's working month (as loaded in the session) with the figures
// computed when the window opened. Throws StoreError.
HealthPrint MakeHealthPrint(params::Session& session, const HealthComputed& computed,
                            const DeclarationHeader& header, const HealthListChoice& lists);

reports::Report HealthDeclarationReport(const HealthPrint& print);

// An annexed list over its rows (ReadHealthList); the employer heads every page.
reports::Report HealthListReport(const std::optional<DeclarationEmployer>& employer,
                                 HealthList list, std::vector<HealthListRow> rows);

}  // namespace traveno::declarations
