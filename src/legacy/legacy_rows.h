// The records of a legacy table as rows of the program's table: fields are
// matched by name without regard to case; a legacy field the program does not
// keep is left out, a field the legacy table lacks keeps a new row's value.
// Values are checked, never bent: a text longer than its field, a number
// where a text belongs or a fraction in a whole-number field refuses the
// table with an Error naming the table, the record and the field.
#pragma once

#include <functional>
#include <vector>

#include "core/store/records.h"
#include "legacy/paradox_table.h"

namespace traveno::legacy {

// Reads every record of the table. `extra`, when given, sees each row with the
// record's values (for the fields that only the legacy layout has).
template <typename Row>
std::vector<Row> ReadRows(
    ParadoxTable& table,
    const std::function<void(Row&, const std::vector<ParadoxValue>&)>& extra = nullptr);

// The number of characters of a UTF-8 text.
std::size_t CharacterCount(std::string_view utf8);

}  // namespace traveno::legacy
