// The identity cards ("Legitimatii") of the list window's rows: four cards
// across an A4 landscape page, each with the employer, the person's photo
// when there is one, "LEGITIMATIE", the employee number, the names and the
// personal code.
#pragma once

#include <vector>

#include "personnel/checks.h"
#include "reports/page_composer.h"
#include "reports/report_common.h"

namespace traveno::reports {

inline constexpr const char* kIdentityCardsTitle = "Legitimatii personal";

// The cards of `lines` (the employees of the working month, by IID, as the
// list window shows them); each photo is read from the store now.
// StoreError on failure.
Report IdentityCardList(const DocumentContext& context, std::vector<personnel::PersonLine> lines);
// Over every employee of the working month.
Report IdentityCardList(const DocumentContext& context);

}  // namespace traveno::reports
