#include "declarations/insured_payment.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace traveno::declarations {
namespace {

struct Parts {
  std::vector<long double> paid;
  std::vector<long double> unpaid;
};

Parts Spread(const std::vector<long double>& dues, SpreadMode mode, long double paid_total) {
  Parts parts;
  for (const InsuredPayment& part : SpreadInsuredPayment(dues, mode, paid_total)) {
    parts.paid.push_back(part.paid);
    parts.unpaid.push_back(part.unpaid);
  }
  return parts;
}

TEST(SpreadInsuredPaymentTest, ProportionalSharesAndFirstInsuredFirst) {
  const std::vector<long double> dues = {300, 100};
  const auto shares = SpreadInsuredPayment(dues, SpreadMode::kProportional, 200);
  EXPECT_EQ(shares[0].share, 75);
  EXPECT_EQ(shares[1].share, 25);
  Parts proportional = Spread(dues, SpreadMode::kProportional, 200);
  EXPECT_EQ(proportional.paid, (std::vector<long double>{150, 50}));
  EXPECT_EQ(proportional.unpaid, (std::vector<long double>{150, 50}));
  Parts first = Spread(dues, SpreadMode::kFirstInsured, 200);
  EXPECT_EQ(first.paid, (std::vector<long double>{200, 0}));
  EXPECT_EQ(first.unpaid, (std::vector<long double>{100, 100}));
}

TEST(SpreadInsuredPaymentTest, TheRunningSumStopsAtThePaidTotal) {
  const std::vector<long double> dues = {1, 1, 1, 0};
  const auto parts = SpreadInsuredPayment(dues, SpreadMode::kProportional, 2);
  const long double expected_shares[] = {33.33L, 33.33L, 33.33L, 0};
  const long double expected_paid[] = {1, 1, 0, 0};
  const long double expected_unpaid[] = {0, 0, 1, 0};
  for (std::size_t i = 0; i < dues.size(); ++i) {
    EXPECT_NEAR(static_cast<double>(parts[i].share), static_cast<double>(expected_shares[i]), 1e-9);
    EXPECT_EQ(parts[i].paid, expected_paid[i]) << i;
    EXPECT_EQ(parts[i].unpaid, expected_unpaid[i]) << i;
  }
}

// Rounding the shares may leave part of the payment unspread (seven persons
// owing 1 leu and 3 lei paid: each share rounds to 0 lei); what is left goes
// to the last persons who still owe, so the parts always add up.
TEST(SpreadInsuredPaymentTest, BothSpreadsAddUpToThePaymentAndNobodyPaysMoreThanTheirDue) {
  struct Case {
    std::vector<long double> dues;
    long double paid;
    std::vector<long double> proportional;  // the expected paid parts
  };
  const std::vector<Case> kCases = {
      {{1, 1, 1, 1, 1, 1, 1, 0}, 3, {0, 0, 0, 0, 1, 1, 1, 0}},
      {{3, 3, 3, 1}, 5, {2, 2, 1, 0}},
      {{100, 1}, 50, {50, 0}},
      {{40, 0, 35, 25}, 99, {40, 0, 35, 24}},
      {{12345, 6789, 101, 55555}, 70000, {11557, 6356, 98, 51989}},
      // Shares 31.03% and 6.90%: 8, 8, 8 and 2 lei leave 1 leu, which the
      // last person cannot take (their 2 lei are paid): the third one does.
      {{9, 9, 9, 2}, 27, {8, 8, 9, 2}},
  };
  for (const Case& c : kCases) {
    for (SpreadMode mode : {SpreadMode::kProportional, SpreadMode::kFirstInsured}) {
      const Parts parts = Spread(c.dues, mode, c.paid);
      EXPECT_EQ(std::accumulate(parts.paid.begin(), parts.paid.end(), 0.0L), c.paid)
          << "mode " << static_cast<int>(mode) << ", paid " << static_cast<double>(c.paid);
      for (std::size_t i = 0; i < c.dues.size(); ++i) {
        EXPECT_LE(parts.paid[i], c.dues[i]) << i;
        EXPECT_GE(parts.paid[i], 0) << i;
        EXPECT_EQ(parts.unpaid[i], c.dues[i] - parts.paid[i]) << i;
      }
      if (mode == SpreadMode::kProportional) {
        EXPECT_EQ(parts.paid, c.proportional);
      }
    }
  }
}

TEST(SpreadInsuredPaymentTest, AFullPaymentOrNoModeLeavesNothingUnpaid) {
  const std::vector<long double> dues = {300, 100};
  struct Case {
    SpreadMode mode;
    long double paid;
  };
  const Case kCases[] = {{SpreadMode::kNone, 0},
                         {SpreadMode::kNone, 150},
                         {SpreadMode::kProportional, 400},
                         {SpreadMode::kProportional, 1000},
                         {SpreadMode::kFirstInsured, 400.4L},
                         {SpreadMode::kFirstInsured, 1000}};
  for (const Case& c : kCases) {
    const Parts parts = Spread(dues, c.mode, c.paid);
    EXPECT_EQ(parts.paid, dues) << static_cast<double>(c.paid);
    EXPECT_EQ(parts.unpaid, (std::vector<long double>{0, 0}));
  }
}

TEST(SpreadInsuredPaymentTest, NothingDueGivesZeroPartsAndUnknownModesDoNotSpread) {
  const std::vector<long double> nothing = {0, 0};
  for (const InsuredPayment& part : SpreadInsuredPayment(nothing, SpreadMode::kProportional, 0)) {
    EXPECT_EQ(part.share, 0);
    EXPECT_EQ(part.paid, 0);
    EXPECT_EQ(part.unpaid, 0);
  }
  EXPECT_TRUE(SpreadInsuredPayment({}, SpreadMode::kFirstInsured, 10).empty());
  EXPECT_EQ(SpreadModeOf(1), SpreadMode::kProportional);
  EXPECT_EQ(SpreadModeOf(3), SpreadMode::kFirstInsured);
  for (double other : {0.0, 2.0, 1.5, -1.0}) EXPECT_EQ(SpreadModeOf(other), SpreadMode::kNone);
}

}  // namespace
}  // namespace traveno::declarations
