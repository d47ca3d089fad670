// Bringing one table of a database to the current layout of its field list:
// a table whose columns already are the list's keeps its rows untouched; any
// other is rebuilt (renamed aside, created anew, every row copied by field
// name with its row number, the old table dropped). Used by the layout
// upgrades inside their transaction.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/records.h"
#include "core/store/row_io.h"
#include "core/store/schema.h"
#include "core/store/sqlite.h"

namespace traveno {

// The names of a table's columns in "main", in order; empty when there is no such table.
std::vector<std::string> ColumnNames(Database& db, std::string_view table);
// Whether the columns are exactly the table's fields (compared without regard to case).
bool HasCurrentLayout(std::span<const std::string> columns, const TableDef& table);
// Creates the indexes of the table that are missing.
void EnsureIndexes(Database& db, const TableDef& table);

// Renames the table aside and drops its indexes; returns the new name.
std::string MoveTableAside(Database& db, const TableDef& table);

// Rebuilds `table` when its columns differ from the field list: every row of
// the old table, in row-number order, is read by field name (fields it lacks
// hold a new row's values), given to `complete`, and written with its row
// number kept. A missing table is created empty. Returns whether the table was
// rebuilt.
template <typename Row>
bool RebuildTable(Database& db, const TableDef& table,
                  const std::function<void(Row&)>& complete = nullptr) {
  const std::vector<std::string> columns = ColumnNames(db, table.name);
  if (columns.empty()) {
    CreateTable(db, "main", table);
    return false;
  }
  if (HasCurrentLayout(columns, table)) {
    EnsureIndexes(db, table);
    return false;
  }
  const std::string old_name = MoveTableAside(db, table);
  CreateTable(db, "main", table);
  std::vector<Row> rows =
      QueryRows<Row>(db, "SELECT * FROM main." + QuoteIdentifier(old_name) + " ORDER BY rowid");
  RowWriter<Row> writer(db, table.name);
  for (Row& row : rows) {
    if (complete) complete(row);
    writer.Insert(row, /*keep_identity=*/true);
  }
  db.Execute("DROP TABLE main." + QuoteIdentifier(old_name));
  return true;
}

}  // namespace traveno
