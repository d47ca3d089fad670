#include "declarations/file_fields.h"

#include <cmath>
#include <cstdio>

#include "core/errors.h"

namespace traveno::declarations {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string DigitsOnly(std::string_view text) {
  std::string digits;
  for (const char c : text) {
    if (IsDigit(c)) digits.push_back(c);
  }
  return digits.empty() ? "0" : digits;
}

bool HasDigit(std::string_view text) {
  for (const char c : text) {
    if (IsDigit(c)) return true;
  }
  return false;
}

std::string StripR(std::string_view text) {
  if (!text.empty() && text.front() == 'R') text.remove_prefix(1);
  return std::string(text);
}

std::string TextField(std::string_view value) { return "#" + std::string(value) + "#"; }

std::string MarkField(bool set) { return set ? "#X#" : "##"; }

std::string NumberField(double value) {
  if (!std::isfinite(value)) throw Error("Valoare numerica nedefinita in fisier !");
  if (value == 0) return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  std::string text = buffer;
  // The exponent form, for amounts no payroll reaches, as "1E15" and "1E-5".
  const std::size_t e = text.find('e');
  if (e != std::string::npos) {
    std::string exponent = text.substr(e + 1);
    const bool negative = exponent.front() == '-';
    exponent.erase(0, 1);
    exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size() - 1));
    text = text.substr(0, e) + "E" + (negative ? "-" : "") + exponent;
  }
  return text;
}

std::string DateField(Date date) {
  if (date.IsEmpty()) return std::string();
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", date.day(), date.month(), date.year());
  return buffer;
}

std::string FieldLine::Join(bool trailing_comma) const {
  std::string line;
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (i > 0) line.push_back(',');
    line += fields_[i];
  }
  if (trailing_comma && !fields_.empty()) line.push_back(',');
  return line;
}

}  // namespace traveno::declarations
