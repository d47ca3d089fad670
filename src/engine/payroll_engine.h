// The calculation of one employee's month, from the base salary to the net
// still to be paid, over the month's parameters and monthly tax brackets.
// The engine holds the month's values and its compiled formulas; it writes
// only the row it is given and never touches a store.
#pragma once

#include <array>
#include <optional>

#include "core/store/records.h"
#include "engine/formula.h"
#include "engine/month_parameters.h"
#include "engine/past_rows.h"
#include "engine/tax_table.h"

namespace traveno::engine {

// Stored in the SporN_Apl parameters: never renumber.
enum class BonusMode {
  kFixed = 0,           // "Fix in lei"
  kPercentOfBase = 1,   // "% la Incadrare"
  kPercentOfTime = 2,   // "% la Tarifar"
  kPercentOfResult = 3, // "% la Realizat"
  kUnused = 4,          // "Nu se foloseste"
  kFormula = 5,         // "Formula"
};

// The month values (ValSpor1..4) and full-month values (ValSporIntreg1..4)
// of the four bonuses, each a whole number.
struct BonusValues {
  std::array<long double, 4> month{};
  std::array<long double, 4> full{};
};

// The working values of one calculation, kept for the second half and for
// whoever wants to show how the figures came about.
struct CalculationDetails {
  long double time_value = 0;  // the month's "tarifar" amount (or REALIZAT for piece-work)
  long double NormaLuna = 0;   // month norm of a partial-contract employee, else 0
  BonusValues bonuses;
  std::optional<long double> medie_co;  // the holiday-pay average, when one was computed
  long double pension_base = 0;
  long double B1 = 0;  // the monthly taxable income
  long double B2 = 0;  // the holiday premium's taxable income
};

class PayrollEngine {
 public:
  // `past` (may be null: no earlier rows) must outlive the engine. The
  // formulas of the four bonuses and of the holiday pay are compiled here.
  PayrollEngine(MonthParameters parameters, TaxTable monthly_brackets,
                const PastRowsSource* past = nullptr);

  const MonthParameters& parameters() const { return parameters_; }
  const TaxTable& monthly_brackets() const { return monthly_brackets_; }

  // Computes every derived amount of the row in place: VAL_TIMP_S,
  // vals1..vals4, SUMA_T_NOAPTE, SUMA_ZILE_CO, BRUT, Brut1, then SANATATE,
  // PENSIE, SOMAJ, DED_PERS, DED_PERS_SUPLI, Ch_Prof, VENIT_NET, TOTDREPT,
  // IMPOZIT and RESTPL. A zero divisor among TimpLuna, MedieOre and the month
  // norm gives 0 for the amount it divides. Throws only what the past-rows
  // source throws (the row is then partly computed and must not be posted).
  CalculationDetails CalculSalariu(PersRow& row) const;

  // The four bonuses' month and full-month values of a row, rounded. Formula
  // bonuses read the row's fields as they stand.
  BonusValues CalculSporuri(const PersRow& row) const;

  // The average of the holiday-pay formula over the person's earlier months
  // (or the working month alone when LuniCO is 0); `bonuses` are the month's
  // bonus values the formula sees as VALS1..VALS4 in the latter case. Empty
  // when there is no formula or no row to average.
  std::optional<long double> MedieCO(const PersRow& row, const BonusValues& bonuses) const;

 private:
  void GrossHalf(PersRow& row, CalculationDetails& details) const;
  void NetHalf(PersRow& row, CalculationDetails& details) const;

  MonthParameters parameters_;
  TaxTable monthly_brackets_;
  const PastRowsSource* past_;
  std::array<CompiledFormula, 4> bonus_formulas_;
  CompiledFormula holiday_formula_;
};

}  // namespace traveno::engine
