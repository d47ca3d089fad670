// Reading and writing whole rows of a stored table through the row structs.
// Columns are matched to fields by name without regard to case, so a table
// whose later fields were appended in another order reads the same.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/records.h"
#include "core/store/sqlite.h"

namespace traveno {

// Reads the current row of a statement into a row struct; columns that are
// not fields of the row are ignored, fields without a column keep their
// defaults (0, "" or the empty date).
template <typename Row>
class RowReader {
 public:
  explicit RowReader(const Statement& statement) {
    for (int column = 0; column < statement.ColumnCount(); ++column) {
      if (auto field = FindField<Row>(statement.ColumnName(column))) {
        columns_.push_back({column, *field});
      }
    }
  }

  Row Read(const Statement& statement) const {
    Row row{};
    const auto fields = FieldsOf<Row>();
    for (const auto& [column, field] : columns_) {
      if (statement.IsNull(column)) continue;
      switch (fields[field].kind) {
        case FieldKind::kAutoInc:
        case FieldKind::kInt16:
        case FieldKind::kInt32:
          SetField(row, field, FieldValue(statement.Int64(column)));
          break;
        case FieldKind::kDouble:
          SetField(row, field, FieldValue(statement.Double(column)));
          break;
        case FieldKind::kText:
          SetField(row, field, FieldValue(statement.Text(column)));
          break;
        case FieldKind::kDate:
          SetField(row, field, FieldValue(statement.DateAt(column)));
          break;
        case FieldKind::kBlob:
          SetField(row, field, FieldValue(statement.BlobAt(column)));
          break;
      }
    }
    return row;
  }

 private:
  std::vector<std::pair<int, std::size_t>> columns_;
};

// Runs a SELECT and reads every row.
template <typename Row, typename... Args>
std::vector<Row> QueryRows(Database& db, std::string_view sql, const Args&... args) {
  Statement statement = db.Prepare(sql);
  statement.BindAll(args...);
  std::vector<Row> rows;
  std::optional<RowReader<Row>> reader;
  while (statement.Step()) {
    if (!reader) reader.emplace(statement);
    rows.push_back(reader->Read(statement));
  }
  return rows;
}

// Inserts and updates rows of one table with statements prepared once.
// The row identity (the first field, an auto-increment) is given by the
// engine on insert unless `keep_identity` is set; updates find the row by it.
template <typename Row>
class RowWriter {
 public:
  RowWriter(Database& db, std::string_view table) : db_(db) {
    const auto fields = FieldsOf<Row>();
    std::string names, marks, sets;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) {
        names += ", ";
        marks += ", ";
      }
      names += QuoteIdentifier(fields[i].name);
      marks += "?";
      if (i > 1) sets += ", ";
      if (i > 0) sets += QuoteIdentifier(fields[i].name) + " = ?";
    }
    const std::string quoted_table = QuoteIdentifier(table);
    insert_sql_ = "INSERT INTO " + quoted_table + " (" + names + ") VALUES (" + marks + ")";
    update_sql_ = "UPDATE " + quoted_table + " SET " + sets + " WHERE " +
                  QuoteIdentifier(fields[0].name) + " = ?";
  }

  // Inserts the row and returns its identity.
  std::int64_t Insert(const Row& row, bool keep_identity = false) {
    if (!insert_) insert_.emplace(db_.Prepare(insert_sql_));
    const auto fields = FieldsOf<Row>();
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i == 0 && !keep_identity) {
        insert_->BindNull(1);
      } else {
        insert_->Bind(static_cast<int>(i) + 1, GetField(row, i));
      }
    }
    insert_->Run();
    return db_.LastInsertRowId();
  }

  // Rewrites every field of the row with the same identity; false when there is none.
  bool Update(const Row& row) {
    if (!update_) update_.emplace(db_.Prepare(update_sql_));
    const auto fields = FieldsOf<Row>();
    for (std::size_t i = 1; i < fields.size(); ++i) {
      update_->Bind(static_cast<int>(i), GetField(row, i));
    }
    update_->Bind(static_cast<int>(fields.size()), GetField(row, 0));
    update_->Run();
    return db_.Changes() > 0;
  }

 private:
  Database& db_;
  std::string insert_sql_;
  std::string update_sql_;
  std::optional<Statement> insert_;
  std::optional<Statement> update_;
};

}  // namespace traveno
