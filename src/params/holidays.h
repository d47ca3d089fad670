// The public holidays of a month (the company parameter ZileLibere: ",1,25",
// each day number after a comma, in increasing order) and the working time
// they leave in the month.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "core/prompter.h"
#include "params/session.h"

namespace traveno::params {

// The day numbers of a holiday text, in text order; pieces that are not
// numbers are skipped. The empty text gives none. Never fails.
std::vector<int> ParseHolidays(std::string_view text);
// The refusal of a stored holiday text: every piece after a comma must be a
// day number 1..31 ("Ziua 32 nu exista ..."); empty when the text is
// correct (the empty text included).
std::optional<std::string> HolidaysRefusal(std::string_view text);
// "," + number for every day, in increasing order, each day once; "" for none.
std::string FormatHolidays(std::vector<int> days);
// The days of the month that are neither Saturday, Sunday nor marked, times 1
// when time is counted in days, else times 8 (hours).
int MonthWorkingTime(Date month, const std::vector<int>& holidays, bool in_days);

// Whether the working time the marks leave differs from a typed working time,
// whose fractional part is dropped (176.9 hours compare as 176).
bool WorkingTimeDiffers(Date month, const std::vector<int>& holidays, bool in_days,
                        double typed_working_time);

// Whether a day of the month can be marked (not a Saturday nor a Sunday).
bool IsMarkableDay(Date month, int day);

// Confirms the marked days of the working month: they become ZileLibere in
// memory; when the working time they leave differs from `typed_working_time`
// truncated toward zero, the warning "Timpul de lucru in luna ar trebui sa
// fie: " + value + "!\r\nVa rog sa verficati!" is shown (the typed value is
// not changed); then the company parameters are saved and the month
// recalculated. `in_days` is the days-or-hours choice shown by the company
// window. Returns false (and changes nothing) in a closed month, after
// "Luna fiind inchisa nu se pot face modificari !". A day the month does not
// have throws ValueRefused; store failures throw StoreError.
bool ConfirmHolidays(Session& session, const std::vector<int>& days, bool in_days,
                     double typed_working_time, Prompter& prompter, ProgressReporter& progress);

inline constexpr const char* kMonthClosedMessage = "Luna fiind inchisa nu se pot face modificari !";

}  // namespace traveno::params
