// Day counting of a person's month, used by the employee's unemployment
// contribution: whether the person was active at all, and the share of the
// month's working days in which the person was employed and not on unpaid
// leave.
#pragma once

#include <string_view>

#include "core/store/records.h"
#include "engine/month_parameters.h"

namespace traveno::engine {

// Whether day `day` of the month is in the public-holiday text (day numbers
// separated by commas, with a leading comma: ",1,2,24").
bool EsteZiLibera(int day, std::string_view holidays);

// False only when the person was absent the whole month: some child-care or
// unpaid-leave days and neither time worked nor annual-leave days.
bool AreActivitate(const PersRow& row);

// The month's working days N = RoundEven(TimpLuna / (1 in days mode, else 8))
// less the unpaid-leave days, less the working days (Monday to Friday, not a
// public holiday) before the hiring day when the person was hired after the
// first of the month, less those after the leaving day when the person left
// within the month; divided by N. A person who left before the working month
// has no working day left (0). N = 0 gives 1. Never fails.
long double FractieZileLucratoare(const PersRow& row, const MonthParameters& parameters);

}  // namespace traveno::engine
