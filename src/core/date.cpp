#include "core/date.h"

#include <array>
#include <cstdio>
#include <stdexcept>

namespace traveno {
namespace {

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Ymd {
  int year;
  int month;
  int day;
};

constexpr Ymd CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

constexpr std::int64_t kZeroDateOffset = DaysFromCivil(1899, 12, 30);

Ymd Split(Date date) { return CivilFromDays(date.serial() + kZeroDateOffset); }

bool ReadDigits(std::string_view text, std::size_t& pos, std::size_t min_len,
                std::size_t max_len, int& value) {
  std::size_t start = pos;
  value = 0;
  while (pos < text.size() && pos - start < max_len && text[pos] >= '0' && text[pos] <= '9') {
    value = value * 10 + (text[pos] - '0');
    ++pos;
  }
  return pos - start >= min_len;
}

constexpr std::array<std::string_view, 12> kMonthNames = {
    "IANUARIE", "FEBRUARIE", "MARTIE",     "APRILIE",   "MAI",       "IUNIE",
    "IULIE",    "AUGUST",    "SEPTEMBRIE", "OCTOMBRIE", "NOIEMBRIE", "DECEMBRIE"};

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<Date> Date::TryFromYmd(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month)) {
    return std::nullopt;
  }
  const std::int64_t serial =
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
      kZeroDateOffset;
  return Date(static_cast<std::int32_t>(serial));
}

Date Date::FromYmd(int year, int month, int day) {
  if (auto date = TryFromYmd(year, month, day)) return *date;
  char text[64];
  std::snprintf(text, sizeof text, "Data %02d.%02d.%04d nu exista !", day, month, year);
  throw std::invalid_argument(text);
}

int Date::year() const { return Split(*this).year; }
int Date::month() const { return Split(*this).month; }
int Date::day() const { return Split(*this).day; }

int Date::IsoWeekday() const {
  // 30.12.1899 was a Saturday.
  const int from_monday = static_cast<int>(((serial_ + 5) % 7 + 7) % 7);
  return from_monday + 1;
}

std::string Date::ToIso() const {
  const Ymd ymd = Split(*this);
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", ymd.year, ymd.month, ymd.day);
  return text;
}

std::optional<Date> Date::ParseIso(std::string_view text) {
  std::size_t pos = 0;
  int year = 0, month = 0, day = 0;
  if (!ReadDigits(text, pos, 4, 4, year) || pos >= text.size() || text[pos++] != '-') return {};
  if (!ReadDigits(text, pos, 2, 2, month) || pos >= text.size() || text[pos++] != '-') return {};
  if (!ReadDigits(text, pos, 2, 2, day) || pos != text.size()) return {};
  return TryFromYmd(year, month, day);
}

std::string Date::ToText() const {
  const Ymd ymd = Split(*this);
  char text[48];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", ymd.day, ymd.month, ymd.year);
  return text;
}

std::optional<Date> Date::ParseText(std::string_view text) {
  std::size_t pos = 0;
  int year = 0, month = 0, day = 0;
  if (!ReadDigits(text, pos, 1, 2, day) || pos >= text.size() || text[pos++] != '.') return {};
  if (!ReadDigits(text, pos, 1, 2, month) || pos >= text.size() || text[pos++] != '.') return {};
  if (!ReadDigits(text, pos, 4, 4, year) || pos != text.size()) return {};
  return TryFromYmd(year, month, day);
}

Date NoWorkingMonth() { return Date::FromYmd(1800, 1, 1); }

Date AddMonths(Date date, int months) {
  const Ymd ymd = Split(date);
  const long total = static_cast<long>(ymd.year) * 12 + ymd.month + months;
  int new_year = static_cast<int>(total / 12);
  int new_month = static_cast<int>(total % 12);
  if (new_month == 0) {
    new_month = 12;
    new_year -= 1;
  }
  // At most five tries (day, day-1, ..., day-4) always reach an existing day.
  for (int day = ymd.day; day > ymd.day - 5; --day) {
    if (auto result = Date::TryFromYmd(new_year, new_month, day)) return *result;
  }
  throw std::invalid_argument("Data rezultata este in afara intervalului permis !");
}

Date FirstOfMonth(Date date) {
  const Ymd ymd = Split(date);
  return Date::FromYmd(ymd.year, ymd.month, 1);
}

Date FirstOfNextMonth(Date date) { return FirstOfMonth(FirstOfMonth(date).AddDays(31)); }

Date LastOfMonth(Date date) { return FirstOfNextMonth(date).AddDays(-1); }

int DayOf(Date date) { return date.day(); }
int MonthOf(Date date) { return date.month(); }
int YearOf(Date date) { return date.year(); }

std::string_view MonthName(int month) {
  if (month < 1 || month > 12) return {};
  return kMonthNames[static_cast<std::size_t>(month - 1)];
}

std::string MonthText(Date date) {
  const Ymd ymd = Split(date);
  char year[16];
  std::snprintf(year, sizeof year, "%04d", ymd.year);
  return std::string(MonthName(ymd.month)) + " / " + year + " ";
}

}  // namespace traveno
