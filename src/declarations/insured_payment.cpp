#include "declarations/insured_payment.h"

#include <algorithm>
#include <numeric>

#include "core/numbers.h"

namespace traveno::declarations {
namespace {

void SpreadProportionally(std::span<const long double> dues, long double due_total,
                          long double paid_total, std::vector<InsuredPayment>& parts) {
  long double running = 0;
  for (std::size_t i = 0; i < dues.size(); ++i) {
    InsuredPayment& part = parts[i];
    part.share = due_total != 0 ? RoundEven(dues[i] * 100 / due_total * 100) / 100 : 0;
    long double paid = RoundEven(paid_total * part.share / 100);
    paid = std::min(paid, std::max(dues[i], 0.0L));
    running += paid;
    if (running > paid_total) {
      paid -= running - paid_total;
      running = paid_total;
    }
    part.paid = paid;
  }
  // The shares are rounded: what they leave goes to the last persons.
  long double left = paid_total - running;
  for (std::size_t i = dues.size(); i-- > 0 && left > 0;) {
    const long double room = dues[i] - parts[i].paid;
    if (room <= 0) continue;
    const long double given = std::min(room, left);
    parts[i].paid += given;
    left -= given;
  }
}

void SpreadToFirstInsured(std::span<const long double> dues, long double paid_total,
                          std::vector<InsuredPayment>& parts) {
  long double left = paid_total;
  for (std::size_t i = 0; i < dues.size(); ++i) {
    const long double whole_due = RoundEven(dues[i]);
    const long double paid = RoundEven(left) < whole_due ? left : whole_due;
    parts[i].paid = paid;
    left -= paid;
  }
}

}  // namespace

SpreadMode SpreadModeOf(double tip_calcul) {
  if (tip_calcul == 1) return SpreadMode::kProportional;
  if (tip_calcul == 3) return SpreadMode::kFirstInsured;
  return SpreadMode::kNone;
}

std::vector<InsuredPayment> SpreadInsuredPayment(std::span<const long double> dues, SpreadMode mode,
                                                 long double paid_total) {
  std::vector<InsuredPayment> parts(dues.size());
  const long double due_total = std::accumulate(dues.begin(), dues.end(), 0.0L);
  if (mode == SpreadMode::kNone || RoundEven(paid_total) >= RoundEven(due_total)) {
    for (std::size_t i = 0; i < dues.size(); ++i) parts[i].paid = dues[i];
  } else if (mode == SpreadMode::kProportional) {
    SpreadProportionally(dues, due_total, paid_total, parts);
  } else {
    SpreadToFirstInsured(dues, paid_total, parts);
  }
  for (std::size_t i = 0; i < dues.size(); ++i) {
    parts[i].unpaid = RoundEven(dues[i] - parts[i].paid);
  }
  return parts;
}

}  // namespace traveno::declarations
