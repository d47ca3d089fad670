// The company's months over an interval as the figures its trend charts
// draw: for each month the company has, the employees of each kind and the
// main amounts of the month's salary recapitulation, for the whole company
// and, when the company has departments, for each department. The amounts
// are the recapitulation's own, computed by its code from the month's rows
// and the month's parameters, so that a month of the trend always equals its
// printed recapitulation.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "engine/company_totals.h"
#include "params/session.h"
#include "reports/recapitulation.h"

namespace traveno::trends {

// One month's figures, of the company or of one department.
struct TrendFigures {
  int permanent = 0;  // employees of kind "1"
  int partial = 0;    // employees of kind "2"
  // "6. Total salarii brute": the gross without the leave paid by the state.
  long double total_brut = 0;
  // "12. TOTAL DE PLATA": the net paid, state-paid leave included.
  long double total_de_plata = 0;
  // The employees' pension, health and unemployment contributions.
  long double contributii_angajati = 0;
  // "13. TAXE FIRMA": the employer's contributions and funds.
  long double taxe_firma = 0;
  // "Impozit salarii": the income tax withheld.
  long double impozit = 0;
  // "Cost total salarii" as the pay grid shows it: the gross of both kinds
  // and every employer fund (the disabled persons' and education funds
  // too, which the recapitulation does not list).
  long double cost_total = 0;

  friend bool operator==(const TrendFigures&, const TrendFigures&) = default;
};

// The figures of a month from the sums of its rows and the running totals
// and funds the engine computed from them: the recapitulation's lines (by
// its own code) and the pay grid's total cost.
TrendFigures FiguresOfMonth(const reports::RecapSums& sums, const engine::CompanyTotals& totals,
                            const engine::CompanyFunds& funds);

// The amounts in the order the charts and tables show them.
enum class TrendAmount {
  kTotalBrut,
  kTotalDePlata,
  kContributiiAngajati,
  kTaxeFirma,
  kImpozit,
  kCostTotal,
};
inline constexpr std::array<TrendAmount, 6> kTrendAmounts = {
    TrendAmount::kTotalBrut, TrendAmount::kTotalDePlata, TrendAmount::kContributiiAngajati,
    TrendAmount::kTaxeFirma, TrendAmount::kImpozit,      TrendAmount::kCostTotal};
long double AmountOf(const TrendFigures& figures, TrendAmount amount);
// "Total salarii brute", "Total de plata", "Contributii angajati", "Taxe firma",
// "Impozit salarii", "Cost total salarii".
const char* AmountCaption(TrendAmount amount);
// The key of an amount in the command line's JSON ("total_brut", ...).
const char* AmountKey(TrendAmount amount);

inline constexpr const char* kPermanentCaption = "Salariati permanenti";
inline constexpr const char* kPartialCaption = "Salariati contract partial";

// A department's figures, one per month of its trend.
struct DepartmentTrend {
  std::string code;
  std::string name;
  std::vector<TrendFigures> months;
};

struct Trend {
  std::string company;
  std::string employer;  // the employer's name printed on documents
  Date from;             // the interval asked
  Date to;
  // The months of the interval the company has (parameters or lines), in
  // order; the figure vectors have one entry per month.
  std::vector<Date> months;
  std::vector<TrendFigures> figures;
  // Every department of the interval's months, in the order they were made
  // (the departments' parameters, then codes found only on lines); empty when
  // the company has fewer than two.
  std::vector<DepartmentTrend> departments;
};

// The interval shown first: the 12 months up to the working month.
struct TrendInterval {
  Date from;
  Date to;
};
TrendInterval DefaultTrendInterval(Date working_month);

// The longest interval a trend is asked for, in months.
inline constexpr int kMaxTrendMonths = 600;
inline constexpr const char* kTrendIntervalReversed =
    "Luna de inceput trebuie sa fie cel tarziu luna de sfarsit !";
inline constexpr const char* kTrendIntervalTooLong =
    "Intervalul ales este prea lung: se pot alege cel mult 600 de luni !";

// The fields of a line the trend reads: what the recapitulation sums and the
// engine's running totals read, the month and the department. (A line holds
// three times as many; reading only these keeps a long interval quick.)
inline constexpr std::array<std::string_view, 48> kTrendLineFields = {
    "LUNA",     "Depart",         "TIP",        "SALINC",   "VAL_TIMP_S", "SUMA_T_NOAPTE",
    "vals1",    "vals2",          "vals3",      "vals4",    "CM1L",       "CM2L",
    "CIC",      "PRIME",          "ALTE_SUME",  "SPORURI",  "pr_va",      "SUMA_ZILE_CO",
    "Dif_Brut", "BRUT",           "SumeExcept", "PENSIE",   "SANATATE",   "SOMAJ",
    "IMPOZIT",  "AVANS",          "AVANS_CO",   "ALTE_RET", "POPRIRI",    "GARANTII",
    "RETINERI", "PRIME_INCASATE", "RESTPL",     "ACORD",    "ALT_VENIT",  "BifaSom",
    "Brut1",    "INVALIDITATE",   "NORMA",      "Ore_Zi",   "Pensionar",  "PlatitOra",
    "REALIZAT", "TIMP",           "ZILE_CM",    "ZILE_CO",  "Nr",         "IID"};

// The trend of the session's working company from month `from` to month `to`
// (any day of each; their months are meant). The lines and the parameters of
// the whole interval are read in one read transaction, three queries in all;
// months without lines have zero figures. Throws Error(kTrendIntervalReversed)
// or Error(kTrendIntervalTooLong) for an interval it refuses, StoreError on a
// store failure. Writes nothing and leaves the session's totals alone.
Trend CompanyTrend(params::Session& session, Date from, Date to);

// The figures of the company (no code) or of one department, one per month;
// empty when the trend has no such department.
const std::vector<TrendFigures>* FiguresOf(const Trend& trend, const std::string& department);

}  // namespace traveno::trends
