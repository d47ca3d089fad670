#include "core/date.h"

#include <gtest/gtest.h>

namespace traveno {
namespace {

Date D(int y, int m, int d) { return Date::FromYmd(y, m, d); }

TEST(DateTest, ZeroIsTheEmptyDateOfThirtiethDecember1899) {
  EXPECT_EQ(EmptyDate(), D(1899, 12, 30));
  EXPECT_TRUE(Date().IsEmpty());
  EXPECT_EQ(D(1900, 1, 1).serial(), 2);
  EXPECT_EQ(NoWorkingMonth(), D(1800, 1, 1));
  EXPECT_LT(NoWorkingMonth(), EmptyDate());
}

TEST(DateTest, TextsAndTheirParsing) {
  EXPECT_EQ(D(2003, 1, 5).ToText(), "05.01.2003");
  EXPECT_EQ(D(2003, 1, 5).ToIso(), "2003-01-05");
  EXPECT_EQ(Date::ParseIso("2004-02-29"), D(2004, 2, 29));
  EXPECT_EQ(Date::ParseText("5.1.2003"), D(2003, 1, 5));
  for (const char* bad : {"2003-02-29", "2003-13-01", "2003-1-01", "", "abc", "2003-01-01x"}) {
    EXPECT_FALSE(Date::ParseIso(bad)) << bad;
  }
  EXPECT_FALSE(Date::ParseText("31.04.2003"));
  EXPECT_THROW(D(2003, 2, 29), std::invalid_argument);
}

TEST(DateTest, WeekdaysFromTheZeroDate) {
  EXPECT_EQ(D(1899, 12, 30).IsoWeekday(), 6);  // a Saturday
  EXPECT_EQ(D(2003, 1, 1).IsoWeekday(), 3);    // a Wednesday
  EXPECT_EQ(D(1800, 1, 1).IsoWeekday(), 3);
}

TEST(AddMonthsTest, KeepsTheDayOrTheLastDayOfTheMonth) {
  struct Case {
    Date from;
    int months;
    Date expected;
  };
  const Case kCases[] = {
      {D(2003, 5, 31), 1, D(2003, 6, 30)},   {D(2003, 5, 31), -3, D(2003, 2, 28)},
      {D(2003, 1, 15), -1, D(2002, 12, 15)}, {D(2003, 1, 31), 1, D(2003, 2, 28)},
      {D(2004, 1, 31), 1, D(2004, 2, 29)},   {D(2004, 3, 31), -1, D(2004, 2, 29)},
      {D(2003, 12, 1), 1, D(2004, 1, 1)},    {D(2003, 1, 1), -1, D(2002, 12, 1)},
      {D(2003, 12, 15), 12, D(2004, 12, 15)}, {D(2003, 7, 9), 0, D(2003, 7, 9)},
      {D(2003, 11, 30), -23, D(2001, 12, 30)},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(AddMonths(c.from, c.months), c.expected)
        << c.from.ToText() << " + " << c.months;
  }
}

TEST(MonthArithmeticTest, FirstAndLastDays) {
  EXPECT_EQ(LastOfMonth(D(2004, 2, 1)), D(2004, 2, 29));
  EXPECT_EQ(LastOfMonth(D(2004, 2, 29)), D(2004, 2, 29));
  EXPECT_EQ(LastOfMonth(D(2003, 2, 14)), D(2003, 2, 28));
  EXPECT_EQ(LastOfMonth(D(2003, 12, 31)), D(2003, 12, 31));
  EXPECT_EQ(FirstOfNextMonth(D(2003, 1, 31)), D(2003, 2, 1));
  EXPECT_EQ(FirstOfNextMonth(D(2003, 12, 5)), D(2004, 1, 1));
  EXPECT_EQ(DayOf(D(2003, 7, 9)), 9);
  EXPECT_EQ(MonthOf(D(2003, 7, 9)), 7);
}

TEST(MonthTextTest, UpperCaseNameSlashYearAndABlank) {
  EXPECT_EQ(MonthText(D(2003, 1, 1)), "IANUARIE / 2003 ");
  EXPECT_EQ(MonthText(D(2004, 12, 1)), "DECEMBRIE / 2004 ");
  EXPECT_EQ(MonthText(D(2002, 9, 17)), "SEPTEMBRIE / 2002 ");
}

}  // namespace
}  // namespace traveno
