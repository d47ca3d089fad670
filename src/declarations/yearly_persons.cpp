#include "declarations/yearly_persons.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "core/numbers.h"
#include "core/text.h"
#include "declarations/efiling_shared.h"
#include "personnel/personal_code.h"

namespace traveno::declarations {
namespace {

bool IsBlank(std::string_view text) { return Trim(text).empty(); }

// The person's yearly value, created with the names of the row that meets it first.
YearlyPerson& PersonOf(std::map<int, YearlyPerson>& persons, const PersRow& row) {
  auto [it, added] = persons.try_emplace(row.IID);
  if (added) {
    it->second.IID = row.IID;
    it->second.NUME = row.NUME;
    it->second.PRENUME = row.PRENUME;
  }
  return it->second;
}

void TakeAddress(YearlyPerson& person, const PersRow& row) {
  if (!IsBlank(person.STRADA) || !IsBlank(person.NUMAR)) return;
  if (IsBlank(row.STRADA) || IsBlank(row.NUMAR)) return;
  person.LOCALITATE = row.LOCALITATE;
  person.Judet = row.Judet;
  person.STRADA = row.STRADA;
  person.NUMAR = row.NUMAR;
  person.CODPOSTAL = row.CODPOSTAL;
  person.BLOC = row.BLOC;
  person.SCARA = row.SCARA;
  person.ETAJ = row.ETAJ;
  person.AP = row.AP;
  person.SECTOR = row.SECTOR;
  person.Domiciliu_ext = row.Domiciliu_ext;
}

// The sum of the dependants' coefficients of each employee and month.
std::map<std::pair<int, int>, double> DependantsCoefficients(const YearSource& source) {
  std::map<std::pair<int, int>, double> sums;
  for (const PintRow& row : source.pint) sums[{row.IID, row.Luna.month()}] += row.Coef;
  return sums;
}

double ValueAt(const std::map<std::pair<int, int>, double>& sums, int iid, int month) {
  const auto found = sums.find({iid, month});
  return found == sums.end() ? 0 : found->second;
}

void FillMonth2002(YearlyMonth& month, const PersRow& row, double dependants,
                   const YearParameters& parameters) {
  const int m = row.LUNA.month();
  month.CoefInd = row.CoefInd;
  month.CoefPers = row.CoefInd - dependants;
  month.VENIT_NET = std::max(0.0, row.VENIT_NET);
  month.DED_PERS = row.DED_PERS;
  month.DED_PERS_SUPLI = row.DED_PERS_SUPLI;
  month.TOTDREPT = row.TOTDREPT;
  month.CH_PROF = row.Ch_Prof;
  month.PR_VA = row.pr_va;
  month.IMPOZIT = std::max(0.0, row.IMPOZIT);
  // The holiday bonus is taxed apart, on its base net of health contribution
  // cut to whole thousands. A month without a bonus has no such tax.
  month.IMPO_PR_VA = 0;
  if (row.pr_va != 0) {
    // The base is held as a double before it is cut to thousands.
    const double s = parameters.ParamPercent("SanatateAng", m);
    const double base = std::max(0.0, row.pr_va - row.pr_va * s);
    month.IMPO_PR_VA =
        static_cast<double>(parameters.MonthlyTaxOf(m, std::trunc(base / 1000) * 1000));
  }
}

void FillMonthBefore2002(YearlyPerson& person, YearlyMonth& month, const PersRow& row,
                         const YearParameters& parameters) {
  const int m = row.LUNA.month();
  month.CoefInd = row.CoefInd;
  month.CoefPers = row.INVALIDITATE == 1   ? parameters.General(m, "InvalidI").value_or(0)
                   : row.INVALIDITATE == 2 ? parameters.General(m, "InvalidII").value_or(0)
                                           : 0;
  month.VENIT_NET = std::max(0.0, row.VENIT_NET);
  month.CH_PROF = row.Ch_Prof;
  // Deductions are capped at the net income; what they exceed it by is
  // carried into the annual base.
  if (row.VENIT_NET <= row.DED_PERS + row.DED_PERS_SUPLI) {
    month.DED_PERS = std::min(row.DED_PERS, row.VENIT_NET);
    month.DED_PERS_SUPLI = row.VENIT_NET - month.DED_PERS;
    month.TOTDREPT = 0;
    month.IMPOZIT = 0;
    person.SUMA_CORECTIE += row.VENIT_NET - (row.DED_PERS + row.DED_PERS_SUPLI);
  } else {
    month.DED_PERS = row.DED_PERS;
    month.DED_PERS_SUPLI = row.DED_PERS_SUPLI;
    month.TOTDREPT = row.TOTDREPT;
    month.IMPOZIT = std::max(0.0, row.IMPOZIT);
  }
}

}  // namespace

Generation GenerationOf(int year) {
  return year < kRegularisationYear2002 ? Generation::kBefore2002 : Generation::k2002;
}

std::vector<YearlyPerson> GatherYearlyPersons(const YearSource& source, std::string_view kind,
                                              Generation generation) {
  const Date year_start = Date::FromYmd(source.year, 1, 1);
  const Date year_end = Date::FromYmd(source.year, 12, 31);
  const auto dependants = DependantsCoefficients(source);
  std::map<int, YearlyPerson> persons;
  for (auto it = source.pers.rbegin(); it != source.pers.rend(); ++it) {
    const PersRow& row = *it;
    if (row.TIP != kind) continue;
    YearlyPerson& person = PersonOf(persons, row);
    if (person.CODNUMPERS.empty() && personnel::CheckPersonalCode(row.CODNUMPERS).passed) {
      person.CODNUMPERS = row.CODNUMPERS;
    }
    TakeAddress(person, row);
    if (row.INVALIDITATE == 1) person.Invalid_I = 1;
    if (row.INVALIDITATE == 2) person.Invalid_II = 2;
    if (person.INVALIDITATE == 0) person.INVALIDITATE = row.INVALIDITATE;
    if (person.ALT_VENIT == 0) person.ALT_VENIT = row.ALT_VENIT;
    if (IsBlank(person.Fisa_rectif)) person.Fisa_rectif = row.fisa_rectif;
    if (IsBlank(person.fisa_regul)) person.fisa_regul = row.fisa_regul;
    if (person.DATA_ANG.IsEmpty() && !row.DATA_ANG.IsEmpty() && row.DATA_ANG >= year_start) {
      person.DATA_ANG = row.DATA_ANG;
    }
    if (person.DATA_LICH.IsEmpty() && !row.DATA_LICH.IsEmpty() && row.DATA_LICH <= year_end) {
      person.DATA_LICH = row.DATA_LICH;
    }
    YearlyMonth& month = person.months[static_cast<std::size_t>(row.LUNA.month() - 1)];
    if (generation == Generation::k2002) {
      FillMonth2002(month, row, ValueAt(dependants, row.IID, row.LUNA.month()), source.parameters);
    } else {
      FillMonthBefore2002(person, month, row, source.parameters);
    }
  }
  std::vector<YearlyPerson> result;
  result.reserve(persons.size());
  for (auto& [iid, person] : persons) {
    person.NrLuni = static_cast<int>(
        std::count_if(person.months.begin(), person.months.end(),
                      [](const YearlyMonth& month) { return month.VENIT_NET != 0; }));
    result.push_back(std::move(person));
  }
  return result;
}

std::vector<YearlyDependant> GatherYearlyDependants(const YearSource& source,
                                                    const std::vector<YearlyPerson>& permanent) {
  // The employees of the year, their code, and the months they were permanent in.
  struct Employee {
    std::string code;
    bool code_known = false;
    std::array<bool, 12> permanent_months{};
  };
  std::map<int, Employee> employees;
  for (auto it = source.pers.rbegin(); it != source.pers.rend(); ++it) {
    Employee& employee = employees[it->IID];
    if (!employee.code_known && personnel::CheckPersonalCode(it->CODNUMPERS).passed) {
      employee.code = it->CODNUMPERS;
      employee.code_known = true;
    }
    if (it->TIP == kPermanentKind) {
      employee.permanent_months[static_cast<std::size_t>(it->LUNA.month() - 1)] = true;
    }
  }
  for (const YearlyPerson& person : permanent) {
    const auto found = employees.find(person.IID);
    if (found != employees.end()) found->second.code = person.CODNUMPERS;
  }

  std::map<std::string, YearlyDependant> by_code;
  for (auto it = source.pint.rbegin(); it != source.pint.rend(); ++it) {
    const PintRow& row = *it;
    auto existing = by_code.find(row.CODNUMPERS);
    if (existing == by_code.end()) {
      const auto employee = employees.find(row.IID);
      if (employee == employees.end()) continue;
      YearlyDependant dependant;
      dependant.IID = row.IID;
      dependant.CodAngaj = employee->second.code;
      dependant.CODNUMPERS = row.CODNUMPERS;
      dependant.Nume = row.Nume;
      dependant.Prenume = row.Prenume;
      existing = by_code.emplace(row.CODNUMPERS, std::move(dependant)).first;
    }
    YearlyDependant& dependant = existing->second;
    const auto employee = employees.find(row.IID);
    const std::size_t m = static_cast<std::size_t>(row.Luna.month() - 1);
    const bool permanent_then = employee != employees.end() && employee->second.permanent_months[m];
    dependant.Coef[m] = permanent_then ? row.Coef : 0;
    dependant.Calitate = row.Calitate;
    dependant.Invaliditate = row.Invaliditate;
    dependant.Invalid1 = row.Invaliditate == 1 ? 1 : 0;
    dependant.Invalid2 = row.Invaliditate == 2 ? 2 : 0;
  }
  std::vector<YearlyDependant> result;
  result.reserve(by_code.size());
  for (auto& [code, dependant] : by_code) result.push_back(std::move(dependant));
  std::stable_sort(
      result.begin(), result.end(),
      [](const YearlyDependant& a, const YearlyDependant& b) { return a.IID < b.IID; });
  return result;
}

FfColumns ComputeFfColumns(const YearlyPerson& person, const YearParameters& parameters) {
  // Each month's figure is held as a double, as a stored field would hold it;
  // the year's sums add those.
  FfColumns columns;
  for (int m = 1; m <= 12; ++m) {
    const std::size_t i = static_cast<std::size_t>(m - 1);
    const YearlyMonth& month = person.months[i];
    const long double p = parameters.ParamPercent("Pensie", m);
    const long double s = parameters.ParamPercent("SanatateAng", m);
    const long double bonus = month.PR_VA;
    columns.venit[i] = bonus != 0
                           ? static_cast<double>(month.VENIT_NET - bonus + bonus * p + bonus * s)
                           : month.VENIT_NET;
    columns.impozit[i] = month.IMPOZIT - month.IMPO_PR_VA;
    columns.sum_venit += columns.venit[i];
    columns.bonus_base += static_cast<double>(bonus - bonus * s);
    columns.bonus_tax += month.IMPO_PR_VA;
    columns.tax += month.IMPOZIT;
    columns.deductions += std::min(month.CoefInd, kCoefficientCap2002) * kBasicDeduction2002;
    if (month.VENIT_NET != 0 && month.CH_PROF != 0) {
      ++columns.expense_months;
      columns.expenses += month.CH_PROF;
    }
  }
  return columns;
}

std::optional<Regularisation2002> ComputeRegularisation2002(const YearlyPerson& person,
                                                            const FfColumns& columns,
                                                            const YearParameters& parameters) {
  if (columns.expense_months != 12 || person.ALT_VENIT == 1 ||
      YearIs(person.DATA_ANG, kRegularisationYear2002) ||
      YearIs(person.DATA_LICH, kRegularisationYear2002)) {
    return std::nullopt;
  }
  Regularisation2002 r;
  r.Ch_cuven = columns.expense_months * kProfessionalExpenses2002;
  // The year's net income includes the holiday bonus base, as its tax is in
  // the tax withheld.
  r.Venit_rec = columns.sum_venit + columns.bonus_base - r.Ch_cuven + columns.expenses;
  r.Venit_baza = r.Venit_rec - columns.deductions;
  r.Imp_anual =
      std::max<long double>(0, parameters.AnnualTaxOf(std::trunc(r.Venit_baza / 1000) * 1000));
  r.Dif_plata = r.Imp_anual > columns.tax ? r.Imp_anual - columns.tax : 0;
  r.Dif_restit = columns.tax > r.Imp_anual ? columns.tax - r.Imp_anual : 0;
  return r;
}

std::optional<RegularisationBefore2002> ComputeRegularisationBefore2002(
    const YearlyPerson& person, const YearParameters& parameters) {
  if (person.NrLuni != 12 || person.ALT_VENIT == 1 ||
      YearIs(person.DATA_ANG, kRegularisationYearBefore2002) ||
      YearIs(person.DATA_LICH, kRegularisationYearBefore2002)) {
    return std::nullopt;
  }
  long double taxable = person.SUMA_CORECTIE;
  RegularisationBefore2002 r;
  for (const YearlyMonth& month : person.months) {
    taxable += month.TOTDREPT;
    r.withheld += month.IMPOZIT;
  }
  const long double base = RoundEven(taxable / 1000) * 1000;
  r.annual_tax = std::max<long double>(0, parameters.AnnualTaxOf(base));
  r.due = r.annual_tax > r.withheld ? r.annual_tax - r.withheld : 0;
  r.refund = r.withheld > r.annual_tax ? r.withheld - r.annual_tax : 0;
  return r;
}

}  // namespace traveno::declarations
