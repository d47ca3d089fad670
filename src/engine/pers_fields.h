// Reading the fields of a Pers row as numbers, by index, without going
// through the generic field values: formulas read row fields on every
// calculation and must stay cheap.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "core/store/records.h"

namespace traveno::engine {

// The value of the field at `index` (an index of FieldsOf<PersRow>()) as a
// number: amounts and counters as they are, a date as its serial day number,
// a text by ParseNumber (0 when it is not a number). An index out of range
// gives 0.
long double PersNumber(const PersRow& row, std::size_t index);

// The index of a field by name, ignoring case; empty when Pers has no such field.
std::optional<std::size_t> PersFieldIndex(std::string_view name);

}  // namespace traveno::engine
