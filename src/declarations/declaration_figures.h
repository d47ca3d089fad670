// The figures a declaration window keeps for its month: company parameters
// of the working month (ParF rows), checked and written together.
#pragma once

#include <span>
#include <string>

#include "core/date.h"
#include "core/store/sqlite.h"

namespace traveno::declarations {

// The largest amount a declaration keeps: the widest amount field of the
// declaration files holds 13 digits.
inline constexpr double kMaxDeclarationAmount = 9999999999999.0;

// One figure: its parameter name, its value and the caption of the box it
// was typed in (named in the message when it is refused).
struct DeclarationFigure {
  const char* name;
  double value;
  std::string caption;
};

// The message of an amount that cannot be kept.
std::string InvalidAmountMessage(const std::string& caption);

// Throws Error with InvalidAmountMessage of the first figure that is not a
// number from 0 to kMaxDeclarationAmount.
void CheckDeclarationFigures(std::span<const DeclarationFigure> figures);

// CheckDeclarationFigures (nothing is written when it throws); then writes
// every figure as a company parameter of `month` (the row of that name
// edited, or appended) as one unit, joining the caller's transaction. Throws
// StoreError when the store fails (nothing is then written).
void WriteDeclarationFigures(Database& db, Date month, std::span<const DeclarationFigure> figures);

}  // namespace traveno::declarations
