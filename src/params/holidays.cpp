#include "params/holidays.h"

#include <algorithm>
#include <cmath>

#include "core/numbers.h"
#include "core/store/field_rules.h"
#include "core/text.h"
#include "params/parameter_edits.h"
#include "params/parameter_store.h"
#include "params/recalculate.h"

namespace traveno::params {

std::vector<int> ParseHolidays(std::string_view text) {
  std::vector<int> days;
  std::size_t comma = text.find(',');
  while (comma != std::string_view::npos) {
    const std::size_t next = text.find(',', comma + 1);
    const std::string_view piece = text.substr(
        comma + 1, next == std::string_view::npos ? std::string_view::npos : next - comma - 1);
    const std::string trimmed = Trim(piece);
    const bool digits =
        !trimmed.empty() && trimmed.size() <= 4 &&
        std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (digits) days.push_back(std::stoi(trimmed));
    comma = next;
  }
  return days;
}

std::optional<std::string> HolidaysRefusal(std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return std::nullopt;
  if (trimmed.front() != ',') {
    return "Sarbatorile legale se scriu ca zile ale lunii precedate de virgula (de exemplu "
           "\",1,25\") !";
  }
  std::size_t from = 1;
  while (from <= trimmed.size()) {
    const std::size_t comma = trimmed.find(',', from);
    const std::string piece =
        Trim(trimmed.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
    const bool digits =
        !piece.empty() && piece.size() <= 2 &&
        std::all_of(piece.begin(), piece.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || std::stoi(piece) < 1 || std::stoi(piece) > 31) {
      return "Ziua \"" + piece + "\" nu este o zi a lunii (1 - 31) !";
    }
    if (comma == std::string::npos) break;
    from = comma + 1;
  }
  return std::nullopt;
}

std::string FormatHolidays(std::vector<int> days) {
  std::sort(days.begin(), days.end());
  days.erase(std::unique(days.begin(), days.end()), days.end());
  std::string text;
  for (int day : days) text += "," + std::to_string(day);
  return text;
}

bool IsMarkableDay(Date month, int day) {
  const auto date = Date::TryFromYmd(month.year(), month.month(), day);
  return date && date->IsoWeekday() < 6;
}

int MonthWorkingTime(Date month, const std::vector<int>& holidays, bool in_days) {
  int working = 0;
  for (int day = 1; day <= DaysInMonth(month.year(), month.month()); ++day) {
    if (!IsMarkableDay(month, day)) continue;
    if (std::find(holidays.begin(), holidays.end(), day) != holidays.end()) continue;
    ++working;
  }
  return working * (in_days ? 1 : 8);
}

bool WorkingTimeDiffers(Date month, const std::vector<int>& holidays, bool in_days,
                        double typed_working_time) {
  return static_cast<double>(MonthWorkingTime(month, holidays, in_days)) !=
         std::trunc(typed_working_time);
}

bool ConfirmHolidays(Session& session, const std::vector<int>& days, bool in_days,
                     double typed_working_time, Prompter& prompter, ProgressReporter& progress) {
  if (session.month_closed()) {
    prompter.Message(MessageKind::kWarning, kMonthClosedMessage);
    return false;
  }
  const Date month = session.working_month();
  for (int day : days) {
    if (day < 1 || day > DaysInMonth(month.year(), month.month())) {
      throw ValueRefused("Ziua " + std::to_string(day) + " nu exista in luna " + MonthText(month) +
                         "!");
    }
  }
  engine::CompanyParameters values = session.parameters().company;
  values.ZileLibere = FormatHolidays(days);
  const int computed = MonthWorkingTime(session.working_month(), days, in_days);
  if (WorkingTimeDiffers(session.working_month(), days, in_days, typed_working_time)) {
    prompter.Message(MessageKind::kWarning,
                     "Timpul de lucru in luna ar trebui sa fie: " + std::to_string(computed) +
                         "!\r\nVa rog sa verficati!");
  }
  SaveMonthParameters(session, nullptr, &values, progress);
  return true;
}

}  // namespace traveno::params
