#include "engine/company_totals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "core/numbers.h"
#include "engine/engine_fixtures.h"
#include "engine/payroll_engine.h"
#include "tests/support/distinct_rows.h"

namespace traveno::engine {
namespace {

using testing::Month2003;
using testing::Permanent;

PersRow Partial(double brut) {
  PersRow row = Permanent(0, 0);
  row.TIP = "2";
  row.BRUT = brut;
  return row;
}

TEST(CompanyTotalsTest, EmptyMonthGivesZeroTotalsAndFunds) {
  CompanyTotals totals;
  const CompanyFunds funds = ComputeCompanyFunds(totals, Month2003());
  for (const auto& [name, value] : NamedFunds(funds)) EXPECT_EQ(value, 0) << name;
  EXPECT_EQ(NumarMediuSalariati(totals, Month2003()), 0);
}

TEST(CompanyTotalsTest, RowsEnterTheirKindsTotals) {
  MonthParameters p = Month2003();
  CompanyTotals totals;
  PersRow permanent = Permanent(4000000, 92);
  permanent.BRUT = 3000000;
  permanent.Brut1 = 3100000;
  permanent.CM2L = 100000;
  permanent.CIC = 50000;
  permanent.AVANS = 10;
  permanent.PRIME_INCASATE = 20;
  permanent.AVANS_CO = 30;
  permanent.ZILE_CM = 3;
  permanent.INVALIDITATE = 1;
  AddRowToTotals(totals, permanent, p);
  PersRow pensioner = permanent;
  pensioner.Pensionar = 1;
  pensioner.INVALIDITATE = 0;
  AddRowToTotals(totals, pensioner, p);
  PersRow partial = Partial(1000000);
  partial.ALT_VENIT = 1;
  partial.BifaSom = 1;
  partial.ZILE_CM = 2;
  partial.CM1L = 5000;
  AddRowToTotals(totals, partial, p);

  EXPECT_EQ(totals.BrutP, 6000000);
  EXPECT_EQ(totals.Brut1P, 6200000);
  EXPECT_EQ(totals.BazaSomajP, 2850000);  // the pensioner stays out
  EXPECT_EQ(totals.AvansuriP, 120);
  EXPECT_EQ(totals.TarifarP, 4000000);  // 92 of 184 hours, twice
  EXPECT_EQ(totals.NrAngajati, 2);
  EXPECT_EQ(totals.NrHandicap, 1);
  EXPECT_EQ(totals.BrutC, 1000000);
  EXPECT_EQ(totals.BrutCAS_C, 1000000);
  EXPECT_EQ(totals.CM1LCAS_C, 5000);
  EXPECT_EQ(totals.BazaSomajC, 1000000);
  EXPECT_EQ(totals.ZileCM, 8);
  EXPECT_EQ(totals.ZileCMCAS, 8);

  // Without an average wage no partial contract has CIAS.
  p.general.SalMedEc = 0;
  CompanyTotals without;
  AddRowToTotals(without, partial, p);
  EXPECT_EQ(without.BrutCAS_C, 0);
  EXPECT_EQ(without.ZileCMCAS, 0);
}

// Rows of each kind whose every field holds a value of its own: each total
// sums the right field of the right rows, so a swapped or dropped field shows.
TEST(CompanyTotalsTest, EachTotalSumsItsFieldOverItsRows) {
  struct Kind {
    const char* tip;
    int pensionar, invaliditate, alt_venit, bifa_som, platit_ora;
    const char* acord;
  };
  const Kind kKinds[] = {
      {"1", 0, 1, 0, 0, 0, ""},   // P1: permanent, disabled
      {"1", 1, 0, 0, 0, 0, "D"},  // P2: a pensioner on piece-work
      {"1", 0, 0, 0, 0, 1, ""},   // P3: paid by the hour
      {"2", 0, 0, 1, 1, 0, ""},   // C1: partial contract with CIAS, unemployment from the company
      {"2", 1, 0, 0, 1, 0, "D"},  // C2: without CIAS, a pensioner on piece-work
      {"2", 0, 0, 1, 0, 0, ""},   // C3: with CIAS, no unemployment
  };
  MonthParameters p = Month2003();
  std::vector<PersRow> rows;
  CompanyTotals totals;
  for (int i = 0; i < 6; ++i) {
    PersRow row = traveno::testing::DistinctRow<PersRow>(i + 1);
    const Kind& k = kKinds[i];
    row.TIP = k.tip;
    row.Pensionar = k.pensionar;
    row.INVALIDITATE = k.invaliditate;
    row.ALT_VENIT = k.alt_venit;
    row.BifaSom = k.bifa_som;
    row.PlatitOra = k.platit_ora;
    row.ACORD = k.acord;
    row.ZILE_CM = 2 + i;
    rows.push_back(row);
    AddRowToTotals(totals, row, p);
  }
  const PersRow &p1 = rows[0], &p2 = rows[1], &p3 = rows[2];
  const PersRow &c1 = rows[3], &c2 = rows[4], &c3 = rows[5];
  using Ld = long double;
  auto sum = [](std::initializer_list<const PersRow*> of, double PersRow::*field) {
    Ld total = 0;
    for (const PersRow* row : of) total += row->*field;
    return total;
  };
  auto advances = [](const PersRow& r) { return Ld(r.AVANS) + r.PRIME_INCASATE + r.AVANS_CO; };
  auto unemployment_base = [](const PersRow& r) { return Ld(r.BRUT) - r.CM2L - r.CIC; };
  // Time values: hours times the salary per hour of the month (the average
  // hours for the hourly paid), a partial contract's month being its daily
  // hours of the month's days; piece-work counts what was realised.
  const Ld hours_of_month = 184;
  const Ld partial_hours_c1 = 184 / 8.0L * c1.Ore_Zi;
  const Ld partial_hours_c3 = 184 / 8.0L * c3.Ore_Zi;
  const std::pair<const char*, Ld> kExpected[] = {
      {"BrutP", sum({&p1, &p2, &p3}, &PersRow::BRUT)},
      {"Brut1P", sum({&p1, &p2, &p3}, &PersRow::Brut1)},
      {"BazaSomajP", unemployment_base(p1) + unemployment_base(p3)},
      {"SumeExceptP", sum({&p1, &p2, &p3}, &PersRow::SumeExcept)},
      {"RestPlP", sum({&p1, &p2, &p3}, &PersRow::RESTPL)},
      {"AvansuriP", advances(p1) + advances(p2) + advances(p3)},
      {"CM1LP", sum({&p1, &p2, &p3}, &PersRow::CM1L)},
      {"CM2LP", sum({&p1, &p2, &p3}, &PersRow::CM2L)},
      {"CICP", sum({&p1, &p2, &p3}, &PersRow::CIC)},
      {"TarifarP", RoundEven(p1.TIMP * (p1.SALINC / hours_of_month)) + p2.REALIZAT +
                       RoundEven(p3.TIMP * (p3.SALINC / Ld(p.company.MedieOre)))},
      {"NrAngajati", 3},
      {"NrHandicap", 1},
      {"BrutC", sum({&c1, &c2, &c3}, &PersRow::BRUT)},
      {"SumeExceptC", sum({&c1, &c2, &c3}, &PersRow::SumeExcept)},
      {"BrutCAS_C", sum({&c1, &c3}, &PersRow::BRUT)},
      {"SumeExceptCAS_C", sum({&c1, &c3}, &PersRow::SumeExcept)},
      {"CM1LCAS_C", sum({&c1, &c3}, &PersRow::CM1L)},
      {"CM2LCAS_C", sum({&c1, &c3}, &PersRow::CM2L)},
      {"CICCAS_C", sum({&c1, &c3}, &PersRow::CIC)},
      {"BazaSomajC", unemployment_base(c1)},
      {"RestPlC", sum({&c1, &c2, &c3}, &PersRow::RESTPL)},
      {"AvansuriC", advances(c1) + advances(c2) + advances(c3)},
      {"CM1LC", sum({&c1, &c2, &c3}, &PersRow::CM1L)},
      {"CM2LC", sum({&c1, &c2, &c3}, &PersRow::CM2L)},
      {"CICC", sum({&c1, &c2, &c3}, &PersRow::CIC)},
      {"TarifarC", RoundEven(c1.TIMP * (c1.SALINC / partial_hours_c1)) + c2.REALIZAT +
                       RoundEven(c3.TIMP * (c3.SALINC / partial_hours_c3))},
      {"ZileCM", 2 + 3 + 4 + 5 + 6 + 7},
      {"ZileCMCAS", 2 + 3 + 4 + 5 + 7},  // all but the partial contract without CIAS
  };
  const auto named = NamedTotals(totals);
  ASSERT_EQ(named.size(), std::size(kExpected));
  for (std::size_t i = 0; i < named.size(); ++i) {
    ASSERT_EQ(named[i].first, kExpected[i].first);
    EXPECT_EQ(named[i].second, kExpected[i].second) << named[i].first;
  }
}

TEST(CompanyTotalsTest, RemovingEveryRowInAnotherOrderLeavesNothing) {
  MonthParameters p = Month2003();
  p.company.spor[0].Apl = 2;
  p.company.spor[0].Perm = 1;
  PayrollEngine engine(p, testing::Brackets2003());
  std::mt19937 random(7);
  std::vector<PersRow> rows;
  for (int i = 0; i < 300; ++i) {
    PersRow row = Permanent(1000000 + 7919.37 * i, 100 + i % 84);
    row.IID = i;
    row.TIP = i % 3 == 0 ? "2" : "1";
    row.Ore_Zi = 4 + i % 4;
    row.ALT_VENIT = i % 2;
    row.BifaSom = i % 5 == 0;
    row.Domiciliu_ext = i % 2 ? "1" : "0";
    row.Pensionar = i % 11 == 0;
    row.INVALIDITATE = i % 13 == 0;
    row.NORMA = 6 + i % 4;
    row.ZILE_CM = i % 6;
    row.ZILE_CO = i % 3;
    row.SumeExcept = 333.33 * (i % 4);
    row.CM2L = 1234.5 * (i % 2);
    row.ACORD = i % 17 == 0 ? "D" : "";
    row.REALIZAT = 1500000.25;
    row.Spor1 = 7;
    engine.CalculSalariu(row);
    rows.push_back(row);
  }
  CompanyTotals totals;
  for (const PersRow& row : rows) AddRowToTotals(totals, row, p);
  EXPECT_GT(totals.NrAngajati, 0);
  EXPECT_GT(NumarMediuSalariati(totals, p), 0);
  std::shuffle(rows.begin(), rows.end(), random);
  for (const PersRow& row : rows) RemoveRowFromTotals(totals, row, p);
  for (const auto& [name, value] : NamedTotals(totals)) {
    EXPECT_NEAR(static_cast<double>(value), 0, 1e-6) << name;
  }
  EXPECT_EQ(totals.NrAngajati, 0);
  EXPECT_EQ(totals.NrHandicap, 0);
  EXPECT_EQ(totals.ZileCM, 0);
  EXPECT_EQ(totals.ZileCMCAS, 0);
  for (int n : totals.rows_by_norm) EXPECT_EQ(n, 0);
  EXPECT_EQ(NumarMediuSalariati(totals, p), 0);
}

// A row taken out before its edit and added back after leaves exactly its new
// figures in the totals.
TEST(CompanyTotalsTest, ARowEditLeavesOnlyItsNewFigures) {
  MonthParameters p = Month2003();
  std::vector<PersRow> rows = {Permanent(4000000, 184), Partial(1500000), Permanent(3000000, 100)};
  rows[0].NORMA = 8;
  rows[1].ALT_VENIT = 1;
  rows[1].BifaSom = 1;
  rows[1].NORMA = 6;
  rows[1].Ore_Zi = 6;
  rows[1].SALINC = 1200000;
  rows[1].TIMP = 120;
  rows[1].ZILE_CM = 2;
  CompanyTotals running;
  for (const PersRow& row : rows) AddRowToTotals(running, row, p);
  RemoveRowFromTotals(running, rows[1], p);
  rows[1].BRUT = 1750000;
  rows[1].TIMP = 138;
  rows[1].ZILE_CM = 3;
  AddRowToTotals(running, rows[1], p);
  const std::map<std::string, long double> kNonZero = {
      {"TarifarP", 4000000 + 1630435},  // 100 hours of 3 000 000 / 184
      {"NrAngajati", 2},
      {"BrutC", 1750000},
      {"BrutCAS_C", 1750000},
      {"BazaSomajC", 1750000},
      {"TarifarC", 1200000},  // 138 of 23 days of 6 hours
      {"ZileCM", 3},
      {"ZileCMCAS", 3},
  };
  for (const auto& [name, value] : NamedTotals(running)) {
    const auto expected = kNonZero.find(name);
    EXPECT_EQ(value, expected == kNonZero.end() ? 0 : expected->second) << name;
  }
  // A full month on norm 8 and 138 of 138 hours on norm 6.
  EXPECT_EQ(NumarMediuSalariati(running, p), 2);
  EXPECT_EQ(NumarMediuSalariati(rows, p), 2);
}

TEST(NumarMediuSalariatiTest, SharesOfEachDailyNorm) {
  MonthParameters p = Month2003();
  p.company.TimpLuna = 168;
  std::vector<PersRow> rows(3, Permanent(1, 168));
  for (PersRow& row : rows) row.NORMA = 8;
  EXPECT_EQ(NumarMediuSalariati(rows, p), 3);

  PersRow half = Permanent(1, 84);
  half.NORMA = 6;
  rows.push_back(half);  // 63 of 126 hours: 0.5
  PersRow skipped = Partial(1);
  skipped.NORMA = 8;
  skipped.TIMP = 168;
  rows.push_back(skipped);  // partial contract without ALT_VENIT
  PersRow odd_norm = Permanent(1, 168);
  odd_norm.NORMA = 4;
  rows.push_back(odd_norm);
  EXPECT_EQ(NumarMediuSalariati(rows, p), 3.5L);

  CompanyTotals totals;
  for (const PersRow& row : rows) AddRowToTotals(totals, row, p);
  EXPECT_EQ(NumarMediuSalariati(totals, p), 3.5L);

  p.company.TimpLuna = 0;
  EXPECT_EQ(NumarMediuSalariati(rows, p), 0);
}

TEST(CompanyFundsTest, BasesAndFunds) {
  MonthParameters p = Month2003();
  p.general.SomajFirm = 3;
  p.general.SanatateFirm = 7;
  p.general.CAS = 25;
  p.general.Handicap = 1;
  p.general.Invat = 2;
  p.general.Accident = 0.5;
  p.general.SalMinEc = 2100000;
  p.general.SalMedEc = 0;  // no ceiling on the pension base
  p.company.TimpLuna = 168;
  p.company.Ex_Firma.Grupa = "DA";
  CompanyTotals t;
  t.BrutP = 10000000;
  t.BazaSomajP = 9000000;
  t.SumeExceptP = 100000;
  t.CM1LP = 200000;
  t.CM2LP = 300000;
  t.CICP = 400000;
  t.BrutC = 2000000;
  t.BrutCAS_C = 1000000;
  t.BazaSomajC = 500000;
  t.ZileCM = 5;
  t.NrAngajati = 2;
  const CompanyFunds f = ComputeCompanyFunds(t, p);
  EXPECT_EQ(f.BazaSomajFirma, 9600000);
  EXPECT_EQ(f.BazaCASInitiala, 10000000 + 1000000 + 100000 - 300000 - 400000 - 200000);
  EXPECT_EQ(f.BazaCASFirma, 10200000);  // no ceiling without an average wage
  EXPECT_EQ(f.BazaSanatateFirma, 12000000 + 100000 - 700000);
  EXPECT_EQ(f.BazaCMFirma, 11400000);
  EXPECT_EQ(f.FondSomaj, 288000);
  // 2 100 000 * 2 / 21 days * 5 days * 6.5 %
  EXPECT_EQ(f.FondSanatateCM, 65000);
  EXPECT_EQ(f.FondSanatate, 798000 + 65000);
  // 25 % of 10 200 000, less the state-paid leave and the health on leave
  EXPECT_EQ(f.FondCAS, 2550000 - 300000 - 400000 - 65000);
  EXPECT_EQ(f.FondHandicap, 114000);
  EXPECT_EQ(f.FondCM, 85500);  // 0.75 % of 11 400 000
  EXPECT_EQ(f.FondInvat, 192000);
  EXPECT_EQ(f.FondAccident, 51000);
}

TEST(CompanyFundsTest, ExemptSumsEnterTheEmployersBasesUnlessNU) {
  CompanyTotals t;
  t.BrutP = 1000000;
  t.SumeExceptP = 1000;
  t.SumeExceptC = 100;
  t.SumeExceptCAS_C = 10;
  MonthParameters p = Month2003();
  p.general.SalMedEc = 0;
  for (const char* flag : {"DA", "", "nu "}) {
    p.company.Ex_Firma.Grupa = flag;
    const CompanyFunds f = ComputeCompanyFunds(t, p);
    const long double extra = std::string(flag) == "nu " ? 0 : 1;
    EXPECT_EQ(f.BazaSomajFirma, extra * 1100) << flag;
    EXPECT_EQ(f.BazaCASFirma, 1000000 + extra * 1010) << flag;
    EXPECT_EQ(f.BazaSanatateFirma, 1000000 + extra * 1100) << flag;
  }
}

TEST(CompanyFundsTest, PensionBaseCeilingOfFiveAverageWagesPerEmployee) {
  MonthParameters p = Month2003();
  p.general.SalMedEc = 1000000;
  p.company.TimpLuna = 168;
  CompanyTotals t;
  PersRow row = Permanent(9000000, 168);
  row.NORMA = 8;
  row.BRUT = 9000000;
  AddRowToTotals(t, row, p);
  CompanyFunds f = ComputeCompanyFunds(t, p);
  EXPECT_EQ(f.BazaCASInitiala, 9000000);
  EXPECT_EQ(f.BazaCASFirma, 5000000);
  p.general.Accident = 1;
  EXPECT_EQ(ComputeCompanyFunds(t, p).FondAccident, 90000);  // on the base before the ceiling
}

TEST(CompanyFundsTest, DisabledPersonsFundAboveOneHundredAndOneEmployees) {
  MonthParameters p = Month2003();
  p.general.PersHandi = 4;
  p.general.SalMinEc = 2500000;
  CompanyTotals t;
  t.NrAngajati = 101;
  EXPECT_EQ(ComputeCompanyFunds(t, p).FondHandicap, 0);
  t.NrAngajati = 102;  // RoundEven(4.08) = 4 persons owed
  EXPECT_EQ(ComputeCompanyFunds(t, p).FondHandicap, 4 * 2500000);
  t.NrHandicap = 3;
  EXPECT_EQ(ComputeCompanyFunds(t, p).FondHandicap, 2500000);
}

TEST(CompanyFundsTest, EducationFundBase) {
  MonthParameters p = Month2003();
  p.general.Invat = 1;
  CompanyTotals t;
  t.BazaSomajP = 1000000;
  t.BrutP = 3000000;
  struct Case {
    double baza_invat;
    long double fund;
  };
  for (const Case& c :
       {Case{0, 10000}, Case{1, 30000}, Case{0.6, 30000}, Case{2, 0}, Case{-1, 0}}) {
    p.general.BazaInvat = c.baza_invat;
    EXPECT_EQ(ComputeCompanyFunds(t, p).FondInvat, c.fund) << c.baza_invat;
  }
}

}  // namespace
}  // namespace traveno::engine
