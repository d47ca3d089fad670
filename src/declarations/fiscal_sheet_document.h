// The printed fiscal sheet of one person: FF1 or FF2, in the layout of the
// years before 2002 or of 2002 and later, as a document of the report model
// laid out on A4 pages. The captions, values and formats are the sheet's;
// the geometry follows the paper form's order of sections.
#pragma once

#include "declarations/fiscal_sheet.h"
#include "reports/page_composer.h"

namespace traveno::declarations {

// The sheet as a report ready to be laid out, previewed and printed.
reports::Report FiscalSheetReport(const FiscalSheet& sheet);

}  // namespace traveno::declarations
