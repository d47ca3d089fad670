#include "legacy/fiscal_sheet_reader.h"

#include <charconv>
#include <cmath>

#include "core/text.h"
#include "core/windows1250.h"

namespace traveno::legacy {

std::vector<std::string> SplitSheetLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::string line;
  bool pending = false;  // a line has started and not ended
  char previous = 0;
  for (char c : bytes) {
    if (c == '\r' || (c == '\n' && previous != '\r')) {
      lines.push_back(std::move(line));
      line.clear();
      pending = false;
    } else if (c != '\n') {
      line += c;
      pending = true;
    }
    previous = c;
  }
  if (pending) lines.push_back(std::move(line));
  return lines;
}

std::string_view SheetLine::NextField() {
  if (ended_) return {};
  const std::size_t comma = rest_.find(',');
  if (comma == std::string_view::npos) {
    const std::string_view field = rest_;
    rest_ = {};
    ended_ = true;
    return field;
  }
  const std::string_view field = rest_.substr(0, comma);
  rest_.remove_prefix(comma + 1);
  return field;
}

void SheetLine::Skip(int count) {
  for (int i = 0; i < count; ++i) NextField();
}

std::string_view Unmark(std::string_view field) {
  if (field.find('#') == std::string_view::npos) return field;
  if (field.size() <= 2) return {};
  return field.substr(1, field.size() - 2);
}

bool IsTicked(std::string_view field) { return EqualsIgnoreCase(Unmark(field), "X"); }

namespace {

std::optional<int> Digits(std::string_view text) {
  if (text.empty()) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

std::optional<Date> SheetDate(std::string_view field) {
  const std::string_view text = Unmark(field);
  if (text.empty()) return EmptyDate();
  if (text.size() < 10) return std::nullopt;
  const auto day = Digits(text.substr(0, 2));
  const auto month = Digits(text.substr(3, 2));
  const auto year = Digits(text.substr(6, 4));
  if (!day || !month || !year || *year < 1) return std::nullopt;
  return Date::TryFromYmd(*year, *month, *day);
}

double SheetCoefficient(std::string_view field) {
  std::string_view text = Unmark(field);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return 0;
  // A decimal number: a sign, digits, one decimal point, digits.
  std::size_t i = 0;
  if (text[i] == '+' || text[i] == '-') ++i;
  std::size_t digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      ++digits;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      return 0;
    }
  }
  if (digits == 0) return 0;
  const std::string_view number = text.front() == '+' ? text.substr(1) : text;
  double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                            std::chars_format::fixed);
  if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value)) {
    return 0;
  }
  return value;
}

std::string SheetTextToUtf8(std::string_view bytes) { return FromWindows1250(bytes); }

}  // namespace traveno::legacy
