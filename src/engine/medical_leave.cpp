#include "engine/medical_leave.h"

#include <algorithm>
#include <cmath>

#include "core/numbers.h"

namespace traveno::engine {

MedicalBase BazaCM(std::span<const PersRow> history, std::size_t last, int n,
                   const PastRowsSource& months) {
  MedicalBase base;
  long double month_time = 0;
  long double days_mode = 0;
  std::size_t i = last;
  for (int taken = 0; taken < n && i < history.size(); ++taken) {
    const PersRow& row = history[i];
    base.sum += row.BRUT;
    const Date month = FirstOfMonth(row.LUNA);
    if (auto zile = months.CompanyValueOf(month, "TimpZile")) days_mode = RoundEven(*zile);
    if (auto luna = months.CompanyValueOf(month, "TimpLuna")) month_time = *luna;
    const long double m = days_mode == 1 ? month_time : month_time / 8;
    const long double p = (days_mode == 1 ? static_cast<long double>(row.TIMP) : row.TIMP / 8.0L) +
                          row.ZILE_CO + row.ZILE_CM + row.ZILE_CIC;
    base.days += m < p ? m : p;
    if (i == 0) break;
    --i;
  }
  return base;
}

MedicalAverage MedieCM(std::span<const PersRow> history, Date luna, int months,
                       const PastRowsSource& company_months) {
  MedicalAverage result;
  const Date working = FirstOfMonth(luna);
  std::size_t found = history.size();
  for (std::size_t i = 0; i < history.size(); ++i) {
    if (FirstOfMonth(history[i].LUNA) == working) {
      found = i;
      break;
    }
  }
  if (found == history.size() || found == 0 || months <= 0) return result;
  const std::size_t previous = found - 1;
  const int n = std::min<long long>(months, static_cast<long long>(previous) + 1);
  const MedicalBase base = BazaCM(history, previous, n, company_months);
  result.months = n;
  result.sum = base.sum;
  result.days = base.days;
  result.average = base.days != 0 ? RoundEven(base.sum / base.days) : 0;
  return result;
}

int LeavePercentage(LeaveKind kind) {
  switch (kind) {
    case LeaveKind::kOccupational:
    case LeaveKind::kSpecial:
      return 100;
    case LeaveKind::kOrdinary:
      return 75;
    case LeaveKind::kChildCare:
    case LeaveKind::kMaternity:
    case LeaveKind::kOrdinaryLong:
      return 85;
  }
  return 0;
}

long double SumaCM(long double days, long double per_day) {
  const long double v = days * per_day;
  if (std::fmod(std::trunc(v), 1000.0L) == 0) return v;
  return (std::trunc(v / 1000) + 1) * 1000;
}

LeaveSplit SplitLeave(std::optional<LeaveKind> kind, long double average, int days,
                      int permanent_staff) {
  LeaveSplit split;
  split.per_day = kind ? LeavePercentage(*kind) / 100.0L * average : 0;
  if (kind) {
    switch (*kind) {
      case LeaveKind::kSpecial:
      case LeaveKind::kOrdinaryLong:
      case LeaveKind::kOrdinary: {
        if (days < 3) {
          split.unpaid_days = days;
        } else {
          const int company_limit = permanent_staff <= 20 ? 7 : (permanent_staff <= 100 ? 12 : 17);
          split.company_days = std::min(days, company_limit);
        }
        break;
      }
      case LeaveKind::kOccupational:
        split.company_days = days;
        break;
      case LeaveKind::kMaternity:
        split.state_days = days;
        break;
      case LeaveKind::kChildCare:
        split.cic_days = days;
        break;
    }
  }
  split.state_days = days - split.unpaid_days - split.company_days - split.cic_days;
  split.company_amount = SumaCM(split.company_days, split.per_day);
  split.state_amount = SumaCM(split.state_days, split.per_day);
  split.cic_amount = SumaCM(split.cic_days, split.per_day);
  return split;
}

long double StartingAverage(const MedicalAverage& average, int months, double lim_cic) {
  if (months == 10) return std::min<long double>(average.average, lim_cic);
  return average.average;
}

void AddLeaveToRow(PersRow& row, const LeaveSplit& split) {
  row.CM1L += static_cast<double>(split.company_amount);
  row.CM2L += static_cast<double>(split.state_amount);
  row.CIC += static_cast<double>(split.cic_amount);
  row.ZILE_CM += split.company_days + split.state_days;
  row.ZILE_CIC += split.cic_days;
}

}  // namespace traveno::engine
