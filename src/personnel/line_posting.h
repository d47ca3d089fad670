// Posting a line of the pay grid: the typed fields are set, the piece-work
// mark is normalised, a typed gross or net is turned into the gross
// difference (Dif_Brut), and the line is recalculated. The caller takes the
// line out of the running totals before and adds it back after.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/store/records.h"
#include "engine/payroll_engine.h"

namespace traveno::personnel {

// The fields the user may type in the pay grid (names compared upper-cased).
bool IsGridEditableField(std::string_view field);

// A field name and the value typed for it.
using FieldEdit = std::pair<std::string, FieldValue>;

// The most rounds spent looking for a typed net before settling for the
// closest one reached.
inline constexpr int kTypedNetRounds = 100;

struct PostedLine {
  PersRow row;
  // Set when a typed net could not be reached exactly: the line keeps the
  // gross difference whose net came closest, and this tells the user which.
  std::optional<std::string> notice;
};

// Applies `edits` to `line` (as last calculated) and recalculates it.
// Throws std::invalid_argument naming the field when a field is unknown, not
// editable in the grid, or given a value of the wrong kind, and ValueRefused
// when its rule refuses the value (a day count of 2,7, an amount past
// kMaxAmount, NaN); the line is then left untouched. A gross typed differently from the line's
// moves the difference into Dif_Brut; a net typed differently is reached by adjusting Dif_Brut
// round after round.
PostedLine PostLineEdit(const engine::PayrollEngine& engine, const PersRow& line,
                        const std::vector<FieldEdit>& edits);

// The piece-work mark as stored: "D" for "d" or "D" when the line is not
// paid by the hour, else empty (piece-work and hourly pay exclude each other).
std::string NormalisedAcord(const PersRow& row);

}  // namespace traveno::personnel
