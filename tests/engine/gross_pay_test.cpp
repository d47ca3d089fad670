#include <gtest/gtest.h>

#include <cmath>

#include "engine/engine_fixtures.h"
#include "engine/payroll_engine.h"
#include "engine/working_days.h"

namespace traveno::engine {
namespace {

using testing::D;
using testing::Month2003;
using testing::Permanent;

PersRow Calculate(const MonthParameters& p, PersRow row, const PastRowsSource* past = nullptr,
                  CalculationDetails* details = nullptr) {
  PayrollEngine engine(p, testing::Brackets2003(), past);
  CalculationDetails d = engine.CalculSalariu(row);
  if (details != nullptr) *details = d;
  return row;
}

TEST(GrossPayTest, WorkedExampleWithBonusesAndHolidayPay) {
  MonthParameters p = Month2003();
  p.company.spor[0].Apl = 1;
  p.company.spor[0].CO = 1;
  p.company.spor[1].Apl = 2;
  p.company.spor[1].Perm = 1;
  PersRow row = Permanent(4000000, 144);
  row.Spor1 = 10;
  row.spor2 = 10;
  row.ZILE_CO = 5;
  CalculationDetails details;
  row = Calculate(p, row, nullptr, &details);
  EXPECT_EQ(details.time_value, 3130435);
  EXPECT_EQ(row.vals1, 400000);
  EXPECT_EQ(row.vals2, 313043);
  EXPECT_EQ(details.bonuses.full[1], 400000);
  EXPECT_EQ(row.SUMA_ZILE_CO, 1035294);
  EXPECT_EQ(row.BRUT, 4878772);
  EXPECT_EQ(row.Brut1, 4965729);
}

TEST(GrossPayTest, TimeValueAndOvertimeByKindOfEmployee) {
  struct Case {
    const char* name;
    std::string tip;
    int platit_ora;
    double timp_zile;
    double timp_luna;
    double ore_zi;
    double timp;
    double timp_spl;
    double time_value;
    double overtime;
    double norma;
  };
  const Case kCases[] = {
      // Hours mode, monthly pay: 168 of 184 hours; overtime on 184 hours.
      {"monthly", "1", 0, 0, 184, 0, 168, 10, 3652174, 217391, 0},
      // Days mode: 20 of 23 days, overtime hours on 23 * 8 hours.
      {"days", "1", 0, 1, 23, 0, 20, 10, 3478261, 217391, 0},
      // Paid by the hour: the rate comes from the 170 average hours.
      {"hourly", "1", 1, 0, 184, 0, 100, 10, 2352941, 235294, 0},
      // Partial contract, 4 hours a day on a 168-hour month: an 84-hour norm.
      {"partial", "2", 0, 0, 168, 4, 42, 2, 2000000, 95238, 84},
      // Partial contract in days mode: the norm is the month's days.
      {"partial days", "2", 0, 1, 21, 4, 21, 0, 4000000, 0, 21},
  };
  for (const Case& c : kCases) {
    MonthParameters p = Month2003();
    p.company.TimpZile = c.timp_zile;
    p.company.TimpLuna = c.timp_luna;
    PersRow row = Permanent(4000000, c.timp);
    row.TIP = c.tip;
    row.PlatitOra = c.platit_ora;
    row.Ore_Zi = c.ore_zi;
    row.TIMP_SPL = c.timp_spl;
    CalculationDetails details;
    row = Calculate(p, row, nullptr, &details);
    EXPECT_EQ(details.time_value, c.time_value) << c.name;
    EXPECT_EQ(row.VAL_TIMP_S, c.overtime) << c.name;
    EXPECT_EQ(details.NormaLuna, c.norma) << c.name;
    EXPECT_EQ(row.BRUT, c.time_value + c.overtime) << c.name;
  }
}

TEST(GrossPayTest, NightWork) {
  MonthParameters p = Month2003();
  p.company.SporNoapte = 25;
  PersRow row = Permanent(4000000, 184);
  row.TIMP_NOAPTE = 20;
  EXPECT_EQ(Calculate(p, row).SUMA_T_NOAPTE, 108696);  // 4 000 000 / 184 * 20 * 25 %
  row.PlatitOra = 1;
  EXPECT_EQ(Calculate(p, row).SUMA_T_NOAPTE, 117647);  // on the 170 average hours
  p.company.TimpZile = 1;
  p.company.TimpLuna = 23;
  row.PlatitOra = 0;
  EXPECT_EQ(Calculate(p, row).SUMA_T_NOAPTE, 108696);  // 23 days of 8 hours
}

TEST(GrossPayTest, PieceWorkPaysTheResult) {
  MonthParameters p = Month2003();
  p.company.spor[0].Apl = 3;  // % of the result
  PersRow row = Permanent(4000000, 184);
  row.REALIZAT = 4500000.4;
  row.Spor1 = 10;
  row.ACORD = "d";  // piece-work for the time value, but not for the bonus
  CalculationDetails details;
  PersRow done = Calculate(p, row, nullptr, &details);
  EXPECT_EQ(details.time_value, row.REALIZAT);  // not rounded
  EXPECT_EQ(done.vals1, 400000);                // 10 % of the time value, as mode 2
  row.ACORD = "D";
  done = Calculate(p, row, nullptr, &details);
  EXPECT_EQ(done.vals1, 450000);
  EXPECT_EQ(details.bonuses.full[0], 450000);
}

TEST(GrossPayTest, BonusModes) {
  struct Case {
    double mode;
    double month;
    double full;
  };
  // SALINC 4 000 000, 92 of 184 hours, figure 10.
  const Case kCases[] = {
      {0, 10, 10}, {1, 400000, 400000}, {2, 200000, 400000}, {3, 200000, 400000},
      {4, 0, 0},   {6, 0, 0},           {-1, 0, 0},          {0.4, 10, 10},
  };
  for (const Case& c : kCases) {
    MonthParameters p = Month2003();
    p.company.spor[2].Apl = c.mode;
    PersRow row = Permanent(4000000, 92);
    row.spor3 = 10;
    CalculationDetails details;
    row = Calculate(p, row, nullptr, &details);
    EXPECT_EQ(row.vals3, c.month) << c.mode;
    EXPECT_EQ(details.bonuses.full[2], c.full) << c.mode;
  }
}

TEST(GrossPayTest, FormulaBonusesSeeEarlierBonusesBeforeRounding) {
  MonthParameters p = Month2003();
  p.company.spor[0].Apl = 2;  // 92 / 184 * 3 333 333 * 10 % = 166 666.65
  p.company.spor[1].Apl = 5;
  p.company.spor[1].Form = "\"VALS1\"*3";
  p.company.spor[2].Apl = 5;
  p.company.spor[2].Form = "\"TARIFAR\"";
  p.company.spor[2].ProcF = 1;
  p.company.spor[3].Apl = 5;
  p.company.spor[3].Form = "\"VALS4\"+\"VAL_TIMP_S\"";  // its own value reads 0
  PersRow row = Permanent(3333333, 92);
  row.Spor1 = 10;
  row.spor3 = 20;
  row.TIMP_SPL = 1;
  CalculationDetails details;
  row = Calculate(p, row, nullptr, &details);
  EXPECT_EQ(row.vals1, 166667);
  EXPECT_EQ(row.vals2, 500000);                 // RoundEven(166 666.65 * 3 = 499 999.95)
  EXPECT_EQ(details.bonuses.full[1], 1000000);  // RoundEven(333 333.3 * 3)
  EXPECT_EQ(row.vals3, 333333);                 // 20 % of the month's tarifar 1 666 666.5
  EXPECT_EQ(details.bonuses.full[2], 666667);
  // Its own value reads 0: only the overtime, RoundEven(3 333 333 / 184 * 1 hour).
  EXPECT_EQ(row.VAL_TIMP_S, 18116);
  EXPECT_EQ(row.vals4, 18116);
}

// Half a month of 4 000 000 with a bonus of 10 %: of the time value in mode
// 2 (200 000 this month, 400 000 for the full month), of the salary in mode 1.
TEST(GrossPayTest, SecondGrossUsesFullValuesOfUnemploymentBonuses) {
  struct Case {
    const char* name;
    double apl, perm;
    double brut, brut1;
  };
  const Case kCases[] = {
      {"month value", 2, 0, 2200000, 2200000},
      {"unemployment on the full value", 2, 1, 2200000, 2400000},
      {"equal month and full values", 1, 1, 2400000, 2400000},
  };
  for (const Case& c : kCases) {
    MonthParameters p = Month2003();
    p.company.spor[0].Apl = c.apl;
    p.company.spor[0].Perm = c.perm;
    PersRow row = Permanent(4000000, 92);
    row.Spor1 = 10;
    const PersRow done = Calculate(p, row);
    EXPECT_EQ(done.BRUT, c.brut) << c.name;
    EXPECT_EQ(done.Brut1, c.brut1) << c.name;
  }
}

TEST(GrossPayTest, ZeroDivisorsGiveZeroAmounts) {
  for (double timp_zile : {0.0, 1.0}) {
    MonthParameters p = Month2003();
    p.company.TimpZile = timp_zile;
    p.company.TimpLuna = 0;
    p.company.MedieOre = 0;
    p.company.spor[0].Apl = 2;
    p.company.spor[1].Apl = 5;
    p.company.spor[1].Form = "\"TARIFAR\"/2";
    for (const char* tip : {"1", "2"}) {
      for (int platit_ora : {0, 1}) {
        PersRow row = Permanent(4000000, 100);
        row.TIP = tip;
        row.PlatitOra = platit_ora;
        row.TIMP_SPL = 5;
        row.TIMP_NOAPTE = 5;
        row.Ore_Zi = 4;
        row.Spor1 = 10;
        row.PRIME = 1000;
        row = Calculate(p, row);
        for (double v : {row.BRUT, row.Brut1, row.VAL_TIMP_S, row.SUMA_T_NOAPTE, row.vals1,
                         row.vals2, row.RESTPL, row.IMPOZIT, row.SOMAJ}) {
          EXPECT_TRUE(std::isfinite(v)) << tip << platit_ora;
        }
        EXPECT_EQ(row.VAL_TIMP_S, 0);
        EXPECT_EQ(row.SUMA_T_NOAPTE, 0);
        EXPECT_EQ(row.vals1, 0);
        EXPECT_EQ(row.vals2, 0);
        EXPECT_EQ(row.BRUT, 1000);
      }
    }
  }
}

// Earlier months of one person, with the working time of each month.
class HolidayPayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    p_ = Month2003();
    p_.company.CO_Form = "\"TARIFAR\"+\"VALS1\"";
    p_.company.LuniCO = 3;
    AddMonth(D(2003, 1, 1), 6000000);
    AddMonth(D(2003, 2, 1), 9000000);
  }
  void AddMonth(Date month, double salinc) {
    PersRow past = Permanent(salinc, 160);
    past.LUNA = month;
    past.vals1 = 100000;
    past_.AddRow(past);
    past_.SetCompanyRows(month, {{"TimpLuna", 160, ""}});
  }
  PersRow OnLeave(double salinc) {
    PersRow row = Permanent(salinc, 144);
    row.ZILE_CO = 5;
    return row;
  }
  MonthParameters p_;
  MemoryPastRows past_;
};

TEST_F(HolidayPayTest, AverageOfFewerRowsThanMonthsDividesByTheRows) {
  // (6 100 000 + 9 100 000) / 2 = 7 600 000 a month; 5 days of 21.25.
  CalculationDetails details;
  const PersRow row = Calculate(p_, OnLeave(4000000), &past_, &details);
  ASSERT_TRUE(details.medie_co);
  EXPECT_EQ(*details.medie_co, 7600000);
  EXPECT_EQ(row.SUMA_ZILE_CO, 1788235);  // above the salary-based 941 176
}

TEST_F(HolidayPayTest, AverageOfAsManyRowsAsMonthsDividesByTheMonths) {
  AddMonth(D(2002, 12, 1), 3000000);
  AddMonth(D(2002, 11, 1), 99000000);  // outside the three months
  CalculationDetails details;
  Calculate(p_, OnLeave(4000000), &past_, &details);
  EXPECT_EQ(*details.medie_co, (3100000 + 6100000 + 9100000) / 3.0L);
}

TEST_F(HolidayPayTest, SalaryBasedPayWinsWhenHigher) {
  const PersRow row = Calculate(p_, OnLeave(40000000), &past_);
  EXPECT_EQ(row.SUMA_ZILE_CO, 9411765);  // 40 000 000 / 21.25 * 5
}

TEST_F(HolidayPayTest, NoLeaveDaysNoHolidayPay) {
  PersRow row = OnLeave(4000000);
  row.ZILE_CO = 0;
  CalculationDetails details;
  row = Calculate(p_, row, &past_, &details);
  EXPECT_EQ(row.SUMA_ZILE_CO, 0);
  EXPECT_FALSE(details.medie_co);
}

TEST_F(HolidayPayTest, CoefCOZeroDividesByOne) {
  p_.company.CO_Form = "";
  p_.company.CoefCO = 0;
  EXPECT_EQ(Calculate(p_, OnLeave(4000000), &past_).SUMA_ZILE_CO, 20000000);
}

TEST_F(HolidayPayTest, WorkingMonthAloneUsesTheStoredRowAndThisMonthsBonuses) {
  p_.company.LuniCO = 0;
  p_.company.spor[0].Apl = 0;
  PersRow stored = Permanent(8000000, 184);
  stored.vals1 = 999;  // the stored value is not what VALS1 reads
  past_.AddRow(stored);
  past_.SetCompanyRows(D(2003, 3, 1), {{"TimpLuna", 184, ""}});
  PersRow row = OnLeave(4000000);
  row.Spor1 = 50000;
  CalculationDetails details;
  Calculate(p_, row, &past_, &details);
  EXPECT_EQ(*details.medie_co, 8050000);
}

TEST_F(HolidayPayTest, MonthWithoutWorkingTimeKeepsThePreviousFigures) {
  past_.SetCompanyRows(D(2003, 2, 1), {});
  CalculationDetails details;
  Calculate(p_, OnLeave(4000000), &past_, &details);
  // February reuses January's tarifar (6 000 000) plus its own VALS1.
  EXPECT_EQ(*details.medie_co, 6100000);
}

TEST(WorkingDaysTest, FractionOfTheMonthEmployed) {
  MonthParameters p = Month2003();
  p.luna = D(2003, 9, 1);  // September 2003 starts on a Monday; 22 working days
  p.company.TimpLuna = 176;
  struct Case {
    const char* name;
    Date hired;
    Date left;
    int unpaid_days;
    std::string holidays;
    long double fraction;
  };
  const Case kCases[] = {
      {"whole month", D(2001, 1, 1), Date(), 0, "", 1},
      {"hired on the 1st", D(2003, 9, 1), Date(), 2, "", 20.0L / 22},
      {"hired Monday 8th", D(2003, 9, 8), Date(), 0, "", 17.0L / 22},
      {"holiday before hiring", D(2003, 9, 8), Date(), 0, ",2", 18.0L / 22},
      {"left Friday 26th", D(2001, 1, 1), D(2003, 9, 26), 0, "", 20.0L / 22},
      {"left after the month", D(2001, 1, 1), D(2003, 10, 3), 0, "", 1},
      {"left before the month", D(2001, 1, 1), D(2003, 8, 29), 0, "", 0},
  };
  for (const Case& c : kCases) {
    PersRow row = Permanent(1, 1);
    row.DATA_ANG = c.hired;
    row.DATA_LICH = c.left;
    row.ZILE_FP = c.unpaid_days;
    p.company.ZileLibere = c.holidays;
    EXPECT_EQ(FractieZileLucratoare(row, p), c.fraction) << c.name;
  }
  p.company.TimpLuna = 0;
  EXPECT_EQ(FractieZileLucratoare(Permanent(1, 1), p), 1);
}

TEST(WorkingDaysTest, HolidayListAndActivity) {
  EXPECT_TRUE(EsteZiLibera(1, ",1,2,24"));
  EXPECT_TRUE(EsteZiLibera(24, ",1,2,24"));
  EXPECT_FALSE(EsteZiLibera(4, ",1,2,24"));  // not the 4 of 24
  EXPECT_FALSE(EsteZiLibera(1, "1,2"));      // the list starts with a comma
  PersRow row;
  EXPECT_TRUE(AreActivitate(row));
  row.ZILE_CIC = 20;
  EXPECT_FALSE(AreActivitate(row));
  row.ZILE_CO = 1;
  EXPECT_TRUE(AreActivitate(row));
}

}  // namespace
}  // namespace traveno::engine
