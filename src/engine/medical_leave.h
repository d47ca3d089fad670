// Medical-leave figures: the daily average of the person's earlier months,
// the split of the leave days between unpaid, company-paid, state-paid and
// child-care days, and their amounts.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "core/date.h"
#include "core/store/records.h"
#include "engine/past_rows.h"

namespace traveno::engine {

// The gross sum and the day count of `n` history rows walking back from
// `last` (an index into `history`, the person's rows in month order); stops
// early at the first row. The month days M come from each month's TimpLuna and
// TimpZile company parameters (a month without the row keeps the previous
// month's value, 0 at first); each month adds the smaller of M and the
// person's days (time worked in days, annual-leave, medical and child-care days).
struct MedicalBase {
  long double sum = 0;   // of BRUT
  long double days = 0;
};
MedicalBase BazaCM(std::span<const PersRow> history, std::size_t last, int n,
                   const PastRowsSource& months);

// What the leave dialog and the history window show.
struct MedicalAverage {
  int months = 0;           // months used
  long double sum = 0;      // gross sum of those months
  long double days = 0;     // day count
  long double average = 0;  // RoundEven(sum / days), 0 without days
};

// The average over at most `months` rows before the working month `luna` in
// the person's history. All zeros when the working month is not in the
// history or is its first row.
MedicalAverage MedieCM(std::span<const PersRow> history, Date luna, int months,
                       const PastRowsSource& company_months);

// The kinds of leave offered by the dialog, with their percentages.
enum class LeaveKind {
  kOccupational,   // "100 % ( Boli profesionale )"
  kChildCare,      // "85 %  ( CIC )"
  kOrdinary,       // "75 %  ( Boala obisnuita )"
  kMaternity,      // "85 %  ( Maternitate )"
  kSpecial,        // "100 % ( Boli speciale )"
  kOrdinaryLong,   // "85 %  ( Boala obisnuita vch.>5 ani )"
};
int LeavePercentage(LeaveKind kind);

// The value of `days` leave days at `per_day` lei: the product itself when
// its whole part is a multiple of 1000, otherwise rounded up to the next
// thousand lei.
long double SumaCM(long double days, long double per_day);

struct LeaveSplit {
  long double per_day = 0;  // ISCMpeZi
  int unpaid_days = 0;
  int company_days = 0;
  int state_days = 0;
  int cic_days = 0;
  long double company_amount = 0;  // CM Firma
  long double state_amount = 0;    // CM Stat
  long double cic_amount = 0;      // CIC
};

// Splits `days` working days of leave of a kind (none chosen: every day a
// state day at 0 lei) at a daily average, for a company of `permanent_staff`
// permanent employees: ordinary and special illness under 3 days is unpaid,
// else the company pays the first 7, 12 or 17 days (up to 20, up to 100,
// more employees); occupational illness is paid by the company, maternity by
// the state, child-care leave as CIC days.
LeaveSplit SplitLeave(std::optional<LeaveKind> kind, long double average, int days,
                      int permanent_staff);

// The daily average the dialog starts with: the average itself for ordinary
// leave (6 months), capped at LimCIC for child-care leave (10 months).
long double StartingAverage(const MedicalAverage& average, int months, double lim_cic);

// What the dialog's confirmation adds to the row: the three amounts, the
// company and state days as medical-leave days (unpaid days are not counted)
// and the child-care days.
void AddLeaveToRow(PersRow& row, const LeaveSplit& split);

}  // namespace traveno::engine
