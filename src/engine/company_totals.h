// The company's running totals of the month and the employer's bases and
// funds computed from them. Every calculated row is added; a row is removed
// before it is edited and added again after, so the totals stay current
// without a pass over the month. A row's add or remove costs the same
// whatever the month's size.
#pragma once

#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/store/records.h"
#include "engine/month_parameters.h"

namespace traveno::engine {

// TotaluriFirma. Amounts in extended precision, counters as integers.
// Permanent rows have TIP "1"; every other row is a partial-contract row, one
// "with CIAS" when SalMedEc != 0 and ALT_VENIT = 1.
struct CompanyTotals {
  long double BrutP = 0;
  long double Brut1P = 0;
  long double BazaSomajP = 0;
  long double SumeExceptP = 0;
  long double RestPlP = 0;
  long double AvansuriP = 0;
  long double CM1LP = 0;
  long double CM2LP = 0;
  long double CICP = 0;
  long double TarifarP = 0;
  int NrAngajati = 0;
  int NrHandicap = 0;
  long double BrutC = 0;
  long double SumeExceptC = 0;
  long double BrutCAS_C = 0;
  long double SumeExceptCAS_C = 0;
  long double CM1LCAS_C = 0;
  long double CM2LCAS_C = 0;
  long double CICCAS_C = 0;
  long double BazaSomajC = 0;
  long double RestPlC = 0;
  long double AvansuriC = 0;
  long double CM1LC = 0;
  long double CM2LC = 0;
  long double CICC = 0;
  long double TarifarC = 0;
  int ZileCM = 0;
  int ZileCMCAS = 0;
  // Hours worked by the rows of each daily norm (6, 7, 8 hours) that count
  // for the average number of employees, and how many rows make them.
  long double hours_by_norm[3] = {0, 0, 0};
  int rows_by_norm[3] = {0, 0, 0};
};

// Every total by its name, amounts and counters alike, in declaration order
// (the per-norm hours excluded).
std::vector<std::pair<std::string, long double>> NamedTotals(const CompanyTotals& totals);

// The employer's bases and funds.
struct CompanyFunds {
  long double BazaSomajFirma = 0;
  long double BazaCASInitiala = 0;
  long double BazaCASFirma = 0;
  long double BazaSanatateFirma = 0;
  long double BazaCMFirma = 0;
  long double FondSomaj = 0;
  long double FondSanatate = 0;
  long double FondSanatateCM = 0;
  long double FondCAS = 0;
  long double FondHandicap = 0;
  // The part of FondHandicap owed for the disabled persons a company of more
  // than 101 permanent employees lacks (minimum wages, one per person).
  long double FondHandicapSuplimentar = 0;
  long double FondCM = 0;
  long double FondInvat = 0;
  long double FondAccident = 0;
};

std::vector<std::pair<std::string, long double>> NamedFunds(const CompanyFunds& funds);

// Clears every total.
void ResetCompanyTotals(CompanyTotals& totals);
// Adds a calculated row. A zero divisor in the row's time value adds 0 to it.
void AddRowToTotals(CompanyTotals& totals, const PersRow& row, const MonthParameters& parameters);
// Subtracts exactly what AddRowToTotals adds for the row's current values,
// counters included.
void RemoveRowFromTotals(CompanyTotals& totals, const PersRow& row,
                         const MonthParameters& parameters);

// The hours a row counts for the average number of employees; empty when the
// row does not count (a partial-contract row without ALT_VENIT, a NORMA
// other than 6, 7 or 8).
std::optional<double> HoursForAverage(const PersRow& row, const MonthParameters& parameters);

// The month's average number of employees, two decimals: for each daily norm
// n of 6, 7, 8 hours, RoundEven(RoundEven(hours) / RoundEven(D * n) * 100) /
// 100 with D the month's working days, summed. A norm whose RoundEven(D * n)
// is 0 adds 0. From the rows themselves, or from the totals that added them.
long double NumarMediuSalariati(std::span<const PersRow> rows, const MonthParameters& parameters);
long double NumarMediuSalariati(const CompanyTotals& totals, const MonthParameters& parameters);

// The employer's bases and funds from the totals (NumarMediuSalariati from the
// totals as well). FondInvat is 0 when BazaInvat is neither 0 nor 1.
CompanyFunds ComputeCompanyFunds(const CompanyTotals& totals, const MonthParameters& parameters);

}  // namespace traveno::engine
