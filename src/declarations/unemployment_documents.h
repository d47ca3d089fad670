// The printed unemployment declarations: the nominal declaration of the
// insured, grouped by kind, and the employer's summary declaration.
#pragma once

#include "declarations/declaration_header.h"
#include "declarations/unemployment_declaration.h"
#include "reports/page_composer.h"

namespace traveno::declarations {

// The nominal declaration: one line per printed person with the person's
// paid and unpaid parts, a total under each kind and for the month (over
// every row of the kind, printed or not), the closing texts.
reports::Report UnemploymentNominalReport(const UnemploymentDeclaration& declaration,
                                          const DeclarationHeader& header);

// The summary declaration: the month's average number of insured and wage
// fund, the table of dues, payments and arrears, the bank accounts and the
// closing texts.
reports::Report UnemploymentSummaryReport(const UnemploymentDeclaration& declaration,
                                          const DeclarationHeader& header);

}  // namespace traveno::declarations
