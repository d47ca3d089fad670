// The yearly per-person and per-dependant figures of the e-filing files:
// one value per person of a kind with the twelve months of the year, and one
// per dependant with its twelve coefficients, gathered from a YearSource.
// Two generations exist: the layout of the years before 2002 and the layout
// of 2002 and later, which embeds the tax rules of 2002 as constants.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "declarations/year_source.h"

namespace traveno::declarations {

// The tax rules of 2002 that the 2002 layout fixes (they are part of the
// layout, not parameters): the monthly basic deduction, the cap of the
// deduction coefficient, the monthly professional-expense allowance and the
// year of the regularisation test. The older layout tests against 2001.
inline constexpr double kBasicDeduction2002 = 1700000;
inline constexpr double kCoefficientCap2002 = 3;
inline constexpr double kProfessionalExpenses2002 = 255000;
inline constexpr int kRegularisationYear2002 = 2002;
inline constexpr int kRegularisationYearBefore2002 = 2001;

enum class Generation { kBefore2002, k2002 };
// The layout of a year's files: before 2002 or 2002 and later.
Generation GenerationOf(int year);

// Stored in Pers.TIP and written to the files: never renumber.
inline constexpr std::string_view kPermanentKind = "1";
inline constexpr std::string_view kPartialKind = "2";

struct YearlyMonth {
  double CoefInd = 0;
  double CoefPers = 0;  // 2002: the employee's own share; before: the invalidity deduction
  double VENIT_NET = 0;
  double DED_PERS = 0;
  double DED_PERS_SUPLI = 0;
  double TOTDREPT = 0;
  double IMPOZIT = 0;
  double CH_PROF = 0;
  double PR_VA = 0;
  double IMPO_PR_VA = 0;
};

struct YearlyPerson {
  int IID = 0;
  std::string CODNUMPERS;  // the latest code that passes the check; empty when none does
  std::string NUME, PRENUME;
  // The latest complete address (a street and a number).
  std::string LOCALITATE, Judet, STRADA, NUMAR, CODPOSTAL, BLOC, SCARA, ETAJ, AP, SECTOR;
  std::string Domiciliu_ext;
  int ALT_VENIT = 0;
  std::string Fisa_rectif;
  std::string fisa_regul;
  int Invalid_I = 0;     // 1 when some month had invalidity grade I
  int Invalid_II = 0;    // 2 when some month had grade II
  int INVALIDITATE = 0;  // the latest grade met (the older layout)
  Date DATA_ANG;         // only a hire date on or after 1 January of the year
  Date DATA_LICH;        // only a leaving date not after 31 December of the year
  std::array<YearlyMonth, 12> months;
  int NrLuni = 0;            // older layout: months with a net income
  double SUMA_CORECTIE = 0;  // older layout: the carried shortfall (zero or negative)
};

// One value per person of `kind` who has Pers rows in the year, in ascending
// IID. The rows are walked from the latest back, so names come from the
// latest month and the "first met" values are the latest ones.
std::vector<YearlyPerson> GatherYearlyPersons(const YearSource& source, std::string_view kind,
                                              Generation generation);

struct YearlyDependant {
  int IID = 0;           // the employee
  std::string CodAngaj;  // the employee's personal code
  std::string CODNUMPERS;
  std::string Nume, Prenume;
  int Calitate = 0;
  int Invalid1 = 0;      // 1 for grade I (2002 layout)
  int Invalid2 = 0;      // 2 for grade II (2002 layout)
  int Invaliditate = 0;  // older layout
  std::array<double, 12> Coef{};
};

// One value per dependant personal code of the year whose employee has a
// Pers row in the year, ordered by the employee's IID, then the code. A
// month's coefficient counts only when the employee has a permanent row in
// that month. `permanent` are the year's permanent employees (their codes
// become the dependants' CodAngaj).
std::vector<YearlyDependant> GatherYearlyDependants(const YearSource& source,
                                                    const std::vector<YearlyPerson>& permanent);

// The monthly income and tax columns of a 2002 record and their yearly sums.
struct FfColumns {
  std::array<double, 12> venit{};    // the net income without the holiday bonus
  std::array<double, 12> impozit{};  // the tax without the bonus's tax
  long double sum_venit = 0;         // the sum of the monthly incomes
  long double bonus_base = 0;        // the holiday bonus base
  long double bonus_tax = 0;         // its tax
  long double tax = 0;               // the whole tax of the year
  long double deductions = 0;        // the personal deductions due
  int expense_months = 0;            // months with a net income and professional expenses
  long double expenses = 0;          // the professional expenses of those months
};
FfColumns ComputeFfColumns(const YearlyPerson& person, const YearParameters& parameters);

// The annual regularisation of a permanent employee (2002 layout).
struct Regularisation2002 {
  long double Ch_cuven = 0;
  long double Venit_rec = 0;
  long double Venit_baza = 0;
  long double Imp_anual = 0;
  long double Dif_plata = 0;
  long double Dif_restit = 0;
};
// Empty when the record carries no regularisation: fewer than twelve months
// with a net income and professional expenses, income from another main
// job, or a hire or leaving date in 2002.
std::optional<Regularisation2002> ComputeRegularisation2002(const YearlyPerson& person,
                                                            const FfColumns& columns,
                                                            const YearParameters& parameters);

// The annual regularisation of the older layout.
struct RegularisationBefore2002 {
  long double annual_tax = 0;
  long double withheld = 0;  // the yearly sum of the monthly taxes
  long double due = 0;
  long double refund = 0;
};
// Empty unless the person had a net income in all twelve months, no income
// from another main job, and neither date in 2001.
std::optional<RegularisationBefore2002> ComputeRegularisationBefore2002(
    const YearlyPerson& person, const YearParameters& parameters);

}  // namespace traveno::declarations
