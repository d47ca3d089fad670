#include <gtest/gtest.h>

#include "core/numbers.h"
#include "engine/engine_fixtures.h"
#include "engine/payroll_engine.h"

namespace traveno::engine {
namespace {

using testing::D;
using testing::Month2003;
using testing::Permanent;

PersRow Calculate(const MonthParameters& p, PersRow row, CalculationDetails* details = nullptr) {
  PayrollEngine engine(p, testing::Brackets2003());
  CalculationDetails d = engine.CalculSalariu(row);
  if (details != nullptr) *details = d;
  return row;
}

TEST(NetPayTest, WorkedExamplesOfAPermanentEmployee) {
  struct Case {
    double salinc, timp, timp_spl, coef;
    double brut, sanatate, pensie, somaj, ded_pers, ded_supli, ch_prof, venit_net, totdrept,
        impozit, restpl;
  };
  const Case kCases[] = {
      {5000000, 184, 0, 1, 5000000, 325000, 475000, 50000, 1800000, 0, 270000, 3880000, 2080000,
       374400, 3775600},
      {5555555, 184, 0, 1, 5555555, 361111, 527778, 55556, 1800000, 0, 270000, 4341110, 2541110,
       479430, 4131680},
      {4000000, 168, 10, 1.5, 3869565, 251522, 367609, 40000, 1800000, 900000, 270000, 2940434,
       240434, 43200, 3167234},
  };
  for (const Case& c : kCases) {
    PersRow row = Permanent(c.salinc, c.timp);
    row.TIMP_SPL = c.timp_spl;
    row.CoefInd1 = c.coef;
    row = Calculate(Month2003(), row);
    EXPECT_EQ(row.BRUT, c.brut) << c.salinc;
    EXPECT_EQ(row.SANATATE, c.sanatate) << c.salinc;
    EXPECT_EQ(row.PENSIE, c.pensie) << c.salinc;
    EXPECT_EQ(row.SOMAJ, c.somaj) << c.salinc;
    EXPECT_EQ(row.DED_PERS, c.ded_pers) << c.salinc;
    EXPECT_EQ(row.DED_PERS_SUPLI, c.ded_supli) << c.salinc;
    EXPECT_EQ(row.Ch_Prof, c.ch_prof) << c.salinc;
    EXPECT_EQ(row.VENIT_NET, c.venit_net) << c.salinc;
    EXPECT_EQ(row.TOTDREPT, c.totdrept) << c.salinc;
    EXPECT_EQ(row.IMPOZIT, c.impozit) << c.salinc;
    EXPECT_EQ(row.RESTPL, c.restpl) << c.salinc;
  }
}

TEST(NetPayTest, ExemptSumsThatRoundToZeroAreIgnored) {
  PersRow row = Permanent(5000000, 184);
  row.SumeExcept = 0.4;
  PersRow done = Calculate(Month2003(), row);
  EXPECT_EQ(done.VENIT_NET, 3880000);
  EXPECT_EQ(done.RESTPL, 3775600);

  row.SumeExcept = 1000000.6;
  MonthParameters p = Month2003();
  p.company.Ex_Pensie.Val = 50;
  p.company.Ex_Sanatate.Val = 0;
  p.company.Ex_Impozit.Val = 100;
  CalculationDetails details;
  done = Calculate(p, row, &details);
  EXPECT_EQ(details.pension_base, 5500000);  // half of the exempt sum
  EXPECT_EQ(done.PENSIE, 522500);
  EXPECT_EQ(done.SANATATE, 325000);  // none of it
  EXPECT_DOUBLE_EQ(done.VENIT_NET, 5000000 + 1000000.6 - 522500 - 50000 - 325000 - 270000);
  // B1 = 5 000 000 + 1 000 000.6 - 270 000 - 522 500 - 50 000 - 325 000 - 1 800 000
  EXPECT_EQ(details.B1, 3032501);
  // 378 000 + 23 % of (3 032 000 - 2 100 000)
  EXPECT_EQ(done.IMPOZIT, 592360);
  // RoundEven(6 000 000.6 - 592 360 - 522 500 - 50 000 - 325 000)
  EXPECT_EQ(done.RESTPL, 4510141);
}

TEST(NetPayTest, PensionBase) {
  // The ceiling of five average wages applies before rounding.
  MonthParameters p = Month2003();
  p.general.SalMedEc = 1000000.5;
  CalculationDetails details;
  Calculate(p, Permanent(9000000, 184), &details);
  EXPECT_EQ(details.pension_base, 5000002);  // RoundEven(5 000 002.5)

  // From 2002 on, without an average wage, the ceiling is 0.
  p.general.SalMedEc = 0;
  EXPECT_EQ(Calculate(p, Permanent(9000000, 184)).PENSIE, 0);

  // An exact half rounds up thanks to the small addend.
  p = Month2003();
  p.general.Pensie = 10;
  EXPECT_EQ(Calculate(p, Permanent(12345, 184)).PENSIE, 1235);
}

TEST(NetPayTest, PensionBaseBefore2002UsesTheSwitches) {
  MonthParameters p = Month2003();
  p.luna = D(2001, 6, 1);
  p.general.SalMedEc = 0;
  PersRow row = Permanent(4000000, 184);
  row.LUNA = p.luna;
  row.PRIME = 100000;
  row.SPORURI = 30000;
  row.CM1L = 7000;
  CalculationDetails details;
  Calculate(p, row, &details);
  EXPECT_EQ(details.pension_base, 4137000);
  p.company.Prime = 0;
  p.company.CMFirm = 0;
  Calculate(p, row, &details);
  EXPECT_EQ(details.pension_base, 4030000);
  // Before 2002 the whole base is taxed, not cut to thousands:
  // 4 137 000 - 270 000 - 382 850 - 40 000 - 268 450 - 1 800 000.
  PersRow done = Calculate(p, row, &details);
  EXPECT_EQ(details.B1, 1375700);
  EXPECT_EQ(done.IMPOZIT, 247626);  // 18 % of 1 375 700, where 1 375 000 would give 247 500
}

TEST(NetPayTest, UnemploymentContribution) {
  struct Case {
    const char* name;
    int bifa_som;
    int pensionar;
    int zile_cic;
    double timp;
    double somaj;
  };
  const Case kCases[] = {
      {"employee", 0, 0, 0, 184, 50000},
      {"not withheld", 1, 0, 0, 184, 0},
      {"pensioner", 0, 1, 0, 184, 0},
      {"child care all month", 0, 0, 20, 0, 0},
      {"child care part of the month", 0, 0, 10, 92, 50000},
  };
  for (const Case& c : kCases) {
    PersRow row = Permanent(5000000, c.timp);
    row.BifaSom = c.bifa_som;
    row.Pensionar = c.pensionar;
    row.ZILE_CIC = c.zile_cic;
    EXPECT_EQ(Calculate(Month2003(), row).SOMAJ, c.somaj) << c.name;
  }
}

TEST(NetPayTest, UnemploymentOnBonusesUsesTheirFullValue) {
  MonthParameters p = Month2003();
  p.general.SomajCol = 0.5;
  p.company.spor[0].Apl = 2;
  p.company.spor[0].Perm = 1;
  PersRow row = Permanent(4000000, 92);
  row.Spor1 = 10;
  EXPECT_EQ(Calculate(p, row).SOMAJ, 44000);  // 40 000 + 1 % of 400 000
  // Partial contract: the salary at SomajCol, the bonus still at SomajAng.
  row.TIP = "2";
  row.Domiciliu_ext = "1";
  EXPECT_EQ(Calculate(p, row).SOMAJ, 24000);
  row.Domiciliu_ext = "0";
  EXPECT_EQ(Calculate(p, row).SOMAJ, 0);
}

TEST(NetPayTest, PartialContractContributionsAndDeductions) {
  PersRow row = Permanent(4000000, 184);
  row.TIP = "2";
  row.TIMP = 84;
  row.Ore_Zi = 4;  // full norm of 92 hours
  row.CoefInd1 = 1;
  PersRow done = Calculate(Month2003(), row);
  EXPECT_EQ(done.BRUT, 3652174);
  EXPECT_EQ(done.PENSIE, 0);         // no CIAS withheld
  EXPECT_EQ(done.DED_PERS, 0);       // no main job
  EXPECT_EQ(done.SANATATE, 237391);  // 6.5 % of 3 652 174
  // Neither deductions nor unemployment: gross less health, in both.
  EXPECT_EQ(done.VENIT_NET, 3414783);
  EXPECT_EQ(done.TOTDREPT, 3414783);

  row.ALT_VENIT = 1;  // pension withheld
  row.PlatitOra = 1;  // main job: deductions
  done = Calculate(Month2003(), row);
  EXPECT_EQ(done.PENSIE, 346957);
  EXPECT_EQ(done.DED_PERS, 1800000);
  EXPECT_EQ(done.Ch_Prof, 270000);
}

TEST(NetPayTest, DeductionCoefficient) {
  // No coefficient: no deduction, but the right remains.
  PersRow row = Permanent(5000000, 184);
  row.CoefInd1 = 0;
  PersRow done = Calculate(Month2003(), row);
  EXPECT_EQ(done.DED_PERS, 0);
  EXPECT_EQ(done.Ch_Prof, 0);
  EXPECT_EQ(done.VENIT_NET, 5000000 - 475000 - 50000 - 325000);
  EXPECT_EQ(done.TOTDREPT, 4150000);

  // Half a coefficient halves both.
  row.CoefInd1 = 0.5;
  done = Calculate(Month2003(), row);
  EXPECT_EQ(done.DED_PERS, 900000);
  EXPECT_EQ(done.Ch_Prof, 135000);
  EXPECT_EQ(done.TOTDREPT, 4150000 - 135000 - 900000);

  // Above the ceiling of 3: the base drops by 3 deductions.
  row.CoefInd1 = 3.5;
  done = Calculate(Month2003(), row);
  EXPECT_EQ(done.DED_PERS, 1800000);
  EXPECT_EQ(done.DED_PERS_SUPLI, 3600000);
  EXPECT_EQ(done.TOTDREPT, 0);  // 3 880 000 - 5 400 000 is negative
  EXPECT_EQ(done.IMPOZIT, 0);
}

TEST(NetPayTest, HolidayPremiumIsTaxedApart) {
  // Its pension and health go back into the monthly base, which then matches
  // the base without the premium (2 080 000, taxed 374 400); the premium net
  // of health is taxed apart on its whole thousands.
  struct Case {
    double pr_va;
    double brut, pensie, sanatate;
    long double b2;
    double totdrept, impozit, restpl;
  };
  const Case kCases[] = {
      // 18 % of 935 000
      {1000000, 6000000, 570000, 390000, 935000, 3015000, 374400 + 168300, 4447300},
      // 935 935 is taxed as 935 000, not as 18 % of 935 935 (168 468)
      {1001000, 6001000, 570095, 390065, 935935, 3015935, 374400 + 168300, 4448140},
  };
  for (const Case& c : kCases) {
    PersRow row = Permanent(5000000, 184);
    row.pr_va = c.pr_va;
    CalculationDetails details;
    const PersRow done = Calculate(Month2003(), row, &details);
    EXPECT_EQ(done.BRUT, c.brut) << c.pr_va;
    EXPECT_EQ(done.PENSIE, c.pensie) << c.pr_va;
    EXPECT_EQ(done.SANATATE, c.sanatate) << c.pr_va;
    EXPECT_EQ(details.B1, 2080000) << c.pr_va;
    EXPECT_EQ(details.B2, c.b2) << c.pr_va;
    EXPECT_EQ(done.TOTDREPT, c.totdrept) << c.pr_va;
    EXPECT_EQ(done.IMPOZIT, c.impozit) << c.pr_va;
    EXPECT_EQ(done.RESTPL, c.restpl) << c.pr_va;
  }

  // A negative monthly base is taxed as 0: only the premium's base remains.
  PersRow row = Permanent(5000000, 184);
  row.pr_va = 1000000;
  row.CoefInd1 = 3;
  CalculationDetails details;
  const PersRow done = Calculate(Month2003(), row, &details);
  EXPECT_EQ(details.B1, 0);
  EXPECT_EQ(done.TOTDREPT, 935000);
  EXPECT_EQ(done.IMPOZIT, 168300);
}

TEST(NetPayTest, TaxBaseIsCutToWholeThousands) {
  // A taxable income of 2 345 678 is taxed as 2 345 000.
  PersRow row = Permanent(0, 0);
  row.CoefInd1 = 1;
  row.BifaSom = 1;
  MonthParameters p = Month2003();
  p.general.Pensie = 0;
  p.general.SanatateAng = 0;
  p.general.CheltProf = 0;
  p.general.DedBaza = 0;
  row.ALTE_SUME = 2345678;
  PersRow done = Calculate(p, row);
  EXPECT_EQ(done.TOTDREPT, 2345678);
  EXPECT_EQ(done.IMPOZIT, 378000 + 56350);  // 23 % of 245 000
  row.ProcImpo = 50;
  EXPECT_EQ(Calculate(p, row).IMPOZIT, RoundEven((378000 + 56350) * 0.5L));
}

TEST(NetPayTest, WithholdingsReduceTheNet) {
  PersRow row = Permanent(5000000, 184);
  row.AVANS = 1000000;
  row.PRIME_INCASATE = 1;
  row.AVANS_CO = 2;
  row.RETINERI = 3;
  row.GARANTII = 4;
  row.ALTE_RET = 5;
  row.POPRIRI = 6;
  EXPECT_EQ(Calculate(Month2003(), row).RESTPL, 3775600 - 1000021);
}

}  // namespace
}  // namespace traveno::engine
