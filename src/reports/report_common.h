// What the monthly documents share: the moment printed in page headers, the
// employer's name, the month's rows in the documents' order, the company's
// running totals rebuilt from them by the engine, the captions that follow
// the company parameters, and the number texts of printed pages (each text
// value is preceded by one blank and each amount followed by one).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "core/store/records.h"
#include "engine/company_totals.h"
#include "engine/month_parameters.h"
#include "params/session.h"
#include "reports/page_composer.h"

namespace traveno::reports {

// The date and time printed on a document's pages.
struct PrintStamp {
  Date date;
  int hour = 0;
  int minute = 0;

  // The machine's local date and time.
  static PrintStamp Now();
  std::string DateText() const;  // "dd.mm.yyyy"
  std::string TimeText() const;  // "hh:mm"
};

// What every document is made with besides its rows: the session on the
// working company and month, and the moment printed on its pages.
struct DocumentContext {
  params::Session& session;
  PrintStamp stamp = PrintStamp::Now();
};

// The employer name printed on documents: the company's Denumire for a legal
// entity (TipAngaj 1), else Nume, a blank and Prenume.
std::string EmployerName(const FirmeRow& company);
// The working company's; empty when the register has no such company.
std::string EmployerName(params::Session& session);

// "IANUARIE / 2003".
std::string MonthSlashYear(Date month);
// "IANUARIE 2003".
std::string MonthAndYear(Date month);

// The Pers rows of a month of the working company, all departments, in the
// documents' order: LUNA, Depart, TIP, CATEGORIE, MARCA (then Nr, so equal
// keys keep one order). StoreError on failure.
std::vector<PersRow> DocumentRows(params::Session& session, Date month);

// The company's running totals and employer funds rebuilt by the engine from
// the rows a document prints (reset, every row added, funds computed), and
// kept in the session as the ones the pay grid and the other documents read.
struct TotalsAndFunds {
  engine::CompanyTotals totals;
  engine::CompanyFunds funds;
};
TotalsAndFunds RebuildCompanyTotals(params::Session& session, const std::vector<PersRow>& rows);

// The captions of the deduction columns: the company parameter when it is
// not blank, else the default.
struct DeductionCaptions {
  std::string prime_incasate;  // Den_PrIncas, "Prime incasate"
  std::string avans_co;        // Den_AvansCO, "Avans Concediu"
  std::string retineri;        // Den_Retineri, "Retineri"
  std::string popriri;         // Den_Popriri, "Popriri"
  std::string alte_retineri;   // Den_AlteRet, "Alte retineri"
  std::string garantii;        // Den_Garantii, "Garantii"
};
DeductionCaptions DeductionCaptionsOf(const engine::CompanyParameters& company);

// How a bonus shows on the documents, from its mode (SporN_Apl) and its
// formula switch (SporN_ProcF).
struct BonusColumn {
  bool used = true;               // mode 4 ("not used"): no heading, no figures
  std::string heading;            // the bonus's name, blank when not used
  bool shows_percentage = false;  // modes 1, 2, 3, and 5 with ProcF 1
  bool percent_sign = false;      // modes other than 0 and 4
};
BonusColumn BonusColumnOf(const engine::BonusParameters& bonus);
// The percentage text of a bonus: blank when the column shows none or when
// it is 0; "#,##0.##" followed by "%" where the mode takes it.
std::string BonusPercentText(const BonusColumn& column, double percent);

// Number texts of printed pages.
// "#,##0" followed by a blank: 1 234 567 .
std::string Amount(long double value);
// As Amount, but blank for 0 (the pay slips).
std::string AmountOrBlank(long double value);
// "#,##0.##": rates, hours and days, coefficients.
std::string Rate(long double value);
// "#,##0.##" followed by a blank.
std::string Count(long double value);

// The widest text any sum of amounts prints as ("#,##0" and a blank), given
// the sum of their magnitudes and whether one of them is negative: what a
// column of those amounts and their totals is sized for.
std::string WidestAmount(long double magnitude, bool negative);

// The page header lines most documents open with: the employer on the left,
// the date and page number on the right, the title centred under them.
struct HeaderLines {
  std::string left;      // the employer line
  std::string title;     // centred, bold
  std::string subtitle;  // centred under the title (may be empty)
};
// A page-header band of `setup`'s width: the left text, "Data: " + date and
// "Pagina: " + page on the right, the title and subtitle centred; its height
// covers them.
Band StandardHeader(const PageSetup& setup, const HeaderLines& lines, const PrintStamp& stamp,
                    int page_number);

}  // namespace traveno::reports
