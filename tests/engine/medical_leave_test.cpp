#include "engine/medical_leave.h"

#include <gtest/gtest.h>

#include "core/numbers.h"
#include "engine/engine_fixtures.h"

namespace traveno::engine {
namespace {

using testing::D;

class MedieCMTest : public ::testing::Test {
 protected:
  void AddMonth(int month, double brut, double timp, double zile_co = 0) {
    PersRow row;
    row.IID = 1;
    row.LUNA = D(2003, month, 1);
    row.BRUT = brut;
    row.TIMP = timp;
    row.ZILE_CO = zile_co;
    history_.push_back(row);
    months_.SetCompanyRows(row.LUNA, {{"TimpLuna", 168, ""}, {"TimpZile", 0, ""}});
  }
  std::vector<PersRow> history_;
  MemoryPastRows months_;
};

TEST_F(MedieCMTest, FirstMonthHasNoAverage) {
  AddMonth(3, 5000000, 168);
  const MedicalAverage a = MedieCM(history_, D(2003, 3, 1), 6, months_);
  EXPECT_EQ(a.months, 0);
  EXPECT_EQ(a.average, 0);
  EXPECT_EQ(MedieCM(history_, D(2003, 9, 1), 6, months_).months, 0);  // not in the history
}

TEST_F(MedieCMTest, FewerMonthsThanAskedUsesWhatThereIs) {
  AddMonth(1, 4200000, 168, 2);  // min(21, 21 + 2) = 21 days
  AddMonth(2, 2100000, 84);      // 10.5 days
  AddMonth(3, 3000000, 80);
  AddMonth(4, 9999999, 168);  // the working month is not counted
  const MedicalAverage a = MedieCM(history_, D(2003, 4, 1), 6, months_);
  EXPECT_EQ(a.months, 3);
  EXPECT_EQ(a.sum, 9300000);
  EXPECT_EQ(a.days, 21 + 10.5 + 10);
  EXPECT_EQ(a.average, RoundEven(9300000 / 41.5L));
  EXPECT_EQ(MedieCM(history_, D(2003, 4, 1), 2, months_).sum, 5100000);
}

TEST_F(MedieCMTest, MonthWithoutWorkingTimeKeepsThePreviousMonths) {
  AddMonth(1, 4200000, 168);
  AddMonth(2, 4200000, 168);
  AddMonth(3, 0, 0);
  months_.SetCompanyRows(D(2003, 1, 1), {});  // walked last: keeps February's 168 hours
  EXPECT_EQ(MedieCM(history_, D(2003, 3, 1), 6, months_).days, 42);
}

TEST(SumaCMTest, RoundsUpToTheThousand) {
  EXPECT_EQ(SumaCM(3, 33333.33), 100000);
  EXPECT_EQ(SumaCM(4, 25000), 100000);
  EXPECT_EQ(SumaCM(0, 25000), 0);
  EXPECT_EQ(SumaCM(1, 1000.5), 1000.5);  // a whole part on the thousand is kept as it is
}

TEST(SplitLeaveTest, DaysByKindAndCompanySize) {
  struct Case {
    const char* name;
    std::optional<LeaveKind> kind;
    int days;
    int staff;
    int unpaid, company, state, cic;
  };
  const Case kCases[] = {
      {"short illness", LeaveKind::kOrdinary, 2, 15, 2, 0, 0, 0},
      {"three days are paid", LeaveKind::kOrdinary, 3, 15, 0, 3, 0, 0},
      {"small company", LeaveKind::kOrdinary, 10, 15, 0, 7, 3, 0},
      {"20 employees", LeaveKind::kSpecial, 10, 20, 0, 7, 3, 0},
      {"21 employees", LeaveKind::kOrdinaryLong, 15, 21, 0, 12, 3, 0},
      {"medium company", LeaveKind::kOrdinary, 10, 50, 0, 10, 0, 0},
      {"100 employees", LeaveKind::kOrdinary, 20, 100, 0, 12, 8, 0},
      {"101 employees", LeaveKind::kOrdinary, 20, 101, 0, 17, 3, 0},
      {"large company", LeaveKind::kOrdinary, 10, 150, 0, 10, 0, 0},
      {"large company, long", LeaveKind::kOrdinary, 20, 150, 0, 17, 3, 0},
      {"maternity", LeaveKind::kMaternity, 20, 15, 0, 0, 20, 0},
      {"occupational", LeaveKind::kOccupational, 2, 15, 0, 2, 0, 0},
      {"child care", LeaveKind::kChildCare, 20, 15, 0, 0, 0, 20},
      {"no kind chosen", std::nullopt, 5, 15, 0, 0, 5, 0},
  };
  for (const Case& c : kCases) {
    const LeaveSplit s = SplitLeave(c.kind, 100000, c.days, c.staff);
    EXPECT_EQ(s.unpaid_days, c.unpaid) << c.name;
    EXPECT_EQ(s.company_days, c.company) << c.name;
    EXPECT_EQ(s.state_days, c.state) << c.name;
    EXPECT_EQ(s.cic_days, c.cic) << c.name;
  }
  const LeaveSplit ordinary = SplitLeave(LeaveKind::kOrdinary, 44444.44, 10, 15);
  EXPECT_EQ(ordinary.per_day, 0.75L * 44444.44);
  EXPECT_EQ(ordinary.company_amount, 234000);  // 233 333.31 up to the thousand
  EXPECT_EQ(ordinary.state_amount, 100000);    // 99 999.99
  EXPECT_EQ(SplitLeave(std::nullopt, 100000, 5, 15).state_amount, 0);
}

TEST(SplitLeaveTest, ChildCareAverageIsCappedAndAddedToTheRow) {
  MedicalAverage average;
  average.average = 200000;
  EXPECT_EQ(StartingAverage(average, 10, 150000), 150000);
  EXPECT_EQ(StartingAverage(average, 6, 150000), 200000);

  PersRow row;
  row.CM1L = 1;
  row.ZILE_CM = 1;
  LeaveSplit split = SplitLeave(LeaveKind::kOrdinary, 100000, 10, 15);
  AddLeaveToRow(row, split);
  EXPECT_EQ(row.CM1L, 1 + 525000);
  EXPECT_EQ(row.CM2L, 225000);
  EXPECT_EQ(row.ZILE_CM, 11);
  AddLeaveToRow(row, SplitLeave(LeaveKind::kOrdinary, 100000, 2, 15));  // unpaid days
  EXPECT_EQ(row.ZILE_CM, 11);
  AddLeaveToRow(row, SplitLeave(LeaveKind::kChildCare, 100000, 4, 15));
  EXPECT_EQ(row.ZILE_CIC, 4);
  EXPECT_EQ(row.CIC, 340000);
}

}  // namespace
}  // namespace traveno::engine
