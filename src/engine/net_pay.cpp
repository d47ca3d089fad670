// The net half of the calculation: the employee's contributions, the
// personal deductions, the income tax and the net still to be paid.
#include <cmath>

#include "core/numbers.h"
#include "core/text.h"
#include "engine/payroll_engine.h"
#include "engine/working_days.h"

namespace traveno::engine {
namespace {

using Ld = long double;

// Pension contributions round an exact half up: the small addend pushes it
// over to the next whole leu.
constexpr Ld kPensionAddend = 0.0000001L;

// Cuts an income down to whole thousands of lei before the table applies.
Ld WholeThousands(Ld amount) { return std::trunc(amount / 1000) * 1000; }

}  // namespace

void PayrollEngine::NetHalf(PersRow& row, CalculationDetails& details) const {
  const GeneralParameters& g = parameters_.general;
  const CompanyParameters& c = parameters_.company;
  const int year = parameters_.luna.year();
  const bool permanent = row.TIP == "1";
  const auto& full = details.bonuses.full;

  // A sum that rounds to zero is ignored everywhere.
  const Ld s = RoundEven(row.SumeExcept) != 0 ? static_cast<Ld>(row.SumeExcept) : 0;

  // Pension base.
  Ld p = 0;
  if (g.SalMedEc != 0 || year > 2001) {
    p = static_cast<Ld>(row.BRUT) - row.CIC - row.CM1L - row.CM2L + s * c.Ex_Pensie.Val / 100;
    if (p > 5 * static_cast<Ld>(g.SalMedEc)) p = 5 * static_cast<Ld>(g.SalMedEc);
  } else {
    // Before 2002, without an average wage, the base is the time value plus
    // the amounts the company parameters switch in.
    p = details.time_value;
    if (c.OreSupl == 1) p += row.VAL_TIMP_S;
    if (c.SporProc == 1) p += row.VAL_SPORP;
    if (c.OreNoapte == 1) p += row.SUMA_T_NOAPTE;
    if (c.CO == 1) p += row.SUMA_ZILE_CO;
    if (c.AlteSume == 1) p += row.ALTE_SUME;
    if (c.Sporuri == 1) p += row.SPORURI;
    if (c.Prime == 1) p += row.PRIME;
    if (c.CMFirm == 1) p += row.CM1L;
    if (c.CIC == 1) p += row.CIC;
    if (c.CMStat == 1) p += row.CM2L;
    if (c.Regularizare == 1) p += row.Dif_Brut;
    p += s * c.Ex_Pensie.Val / 100;
  }
  p = RoundEven(p);
  details.pension_base = p;

  // Health.
  row.SANATATE = static_cast<double>(RoundEven(
      (static_cast<Ld>(row.BRUT) - row.CM1L - row.CM2L + s * c.Ex_Sanatate.Val / 100) / 100 *
      g.SanatateAng));

  // Pension and unemployment.
  const bool active = AreActivitate(row);
  auto unemployment = [&](double salary_rate) {
    double sum = static_cast<double>(FractieZileLucratoare(row, parameters_)) *
                 (row.SALINC * salary_rate / 100);
    // The bonuses' part uses the permanent staff's rate for both kinds.
    for (int i = 0; i < 4; ++i) {
      if (c.spor[i].Perm == 1) sum += static_cast<double>(full[i]) * g.SomajAng / 100;
    }
    return static_cast<double>(RoundEven(sum));
  };
  if (permanent) {
    row.PENSIE = static_cast<double>(RoundEven(p * g.Pensie / 100 + kPensionAddend));
    row.SOMAJ = row.BifaSom == 0 && active && row.Pensionar == 0 ? unemployment(g.SomajAng) : 0;
  } else {
    row.PENSIE = g.SalMedEc != 0 && row.ALT_VENIT == 1
                     ? static_cast<double>(RoundEven(p * g.Pensie / 100 + kPensionAddend))
                     : 0;
    row.SOMAJ = Trim(row.Domiciliu_ext) == "1" && active && row.Pensionar == 0
                    ? unemployment(g.SomajCol)
                    : 0;
  }

  // Personal deductions: permanent staff, and partial-contract staff in
  // their main job.
  const bool has_deductions = UpperTrim(row.TIP) == "1" || (row.TIP == "2" && row.PlatitOra == 1);
  const double k = row.CoefInd1;
  const double k_min = k > g.CoefMax ? g.CoefMax : k;
  if (has_deductions) {
    if (k >= 1) {
      row.DED_PERS = g.DedBaza;
      row.DED_PERS_SUPLI = (k_min - 1) * g.DedBaza;
      row.Ch_Prof = g.CheltProf;
    } else {
      row.DED_PERS = static_cast<double>(RoundEven(static_cast<Ld>(k) * g.DedBaza));
      row.DED_PERS_SUPLI = 0;
      row.Ch_Prof = static_cast<double>(RoundEven(static_cast<Ld>(k) * g.CheltProf));
    }
    row.VENIT_NET = static_cast<double>(static_cast<Ld>(row.BRUT) + s - row.PENSIE - row.SOMAJ -
                                        row.SANATATE - row.Ch_Prof);
  } else {
    row.DED_PERS = 0;
    row.DED_PERS_SUPLI = 0;
    row.Ch_Prof = 0;
    row.VENIT_NET =
        static_cast<double>(static_cast<Ld>(row.BRUT) + s - row.SANATATE - row.PENSIE - row.SOMAJ);
  }

  // Taxable income. The holiday premium is taxed on its own: its pension
  // and health contributions go back into the monthly base, and the premium
  // net of health is taxed apart.
  Ld b1 = 0;
  if (has_deductions) {
    const double premium_health = row.pr_va * g.SanatateAng / 100;
    const double deduction = k_min * g.DedBaza;
    Ld sum = static_cast<Ld>(row.BRUT) + s * c.Ex_Impozit.Val / 100 - row.Ch_Prof - row.PENSIE +
             RoundEven(static_cast<Ld>(row.pr_va) * g.Pensie / 100 + kPensionAddend) - row.SOMAJ -
             row.SANATATE - row.pr_va;
    sum = sum + premium_health - deduction;
    b1 = RoundEven(static_cast<double>(sum));
  } else {
    b1 = RoundEven(static_cast<Ld>(row.BRUT) + s * c.Ex_Impozit.Val / 100 - row.SANATATE -
                   row.PENSIE) -
         row.SOMAJ;
  }
  if (b1 < 0) b1 = 0;
  const Ld b2 = static_cast<Ld>(row.pr_va) - static_cast<Ld>(row.pr_va) / 100 * g.SanatateAng;
  details.B1 = b1;
  details.B2 = b2;
  row.TOTDREPT = static_cast<double>(b1 + b2);

  // Income tax.
  if (year >= 2002) {
    const Ld premium_tax = b2 > 0 ? ImpozitLunar(monthly_brackets_, WholeThousands(b2)) : 0;
    const double tax = static_cast<double>(ImpozitLunar(monthly_brackets_, WholeThousands(b1)) +
                                           premium_tax) *
                       row.ProcImpo / 100;
    row.IMPOZIT = static_cast<double>(RoundEven(tax));
  } else {
    row.IMPOZIT =
        static_cast<double>(RoundEven(ImpozitLunar(monthly_brackets_, b1) * row.ProcImpo / 100));
  }

  // Net still to be paid.
  row.RESTPL = static_cast<double>(
      RoundEven(static_cast<Ld>(row.BRUT) + s - row.IMPOZIT - row.AVANS - row.PRIME_INCASATE -
                row.AVANS_CO - row.PENSIE - row.SOMAJ - row.SANATATE - row.RETINERI -
                row.GARANTII - row.ALTE_RET - row.POPRIRI));
}

}  // namespace traveno::engine
