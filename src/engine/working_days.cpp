#include "engine/working_days.h"

#include <string>

#include "core/numbers.h"

namespace traveno::engine {
namespace {

bool IsWorkingDay(int year, int month, int day, std::string_view holidays) {
  const int weekday = Date::FromYmd(year, month, day).IsoWeekday();
  return weekday < 6 && !EsteZiLibera(day, holidays);
}

}  // namespace

bool EsteZiLibera(int day, std::string_view holidays) {
  std::string list(holidays);
  list += ',';
  return list.find("," + std::to_string(day) + ",") != std::string::npos;
}

bool AreActivitate(const PersRow& row) {
  if (row.ZILE_CIC == 0 && row.ZILE_FP == 0) return true;
  return row.TIMP != 0 || row.ZILE_CO != 0;
}

long double FractieZileLucratoare(const PersRow& row, const MonthParameters& parameters) {
  const CompanyParameters& c = parameters.company;
  const long double n =
      RoundEven(static_cast<long double>(c.TimpLuna) / (c.TimpZile == 1 ? 1 : 8));
  long double z = n - row.ZILE_FP;
  const Date first = FirstOfMonth(parameters.luna);
  if (row.DATA_ANG > first) {
    const int year = row.DATA_ANG.year();
    const int month = row.DATA_ANG.month();
    for (int d = 1; d < row.DATA_ANG.day(); ++d) {
      if (IsWorkingDay(year, month, d, c.ZileLibere)) z -= 1;
    }
  }
  if (!row.DATA_LICH.IsEmpty() && row.DATA_LICH < FirstOfNextMonth(parameters.luna)) {
    if (row.DATA_LICH < first) {
      z = 0;  // left before this month: no working day of it remains
    } else {
      const int year = row.DATA_LICH.year();
      const int month = row.DATA_LICH.month();
      const int last = DaysInMonth(year, month);
      for (int d = row.DATA_LICH.day() + 1; d <= last; ++d) {
        if (IsWorkingDay(year, month, d, c.ZileLibere)) z -= 1;
      }
    }
  }
  return n != 0 ? z / n : 1;
}

}  // namespace traveno::engine
