// Calendar dates as the payroll keeps them: whole days counted from the
// zero date 30.12.1899, which also stands for "no date" (an employee still
// employed has it as leaving date). A month is held as its first day.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace traveno {

class Date {
 public:
  // The empty date, 30.12.1899.
  constexpr Date() = default;

  // The date of a year, month (1..12) and day; throws std::invalid_argument
  // when the day does not exist.
  static Date FromYmd(int year, int month, int day);
  // As FromYmd, but empty when the day does not exist.
  static std::optional<Date> TryFromYmd(int year, int month, int day);
  static constexpr Date FromSerial(std::int32_t days) { return Date(days); }

  // Days since 30.12.1899.
  constexpr std::int32_t serial() const { return serial_; }
  constexpr bool IsEmpty() const { return serial_ == 0; }

  int year() const;
  int month() const;
  int day() const;
  // 1 Monday ... 7 Sunday.
  int IsoWeekday() const;

  // "YYYY-MM-DD", the stored form.
  std::string ToIso() const;
  // Accepts "YYYY-MM-DD"; empty for anything else or a day that does not exist.
  static std::optional<Date> ParseIso(std::string_view text);

  // "dd.mm.yyyy", the program's date text.
  std::string ToText() const;
  // Accepts "d.m.yyyy" with one or two digit day and month; empty otherwise.
  static std::optional<Date> ParseText(std::string_view text);

  constexpr Date AddDays(std::int32_t days) const { return Date(serial_ + days); }
  constexpr std::int32_t DaysSince(Date other) const { return serial_ - other.serial_; }

  friend constexpr auto operator<=>(Date, Date) = default;

 private:
  constexpr explicit Date(std::int32_t serial) : serial_(serial) {}
  std::int32_t serial_ = 0;
};

// The empty date 30.12.1899.
constexpr Date EmptyDate() { return Date(); }
// The working month before a company and month have been chosen: 1 January 1800.
Date NoWorkingMonth();

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// The same day number in the month reached by adding `months`; a day the
// month lacks becomes the month's last day (31 May + 1 month = 30 June).
Date AddMonths(Date date, int months);
Date FirstOfMonth(Date date);
Date FirstOfNextMonth(Date date);
Date LastOfMonth(Date date);
int DayOf(Date date);
int MonthOf(Date date);
int YearOf(Date date);

// The heading text of a month: "IANUARIE / 2003 " (upper-case Romanian name,
// " / ", the year and one blank).
std::string MonthText(Date date);
// The upper-case Romanian name of a month 1..12.
std::string_view MonthName(int month);

}  // namespace traveno
