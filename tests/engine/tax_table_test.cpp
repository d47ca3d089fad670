#include "engine/tax_table.h"

#include <gtest/gtest.h>

namespace traveno::engine {
namespace {

const TaxTable kTwoBrackets = {{0, 0, 18}, {2100000, 378000, 23}};

TEST(ImpozitLunarTest, UsesTheLastBracketStrictlyBelowTheAmount) {
  struct Case {
    long double amount;
    long double tax;
  };
  const Case kCases[] = {
      {2100000, 378000},   // on the threshold: the lower bracket
      {2100001, 378000},   // RoundEven(378 000.23)
      {3000000, 585000},   // 378 000 + 23 % of 900 000
      {1000000, 180000},
      {0, 0},              // at the first threshold: the first bracket
      {-100000, -18000},   // a negative amount gets a negative tax
      {1000000000, 378000 + 0.23L * (1000000000 - 2100000)},  // above the last threshold
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(ImpozitLunar(kTwoBrackets, c.amount), c.tax) << static_cast<double>(c.amount);
  }
}

TEST(ImpozitLunarTest, EmptyTableTaxesNothing) {
  EXPECT_EQ(ImpozitLunar({}, 5000000), 0);
  EXPECT_EQ(ImpozitAnual({}, 5000000), 0);
}

TEST(ImpozitLunarTest, TiesRoundToEven) {
  const TaxTable table = {{0, 0, 10}};
  EXPECT_EQ(ImpozitLunar(table, 25), 2);   // 2.5
  EXPECT_EQ(ImpozitLunar(table, 35), 4);   // 3.5
}

TEST(TaxCalculatorTest, GrossNetAndTaxGoRoundTheCircle) {
  EXPECT_EQ(TaxFromGross(kTwoBrackets, 1000000).tax, 180000);
  EXPECT_EQ(TaxFromGross(kTwoBrackets, 1000000).net, 820000);

  auto from_net = TaxFromNet(kTwoBrackets, 820000);
  ASSERT_TRUE(from_net);
  EXPECT_EQ(from_net->tax, 180000);
  EXPECT_EQ(from_net->gross, 1000000);

  auto from_tax = TaxFromTax(kTwoBrackets, 180000);
  ASSERT_TRUE(from_tax);
  EXPECT_EQ(from_tax->gross, 1000000);
  EXPECT_EQ(from_tax->net, 820000);

  // In the upper bracket, each direction gives back the other two.
  auto upper = TaxFromTax(kTwoBrackets, 585000);
  ASSERT_TRUE(upper);
  EXPECT_EQ(upper->gross, 3000000);
  auto upper_net = TaxFromNet(kTwoBrackets, 3000000 - 585000);
  ASSERT_TRUE(upper_net);
  EXPECT_EQ(upper_net->tax, 585000);
}

TEST(TaxCalculatorTest, NothingTypedGivesZeros) {
  for (long double value : {0.0L, -5.0L}) {
    EXPECT_EQ(TaxFromGross(kTwoBrackets, value).gross, 0);
    EXPECT_EQ(TaxFromNet(kTwoBrackets, value)->tax, 0);
    EXPECT_EQ(TaxFromTax(kTwoBrackets, value)->gross, 0);
  }
}

TEST(TaxCalculatorTest, RatesThatCannotBeInvertedGiveNoFigures) {
  EXPECT_FALSE(TaxFromTax(TaxTable{{0, 0, 0}}, 1000));
  EXPECT_FALSE(TaxFromNet(TaxTable{{0, 0, 100}}, 1000));
  EXPECT_FALSE(TaxFromTax(TaxTable{}, 1000));
}

TEST(VerificaTabelTest, NamesTheFirstWrongLineAndItsCorrectValue) {
  TaxTable table = {{0, 0, 18}, {2100000, 378000, 23}, {5200000, 1091001, 28}};
  EXPECT_EQ(VerificaTabel(table),
            "Valoarea nu concorda in linia '3' Corect este \r\n'1091000");
  table[2].V_Const = 1091000;
  EXPECT_EQ(VerificaTabel(table), "Totul este in regula. ");
  EXPECT_EQ(VerificaTabel({}), "Totul este in regula. ");
}

TEST(ShortNumberTextTest, WritesUpToFifteenSignificantDigitsWithComma) {
  EXPECT_EQ(ShortNumberText(1091000), "1091000");
  EXPECT_EQ(ShortNumberText(12.5), "12,5");
  EXPECT_EQ(ShortNumberText(500000.5), "500000,5");
  EXPECT_EQ(ShortNumberText(144.0L * 4000000 / 184), "3130434,7826087");
  EXPECT_EQ(ShortNumberText(0), "0");
}

}  // namespace
}  // namespace traveno::engine
