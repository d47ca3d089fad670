#include "personnel/personal_code.h"

#include <gtest/gtest.h>

namespace traveno::personnel {
namespace {

TEST(ControlDigitTest, WeightedSumModuloElevenWithTenGivingOne) {
  EXPECT_EQ(ControlDigit("185031512345"), "5");  // sum 236, remainder 5
  EXPECT_EQ(ControlDigit("185031500008"), "1");  // sum 208, remainder 10
  // Every digit weighs in: a fourth digit of 1 (sum 225), and codes whose
  // twelve digits are all non-zero (sums 337 and 370).
  EXPECT_EQ(ControlDigit("185101512345"), "5");
  EXPECT_EQ(ControlDigit("298121734567"), "7");
  EXPECT_EQ(ControlDigit("279112398765"), "7");
  EXPECT_EQ(ControlDigit("18503151234"), "");
  EXPECT_EQ(ControlDigit("18503151234x"), "");
}

TEST(CheckPersonalCodeTest, TheFirstFailureWins) {
  struct Case {
    const char* code;
    bool passed;
    const char* message;
  };
  const Case kCases[] = {
      {"1850315123455", true, "CNP corect."},
      {"  1850315123455 ", true, "CNP corect."},
      {"1850315000081", true, "CNP corect."},
      {"1851015123455", true, "CNP corect."},  // born in October
      {"1851015123456", false, "Suma de control incorecta. Cea corecta este \"5\" si nu \"6\"."},
      {"1850315123454", false, "Suma de control incorecta. Cea corecta este \"5\" si nu \"4\"."},
      {"185031512345", false, "CNP-ul nu este din 13 caractere !!"},
      {"18503151234555", false, "CNP-ul nu este din 13 caractere !!"},
      {"18503151234a5", false, "CNP-ul trebuie sa contina numai cifre !!"},
      // An impossible date fails before the control digit is looked at.
      {"1851315123450", false,
       "Data nasterii din CNP nu este corecta! Trebuie scrisa in formatul: AALLZZ."},
      {"1850230123450", false,
       "Data nasterii din CNP nu este corecta! Trebuie scrisa in formatul: AALLZZ."},
      {"3000101123450", false,
       "Data nasterii din CNP nu este corecta! Trebuie scrisa in formatul: AALLZZ."},
  };
  for (const Case& c : kCases) {
    const CodeCheck check = CheckPersonalCode(c.code);
    EXPECT_EQ(check.passed, c.passed) << c.code;
    EXPECT_EQ(check.message, c.message) << c.code;
  }
  // A first digit of 3 takes the two digits alone as the year: 85 is a year.
  const std::string twelve = "385031512345";
  EXPECT_TRUE(CheckPersonalCode(twelve + ControlDigit(twelve)).passed);
}

TEST(BirthDateTest, CenturyFromTheFirstDigit) {
  EXPECT_EQ(BirthDateFromCode("1850315123455"), Date::FromYmd(1985, 3, 15));
  EXPECT_EQ(BirthDateFromCode("2850315123455"), Date::FromYmd(1985, 3, 15));
  EXPECT_EQ(BirthDateFromCode("5030315123455"), Date::FromYmd(2003, 3, 15));
  EXPECT_EQ(BirthDateFromCode("7850315123455"), Date::FromYmd(85, 3, 15));
  EXPECT_FALSE(BirthDateFromCode("185"));
}

TEST(BirthDateTest, AChildIsUnder18UntilTheMonthOfTheEighteenthBirthday) {
  // Born 15.03.1985: still a child in March 2003, no longer from April.
  EXPECT_TRUE(IsUnder18In("1850315123455", Date::FromYmd(2003, 3, 1)));
  EXPECT_FALSE(IsUnder18In("1850315123455", Date::FromYmd(2003, 4, 1)));
  EXPECT_FALSE(IsUnder18In("bad", Date::FromYmd(2003, 3, 1)));
}

TEST(SolveMissingDigitTest, CandidatesMustGiveAValidCode) {
  EXPECT_EQ(SolveMissingDigit("185031512345?"), "5");
  // The month's first digit: only 0 and 1 can form a month, and the control
  // digit must match too.
  const std::string solved = SolveMissingDigit("18?0315123455");
  EXPECT_EQ(solved, "5");
  EXPECT_EQ(SolveMissingDigit("185?315123455"), "0");
  EXPECT_EQ(SolveMissingDigit("185?015123455"), "1");  // month 00 is no month
  EXPECT_EQ(SolveMissingDigit("18503151234??"), "");
  EXPECT_EQ(SolveMissingDigit("1850315123455"), "");
}

TEST(VerifyCodeAnswerTest, TheWindowsAnswers) {
  struct Case {
    const char* typed;
    const char* answer;
  };
  const Case kCases[] = {
      {" 185031512345 ", "Suma de control este \"5\"."},
      {"1850315123455", "CNP-ul introdus este corect."},
      {"1850315123454", "Suma de control incorecta. Cea corecta este \"5\" si nu \"4\"."},
      {"185?315123455", "Cifra necunoscuta este: 0."},
      {"185?315123456", "Valorile posibile pentru cifra necunoscuta sunt: ."},
      {"18503151234??",
       "Format incorect. Trebuie sa introduceti 13 caractere dintre care \r\ncel mult unul sa "
       "fie \"?\" iar restul cifre."},
      {"abc",
       "Format incorect. Trebuie sa introduceti 13 caractere dintre care \r\ncel mult unul sa "
       "fie \"?\" iar restul cifre."},
  };
  for (const Case& c : kCases) EXPECT_EQ(VerifyCodeAnswer(c.typed), c.answer) << c.typed;
}

}  // namespace
}  // namespace traveno::personnel
