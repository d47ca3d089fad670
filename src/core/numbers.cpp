#include "core/numbers.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>

#include "core/text.h"

namespace traveno {
namespace {

// The whole and fractional digits of |value| rounded half away from zero.
struct Digits {
  bool negative = false;
  std::string whole;
  std::string fraction;
};

Digits SplitDigits(long double value, int decimals) {
  Digits digits;
  long double scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  long double scaled = std::round(std::fabs(value) * scale);
  digits.negative = value < 0 && scaled != 0;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.0Lf", scaled);
  std::string all(buffer);
  if (static_cast<int>(all.size()) <= decimals) {
    all.insert(0, static_cast<std::size_t>(decimals) + 1 - all.size(), '0');
  }
  digits.whole = all.substr(0, all.size() - static_cast<std::size_t>(decimals));
  digits.fraction = all.substr(all.size() - static_cast<std::size_t>(decimals));
  return digits;
}

std::string GroupThousands(const std::string& whole) {
  std::string grouped;
  const std::size_t n = whole.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) grouped.push_back(' ');
    grouped.push_back(whole[i]);
  }
  return grouped;
}

std::string Assemble(const Digits& digits, const std::string& fraction) {
  std::string text = digits.negative ? "-" : "";
  text += GroupThousands(digits.whole);
  if (!fraction.empty()) text += "," + fraction;
  return text;
}

// The text of |value| rounded half away from zero at `decimals` decimals
// (0 to 2), grouped, with "-" before a non-zero negative value and, when
// `trim_zeros`, without the fraction's trailing zeros (nor its comma when
// none is left), into `text`. Built in one buffer: documents write hundreds
// of thousands of amounts. False for a value whose rounded digits do not fit
// 64 bits (or that is not a number): the general path writes those.
template <typename Value>
[[gnu::always_inline]] inline bool FastText(Value value, int decimals, bool trim_zeros,
                                            std::string& text) {
  long double scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const long double scaled = std::fabs(static_cast<long double>(value)) * scale;
  if (!(scaled < 1e18L)) return false;
  // Rounded half away from zero as std::round does; below 2^60 the fraction
  // of a long double is exact, as is a double's. Most figures are held
  // exactly by a double, whose whole part the SSE unit takes at once (the
  // x87 unit changes its rounding mode twice for each).
  unsigned long long rest;
  const double near = static_cast<double>(scaled);
  if (static_cast<long double>(near) == scaled) {
    const auto whole = static_cast<long long>(near);
    rest = static_cast<unsigned long long>(whole);
    if (near - static_cast<double>(whole) >= 0.5) ++rest;
  } else {
    rest = static_cast<unsigned long long>(scaled);
    if (scaled - static_cast<long double>(rest) >= 0.5L) ++rest;
  }
  if (rest >= 1000000000000000000ULL) return false;
  const bool negative = value < 0 && rest != 0;
  char fraction[24];
  for (int i = decimals; i-- > 0;) {
    fraction[i] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  }
  int fraction_count = decimals;
  if (trim_zeros) {
    while (fraction_count > 0 && fraction[fraction_count - 1] == '0') --fraction_count;
  }
  // Written backwards from the buffer's end: the fraction and its comma,
  // the whole digits grouped by three, the sign.
  char buffer[48];
  char* const end = buffer + sizeof buffer;
  char* p = end;
  for (int i = fraction_count; i-- > 0;) *--p = fraction[i];
  if (fraction_count > 0) *--p = ',';
  int in_group = 0;
  do {
    if (in_group == 3) {
      *--p = ' ';
      in_group = 0;
    }
    *--p = static_cast<char>('0' + rest % 10);
    rest /= 10;
    ++in_group;
  } while (rest != 0);
  if (negative) *--p = '-';
  text.assign(p, static_cast<std::size_t>(end - p));
  return true;
}

}  // namespace

// rint rounds in the default to-nearest-even mode like nearbyint, but is a
// single instruction instead of a library call that saves and restores the
// floating-point environment: the payroll rounds several times per row.
long double RoundEven(long double value) { return std::rint(value); }

std::optional<double> TryParseNumber(std::string_view text) {
  std::string normalised = Trim(text);
  bool has_dot = normalised.find('.') != std::string::npos;
  bool has_comma = normalised.find(',') != std::string::npos;
  if (normalised.empty() || (has_dot && has_comma)) return std::nullopt;
  for (char& c : normalised) {
    if (c == ',') c = '.';
  }
  // Only plain decimal notation: no hexadecimal, infinities or NaN.
  for (char c : normalised) {
    if (!((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E')) {
      return std::nullopt;
    }
  }
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(normalised.c_str(), &end);
  if (end != normalised.c_str() + normalised.size() || errno == ERANGE) return std::nullopt;
  return value;
}

double ParseNumber(std::string_view text, double fallback) {
  return TryParseNumber(text).value_or(fallback);
}

namespace {

// FormatNumber's text of a long double or of a double.
template <typename Value>
[[gnu::always_inline]] inline std::string NumberText(Value value, NumberMask mask) {
  // Every path returns `text` itself, which is then made in the caller's
  // place (documents format hundreds of thousands of numbers).
  std::string text;
  switch (mask) {
    case NumberMask::kInteger:
      if (!FastText(value, 0, false, text)) text = Assemble(SplitDigits(value, 0), "");
      break;
    case NumberMask::kTwoDecimals:
      if (!FastText(value, 2, false, text)) {
        Digits digits = SplitDigits(value, 2);
        text = Assemble(digits, digits.fraction);
      }
      break;
    case NumberMask::kUpToTwoDecimals:
      if (!FastText(value, 2, true, text)) {
        Digits digits = SplitDigits(value, 2);
        std::string fraction = digits.fraction;
        while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
        text = Assemble(digits, fraction);
      }
      break;
    case NumberMask::kGrouped:
      if (FastText(value, 0, false, text)) {
        if (text == "0") text.clear();
      } else {
        Digits digits = SplitDigits(value, 0);
        if (digits.whole != "0") text = Assemble(digits, "");
      }
      break;
  }
  return text;
}

}  // namespace

std::string FormatNumber(long double value, NumberMask mask) { return NumberText(value, mask); }

std::string FormatDoubleNumber(double value, NumberMask mask) { return NumberText(value, mask); }

std::string FloatToText(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  std::string text = buffer;
  for (char& c : text) {
    if (c == '.') c = ',';
  }
  return text == "-0" ? "0" : text;
}

std::string FormatN(long double value, int decimals) {
  if (decimals >= 0 && decimals <= 2) {
    std::string fast;
    if (FastText(value, decimals, false, fast)) return fast;
  }
  Digits digits = SplitDigits(value, decimals < 0 ? 0 : decimals);
  return Assemble(digits, digits.fraction);
}

}  // namespace traveno
