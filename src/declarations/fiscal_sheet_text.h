// A fiscal sheet as plain text: the captions and values of the printed sheet
// (its layout, FF1 or FF2, before 2002 or from 2002), one section after the
// other, for the command line and for a quick look without a printer.
#pragma once

#include <string>

#include "declarations/fiscal_sheet.h"

namespace traveno::declarations {

// The sheet's text, lines ended by "\n".
std::string FiscalSheetText(const FiscalSheet& sheet);

}  // namespace traveno::declarations
