// Rounding, lenient number parsing and the program's number texts: decimal
// ",", thousands " ", whatever the machine's locale says.
#pragma once

#include <concepts>
#include <optional>
#include <string>
#include <string_view>

namespace traveno {

// Rounds to a whole number, ties to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Every rounded payroll figure goes through it.
long double RoundEven(long double value);

// The number written in the text, with "." or "," as decimal separator
// (surrounding blanks, a sign and an exponent allowed); `fallback` when the
// text is not a number, including a text with both separators.
double ParseNumber(std::string_view text, double fallback);
// As ParseNumber, but empty when the text is not a number.
std::optional<double> TryParseNumber(std::string_view text);

// The display masks of the program. Values are rounded half away from zero
// at the shown decimals; negative values carry a leading "-".
enum class NumberMask {
  kInteger,          // "#,##0"    1 234 567
  kTwoDecimals,      // "#,##0.00" 1 234,50
  kUpToTwoDecimals,  // "#,##0.##" 1 234,5
  kGrouped,          // "#,"       1 234 567 (nothing at all for zero)
};
std::string FormatNumber(long double value, NumberMask mask);
// The same text for a double (most figures are doubles), which reaches the
// formatting in registers instead of through the memory that a long double
// argument takes (a slow round trip for the x87 unit).
std::string FormatDoubleNumber(double value, NumberMask mask);
template <std::same_as<double> Double>
std::string FormatNumber(Double value, NumberMask mask) {
  return FormatDoubleNumber(value, mask);
}

// A number as the program writes it in a message or a text comparison: up to
// 15 significant digits, "," as decimal separator, no grouping ("1,5", "2").
std::string FloatToText(double value);

// The "%.<decimals>n" texts: thousands grouped, fixed decimals ("%.0n", "%.2n").
std::string FormatN(long double value, int decimals);

}  // namespace traveno
