#include "declarations/fiscal_sheet.h"

#include <algorithm>
#include <cmath>

#include "core/numbers.h"
#include "core/text.h"
#include "engine/calculated_fields.h"
#include "personnel/personal_code.h"

namespace traveno::declarations {
namespace {

constexpr const char* kNoDate = " -  -  -   ";

bool IsSet(std::string_view mark) {
  const std::string value = Trim(mark);
  return !value.empty() && value != "0";
}

std::size_t IndexOf(Date month) { return static_cast<std::size_t>(month.month() - 1); }

void FillMonth(SheetMonth& month, const PersRow& row, const YearParameters& parameters,
               long double& shortfall) {
  const int m = row.LUNA.month();
  month.CoefInd = row.CoefInd;
  month.CH_PROF = row.Ch_Prof;
  const bool bonus = row.pr_va != 0;
  if (bonus) {
    // The month's net income without the net holiday bonus, which is taxed apart.
    const long double p = parameters.ParamPercent("Pensie", m);
    const long double s = parameters.ParamPercent("SanatateAng", m);
    const long double pr_va = row.pr_va;
    month.VENIT_NET = static_cast<double>(row.VENIT_NET - pr_va + pr_va * p + pr_va * s);
    month.BazaPR_VA = static_cast<double>(pr_va - pr_va * s);
    month.ImpoPR_VA = static_cast<double>(parameters.MonthlyTaxOf(
        m, std::trunc(static_cast<long double>(month.BazaPR_VA) / 1000) * 1000));
  } else {
    month.VENIT_NET = row.VENIT_NET;
  }
  // The deductions shown never exceed the net income; what they exceed it by
  // is carried into the annual base of the older layout.
  const double n = row.VENIT_NET;
  const double d = row.DED_PERS;
  const double e = row.DED_PERS_SUPLI;
  if (n <= d + e) {
    month.DED_PERS = d >= n ? n : d;
    month.DED_PERS_SUPLI = d >= n ? 0 : n - d;
    month.VENITBC = 0;
    month.IMPOZIT = 0;
    shortfall += static_cast<long double>(n) - (static_cast<long double>(d) + e);
  } else {
    month.DED_PERS = d;
    month.DED_PERS_SUPLI = e;
    month.VENITBC = n - (d + e);
    month.IMPOZIT = bonus ? row.IMPOZIT - month.ImpoPR_VA : row.IMPOZIT;
  }
}

SheetEmployer EmployerOf(const std::optional<FirmeRow>& company) {
  SheetEmployer employer;
  if (!company) return employer;
  const FirmeRow& row = *company;
  employer = {row.CodFiscal, row.Denumire, row.Localitate, row.Judet, row.Strada,  row.Numar,
              row.CodPostal, row.Bloc,     row.Scara,      row.Etaj,  row.Ap,      row.Sector,
              row.Nume,      row.Prenume,  row.Telefon,    row.EMail, row.TipAngaj};
  return employer;
}

// Walks the rows from the latest month back to the earliest.
SheetEmployee EmployeeOf(const std::vector<const PersRow*>& rows, std::string_view kind) {
  SheetEmployee employee;
  bool code_found = false;
  bool address_found = false;
  Date hired, left;
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    const PersRow& row = **it;
    employee.Nume = row.NUME;
    employee.Prenume = row.PRENUME;
    if (!code_found && personnel::CheckPersonalCode(row.CODNUMPERS).passed) {
      employee.CodNumPers = row.CODNUMPERS;
      code_found = true;
    }
    if (!address_found && !Trim(row.STRADA).empty() && !Trim(row.NUMAR).empty()) {
      address_found = true;
      employee.Localitate = row.LOCALITATE;
      employee.Judet = row.Judet;
      employee.Strada = row.STRADA;
      employee.Numar = row.NUMAR;
      employee.CodPostal = row.CODPOSTAL;
      employee.Bloc = row.BLOC;
      employee.Scara = row.SCARA;
      employee.Etaj = row.ETAJ;
      employee.Ap = row.AP;
      employee.Sector = row.SECTOR;
      employee.Email = row.EMAIL;
      employee.Telefon = row.TELEFON;
      employee.domiciliu_ext_mark = IsSet(row.Domiciliu_ext) ? "X" : "";
    }
    if (IsSet(row.fisa_rectif)) employee.rectificare_mark = "X";
    if (kind == kPermanentKind) {
      if (IsSet(row.fisa_regul)) employee.regularizare = "X";
    } else if (employee.regularizare.empty() && !Trim(row.fisa_regul).empty()) {
      employee.regularizare = Trim(row.fisa_regul);
    }
    if (row.ALT_VENIT != 0) employee.alt_venit_mark = "X";
    if (hired.IsEmpty()) hired = row.DATA_ANG;
    if (left.IsEmpty()) left = row.DATA_LICH;
  }
  employee.hire_date = hired;
  employee.leave_date = left;
  employee.data_ang = hired.IsEmpty() ? kNoDate : hired.ToText();
  employee.data_lich = left.IsEmpty() ? kNoDate : left.ToText();
  return employee;
}

void PrepareInvalidity(FiscalSheet& sheet, const std::vector<const PersRow*>& rows,
                       const YearParameters& parameters) {
  bool grade_one = false;
  bool grade_two = false;
  int latest_grade = 0;
  for (const PersRow* row : rows) {
    grade_one = grade_one || row->INVALIDITATE == 1;
    grade_two = grade_two || row->INVALIDITATE == 2;
    if (row->INVALIDITATE == 1 || row->INVALIDITATE == 2) latest_grade = row->INVALIDITATE;
  }
  if (grade_one) sheet.invalidity_caption = "Inv. grad I [X]";
  if (grade_two) {
    if (!sheet.invalidity_caption.empty()) sheet.invalidity_caption += "  ";
    sheet.invalidity_caption += "Inv. grad II [X]";
  }
  // One grade for the year: the latest month's.
  if (latest_grade == 0 || !parameters.HasAnyGeneral()) return;
  for (int m = 1; m <= 12; ++m) {
    if (sheet.months[static_cast<std::size_t>(m - 1)].CoefInd == 0) continue;
    const auto value = parameters.General(m, latest_grade == 1 ? "InvalidI" : "InvalidII");
    if (value) {
      sheet.invalidity_text[static_cast<std::size_t>(m - 1)] =
          FormatNumber(*value, NumberMask::kTwoDecimals);
    }
  }
}

void PrepareDependants(FiscalSheet& sheet, const YearSource& source, int iid,
                       const std::array<bool, 12>& has_row) {
  for (const PintRow& row : source.pint) {
    if (row.IID != iid) continue;
    const std::size_t m = IndexOf(row.Luna);
    auto found =
        std::find_if(sheet.dependants.begin(), sheet.dependants.end(),
                     [&](const SheetDependant& d) { return d.CODNUMPERS == row.CODNUMPERS; });
    if (found == sheet.dependants.end()) {
      SheetDependant dependant;
      dependant.LUNA = row.Luna;
      dependant.Nume = row.Nume;
      dependant.Prenume = row.Prenume;
      dependant.CODNUMPERS = row.CODNUMPERS;
      dependant.Coef = row.Coef;
      dependant.Kalitate = engine::Kalitate(row.Calitate, engine::DependantView::kReports);
      dependant.Ynvaliditate =
          engine::Ynvaliditate(row.Invaliditate, engine::DependantView::kReports);
      sheet.dependants.push_back(std::move(dependant));
      found = sheet.dependants.end() - 1;
    }
    // A month in which the employee has no row grants no deduction for it.
    if (!has_row[m]) continue;
    found->monthly_coef[m] = row.Coef;
    sheet.dependants_coef[m] += row.Coef;
  }
  std::stable_sort(
      sheet.dependants.begin(), sheet.dependants.end(),
      [](const SheetDependant& a, const SheetDependant& b) { return a.CODNUMPERS < b.CODNUMPERS; });
}

void PrepareTotals(FiscalSheet& sheet) {
  SheetTotals& totals = sheet.totals;
  for (const SheetMonth& month : sheet.months) {
    totals.net_income +=
        std::max<long double>(0, static_cast<long double>(month.VENIT_NET) + month.BazaPR_VA);
    totals.ded_pers += month.DED_PERS;
    totals.ded_pers_supli += month.DED_PERS_SUPLI;
    totals.taxable += std::max(0.0, month.VENITBC);
    totals.tax +=
        std::max<long double>(0, static_cast<long double>(month.IMPOZIT) + month.ImpoPR_VA);
    totals.ch_prof += month.CH_PROF;
    if (month.CH_PROF != 0) ++totals.ch_prof_months;
    totals.bonus_base += month.BazaPR_VA;
    totals.bonus_tax += month.ImpoPR_VA;
  }
  totals.annual_base = totals.taxable + totals.shortfall;
}

RegularisationLines SectionVI(const FiscalSheet& sheet, const YearParameters& parameters) {
  RegularisationLines lines;
  lines.venit_net = sheet.totals.net_income;
  lines.ch_prof_acordate = sheet.totals.ch_prof;
  lines.ch_prof_cuvenite = 12 * kProfessionalExpenses2002;
  lines.venit_recalculat = lines.venit_net + lines.ch_prof_acordate - lines.ch_prof_cuvenite;
  // The cap of each month is its own "CoefMax", or the previous month's when it has none.
  double cap = 0;
  for (int m = 1; m <= 12; ++m) {
    cap = parameters.General(m, "CoefMax").value_or(cap);
    lines.deduceri_cuvenite +=
        std::min<long double>(sheet.months[static_cast<std::size_t>(m - 1)].CoefInd, cap) *
        kBasicDeduction2002;
  }
  lines.venit_baza = std::max<long double>(0, lines.venit_recalculat - lines.deduceri_cuvenite);
  lines.impozit_anual = parameters.AnnualTaxOf(std::trunc(lines.venit_baza / 1000) * 1000);
  lines.impozit_retinut = sheet.totals.tax;
  if (lines.impozit_retinut < lines.impozit_anual) {
    lines.de_achitat = lines.impozit_anual - lines.impozit_retinut;
  } else {
    lines.de_restituit = lines.impozit_retinut - lines.impozit_anual;
    if (lines.impozit_retinut == lines.impozit_anual) lines.de_achitat = 0;
  }
  return lines;
}

RegularisationBefore2002 OldSectionV(const FiscalSheet& sheet, const YearParameters& parameters) {
  RegularisationBefore2002 r;
  const long double base = RoundEven(sheet.totals.annual_base / 1000) * 1000;
  r.annual_tax = std::max<long double>(0, parameters.AnnualTaxOf(base));
  r.withheld = sheet.totals.tax;
  r.due = r.annual_tax > r.withheld ? r.annual_tax - r.withheld : 0;
  r.refund = r.annual_tax < r.withheld ? r.withheld - r.annual_tax : 0;
  return r;
}

bool InYear(Date date, int year) { return !date.IsEmpty() && date.year() == year; }

}  // namespace

FiscalSheet PrepareFiscalSheet(const YearSource& source, int iid, std::string_view kind) {
  FiscalSheet sheet;
  sheet.year = source.year;
  sheet.kind = std::string(kind);
  sheet.layout = GenerationOf(source.year);
  for (int m = 1; m <= 12; ++m) {
    sheet.months[static_cast<std::size_t>(m - 1)].LUNA = Date::FromYmd(source.year, m, 1);
  }
  const std::vector<const PersRow*> rows = RowsOfPerson(source, iid, kind);
  std::array<bool, 12> has_row{};
  for (const PersRow* row : rows) {
    FillMonth(sheet.months[IndexOf(row->LUNA)], *row, source.parameters, sheet.totals.shortfall);
    has_row[IndexOf(row->LUNA)] = true;
  }
  sheet.employer = EmployerOf(source.company);
  sheet.employee = EmployeeOf(rows, kind);
  PrepareInvalidity(sheet, rows, source.parameters);
  if (kind == kPermanentKind) PrepareDependants(sheet, source, iid, has_row);
  for (std::size_t m = 0; m < 12; ++m) {
    sheet.coef_ind[m] = sheet.months[m].CoefInd > 0 ? sheet.months[m].CoefInd : 0;
  }
  PrepareTotals(sheet);

  const bool all_months = std::all_of(has_row.begin(), has_row.end(), [](bool b) { return b; });
  sheet.regularisation = all_months && sheet.employee.alt_venit_mark.empty() &&
                         !InYear(sheet.employee.hire_date, source.year) &&
                         !InYear(sheet.employee.leave_date, source.year);
  if (sheet.regularisation && kind == kPermanentKind) {
    if (sheet.layout == Generation::k2002) {
      sheet.section_vi = SectionVI(sheet, source.parameters);
    } else {
      sheet.old_section_v = OldSectionV(sheet, source.parameters);
    }
  }
  return sheet;
}

}  // namespace traveno::declarations
