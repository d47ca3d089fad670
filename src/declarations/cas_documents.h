// The printed social-insurance declarations: the nominal declaration of the
// insured (annex 1.1, landscape) and the employer's summary declaration (one
// portrait page).
#pragma once

#include "declarations/cas_declaration.h"
#include "declarations/declaration_header.h"
#include "reports/page_composer.h"

namespace traveno::declarations {

// The nominal declaration: its heading on the first page, the column
// headings on every page, one line per declared person with its running
// number, "Semnatura," after the last line and the page number on every page.
reports::Report CasNominalReport(const CasDeclaration& declaration,
                                 const DeclarationHeader& header);

// NRF: the number of pages of the nominal declaration.
int CasNominalPageCount(const CasDeclaration& declaration, const DeclarationHeader& header);

// The summary declaration, with `nrf` as the number of pages of the annex.
reports::Report CasSummaryReport(const CasDeclaration& declaration, const DeclarationHeader& header,
                                 int nrf);

}  // namespace traveno::declarations
