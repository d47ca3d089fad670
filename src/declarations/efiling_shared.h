// Small rules shared by the text and dBASE records of the e-filing files.
#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

#include "core/date.h"
#include "core/text.h"
#include "declarations/yearly_persons.h"

namespace traveno::declarations {

// Whether a stored one-letter flag (Fisa_rectif, Domiciliu_ext) holds `value`.
inline bool IsMark(std::string_view flag, std::string_view value) { return Trim(flag) == value; }

inline bool YearIs(Date date, int year) { return !date.IsEmpty() && date.year() == year; }

// Whether month m (1..12) of the year comes before the person's hire month;
// no month does when there is no hire date.
inline bool BeforeHireMonth(const YearlyPerson& person, int year, int m) {
  return !person.DATA_ANG.IsEmpty() && Date::FromYmd(year, m, 1) < FirstOfMonth(person.DATA_ANG);
}

// The situation code 0..7 of a partial-contract person; empty when the stored
// value is empty or another text, and then no box is marked.
inline std::optional<int> SituationCode(std::string_view fisa_regul) {
  const std::string text = Trim(fisa_regul);
  int code = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (code < 0 || code > 7) return std::nullopt;
  return code;
}

// The three kinds of dependant a line marks, by Calitate: 0 the spouse, 1 and
// 2 a child, 3 another person; any other code marks none.
enum class DependantKind { kSpouse, kChild, kOther, kNone };
inline DependantKind DependantKindOf(int calitate) {
  switch (calitate) {
    case 0:
      return DependantKind::kSpouse;
    case 1:
    case 2:
      return DependantKind::kChild;
    case 3:
      return DependantKind::kOther;
    default:
      return DependantKind::kNone;
  }
}

}  // namespace traveno::declarations
