// The gross half of the calculation: time value, overtime, bonuses,
// piece-work, night work, holiday pay, and the two gross figures.
#include <algorithm>
#include <cmath>

#include "core/numbers.h"
#include "core/text.h"
#include "engine/payroll_engine.h"

namespace traveno::engine {
namespace {

using Ld = long double;

// The person's figure of bonus i (an amount or a percentage, by mode).
double BonusFigure(const PersRow& row, int i) {
  switch (i) {
    case 0:
      return row.Spor1;
    case 1:
      return row.spor2;
    case 2:
      return row.spor3;
    default:
      return row.spor4;
  }
}

double& BonusField(PersRow& row, int i) {
  switch (i) {
    case 0:
      return row.vals1;
    case 1:
      return row.vals2;
    case 2:
      return row.vals3;
    default:
      return row.vals4;
  }
}

// The month count of LuniCO as a number of months to step back, held to a
// sane range.
int MonthsBack(double luni) {
  return static_cast<int>(std::clamp<Ld>(RoundEven(luni), -12000, 12000));
}

}  // namespace

PayrollEngine::PayrollEngine(MonthParameters parameters, TaxTable monthly_brackets,
                             const PastRowsSource* past)
    : parameters_(std::move(parameters)),
      monthly_brackets_(std::move(monthly_brackets)),
      past_(past),
      holiday_formula_(parameters_.company.CO_Form) {
  for (int i = 0; i < 4; ++i) bonus_formulas_[i] = CompiledFormula(parameters_.company.spor[i].Form);
}

CalculationDetails PayrollEngine::CalculSalariu(PersRow& row) const {
  CalculationDetails details;
  GrossHalf(row, details);
  NetHalf(row, details);
  return details;
}

BonusValues PayrollEngine::CalculSporuri(const PersRow& row) const {
  const CompanyParameters& c = parameters_.company;
  BonusValues values;
  // Employees paid by the hour take their rate from the average hours.
  const Ld t = row.PlatitOra == 1 ? c.MedieOre : c.TimpLuna;
  const bool piece_work = row.ACORD == "D";

  FormulaVariables month_variables;
  FormulaVariables full_variables;
  if (t != 0) {
    month_variables.tarifar = static_cast<Ld>(row.TIMP) * row.SALINC / t;
    full_variables.tarifar = row.SALINC;
    if (piece_work) {
      month_variables.realizat = row.REALIZAT;
      full_variables.realizat = 0;
    } else {
      month_variables.realizat = static_cast<Ld>(row.TIMP) * row.SALINC / t;
      full_variables.realizat = row.SALINC;
    }
  }

  for (int i = 0; i < 4; ++i) {
    const Ld figure = BonusFigure(row, i);
    const Ld base_share = static_cast<Ld>(row.SALINC) * figure / 100;
    const Ld time_share = t != 0 ? static_cast<Ld>(row.TIMP) * (row.SALINC / t) * figure / 100 : 0;
    Ld month = 0;
    Ld full = 0;
    switch (static_cast<long long>(RoundEven(c.spor[i].Apl))) {
      case static_cast<int>(BonusMode::kFixed):
        month = full = figure;
        break;
      case static_cast<int>(BonusMode::kPercentOfBase):
        month = full = base_share;
        break;
      case static_cast<int>(BonusMode::kPercentOfTime):
        month = time_share;
        full = base_share;
        break;
      case static_cast<int>(BonusMode::kPercentOfResult):
        if (piece_work) {
          month = full = static_cast<Ld>(row.REALIZAT) * figure / 100;
        } else {
          month = time_share;
          full = base_share;
        }
        break;
      case static_cast<int>(BonusMode::kFormula): {
        // The bonuses computed so far in this call, not yet rounded; the
        // bonus itself and the later ones are still 0.
        std::copy(values.month.begin(), values.month.end(), month_variables.vals);
        std::copy(values.full.begin(), values.full.end(), full_variables.vals);
        month = bonus_formulas_[i].Evaluate(row, month_variables);
        full = bonus_formulas_[i].Evaluate(row, full_variables);
        if (c.spor[i].ProcF == 1) {
          month = month * figure / 100;
          full = full * figure / 100;
        }
        break;
      }
      default:  // unused, or a mode the program does not know
        break;
    }
    values.month[i] = month;
    values.full[i] = full;
  }
  for (int i = 0; i < 4; ++i) {
    values.month[i] = RoundEven(values.month[i]);
    values.full[i] = RoundEven(values.full[i]);
  }
  return values;
}

std::optional<long double> PayrollEngine::MedieCO(const PersRow& row,
                                                  const BonusValues& bonuses) const {
  const CompanyParameters& c = parameters_.company;
  if (holiday_formula_.empty() || past_ == nullptr) return std::nullopt;
  const Date luna = FirstOfMonth(parameters_.luna);
  Date from = luna;
  Date to = luna;
  if (c.LuniCO != 0) {
    to = AddMonths(luna, -1);
    from = AddMonths(luna, -MonthsBack(c.LuniCO));
  }
  const std::vector<PersRow> rows = past_->RowsOf(row.IID, from, to);
  if (rows.empty()) return std::nullopt;

  FormulaVariables variables;
  if (c.LuniCO != 0) {
    variables.vals_from_row = true;
  } else {
    std::copy(bonuses.month.begin(), bonuses.month.end(), variables.vals);
  }
  Ld sum = 0;
  for (const PersRow& past_row : rows) {
    const char* divisor_name = past_row.PlatitOra == 1 ? "MedieOre" : "TimpLuna";
    const Ld t = past_->CompanyValueOf(FirstOfMonth(past_row.LUNA), divisor_name).value_or(0);
    // Without working time for that month the previous row's figures stay.
    if (t != 0) {
      variables.tarifar = static_cast<Ld>(past_row.TIMP) * past_row.SALINC / t;
      variables.realizat = past_row.ACORD == "D" ? static_cast<Ld>(past_row.REALIZAT)
                                                 : variables.tarifar;
    }
    sum += holiday_formula_.Evaluate(past_row, variables);
  }
  const Ld count = static_cast<Ld>(rows.size());
  Ld divisor = c.LuniCO > count ? count : (c.LuniCO == 0 ? 1 : RoundEven(c.LuniCO));
  if (divisor == 0) return std::nullopt;
  return RoundEven(sum / divisor);
}

void PayrollEngine::GrossHalf(PersRow& row, CalculationDetails& details) const {
  const CompanyParameters& c = parameters_.company;
  // A working time kept in days has 8 hours a day.
  const double hours_a_day = c.TimpZile == 1 ? 8 : 1;
  const double hours_of_month = c.TimpLuna * hours_a_day;
  const bool permanent = row.TIP == "1";
  const bool by_the_hour = permanent && row.PlatitOra != 0;

  // Time value and overtime.
  details.NormaLuna = 0;
  Ld v = 0;
  if (by_the_hour) {
    if (c.MedieOre != 0) {
      v = RoundEven(row.TIMP * (static_cast<Ld>(row.SALINC) / c.MedieOre));
      row.VAL_TIMP_S = static_cast<double>(RoundEven(
          row.TIMP_SPL * (static_cast<Ld>(row.SALINC) / c.MedieOre / 100) * c.ProcOreSupli));
    } else {
      row.VAL_TIMP_S = 0;
    }
  } else if (permanent) {
    if (c.TimpLuna != 0) v = RoundEven(row.TIMP * (static_cast<Ld>(row.SALINC) / c.TimpLuna));
    row.VAL_TIMP_S =
        hours_of_month != 0
            ? static_cast<double>(
                  RoundEven(row.SALINC / hours_of_month / 100 * row.TIMP_SPL * c.ProcOreSupli))
            : 0;
  } else {
    const double norma = c.TimpZile == 1 ? c.TimpLuna : c.TimpLuna / 8 * row.Ore_Zi;
    details.NormaLuna = norma;
    if (norma != 0) {
      v = RoundEven(row.TIMP * (static_cast<Ld>(row.SALINC) / details.NormaLuna));
      row.VAL_TIMP_S = static_cast<double>(RoundEven(
          row.TIMP_SPL * (static_cast<Ld>(row.SALINC) / details.NormaLuna / 100) *
          c.ProcOreSupli));
    } else {
      row.VAL_TIMP_S = 0;
    }
  }

  // Bonuses.
  details.bonuses = CalculSporuri(row);
  for (int i = 0; i < 4; ++i) BonusField(row, i) = static_cast<double>(details.bonuses.month[i]);

  // Piece-work pays what was achieved.
  if (UpperTrim(row.ACORD) == "D") v = row.REALIZAT;
  details.time_value = v;

  // Night work.
  if (by_the_hour) {
    row.SUMA_T_NOAPTE =
        c.MedieOre != 0
            ? static_cast<double>(RoundEven(row.TIMP_NOAPTE *
                                            (static_cast<Ld>(row.SALINC) / c.MedieOre / 100) *
                                            c.SporNoapte))
            : 0;
  } else {
    row.SUMA_T_NOAPTE =
        hours_of_month != 0
            ? static_cast<double>(RoundEven(row.SALINC / hours_of_month / 100 * row.TIMP_NOAPTE *
                                            c.SporNoapte))
            : 0;
  }

  // Holiday pay: the better of the average-based and the salary-based pay.
  const double days_divisor = c.CoefCO == 0 ? 1 : c.CoefCO;
  double by_average = 0;
  double by_salary = 0;
  details.medie_co.reset();
  if (row.ZILE_CO != 0) {
    details.medie_co = MedieCO(row, details.bonuses);
    if (details.medie_co) {
      by_average = static_cast<double>(
          RoundEven(static_cast<double>(*details.medie_co) / days_divisor * row.ZILE_CO));
    }
    double base = row.SALINC;
    for (int i = 0; i < 4; ++i) {
      if (c.spor[i].CO == 1) base += static_cast<double>(details.bonuses.full[i]);
    }
    by_salary = static_cast<double>(RoundEven(base / days_divisor * row.ZILE_CO));
  }
  row.SUMA_ZILE_CO = std::max(by_average, by_salary);

  // Gross.
  const auto& b = details.bonuses;
  row.BRUT = static_cast<double>(RoundEven(
      v + row.PRIME + row.pr_va + row.CIC + row.VAL_TIMP_S + b.month[0] + b.month[1] +
      b.month[2] + b.month[3] + row.CM1L + row.CM2L + row.SUMA_T_NOAPTE + row.SUMA_ZILE_CO +
      row.ALTE_SUME + row.SPORURI + row.Dif_Brut));

  // The second gross: full-month values of the bonuses on which
  // unemployment is withheld.
  double bonus_sum[4];
  for (int i = 0; i < 4; ++i) {
    bonus_sum[i] = static_cast<double>(c.spor[i].Perm == 1 ? b.full[i] : b.month[i]);
  }
  const double brut1 = static_cast<double>(v) + row.PRIME + row.pr_va + row.CIC + row.VAL_TIMP_S +
                       bonus_sum[0] + bonus_sum[1] + bonus_sum[2] + bonus_sum[3] + row.CM1L +
                       row.CM2L + row.SUMA_T_NOAPTE + row.SUMA_ZILE_CO + row.ALTE_SUME +
                       row.SPORURI + row.Dif_Brut;
  row.Brut1 = static_cast<double>(RoundEven(brut1));
}

}  // namespace traveno::engine
