// How the unemployment contribution paid by the insured is spread over the
// insured persons when less than their due was paid: in proportion to each
// person's contribution, or to the first persons of the list first.
#pragma once

#include <span>
#include <vector>

namespace traveno::declarations {

// Stored in the company parameter TipCalcul: never renumber.
enum class SpreadMode { kNone = 0, kProportional = 1, kFirstInsured = 3 };

// The mode of a stored TipCalcul: 1 proportional, 3 first insured first,
// any other value no spreading.
SpreadMode SpreadModeOf(double tip_calcul);

// One person's part of the payment.
struct InsuredPayment {
  long double share = 0;  // the percentage of the due total, two decimals (proportional only)
  long double paid = 0;
  long double unpaid = 0;
};

// SplitInsuredPayment over every person of a list, in list order: `dues` are
// the persons' contributions (Somaj), `paid_total` what the insured paid.
//
// When the paid total covers the due total (whole lei compared), or the mode
// is kNone, every person has paid their due and owes nothing.
//
// Proportional: share = RoundEven(due * 100 / D * 100) / 100 with D the sum of
// the dues; paid = RoundEven(paid_total * share / 100), held so that the
// running sum never passes the paid total (once it is reached the later
// persons get 0) and no person pays more than their due. What the rounding of
// the shares leaves undistributed goes to the last persons of the list, each
// up to their due, so the paid parts add up to the paid total exactly.
//
// First insured first: each person in turn pays their whole due
// (RoundEven) while what is left of the paid total covers it, then the rest
// of it, then nothing.
//
// unpaid = RoundEven(due - paid) in every mode. Never fails.
std::vector<InsuredPayment> SpreadInsuredPayment(std::span<const long double> dues, SpreadMode mode,
                                                 long double paid_total);

}  // namespace traveno::declarations
