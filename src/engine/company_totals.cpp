#include "engine/company_totals.h"

#include <cmath>

#include "core/numbers.h"
#include "core/text.h"

namespace traveno::engine {
namespace {

using Ld = long double;

// The row's time value as the totals count it.
Ld TimeValueForTotals(const PersRow& row, const MonthParameters& parameters, bool permanent) {
  const CompanyParameters& c = parameters.company;
  if (UpperTrim(row.ACORD) == "D") return row.REALIZAT;
  double divisor = 0;
  if (permanent) {
    divisor = row.PlatitOra != 0 ? c.MedieOre : c.TimpLuna;
  } else {
    divisor = c.TimpZile == 1 ? c.TimpLuna : c.TimpLuna / 8 * row.Ore_Zi;
  }
  if (divisor == 0) return 0;
  return RoundEven(row.TIMP * (static_cast<Ld>(row.SALINC) / divisor));
}

void ApplyRow(CompanyTotals& t, const PersRow& row, const MonthParameters& parameters, int sign) {
  const Ld k = sign;
  const bool permanent = row.TIP == "1";
  const Ld unemployment_base = static_cast<Ld>(row.BRUT) - row.CM2L - row.CIC;
  const Ld advances = static_cast<Ld>(row.AVANS) + row.PRIME_INCASATE + row.AVANS_CO;
  if (permanent) {
    t.BrutP += k * row.BRUT;
    t.Brut1P += k * row.Brut1;
    if (row.Pensionar == 0) t.BazaSomajP += k * unemployment_base;
    t.SumeExceptP += k * row.SumeExcept;
    t.RestPlP += k * row.RESTPL;
    t.AvansuriP += k * advances;
    t.CM1LP += k * row.CM1L;
    t.CM2LP += k * row.CM2L;
    t.CICP += k * row.CIC;
    t.TarifarP += k * TimeValueForTotals(row, parameters, true);
    t.NrAngajati += sign;
    if (row.INVALIDITATE != 0) t.NrHandicap += sign;
  } else {
    const bool with_cias = parameters.general.SalMedEc != 0 && row.ALT_VENIT == 1;
    t.BrutC += k * row.BRUT;
    t.SumeExceptC += k * row.SumeExcept;
    if (with_cias) {
      t.BrutCAS_C += k * row.BRUT;
      t.SumeExceptCAS_C += k * row.SumeExcept;
      t.CM1LCAS_C += k * row.CM1L;
      t.CM2LCAS_C += k * row.CM2L;
      t.CICCAS_C += k * row.CIC;
    }
    if (row.BifaSom == 1 && row.Pensionar == 0) t.BazaSomajC += k * unemployment_base;
    t.RestPlC += k * row.RESTPL;
    t.AvansuriC += k * advances;
    t.CM1LC += k * row.CM1L;
    t.CM2LC += k * row.CM2L;
    t.CICC += k * row.CIC;
    t.TarifarC += k * TimeValueForTotals(row, parameters, false);
    if (with_cias) t.ZileCMCAS += sign * row.ZILE_CM;
  }
  if (permanent) t.ZileCMCAS += sign * row.ZILE_CM;
  t.ZileCM += sign * row.ZILE_CM;
  if (auto hours = HoursForAverage(row, parameters)) {
    t.hours_by_norm[row.NORMA - 6] += k * *hours;
    t.rows_by_norm[row.NORMA - 6] += sign;
  }
}

// The month's working days as the average number of employees counts them.
Ld MonthDays(const MonthParameters& parameters) {
  const CompanyParameters& c = parameters.company;
  return static_cast<Ld>(c.TimpLuna) / (c.TimpZile == 1 ? 1 : 8);
}

Ld ShareOfNorm(Ld hours, Ld days, int norm) {
  const Ld norm_hours = RoundEven(days * norm);
  if (norm_hours == 0) return 0;
  return RoundEven(RoundEven(hours) / norm_hours * 100) / 100;
}

}  // namespace

std::vector<std::pair<std::string, long double>> NamedTotals(const CompanyTotals& t) {
  return {{"BrutP", t.BrutP},
          {"Brut1P", t.Brut1P},
          {"BazaSomajP", t.BazaSomajP},
          {"SumeExceptP", t.SumeExceptP},
          {"RestPlP", t.RestPlP},
          {"AvansuriP", t.AvansuriP},
          {"CM1LP", t.CM1LP},
          {"CM2LP", t.CM2LP},
          {"CICP", t.CICP},
          {"TarifarP", t.TarifarP},
          {"NrAngajati", t.NrAngajati},
          {"NrHandicap", t.NrHandicap},
          {"BrutC", t.BrutC},
          {"SumeExceptC", t.SumeExceptC},
          {"BrutCAS_C", t.BrutCAS_C},
          {"SumeExceptCAS_C", t.SumeExceptCAS_C},
          {"CM1LCAS_C", t.CM1LCAS_C},
          {"CM2LCAS_C", t.CM2LCAS_C},
          {"CICCAS_C", t.CICCAS_C},
          {"BazaSomajC", t.BazaSomajC},
          {"RestPlC", t.RestPlC},
          {"AvansuriC", t.AvansuriC},
          {"CM1LC", t.CM1LC},
          {"CM2LC", t.CM2LC},
          {"CICC", t.CICC},
          {"TarifarC", t.TarifarC},
          {"ZileCM", t.ZileCM},
          {"ZileCMCAS", t.ZileCMCAS}};
}

std::vector<std::pair<std::string, long double>> NamedFunds(const CompanyFunds& f) {
  return {{"BazaSomajFirma", f.BazaSomajFirma},
          {"BazaCASInitiala", f.BazaCASInitiala},
          {"BazaCASFirma", f.BazaCASFirma},
          {"BazaSanatateFirma", f.BazaSanatateFirma},
          {"BazaCMFirma", f.BazaCMFirma},
          {"FondSomaj", f.FondSomaj},
          {"FondSanatate", f.FondSanatate},
          {"FondSanatateCM", f.FondSanatateCM},
          {"FondCAS", f.FondCAS},
          {"FondHandicap", f.FondHandicap},
          {"FondHandicapSuplimentar", f.FondHandicapSuplimentar},
          {"FondCM", f.FondCM},
          {"FondInvat", f.FondInvat},
          {"FondAccident", f.FondAccident}};
}

void ResetCompanyTotals(CompanyTotals& totals) { totals = CompanyTotals{}; }

void AddRowToTotals(CompanyTotals& totals, const PersRow& row, const MonthParameters& parameters) {
  ApplyRow(totals, row, parameters, 1);
}

void RemoveRowFromTotals(CompanyTotals& totals, const PersRow& row,
                         const MonthParameters& parameters) {
  ApplyRow(totals, row, parameters, -1);
}

std::optional<double> HoursForAverage(const PersRow& row, const MonthParameters& parameters) {
  const CompanyParameters& c = parameters.company;
  const bool permanent = row.TIP == "1";
  if (!permanent && row.ALT_VENIT == 0) return std::nullopt;
  if (row.NORMA < 6 || row.NORMA > 8) return std::nullopt;
  if (permanent) {
    const double h = c.TimpZile == 1 ? 1 : 8;
    return (row.TIMP / h + row.ZILE_CO) * row.NORMA;
  }
  if (c.TimpZile == 1) return row.Ore_Zi * (row.TIMP + row.ZILE_CO);
  const double days = row.Ore_Zi != 0 ? row.TIMP / row.Ore_Zi : 0;
  return row.Ore_Zi * (days + row.ZILE_CO);
}

long double NumarMediuSalariati(std::span<const PersRow> rows, const MonthParameters& parameters) {
  Ld hours[3] = {0, 0, 0};
  for (const PersRow& row : rows) {
    if (auto h = HoursForAverage(row, parameters)) hours[row.NORMA - 6] += *h;
  }
  const Ld days = MonthDays(parameters);
  return ShareOfNorm(hours[0], days, 6) + ShareOfNorm(hours[1], days, 7) +
         ShareOfNorm(hours[2], days, 8);
}

long double NumarMediuSalariati(const CompanyTotals& totals, const MonthParameters& parameters) {
  const Ld days = MonthDays(parameters);
  Ld sum = 0;
  for (int i = 0; i < 3; ++i) {
    // Rows removed down to none leave no residue of the sums behind.
    const Ld hours = totals.rows_by_norm[i] == 0 ? 0 : totals.hours_by_norm[i];
    sum += ShareOfNorm(hours, days, 6 + i);
  }
  return sum;
}

CompanyFunds ComputeCompanyFunds(const CompanyTotals& t, const MonthParameters& parameters) {
  const GeneralParameters& g = parameters.general;
  const CompanyParameters& c = parameters.company;
  CompanyFunds f;
  // The exempt sums enter the employer's bases unless the company says "NU".
  const Ld x = IsFlagChecked(c.Ex_Firma.Grupa) ? 1 : 0;

  f.BazaSomajFirma = t.BazaSomajP + t.BazaSomajC + x * (t.SumeExceptP + t.SumeExceptC);
  f.BazaCASFirma = t.BrutP + t.BrutCAS_C + x * (t.SumeExceptP + t.SumeExceptCAS_C) - t.CM2LP -
                   t.CICP - t.CM1LP - t.CM2LCAS_C - t.CICCAS_C - t.CM1LCAS_C;
  f.BazaCASInitiala = f.BazaCASFirma;
  if (g.SalMedEc != 0) {
    const Ld ceiling = NumarMediuSalariati(t, parameters) * 5 * g.SalMedEc;
    if (RoundEven(f.BazaCASFirma) >= RoundEven(ceiling)) f.BazaCASFirma = ceiling;
  }
  f.BazaSanatateFirma = t.BrutP + t.BrutC + x * (t.SumeExceptP + t.SumeExceptC) - t.CM2LP -
                        t.CICP - t.CM2LC - t.CICC;
  f.BazaCMFirma = f.BazaSanatateFirma;

  f.FondSomaj = RoundEven(f.BazaSomajFirma * g.SomajFirm / 100);
  // Health is due on the medical-leave days too, on twice the minimum wage.
  const Ld days = RoundEven(MonthDays(parameters));
  f.FondSanatateCM =
      days != 0 ? RoundEven(g.SalMinEc * 2 / days * t.ZileCM * g.SanatateAng / 100) : 0;
  f.FondSanatate = RoundEven(f.BazaSanatateFirma * g.SanatateFirm / 100) + f.FondSanatateCM;
  // The state-paid leave and the health contribution on leave are paid out
  // of the social-insurance contribution.
  f.FondCAS = RoundEven(f.BazaCASFirma * g.CAS / 100) - t.CM2LP - t.CICP - t.CM2LCAS_C -
              t.CICCAS_C - f.FondSanatateCM;
  f.FondHandicap = RoundEven(f.BazaSanatateFirma * g.Handicap / 100);
  if (t.NrAngajati > 101) {
    const Ld required = RoundEven(static_cast<Ld>(t.NrAngajati) * g.PersHandi / 100);
    if (t.NrHandicap < required) {
      f.FondHandicapSuplimentar = (required - t.NrHandicap) * g.SalMinEc;
    }
  }
  f.FondHandicap += f.FondHandicapSuplimentar;
  f.FondCM = RoundEven(f.BazaCMFirma * c.ComisionCM / 100);
  const Ld education_base = RoundEven(g.BazaInvat);
  if (education_base == 0) {
    f.FondInvat = RoundEven(f.BazaSomajFirma * g.Invat / 100);
  } else if (education_base == 1) {
    f.FondInvat = RoundEven(f.BazaSanatateFirma * g.Invat / 100);
  }
  f.FondAccident = RoundEven(f.BazaCASInitiala * g.Accident / 100);
  return f;
}

}  // namespace traveno::engine
