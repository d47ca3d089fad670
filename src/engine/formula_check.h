// The check of a formula typed in the bonus or holiday-pay formula editor:
// length, characters, quoted field names and the placement of operators and
// parentheses. The messages are the program's own.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace traveno::engine {

enum class FormulaKind { kBonus = 1, kHolidayPay = 2 };

// An entry of the editor's field list: the caption shown and the name written
// between double quotes into the formula.
struct FormulaField {
  std::string display;
  std::string name;
};

// The fields a formula may name: for bonus `bonus` (1..4) the eleven row
// figures and the values of the bonuses before it; for the holiday pay the
// twelve fields of its list (`bonus` is ignored).
std::vector<FormulaField> AcceptedFormulaFields(FormulaKind kind, int bonus);

// Shown with the formula text when the check passes.
inline constexpr char kFormulaCorrect[] = "Formula este corecta !";

// Checks a formula; `months` is the editor's number of earlier months
// (holiday pay only). Returns the message of the first fault found, or empty
// when the formula is valid. An empty holiday-pay formula is valid (it
// switches the average off); an empty bonus formula is not.
std::optional<std::string> ValideazaFormula(std::string_view text,
                                            std::span<const FormulaField> fields,
                                            FormulaKind kind, double months = 0);

}  // namespace traveno::engine
