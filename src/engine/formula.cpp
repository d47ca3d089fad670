#include "engine/formula.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <span>

#include "core/text.h"
#include "engine/pers_fields.h"
#include "engine/tax_table.h"

namespace traveno::engine {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsKnownCharacter(char c) {
  return IsDigit(c) || c == ',' || c == '+' || c == '-' || c == '*' || c == '/' || c == '(' ||
         c == ')';
}

// The evaluator over a substituted text. Items are characters, or values
// already read (slot >= 0). Positions never run past the end: a missing
// character reads as "no digit, no operator".
template <typename ItemT>
class Evaluator {
 public:
  Evaluator(std::span<const ItemT> items, const long double* values)
      : items_(items), values_(values) {}

  long double Run() { return Expression(); }

 private:
  char At(std::size_t pos) const {
    return pos < items_.size() && items_[pos].slot < 0 ? items_[pos].c : '\0';
  }

  long double Expression() {
    long double value = Term();
    // An operator in the last position has nothing after it and ends the
    // expression.
    while (pos_ + 1 < items_.size() && (At(pos_) == '+' || At(pos_) == '-')) {
      const char op = At(pos_++);
      const long double term = Term();
      value = op == '+' ? value + term : value - term;
    }
    return value;
  }

  long double Term() {
    long double value = Factor();
    while (pos_ < items_.size() && (At(pos_) == '*' || At(pos_) == '/')) {
      const char op = At(pos_++);
      const long double factor = Factor();
      if (op == '*') {
        value *= factor;
      } else if (factor != 0) {
        value /= factor;
      }
    }
    return value;
  }

  long double Factor() {
    if (At(pos_) == '(') {
      // Each parenthesis is a level of recursion: a bound keeps the stack safe.
      if (++depth_ > kMaxFormulaDepth) throw FormulaTooDeep();
      ++pos_;
      const long double value = Expression();
      ++pos_;  // over the closing parenthesis, whatever stands there
      --depth_;
      return value;
    }
    if (pos_ < items_.size() && items_[pos_].slot >= 0) return values_[items_[pos_++].slot];
    long double value = 0;
    while (IsDigit(At(pos_))) value = value * 10 + (At(pos_++) - '0');
    if (At(pos_) == ',') {
      ++pos_;
      long double weight = 1;
      while (IsDigit(At(pos_))) {
        weight /= 10;
        value += (At(pos_++) - '0') * weight;
      }
    }
    return value;
  }

  std::span<const ItemT> items_;
  const long double* values_;
  std::size_t pos_ = 0;
  int depth_ = 0;
};

struct CharItem {
  char c;
  std::int16_t slot;
};

// Reads digits with an optional decimal comma the way the evaluator does.
long double ReadDigits(std::string_view text) {
  std::vector<CharItem> items;
  items.reserve(text.size());
  for (char c : text) items.push_back({c, -1});
  return Evaluator<CharItem>(items, nullptr).Run();
}

}  // namespace

int NumarCampuri(std::string_view formula) {
  int quotes = 0;
  for (char c : formula) quotes += c == '"';
  return quotes / 2;
}

std::string CampulK(std::string_view formula, int k) {
  const int open = PosN("\"", formula, 2 * k - 1);
  const int close = PosN("\"", formula, 2 * k);
  if (k < 1 || open == 0 || close == 0) return "";
  return std::string(formula.substr(open, close - open - 1));
}

std::string InlocuiesteCampul(std::string_view accumulated, std::string_view formula, int count,
                              int k, std::string_view value_text) {
  const std::size_t from = k == 1 ? 0 : static_cast<std::size_t>(PosN("\"", formula, 2 * k - 2));
  const std::size_t open = static_cast<std::size_t>(PosN("\"", formula, 2 * k - 1));
  std::string result(accumulated);
  if (open == 0) return result;
  result.append(formula.substr(from, open - 1 - from));
  result.append(value_text);
  if (k == count) {
    const std::size_t close = static_cast<std::size_t>(PosN("\"", formula, 2 * k));
    if (close != 0) result.append(formula.substr(close));
  }
  return result;
}

long double EvalueazaExpresie(std::string_view text) {
  const std::string upper = UpperTrim(text);
  if (upper.empty()) return 0;
  for (char c : upper) {
    if (!IsKnownCharacter(c)) return 0;
  }
  return ReadDigits(upper);
}

// Reads a value of at least 1 and below 10^15 the way its 15-digit text is
// read, without writing the text: the 15 significant digits come from one
// scaling by a power of ten (exact in extended precision), and the digits
// after the comma are added one by one as the evaluator adds them. Empty when
// the scaled value lies too near a half for its rounding to be certain.
std::optional<long double> ReadFifteenDigits(long double magnitude) {
  static constexpr std::uint64_t kPowers[] = {1,
                                              10,
                                              100,
                                              1000,
                                              10000,
                                              100000,
                                              1000000,
                                              10000000,
                                              100000000,
                                              1000000000,
                                              10000000000,
                                              100000000000,
                                              1000000000000,
                                              10000000000000,
                                              100000000000000,
                                              1000000000000000};
  int exponent = 0;
  while (exponent < 14 && magnitude >= static_cast<long double>(kPowers[exponent + 1])) {
    ++exponent;
  }
  const int decimals = 14 - exponent;
  const long double scaled = magnitude * static_cast<long double>(kPowers[decimals]);
  const long double whole = std::floor(scaled);
  const long double rest = scaled - whole;
  if (std::fabs(rest - 0.5L) < 1e-3L) return std::nullopt;
  const std::uint64_t digits = static_cast<std::uint64_t>(whole) + (rest > 0.5L ? 1 : 0);
  const std::uint64_t scale = kPowers[decimals];
  long double result = static_cast<long double>(digits / scale);
  const std::uint64_t fraction = digits % scale;
  long double weight = 1;
  for (int k = decimals - 1; k >= 0; --k) {
    weight /= 10;
    result += static_cast<long double>(fraction / kPowers[k] % 10) * weight;
  }
  return result;
}

long double AsFormulaReadsIt(long double value) {
  // Whole numbers of up to 15 digits are written and read back exactly.
  if (std::fabs(value) < 1e15L && value == std::trunc(value)) return value;
  if (!std::isfinite(value)) return 0;
  const long double magnitude = std::fabs(value);
  if (magnitude >= 1 && magnitude < 1e15L) {
    if (auto read = ReadFifteenDigits(magnitude)) return value < 0 ? -*read : *read;
  }
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                     std::chars_format::general, 15);
  std::string_view text(buffer, written.ptr - buffer);
  if (text.find('e') != std::string_view::npos) {
    return std::strtold(std::string(text).c_str(), nullptr);
  }
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  std::string digits(text);
  for (char& c : digits) {
    if (c == '.') c = ',';
  }
  const long double read_back = ReadDigits(digits);
  return negative ? -read_back : read_back;
}

CompiledFormula::CompiledFormula(std::string_view text) : text_(UpperTrim(text)) {
  const int count = NumarCampuri(text_);
  if (count == 0) return;  // no quoted name: the substituted text is empty
  // Split the text into literal characters and name slots, as the
  // substitution does.
  std::size_t pos = 0;
  for (int k = 1; k <= count; ++k) {
    const std::size_t open = text_.find('"', pos);
    const std::size_t close = text_.find('"', open + 1);
    for (std::size_t i = pos; i < open; ++i) items_.push_back({text_[i], -1});
    const std::string name = UpperTrim(std::string_view(text_).substr(open + 1, close - open - 1));
    Name resolved;
    if (name == "TARIFAR") {
      resolved.kind = FormulaName::kTarifar;
    } else if (name == "REALIZAT") {
      resolved.kind = FormulaName::kRealizat;
    } else if (name.size() == 5 && name.starts_with("VALS") && name[4] >= '1' && name[4] <= '4') {
      resolved.kind = static_cast<FormulaName>(static_cast<int>(FormulaName::kVals1) + name[4] - '1');
      resolved.field = *PersFieldIndex(name);
    } else if (auto field = PersFieldIndex(name)) {
      resolved.kind = FormulaName::kField;
      resolved.field = *field;
    }
    items_.push_back({0, static_cast<std::int16_t>(names_.size())});
    names_.push_back(resolved);
    pos = close + 1;
  }
  for (std::size_t i = pos; i < text_.size(); ++i) items_.push_back({text_[i], -1});

  always_zero_ = false;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const Item& item = items_[i];
    if (item.slot < 0) {
      if (!IsKnownCharacter(item.c)) always_zero_ = true;
      continue;
    }
    for (std::size_t j : {i - 1, i + 1}) {
      if (j >= items_.size()) continue;  // also catches i - 1 when i = 0
      const Item& other = items_[j];
      if (other.slot >= 0 || IsDigit(other.c) || other.c == ',') through_text_ = true;
    }
  }
}

long double CompiledFormula::ValueOf(const Name& name, const PersRow& row,
                                     const FormulaVariables& variables) const {
  switch (name.kind) {
    case FormulaName::kTarifar:
      return variables.tarifar;
    case FormulaName::kRealizat:
      return variables.realizat;
    case FormulaName::kVals1:
    case FormulaName::kVals2:
    case FormulaName::kVals3:
    case FormulaName::kVals4:
      if (variables.vals_from_row) return PersNumber(row, name.field);
      return variables.vals[static_cast<int>(name.kind) - static_cast<int>(FormulaName::kVals1)];
    case FormulaName::kField:
      return PersNumber(row, name.field);
    case FormulaName::kUnknown:
      return 0;
  }
  return 0;
}

long double CompiledFormula::Evaluate(const PersRow& row,
                                      const FormulaVariables& variables) const {
  if (always_zero_) return 0;
  constexpr std::size_t kInline = 16;
  long double inline_values[kInline];
  std::vector<long double> many;
  long double* values = inline_values;
  if (names_.size() > kInline) {
    many.resize(names_.size());
    values = many.data();
  }
  for (std::size_t i = 0; i < names_.size(); ++i) {
    values[i] = ValueOf(names_[i], row, variables);
  }
  if (through_text_) {
    std::string expression;
    for (const Item& item : items_) {
      if (item.slot >= 0) {
        expression += ShortNumberText(values[item.slot]);
      } else {
        expression += item.c;
      }
    }
    return EvalueazaExpresie(expression);
  }
  for (std::size_t i = 0; i < names_.size(); ++i) values[i] = AsFormulaReadsIt(values[i]);
  return Evaluator<Item>(items_, values).Run();
}

}  // namespace traveno::engine
