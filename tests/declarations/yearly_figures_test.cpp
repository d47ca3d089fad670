// The yearly figures of the fiscal sheets and the e-filing files, over small
// in-memory years whose every figure is worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "core/errors.h"
#include "core/text.h"
#include "declarations/file_fields.h"
#include "declarations/fiscal_sheet.h"
#include "declarations/yearly_persons.h"
#include "tests/declarations/source_builder.h"

namespace traveno::declarations {
namespace {

using testing::DependantRow;
using testing::MonthRow;
using testing::SourceOf;

TEST(YearParametersTest, ParamPercentAndMonthlyTaxOf) {
  const YearSource source = SourceOf(2003);
  const YearParameters& parameters = source.parameters;
  EXPECT_DOUBLE_EQ(parameters.ParamPercent("pensie", 3), 0.10);  // names without regard to case
  EXPECT_EQ(parameters.ParamPercent("Lipsa", 3), 0);
  EXPECT_EQ(YearParameters(2003).ParamPercent("Pensie", 3), 0);

  struct Case {
    long double amount;
    long double tax;
  };
  const Case kCases[] = {
      {0, 0},
      {25, 4},   // 4.5 rounds to the even 4
      {75, 14},  // 13.5 rounds to the even 14
      {930000, 167400},
      {3000000, 540000},  // on the threshold: the lower bracket
      {3000001, 540000},
      {4000000, 790000},  // above it: 25 % of the excess
      {-100000, -18000},  // below the first threshold: the first row
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(parameters.MonthlyTaxOf(5, c.amount), c.tax) << static_cast<double>(c.amount);
  }
  EXPECT_EQ(YearParameters(2003).MonthlyTaxOf(5, 1000000), 0);  // no brackets
  EXPECT_EQ(parameters.AnnualTaxOf(40000000), 6480000 + 1000000);
}

TEST(FileFieldsTest, TextsNumbersDatesAndMarks) {
  EXPECT_EQ(DigitsOnly("R 123-45"), "12345");
  EXPECT_EQ(DigitsOnly("abc"), "0");
  EXPECT_EQ(StripR("R1234567"), "1234567");
  EXPECT_EQ(StripR("r1234567"), "r1234567");
  EXPECT_EQ(StripR("1234567R"), "1234567R");
  EXPECT_EQ(UpperTrim("  Fixtura srl "), "FIXTURA SRL");

  struct Case {
    double value;
    const char* text;
  };
  const Case kCases[] = {
      {1234567, "1234567"},
      {0.5, "0.5"},
      {1.25, "1.25"},
      {-118800, "-118800"},
      {-0.0, "0"},
      {0.1 + 0.2, "0.3"},
      {1e15, "1E15"},
      {0.00001, "1E-5"},
      {48930000, "48930000"},
      {1234567.891, "1234567.891"},
  };
  for (const Case& c : kCases) EXPECT_EQ(NumberField(c.value), c.text) << c.value;
  EXPECT_THROW(NumberField(std::nan("")), Error);
  EXPECT_THROW(NumberField(INFINITY), Error);

  EXPECT_EQ(DateField(Date::FromYmd(2003, 3, 9)), "09/03/2003");
  EXPECT_EQ(DateField(EmptyDate()), "");
  EXPECT_EQ(FieldLine().AddText("A").AddText("").AddMark(true).AddMark(false).AddNumber(2).Join(),
            "#A#,##,#X#,##,2");
  EXPECT_EQ(FieldLine().Add("1").AddEmpty().Join(true), "1,,");
}

TEST(FiscalSheetTest, MonthsCapTheDeductionsAndSetTheHolidayBonusApart) {
  YearSource source = SourceOf(2003);
  PersRow march = MonthRow(1, "1", 2003, 3);  // hired in March
  march.VENIT_NET = 1500000;
  march.DED_PERS_SUPLI = 850000;
  march.IMPOZIT = 0;
  PersRow april = MonthRow(1, "1", 2003, 4);
  april.VENIT_NET = 1800000;
  april.DED_PERS_SUPLI = 850000;
  april.IMPOZIT = 0;
  PersRow may = MonthRow(1, "1", 2003, 5);
  PersRow july = MonthRow(1, "1", 2003, 7);
  july.pr_va = 1000000;
  july.VENIT_NET = 4830000;  // with the net bonus
  july.IMPOZIT = 414000 + 167400;
  source.pers = {march, april, may, july};

  const FiscalSheet sheet = PrepareFiscalSheet(source, 1, "1");
  const auto& m = sheet.months;
  EXPECT_EQ(m[0].VENIT_NET, 0);
  EXPECT_EQ(m[1].LUNA, Date::FromYmd(2003, 2, 1));
  // Deductions above the net: the basic one is capped at the net.
  EXPECT_EQ(m[2].DED_PERS, 1500000);
  EXPECT_EQ(m[2].DED_PERS_SUPLI, 0);
  EXPECT_EQ(m[2].VENITBC, 0);
  // The supplementary one takes what the basic one leaves.
  EXPECT_EQ(m[3].DED_PERS, 1700000);
  EXPECT_EQ(m[3].DED_PERS_SUPLI, 100000);
  EXPECT_EQ(m[3].IMPOZIT, 0);
  EXPECT_EQ(m[4].VENITBC, 2300000);
  EXPECT_EQ(m[4].IMPOZIT, 414000);
  // The bonus month: its net without the net bonus; the bonus base and its
  // own tax apart; the taxable income still compared on the whole net.
  EXPECT_EQ(m[6].VENIT_NET, 4000000);
  EXPECT_EQ(m[6].BazaPR_VA, 930000);
  EXPECT_EQ(m[6].ImpoPR_VA, 167400);
  EXPECT_EQ(m[6].IMPOZIT, 414000);
  EXPECT_EQ(m[6].VENITBC, 3130000);

  EXPECT_EQ(sheet.totals.net_income, 1500000 + 1800000 + 4000000 + 4930000);
  EXPECT_EQ(sheet.totals.taxable, 2300000 + 3130000);
  EXPECT_EQ(sheet.totals.tax, 414000 + 581400);
  EXPECT_EQ(sheet.totals.shortfall, -1050000 - 750000);
  EXPECT_EQ(sheet.totals.annual_base, 5430000 - 1800000);
  EXPECT_EQ(sheet.totals.ch_prof, 800000);
  EXPECT_EQ(sheet.totals.ch_prof_months, 4);
  EXPECT_FALSE(sheet.regularisation);  // not all twelve months
  EXPECT_FALSE(sheet.section_vi.has_value());
}

// A year of twelve plain months: net 4,000,000, basic deduction, 200,000
// professional expenses, and the given coefficient and tax each month.
YearSource PlainYear(double coef_ind, double tax) {
  YearSource source = SourceOf(2003);
  for (int month = 1; month <= 12; ++month) {
    PersRow row = MonthRow(1, "1", 2003, month);
    row.CoefInd = coef_ind;
    row.IMPOZIT = tax;
    source.pers.push_back(row);
  }
  return source;
}

TEST(FiscalSheetTest, SectionSixWithEqualTaxesShowsZeroOnBothDifferences) {
  // Net 48,000,000 + expenses 2,400,000 - 3,060,000 due - 20,400,000
  // deductions = 26,940,000, taxed 4,849,200: the twelve monthly taxes.
  const FiscalSheet sheet = PrepareFiscalSheet(PlainYear(1, 404100), 1, "1");
  ASSERT_TRUE(sheet.regularisation);
  ASSERT_TRUE(sheet.section_vi.has_value());
  const RegularisationLines& lines = *sheet.section_vi;
  EXPECT_EQ(lines.venit_net, 48000000);
  EXPECT_EQ(lines.ch_prof_acordate, 2400000);
  EXPECT_EQ(lines.ch_prof_cuvenite, 3060000);
  EXPECT_EQ(lines.venit_recalculat, 47340000);
  EXPECT_EQ(lines.deduceri_cuvenite, 20400000);
  EXPECT_EQ(lines.venit_baza, 26940000);
  EXPECT_EQ(lines.impozit_anual, 4849200);
  EXPECT_EQ(lines.impozit_retinut, 4849200);
  EXPECT_EQ(lines.de_achitat, 0);
  EXPECT_EQ(lines.de_restituit, 0);
}

TEST(FiscalSheetTest, SectionSixCountsTheCapOfEachMonth) {
  YearSource source = PlainYear(2.5, 404100);
  // CoefMax 3 until June, 2 in July, no row after: the later months keep 2.
  source.parameters = YearParameters(2003);
  for (int month = 1; month <= 12; ++month) {
    if (month <= 7) source.parameters.AddGeneral(month, "CoefMax", month <= 6 ? 3 : 2);
  }
  source.parameters.SetAnnualBrackets(testing::AnnualBrackets());
  const FiscalSheet sheet = PrepareFiscalSheet(source, 1, "1");
  ASSERT_TRUE(sheet.section_vi.has_value());
  const RegularisationLines& lines = *sheet.section_vi;
  EXPECT_EQ(lines.deduceri_cuvenite, (6 * 2.5 + 6 * 2) * 1700000);
  EXPECT_EQ(lines.venit_baza, 47340000 - 45900000);
  EXPECT_EQ(lines.impozit_anual, 259200);
  EXPECT_FALSE(lines.de_achitat.has_value());
  EXPECT_EQ(lines.de_restituit, 4849200 - 259200);

  // The older layout rounds the annual base to thousands, ties to even.
  YearSource old = PlainYear(1, 414000);
  old.year = 2001;
  for (PersRow& row : old.pers) row.LUNA = Date::FromYmd(2001, row.LUNA.month(), 1);
  old.pers[0].VENIT_NET = 2300000 + 1700000 + 500;  // 2,300,500 taxable in January
  const FiscalSheet old_sheet = PrepareFiscalSheet(old, 1, "1");
  ASSERT_TRUE(old_sheet.old_section_v.has_value());
  EXPECT_EQ(old_sheet.old_section_v->annual_tax, 4968000);  // 27,600.5 thousands -> 27,600
  EXPECT_EQ(old_sheet.old_section_v->refund, 12 * 414000 - 4968000);
}

TEST(FiscalSheetTest, InvalidityCaptionAndTheMonthsOfTheLatestGrade) {
  YearSource source = SourceOf(2003);
  for (int month = 1; month <= 12; ++month) {
    PersRow row = MonthRow(1, "1", 2003, month);
    row.INVALIDITATE = month <= 6 ? 1 : 2;
    row.CoefInd = month == 12 ? 0 : 1.5;
    source.pers.push_back(row);
  }
  const FiscalSheet sheet = PrepareFiscalSheet(source, 1, "1");
  EXPECT_EQ(sheet.invalidity_caption, "Inv. grad I [X]  Inv. grad II [X]");
  EXPECT_EQ(sheet.invalidity_text[0], "0,50");  // InvalidII, the grade of the latest month
  EXPECT_EQ(sheet.invalidity_text[10], "0,50");
  EXPECT_EQ(sheet.invalidity_text[11], "");  // no coefficient that month

  source.parameters = YearParameters(2003);  // a year without general parameters
  EXPECT_EQ(PrepareFiscalSheet(source, 1, "1").invalidity_text[0], "");
}

TEST(FiscalSheetTest, HeaderWalksTheRowsFromTheLatestMonth) {
  YearSource source = SourceOf(2003);
  for (int month = 3; month <= 12; ++month) {
    PersRow row = MonthRow(1, "1", 2003, month);
    row.NUME = month == 3 ? "Ionescu" : "Popescu";
    row.DATA_ANG = Date::FromYmd(2003, 3, 10);
    row.STRADA = "Mare";
    row.NUMAR = "7A";
    row.fisa_rectif = month == 5 ? "1" : "0";
    if (month == 12) {
      row.CODNUMPERS = "1700101400012";  // a wrong control digit
      row.STRADA = "Noua";
      row.NUMAR = "";
    }
    source.pers.push_back(row);
  }
  const FiscalSheet sheet = PrepareFiscalSheet(source, 1, "1");
  EXPECT_EQ(sheet.employee.Nume, "Ionescu");  // the earliest month's name
  EXPECT_EQ(sheet.employee.CodNumPers, "1700101400011");
  EXPECT_EQ(sheet.employee.Strada, "Mare");
  EXPECT_EQ(sheet.employee.Numar, "7A");
  EXPECT_EQ(sheet.employee.rectificare_mark, "X");
  EXPECT_EQ(sheet.employee.regularizare, "");
  EXPECT_EQ(sheet.employee.data_ang, "10.03.2003");
  EXPECT_EQ(sheet.employee.data_lich, " -  -  -   ");
  EXPECT_EQ(sheet.employer.CodFiscal, "R1234567");

  // A partial-contract person carries its situation code.
  source.pers.back().TIP = "2";
  source.pers.back().fisa_regul = "5";
  EXPECT_EQ(PrepareFiscalSheet(source, 1, "2").employee.regularizare, "5");
}

TEST(FiscalSheetTest, DependantsByCodeOnlyInTheEmployeesMonths) {
  YearSource source = SourceOf(2003);
  for (int month = 1; month <= 10; ++month) source.pers.push_back(MonthRow(1, "1", 2003, month));
  for (int month = 1; month <= 12; ++month) {
    if (month >= 6) source.pint.push_back(DependantRow(1, 2003, month, "5020601400033", 1, 0.5));
    source.pint.push_back(DependantRow(1, 2003, month, "2720202400022", 0, 0.5));
  }
  const FiscalSheet sheet = PrepareFiscalSheet(source, 1, "1");
  ASSERT_EQ(sheet.dependants.size(), 2u);
  const SheetDependant& spouse = sheet.dependants[0];
  const SheetDependant& child = sheet.dependants[1];
  EXPECT_EQ(spouse.CODNUMPERS, "2720202400022");
  EXPECT_EQ(spouse.Kalitate, "Sot / Sotie");
  EXPECT_EQ(child.Kalitate, "Copil");
  EXPECT_EQ(child.LUNA, Date::FromYmd(2003, 6, 1));
  EXPECT_EQ(spouse.monthly_coef[9], 0.5);
  EXPECT_EQ(spouse.monthly_coef[10], 0);  // the employee has no row in November
  EXPECT_EQ(child.monthly_coef[4], 0);
  EXPECT_EQ(child.monthly_coef[5], 0.5);
  EXPECT_EQ(sheet.dependants_coef[4], 0.5);
  EXPECT_EQ(sheet.dependants_coef[5], 1.0);
  EXPECT_EQ(sheet.dependants_coef[11], 0);
  EXPECT_TRUE(PrepareFiscalSheet(source, 1, "2").dependants.empty());
}

TEST(YearlyPersonsTest, GathersEachPersonFromTheLatestMonthBack) {
  YearSource source = SourceOf(2003);
  for (int month = 1; month <= 12; ++month) {
    PersRow row = MonthRow(7, "1", 2003, month);
    row.CoefInd = 1.5;
    row.DATA_ANG = Date::FromYmd(2002, 5, 1);    // before the year: not written
    row.DATA_LICH = Date::FromYmd(2004, 1, 15);  // after the year: not written
    row.LOCALITATE = "Cluj";
    row.NUMAR = "7A";
    row.INVALIDITATE = month == 3 ? 1 : month == 9 ? 2 : 0;
    row.ALT_VENIT = month == 2 ? 1 : 0;
    row.fisa_rectif = month == 12 ? "" : month == 11 ? "0" : "1";
    if (month == 12) {
      row.NUME = "Nou";
      row.CODNUMPERS = "1700101400012";
      row.LOCALITATE = "Iasi";
      row.NUMAR = "";
    }
    source.pers.push_back(row);
    source.pint.push_back(DependantRow(7, 2003, month, "2720202400022", 0, 0.5));
  }
  PersRow partial = MonthRow(7, "2", 2003, 6);  // another kind: not this person's figures
  partial.VENIT_NET = 999;
  source.pers.push_back(partial);
  PersRow hired = MonthRow(9, "1", 2003, 4);
  hired.DATA_ANG = Date::FromYmd(2003, 3, 10);
  hired.DATA_LICH = Date::FromYmd(2003, 11, 30);
  source.pers.push_back(hired);
  source.pers.push_back(MonthRow(8, "1", 2003, 4));

  const auto persons = GatherYearlyPersons(source, "1", Generation::k2002);
  ASSERT_EQ(persons.size(), 3u);
  EXPECT_EQ(persons[0].IID, 7);
  EXPECT_EQ(persons[1].IID, 8);
  const YearlyPerson& p = persons[0];
  EXPECT_EQ(p.NUME, "Nou");
  EXPECT_EQ(p.CODNUMPERS, "1700101400011");
  EXPECT_EQ(p.LOCALITATE, "Cluj");
  EXPECT_EQ(p.NUMAR, "7A");
  EXPECT_EQ(p.Invalid_I, 1);
  EXPECT_EQ(p.Invalid_II, 2);
  EXPECT_EQ(p.ALT_VENIT, 1);
  EXPECT_EQ(p.Fisa_rectif, "0");  // the latest value that is not empty
  EXPECT_TRUE(p.DATA_ANG.IsEmpty());
  EXPECT_TRUE(p.DATA_LICH.IsEmpty());
  EXPECT_EQ(p.months[5].VENIT_NET, 4000000);
  EXPECT_EQ(p.months[5].CoefPers, 1.0);
  EXPECT_EQ(persons[2].DATA_ANG, Date::FromYmd(2003, 3, 10));
  EXPECT_EQ(persons[2].DATA_LICH, Date::FromYmd(2003, 11, 30));
}

TEST(YearlyPersonsTest, ColumnsAndRegularisationOf2002) {
  YearSource source = SourceOf(2003);
  for (int month = 1; month <= 12; ++month) {
    PersRow row = MonthRow(1, "1", 2003, month);
    row.CoefInd = month <= 5 ? 1.5 : month <= 11 ? 2 : 4;  // December's 4 counts as 3
    row.IMPOZIT = 300000;
    if (month == 7) {
      row.pr_va = 1000000;
      row.VENIT_NET = 4830000;
      row.IMPOZIT = 300000 + 167400;
    }
    source.pers.push_back(row);
  }
  auto persons = GatherYearlyPersons(source, "1", Generation::k2002);
  ASSERT_EQ(persons.size(), 1u);
  EXPECT_EQ(persons[0].months[6].IMPO_PR_VA, 167400);
  const FfColumns columns = ComputeFfColumns(persons[0], source.parameters);
  EXPECT_EQ(columns.venit[6], 4000000);
  EXPECT_EQ(columns.impozit[6], 300000);
  EXPECT_EQ(columns.sum_venit, 48000000);
  EXPECT_EQ(columns.bonus_base, 930000);
  EXPECT_EQ(columns.bonus_tax, 167400);
  EXPECT_EQ(columns.tax, 3767400);
  EXPECT_EQ(columns.deductions, 22.5 * 1700000);
  EXPECT_EQ(columns.expense_months, 12);
  EXPECT_EQ(columns.expenses, 2400000);

  auto reg = ComputeRegularisation2002(persons[0], columns, source.parameters);
  ASSERT_TRUE(reg.has_value());
  EXPECT_EQ(reg->Ch_cuven, 3060000);
  EXPECT_EQ(reg->Venit_rec, 48000000 + 930000 - 3060000 + 2400000);
  EXPECT_EQ(reg->Venit_baza, 10020000);
  EXPECT_EQ(reg->Imp_anual, 1803600);
  EXPECT_EQ(reg->Dif_plata, 0);
  EXPECT_EQ(reg->Dif_restit, 3767400 - 1803600);

  // The employee owes when less was withheld.
  FfColumns owing = columns;
  owing.tax = 1367400;
  reg = ComputeRegularisation2002(persons[0], owing, source.parameters);
  EXPECT_EQ(reg->Dif_plata, 1803600 - 1367400);
  EXPECT_EQ(reg->Dif_restit, 0);

  // A base below 1,000 is taxed as 0, a negative one never gives a negative tax.
  FfColumns small = columns;
  small.deductions = 48000000 + 930000 - 3060000 + 2400000 - 999;
  EXPECT_EQ(ComputeRegularisation2002(persons[0], small, source.parameters)->Imp_anual, 0);
  small.deductions += 5000000;
  EXPECT_EQ(ComputeRegularisation2002(persons[0], small, source.parameters)->Imp_anual, 0);

  // No regularisation: another main job, a month without expenses, or a
  // hire in 2002 (the year the layout names).
  YearlyPerson other = persons[0];
  other.ALT_VENIT = 1;
  EXPECT_FALSE(ComputeRegularisation2002(other, columns, source.parameters).has_value());
  FfColumns eleven = columns;
  eleven.expense_months = 11;
  EXPECT_FALSE(ComputeRegularisation2002(persons[0], eleven, source.parameters).has_value());
  YearlyPerson hired = persons[0];
  hired.DATA_ANG = Date::FromYmd(2002, 1, 5);
  EXPECT_FALSE(ComputeRegularisation2002(hired, columns, source.parameters).has_value());
}

TEST(YearlyPersonsTest, OlderLayoutCapsDeductionsAndRoundsTheAnnualBase) {
  YearSource source = SourceOf(2001);
  for (int month = 1; month <= 12; ++month) {
    PersRow row = MonthRow(1, "1", 2001, month);
    if (month == 3) {
      row.VENIT_NET = 1500000;
      row.DED_PERS_SUPLI = 850000;
    }
    row.INVALIDITATE = month == 4 ? 1 : month == 5 ? 2 : 0;
    source.pers.push_back(row);
  }
  auto persons = GatherYearlyPersons(source, "1", Generation::kBefore2002);
  ASSERT_EQ(persons.size(), 1u);
  YearlyPerson& p = persons[0];
  EXPECT_EQ(p.months[2].DED_PERS, 1500000);
  EXPECT_EQ(p.months[2].DED_PERS_SUPLI, 0);
  EXPECT_EQ(p.months[2].TOTDREPT, 0);
  EXPECT_EQ(p.months[2].IMPOZIT, 0);
  EXPECT_EQ(p.SUMA_CORECTIE, -1050000);
  EXPECT_EQ(p.months[3].CoefPers, 1);    // InvalidI
  EXPECT_EQ(p.months[4].CoefPers, 0.5);  // InvalidII
  EXPECT_EQ(p.months[5].CoefPers, 0);
  EXPECT_EQ(p.INVALIDITATE, 2);  // the latest grade
  EXPECT_EQ(p.NrLuni, 12);

  // 11 x 2,300,000 - 1,050,000 = 24,250,000, taxed 4,365,000; 11 x 414,000 withheld.
  auto reg = ComputeRegularisationBefore2002(p, source.parameters);
  ASSERT_TRUE(reg.has_value());
  EXPECT_EQ(reg->annual_tax, 4365000);
  EXPECT_EQ(reg->withheld, 4554000);
  EXPECT_EQ(reg->refund, 189000);
  EXPECT_EQ(reg->due, 0);
  // Thousands rounded half to even: 24,250.5 -> 24,250 and 24,251.5 -> 24,252.
  p.SUMA_CORECTIE = -1049500;
  EXPECT_EQ(ComputeRegularisationBefore2002(p, source.parameters)->annual_tax, 4365000);
  p.SUMA_CORECTIE = -1048500;
  EXPECT_EQ(ComputeRegularisationBefore2002(p, source.parameters)->annual_tax, 4365360);
  p.DATA_ANG = Date::FromYmd(2001, 1, 2);
  EXPECT_FALSE(ComputeRegularisationBefore2002(p, source.parameters).has_value());
}

TEST(YearlyPersonsTest, DependantsOfTheYearAndTheirPermanentMonths) {
  YearSource source = SourceOf(2003);
  for (int month = 1; month <= 12; ++month) {
    source.pers.push_back(MonthRow(1, month <= 10 ? "1" : "2", 2003, month));
    PersRow third = MonthRow(3, "1", 2003, month);
    third.CODNUMPERS = month == 12 ? "1780303400041" : "1780303400042";
    source.pers.push_back(third);
    source.pint.push_back(DependantRow(3, 2003, month, "5020601400033", 1, 0.5));
    source.pint.push_back(DependantRow(1, 2003, month, "2720202400022", 0, 0.5));
    source.pint.push_back(DependantRow(2, 2003, month, "1801012222221", 3, 0.2));  // no employee
  }
  const auto permanent = GatherYearlyPersons(source, "1", Generation::k2002);
  const auto dependants = GatherYearlyDependants(source, permanent);
  ASSERT_EQ(dependants.size(), 2u);
  EXPECT_EQ(dependants[0].CODNUMPERS, "2720202400022");
  EXPECT_EQ(dependants[0].CodAngaj, "1700101400011");
  EXPECT_EQ(dependants[0].Coef[9], 0.5);
  EXPECT_EQ(dependants[0].Coef[10], 0);  // a partial contract that month
  EXPECT_EQ(dependants[1].CODNUMPERS, "5020601400033");
  EXPECT_EQ(dependants[1].CodAngaj, "1780303400042");  // the employee's latest valid code
  EXPECT_EQ(dependants[1].Calitate, 1);
  EXPECT_EQ(dependants[1].Coef[11], 0.5);
}

}  // namespace
}  // namespace traveno::declarations
