#include "engine/calculated_fields.h"

#include "core/numbers.h"
#include "core/text.h"

namespace traveno::engine {
namespace {

using Ld = long double;

bool IsDa(std::string_view grupa) { return UpperTrim(grupa) == "DA"; }

}  // namespace

ReportFigures ComputeReportFigures(const PersRow& row, const MonthParameters& parameters) {
  const CompanyParameters& c = parameters.company;
  ReportFigures f;
  const bool permanent = row.TIP == "1";
  if (permanent) {
    if (!EqualsIgnoreCase(row.ACORD, "D")) {
      const double divisor = row.PlatitOra != 0 ? c.MedieOre : c.TimpLuna;
      f.Tarifar = divisor != 0 ? RoundEven(static_cast<Ld>(row.TIMP) * row.SALINC / divisor) : 0;
    }
  } else {
    const double norm = c.TimpZile == 1 ? c.TimpLuna : c.TimpLuna / 8 * row.Ore_Zi;
    f.Tarifar = norm != 0 ? RoundEven(row.TIMP * (static_cast<Ld>(row.SALINC) / norm)) : 0;
  }
  f.FondSalariu = permanent ? static_cast<Ld>(row.BRUT) - row.CIC - row.CM2L + row.SumeExcept
                            : static_cast<Ld>(row.BRUT);
  const bool owes_unemployment =
      (permanent && row.Pensionar == 0) || (!permanent && row.BifaSom == 1 && row.Pensionar == 0);
  if (owes_unemployment) {
    double base = row.BRUT - row.CIC - row.CM2L;
    if (IsDa(c.Ex_Firma.Grupa)) base += row.SumeExcept;
    f.FondSomajFirma = base;
  } else if (!permanent) {
    f.FondSomajFirma = 0;
  }
  f.AlteSumeSiAlteSporuri = static_cast<Ld>(row.ALTE_SUME) + row.SPORURI;
  return f;
}

NominalFigures ComputeNominalFigures(const PersRow& row, const MonthParameters& parameters) {
  const GeneralParameters& g = parameters.general;
  const CompanyParameters& c = parameters.company;
  NominalFigures f;
  const bool permanent = row.TIP == "1";
  const double t = static_cast<double>(RoundEven(row.TIMP));
  if (permanent) {
    const double per_day = row.PlatitOra == 0 ? (c.TimpZile == 1 ? 1 : 8) : 8;
    f.ZileNorm = row.ZILE_CO + RoundEven(t / per_day);
  } else {
    const double o = static_cast<double>(RoundEven(row.Ore_Zi));
    const double per_day = c.TimpZile == 1 ? 1 : o;
    f.ZileNorm = row.ZILE_CO + (per_day != 0 ? RoundEven(t / per_day) : 0);
  }
  f.ZilePrest = static_cast<Ld>(row.ZILE_CM) + row.ZILE_CIC;
  f.TotalZile = f.ZileNorm + f.ZilePrest;

  const Ld pension_exempt = IsDa(c.Ex_Pensie.Grupa) ? row.SumeExcept : 0;
  const Ld employer_exempt = IsDa(c.Ex_Firma.Grupa) ? row.SumeExcept : 0;
  if (permanent || (row.TIP == "2" && row.ALT_VENIT == 1)) {
    f.Baza2 = row.BRUT + pension_exempt;
    f.BazaCAS = static_cast<Ld>(row.BRUT) - row.CM1L + employer_exempt - row.CM2L - row.CIC;
    f.BazaSomaj = g.SomajAng != 0 ? static_cast<Ld>(row.SOMAJ) * 100 / g.SomajAng : 0;
  }
  if (row.TIP == "2" && row.Domiciliu_ext == "1") {
    f.Baza2 = row.BRUT + pension_exempt;
    f.BazaSomaj = g.SomajCol != 0 ? static_cast<Ld>(row.SOMAJ) * 100 / g.SomajCol : 0;
  }
  f.TotalPrest = static_cast<Ld>(row.CIC) + row.CM2L + row.CM1L;
  f.BASS = static_cast<Ld>(row.CIC) + row.CM2L;
  return f;
}

std::string Categoria(std::string_view tip, double timp, int zile_cic) {
  if (timp == 0 && zile_cic != 0) return " CIC ";
  return UpperTrim(tip) == "1" ? " S - Salariat " : " CP contract partial ";
}

long double BrutCalc(long double brut, long double cm2l, long double cic) {
  return brut - cm2l - cic;
}

long double RestPLCentralizator(long double total_pl, long double cm2l, long double cic) {
  return total_pl - cm2l - cic;
}

std::string Kalitate(int calitate, DependantView view) {
  switch (calitate) {
    case 0:
      return "Sot / Sotie";
    case 1:
      return view == DependantView::kPayGrid ? "Copii <= 2" : "Copil";
    case 2:
      return view == DependantView::kPayGrid ? "Copii > 2" : "Copil";
    case 3:
      return "Alte persoane";
    default:
      return "";
  }
}

std::string Ynvaliditate(int invaliditate, DependantView view) {
  switch (invaliditate) {
    case 0:
      return view == DependantView::kPayGrid ? "Fara handicap" : "";
    case 1:
      return "Inv. grad I";
    case 2:
      return "Inv. grad II";
    default:
      return "";
  }
}

std::string DepartmentName(std::string_view parameter_name) {
  const std::string upper = UpperTrim(parameter_name);
  return upper.size() > 4 ? upper.substr(4) : "";
}

}  // namespace traveno::engine
