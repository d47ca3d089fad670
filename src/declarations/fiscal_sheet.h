// The yearly figures of one person's fiscal sheet: FF1 for a permanent
// employee, FF2 for a partial-contract person, in the layout of the years
// before 2002 or of 2002 and later. Everything the printed sheet shows is
// prepared here from a YearSource, so the sheet, its text form and the tests
// read the same values.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "declarations/year_source.h"
#include "declarations/yearly_persons.h"

namespace traveno::declarations {

// One month of the sheet; a month without a Pers row keeps zeros.
struct SheetMonth {
  Date LUNA;
  double CoefInd = 0;
  double VENIT_NET = 0;  // the net income without the net holiday bonus
  double DED_PERS = 0;
  double DED_PERS_SUPLI = 0;
  double VENITBC = 0;  // the income the tax is computed on
  double IMPOZIT = 0;  // without the holiday bonus's tax
  double BazaPR_VA = 0;
  double ImpoPR_VA = 0;
  double CH_PROF = 0;
};

// A dependant of a permanent employee with its coefficient of each month
// (0 for a month without a row or in which the employee has no Pers row).
struct SheetDependant {
  Date LUNA;  // the month of its first row
  std::string Nume, Prenume, CODNUMPERS;
  double Coef = 0;
  std::string Ynvaliditate, Kalitate;
  std::array<double, 12> monthly_coef{};
};

struct SheetEmployer {
  std::string CodFiscal, Denumire, Localitate, Judet, Strada, Numar, CodPostal, Bloc, Scara, Etaj,
      Ap, Sector, Nume, Prenume, Telefon, EMail;
  int TipAngaj = 0;  // 1 for a legal person
};

struct SheetEmployee {
  std::string CodNumPers, Nume, Prenume, Localitate, Judet, Strada, Numar, CodPostal, Bloc, Scara,
      Etaj, Ap, Sector, Email, Telefon;
  std::string alt_venit_mark;    // "X" or empty
  std::string rectificare_mark;  // "X" or empty
  std::string regularizare;      // FF1: "X" or empty; FF2: the situation code 0..7
  std::string domiciliu_ext_mark;
  Date hire_date;         // the latest hire date; empty when none
  Date leave_date;        // the latest leaving date; empty when none
  std::string data_ang;   // the hire date as dd.mm.yyyy, or " -  -  -   " when none
  std::string data_lich;  // likewise
};

struct SheetTotals {
  long double net_income = 0;  // sum of max(0, VENIT_NET + BazaPR_VA)
  long double ded_pers = 0;
  long double ded_pers_supli = 0;
  long double taxable = 0;  // sum of max(0, VENITBC)
  long double tax = 0;      // sum of max(0, IMPOZIT + ImpoPR_VA)
  long double ch_prof = 0;
  int ch_prof_months = 0;
  long double shortfall = 0;    // the carried negative differences
  long double annual_base = 0;  // taxable + shortfall, before rounding
  long double bonus_base = 0;   // sum of BazaPR_VA
  long double bonus_tax = 0;    // sum of ImpoPR_VA
};

// Section VI of the 2002 FF1 sheet, filled when the regularisation flag is set.
struct RegularisationLines {
  long double venit_net = 0;                // 1
  long double ch_prof_acordate = 0;         // 2
  long double ch_prof_cuvenite = 0;         // 3
  long double venit_recalculat = 0;         // 4
  long double deduceri_cuvenite = 0;        // 5
  long double venit_baza = 0;               // 6
  long double impozit_anual = 0;            // 7
  long double impozit_retinut = 0;          // 8
  std::optional<long double> de_achitat;    // 9: when 8 < 7, or 0 when equal
  std::optional<long double> de_restituit;  // 10: when 8 >= 7 (0 when equal)
};

struct FiscalSheet {
  int year = 0;
  std::string kind;  // "1" (FF1) or "2" (FF2)
  Generation layout = Generation::k2002;
  SheetEmployer employer;
  SheetEmployee employee;
  std::array<SheetMonth, 12> months;
  std::vector<SheetDependant> dependants;  // by personal code; permanent employees only
  std::array<double, 12> coef_ind{};       // CoefInd when above 0
  std::array<double, 12> dependants_coef{};
  std::array<std::string, 12> invalidity_text;  // "#,##0.00" of InvalidI / InvalidII
  std::string invalidity_caption;               // "Inv. grad I [X]", "Inv. grad II [X]"
  SheetTotals totals;
  bool regularisation = false;
  std::optional<RegularisationLines> section_vi;          // 2002 FF1 with the flag
  std::optional<RegularisationBefore2002> old_section_v;  // older FF1 with the flag
};

// Prepares the sheet of person `iid` of `kind` over the source's year; the
// layout follows the year. A person without rows in the year gets a sheet
// of zeros.
FiscalSheet PrepareFiscalSheet(const YearSource& source, int iid, std::string_view kind);

}  // namespace traveno::declarations
