#include "core/store/table_rebuild.h"

#include "core/text.h"

namespace traveno {

std::vector<std::string> ColumnNames(Database& db, std::string_view table) {
  std::vector<std::string> names;
  Statement statement = db.Prepare("SELECT name FROM pragma_table_info(?, 'main')");
  statement.BindAll(table);
  while (statement.Step()) names.push_back(statement.Text(0));
  return names;
}

bool HasCurrentLayout(std::span<const std::string> columns, const TableDef& table) {
  if (columns.size() != table.fields.size()) return false;
  for (const FieldDef& field : table.fields) {
    bool found = false;
    for (const std::string& column : columns) found = found || EqualsIgnoreCase(column, field.name);
    if (!found) return false;
  }
  return true;
}

void EnsureIndexes(Database& db, const TableDef& table) {
  const std::vector<std::string> statements = CreateIndexSql(table, "main");
  for (std::size_t i = 0; i < table.indexes.size(); ++i) {
    const bool exists = db.QueryInt(
                              "SELECT 1 FROM main.sqlite_master WHERE type = 'index' "
                              "AND name = ? COLLATE NOCASE",
                              table.name + "_" + table.indexes[i].name)
                            .has_value();
    if (!exists) db.Execute(statements[i]);
  }
}

std::string MoveTableAside(Database& db, const TableDef& table) {
  const std::string old_name = table.name + "_layout_old";
  db.Execute("ALTER TABLE main." + QuoteIdentifier(table.name) + " RENAME TO " +
             QuoteIdentifier(old_name));
  std::vector<std::string> indexes;
  Statement statement = db.Prepare(
      "SELECT name FROM main.sqlite_master WHERE type = 'index' AND tbl_name = ? AND sql IS NOT "
      "NULL");
  statement.BindAll(old_name);
  while (statement.Step()) indexes.push_back(statement.Text(0));
  for (const std::string& index : indexes) {
    db.Execute("DROP INDEX main." + QuoteIdentifier(index));
  }
  return old_name;
}

}  // namespace traveno
