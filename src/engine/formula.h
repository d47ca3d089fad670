// The formula language of the bonuses and of the holiday-pay average: field
// names between double quotes are replaced by the row's values written as
// decimal text, and the resulting arithmetic is evaluated by a small
// recursive-descent evaluator (+ - * /, parentheses, decimal comma, no unary
// minus, a division by zero skipped).
//
// A formula is compiled once (CompiledFormula) and evaluated per row without
// building texts; the result is the one the text substitution would give.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "core/store/records.h"

namespace traveno::engine {

// The deepest nesting of parentheses a formula may have; the formula check
// refuses more, and the evaluator throws FormulaTooDeep rather than run out
// of stack on a formula that never went through the check.
inline constexpr int kMaxFormulaDepth = 30;
inline constexpr const char* kFormulaTooDeep =
    "Formula are prea multe paranteze deschise una in alta (cel mult 30) !";
class FormulaTooDeep : public Error {
 public:
  FormulaTooDeep() : Error(kFormulaTooDeep) {}
};

// The number of quoted names of a formula: each pair of double quotes
// encloses one name.
int NumarCampuri(std::string_view formula);
// The k-th quoted name (1-based); empty when there are fewer than k.
std::string CampulK(std::string_view formula, int k);
// One substitution step: the accumulated text, then the formula text between
// the (k-1)-th name's closing quote (or the start) and the k-th name's
// opening quote, then the value text; when k = count also the text after the
// last closing quote.
std::string InlocuiesteCampul(std::string_view accumulated, std::string_view formula, int count,
                              int k, std::string_view value_text);

// The value of an expression whose names are already replaced by numbers,
// upper-cased and trimmed first. Left-associative, * and / before + and -;
// a division by 0 leaves the left operand unchanged; a number is digits with
// an optional decimal comma. An empty text, or a text holding any character
// other than digits, comma, + - * / and parentheses, gives 0. Throws
// FormulaTooDeep when parentheses open more than kMaxFormulaDepth deep.
long double EvalueazaExpresie(std::string_view text);

// A value as a formula reads it after substitution: written with up to 15
// significant digits and read back by the evaluator's digit rule. Negative
// values keep their sign; values written with an exponent are taken as
// written.
long double AsFormulaReadsIt(long double value);

// The names a formula can refer to besides the fields of the row.
enum class FormulaName : std::uint8_t {
  kTarifar,
  kRealizat,
  kVals1,
  kVals2,
  kVals3,
  kVals4,
  kField,    // a Pers field
  kUnknown,  // neither: reads 0
};

// The values of the formula variables for one evaluation.
struct FormulaVariables {
  long double tarifar = 0;
  long double realizat = 0;
  // The bonus values VALS1 .. VALS4; when `vals_from_row` is set they are
  // read from the row's vals1 .. vals4 fields instead.
  long double vals[4] = {0, 0, 0, 0};
  bool vals_from_row = false;
};

// A formula parsed once: upper-cased and trimmed, its names resolved.
class CompiledFormula {
 public:
  CompiledFormula() = default;
  explicit CompiledFormula(std::string_view text);

  // The formula text, upper-cased and trimmed.
  const std::string& text() const { return text_; }
  bool empty() const { return text_.empty(); }

  // The formula's value for a row: every name replaced by its value
  // (variables from `variables`, any other name the row's field of that name,
  // 0 for a name Pers lacks), then evaluated. A formula without any quoted
  // name, or with a character the evaluator does not know, gives 0. Throws
  // FormulaTooDeep as EvalueazaExpresie does.
  long double Evaluate(const PersRow& row, const FormulaVariables& variables) const;

 private:
  struct Name {
    FormulaName kind = FormulaName::kUnknown;
    std::size_t field = 0;
  };
  // A character of the substituted text, or (slot >= 0) a substituted value.
  struct Item {
    char c = 0;
    std::int16_t slot = -1;
  };

  long double ValueOf(const Name& name, const PersRow& row,
                      const FormulaVariables& variables) const;

  std::string text_;
  std::vector<Name> names_;
  std::vector<Item> items_;
  bool always_zero_ = true;
  // A value stands next to a digit, a comma or another value: only the text
  // itself tells how the evaluator reads it.
  bool through_text_ = false;
};

}  // namespace traveno::engine
