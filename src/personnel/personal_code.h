// The Romanian personal numeric code: S YY MM DD and six more digits, the
// last a control digit. The check never blocks saving: windows only warn,
// lists name the failing persons, declarations call the same check.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/date.h"

namespace traveno::personnel {

struct CodeCheck {
  bool passed = false;
  std::string message;
};

// Checks a code (blanks around it trimmed), the first failure winning:
// length 13, digits only, an existing birth date, the control digit.
// Passed codes carry "CNP corect.".
CodeCheck CheckPersonalCode(std::string_view code);

// The control digit of twelve digits as one character; empty when the
// argument is not twelve digits.
std::string ControlDigit(std::string_view twelve_digits);

// The digits that can stand for the one "?" of a 13-character code, "0".."9"
// in ascending order separated by ", " (each giving a code that passes the
// check); for a "?" in the last place, the control digit. Empty when no
// digit fits or the argument is not 13 digits with exactly one "?".
std::string SolveMissingDigit(std::string_view code);

// The birth date a code gives: first digit 1 or 2 for 19YY, 5 or 6 for
// 20YY, any other digit for the year YY itself. Empty when the code is too
// short, not digits, or the date does not exist.
std::optional<Date> BirthDateFromCode(std::string_view code);

// Whether a person born on the code's date is still under 18 in `month`:
// the birth date plus 216 months is not earlier than the month. False when
// the code gives no date.
bool IsUnder18In(std::string_view code, Date month);

// The answer of the code-check window to what the user typed (trimmed):
// twelve digits give the control digit, thirteen the check's verdict, one
// "?" the candidates, anything else the format message.
std::string VerifyCodeAnswer(std::string_view typed);

}  // namespace traveno::personnel
