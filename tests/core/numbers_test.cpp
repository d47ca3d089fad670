#include "core/numbers.h"

#include <gtest/gtest.h>

namespace traveno {
namespace {

TEST(RoundEvenTest, TiesGoToTheEvenNeighbour) {
  struct Case {
    long double value;
    long double expected;
  };
  const Case kCases[] = {{2.5L, 2}, {3.5L, 4},    {-2.5L, -2},  {-3.5L, -4},         {0.5L, 0},
                         {1.5L, 2}, {2.4999L, 2}, {2.5001L, 3}, {374400.5L, 374400}, {0, 0}};
  for (const Case& c : kCases) EXPECT_EQ(RoundEven(c.value), c.expected) << (double)c.value;
}

TEST(ParseNumberTest, AcceptsEitherSeparatorButNotBoth) {
  struct Case {
    const char* text;
    double fallback;
    double expected;
  };
  const Case kCases[] = {
      {"12,50", 0, 12.5}, {"12.50", 0, 12.5}, {"1.234,5", 7, 7}, {"abc", 7, 7},
      {"", 3, 3},         {" 42 ", 0, 42},    {"-1,5", 0, -1.5}, {"1e3", 0, 1000},
      {"0x10", 9, 9},     {"inf", 9, 9},      {"1,2,3", 9, 9},
  };
  for (const Case& c : kCases) EXPECT_EQ(ParseNumber(c.text, c.fallback), c.expected) << c.text;
}

TEST(FormatNumberTest, TheProgramsMasks) {
  struct Case {
    long double value;
    NumberMask mask;
    const char* expected;
  };
  const Case kCases[] = {
      {1234567, NumberMask::kInteger, "1 234 567"},
      {0, NumberMask::kInteger, "0"},
      {-1234.4L, NumberMask::kInteger, "-1 234"},
      {999.5L, NumberMask::kInteger, "1 000"},
      {1234.5L, NumberMask::kTwoDecimals, "1 234,50"},
      {0.125L, NumberMask::kTwoDecimals, "0,13"},
      {1234.5L, NumberMask::kUpToTwoDecimals, "1 234,5"},
      {1234, NumberMask::kUpToTwoDecimals, "1 234"},
      {0.75L, NumberMask::kUpToTwoDecimals, "0,75"},
      {-0.001L, NumberMask::kUpToTwoDecimals, "0"},
      {123456789012LL, NumberMask::kGrouped, "123 456 789 012"},
      {0, NumberMask::kGrouped, ""},
      {-0.004L, NumberMask::kTwoDecimals, "0,00"},
      {-0.4L, NumberMask::kInteger, "0"},
      {100.1L, NumberMask::kUpToTwoDecimals, "100,1"},
      {-1000000.5L, NumberMask::kGrouped, "-1 000 001"},
      {0.4L, NumberMask::kGrouped, ""},
      // Both sides of the largest whole number written without the C library.
      {999999999999999999.0L, NumberMask::kInteger, "999 999 999 999 999 999"},
      {1e18L, NumberMask::kInteger, "1 000 000 000 000 000 000"},
      {-12345678901.005L, NumberMask::kTwoDecimals, "-12 345 678 901,01"},
      // Halves go away from zero, up to the whole number that leaves the fast path.
      {0.5L, NumberMask::kInteger, "1"},
      {-2.5L, NumberMask::kGrouped, "-3"},
      {-0.125L, NumberMask::kUpToTwoDecimals, "-0,13"},
      {999999999999999999.5L, NumberMask::kInteger, "1 000 000 000 000 000 000"},
      {9999999999999999.5L, NumberMask::kTwoDecimals, "9 999 999 999 999 999,50"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(FormatNumber(c.value, c.mask), c.expected) << (double)c.value;
  }
  EXPECT_EQ(FormatN(3775600, 0), "3 775 600");
  EXPECT_EQ(FormatN(1234.5L, 2), "1 234,50");
  EXPECT_EQ(FormatN(-0.5L, 0), "-1");
  EXPECT_EQ(FormatN(12.3456L, 3), "12,346");
}

// A double is written as the same value as a long double is, whichever
// way it takes to its text.
TEST(FormatNumberTest, ADoubleIsWrittenAsTheSameLongDouble) {
  const double kValues[] = {0,         -0.0,
                            0.5,       -0.5,
                            2.5,       0.125,
                            -0.125,    0.1,
                            2.675,     1.005,
                            -1234.565, 1e17,
                            9.5e17,    999999999999999872.0,
                            1e18,      -1e19,
                            1e300,     4.94e-324,
                            3775600,   0.49999999999999994};
  const NumberMask kMasks[] = {NumberMask::kInteger, NumberMask::kTwoDecimals,
                               NumberMask::kUpToTwoDecimals, NumberMask::kGrouped};
  for (const double value : kValues) {
    for (const NumberMask mask : kMasks) {
      EXPECT_EQ(FormatNumber(value, mask), FormatNumber(static_cast<long double>(value), mask))
          << value << " mask " << static_cast<int>(mask);
    }
  }
  EXPECT_EQ(FormatNumber(2.5, NumberMask::kInteger), "3");
  EXPECT_EQ(FormatNumber(1, NumberMask::kTwoDecimals), "1,00");  // a whole number: long double
}

}  // namespace
}  // namespace traveno
