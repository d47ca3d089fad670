// Reading and writing whole rows of a stored table through the row structs.
// Columns are matched to fields by name without regard to case, so a table
// whose later fields were appended in another order reads the same. Values
// go between the statement and the row's members by their own types
// (RowFields), never through the generic FieldValue.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/memory_reserve.h"
#include "core/store/records.h"
#include "core/store/sqlite.h"
#include "core/text.h"

namespace traveno {

namespace row_io {

inline void ReadMember(const Statement& s, int column, const FieldDef&, std::int64_t& value) {
  value = s.Int64(column);
}
inline void ReadMember(const Statement& s, int column, const FieldDef& def, int& value) {
  value = CheckedInteger(s.Int64(column), def);
}
inline void ReadMember(const Statement& s, int column, const FieldDef&, double& value) {
  value = s.Double(column);
}
inline void ReadMember(const Statement& s, int column, const FieldDef& def, std::string& value) {
  // A text is held to the field's width in characters; one no longer in
  // bytes than the width is within it.
  const std::string_view text = s.TextView(column);
  if (text.size() <= static_cast<std::size_t>(def.width)) {
    value.assign(text);
  } else {
    value = Truncate(text, static_cast<std::size_t>(def.width));
  }
}
inline void ReadMember(const Statement& s, int column, const FieldDef&, Date& value) {
  value = s.DateAt(column);
}
inline void ReadMember(const Statement& s, int column, const FieldDef&, Blob& value) {
  value = s.BlobAt(column);
}

inline void BindMember(Statement& s, int index, std::int64_t value) { s.Bind(index, value); }
inline void BindMember(Statement& s, int index, int value) {
  s.Bind(index, static_cast<std::int64_t>(value));
}
inline void BindMember(Statement& s, int index, double value) { s.Bind(index, value); }
// The row outlives the statement's run: its texts are bound without a copy.
inline void BindMember(Statement& s, int index, const std::string& value) {
  s.BindView(index, value);
}
inline void BindMember(Statement& s, int index, Date value) { s.Bind(index, value); }
inline void BindMember(Statement& s, int index, const Blob& value) { s.Bind(index, value); }

}  // namespace row_io

// Reads the current row of a statement into a row struct; columns that are
// not fields of the row are ignored, fields without a column keep their
// defaults (0, "" or the empty date).
template <typename Row>
class RowReader {
 public:
  explicit RowReader(const Statement& statement) : column_of_(FieldsOf<Row>().size(), -1) {
    for (int column = 0; column < statement.ColumnCount(); ++column) {
      if (auto field = FindField<Row>(statement.ColumnName(column))) column_of_[*field] = column;
    }
  }

  Row Read(const Statement& statement) const {
    Row row{};
    ReadInto(statement, row);
    return row;
  }

  // Reads into a row as newly made (its fields at their defaults).
  void ReadInto(const Statement& statement, Row& row) const {
    const auto fields = FieldsOf<Row>();
    RowFields<Row>::ForEach([&](std::size_t index, auto member) {
      const int column = column_of_[index];
      if (column < 0 || statement.IsNull(column)) return;
      row_io::ReadMember(statement, column, fields[index], row.*member);
    });
  }

 private:
  std::vector<int> column_of_;  // by field; -1 when the statement has no such column
};

namespace row_io {

template <typename Row>
void ReadAll(Statement& statement, std::vector<Row>& rows) {
  std::optional<RowReader<Row>> reader;
  while (statement.Step()) {
    if (!reader) reader.emplace(statement);
    reader->ReadInto(statement, rows.emplace_back());
  }
}

}  // namespace row_io

// Runs a SELECT and reads every row: for a lookup of a few rows.
template <typename Row, typename... Args>
std::vector<Row> QueryRows(Database& db, std::string_view sql, const Args&... args) {
  Statement statement = db.Prepare(sql);
  statement.BindAll(args...);
  std::vector<Row> rows;
  row_io::ReadAll(statement, rows);
  return rows;
}

// Reads many rows (a month, a year): "SELECT * <from_where> ORDER BY
// <order>". They are counted first ("SELECT count(*) <from_where>", which an
// index answers), so that they are read into place in a vector of their
// number, never moved by its growth.
template <typename Row, typename... Args>
std::vector<Row> QueryManyRows(Database& db, std::string_view from_where, std::string_view order,
                               const Args&... args) {
  std::vector<Row> rows;
  const std::optional<std::int64_t> count =
      db.QueryInt("SELECT count(*) " + std::string(from_where), args...);
  if (count && *count > 0) {
    rows.reserve(static_cast<std::size_t>(*count));
    PrefaultForWriting(rows.data(), rows.capacity() * sizeof(Row));
  }
  Statement statement =
      db.Prepare("SELECT * " + std::string(from_where) + " ORDER BY " + std::string(order));
  statement.BindAll(args...);
  row_io::ReadAll(statement, rows);
  return rows;
}

// Inserts and updates rows of one table with statements prepared once.
// The row identity (the first field, an auto-increment) is given by the
// engine on insert unless `keep_identity` is set; updates find the row by it.
template <typename Row>
class RowWriter {
 public:
  RowWriter(Database& db, std::string_view table) : db_(db), table_(QuoteIdentifier(table)) {}

  // Inserts the row and returns its identity.
  std::int64_t Insert(const Row& row, bool keep_identity = false) {
    if (!insert_) insert_.emplace(db_.Prepare(InsertSql()));
    Statement& insert = *insert_;
    RowFields<Row>::ForEach([&](std::size_t index, auto member) {
      const int mark = static_cast<int>(index) + 1;
      if (index == 0 && !keep_identity) {
        insert.BindNull(mark);
      } else {
        row_io::BindMember(insert, mark, row.*member);
      }
    });
    insert.Run();
    return db_.LastInsertRowId();
  }

  // Rewrites every field of the row with the same identity; false when there is none.
  bool Update(const Row& row) {
    FieldMask all;
    for (std::size_t i = 1; i < FieldsOf<Row>().size(); ++i) all.set(i);
    return UpdateFields(row, all);
  }

  // Rewrites the fields of `after` that differ from `before` (the same row
  // as stored), so that a write leaves alone the indexes and checks of the
  // fields it does not change. True when nothing changed.
  bool UpdateChanged(const Row& before, const Row& after) {
    return UpdateFields(after, ChangedFields(before, after));
  }

  // Rewrites the fields of the row named in `fields` (the identity never);
  // false when there is no such row. Nothing is written when no field is
  // named, and the result is then true.
  bool UpdateFields(const Row& row, FieldMask fields) {
    fields.reset(0);
    if (fields.none()) return true;
    Statement& update = UpdateStatement(fields);
    // The fields in order, then the identity of the row.
    const int identity_mark = static_cast<int>(fields.count()) + 1;
    int mark = 0;
    RowFields<Row>::ForEach([&](std::size_t index, auto member) {
      if (index == 0) {
        row_io::BindMember(update, identity_mark, row.*member);
      } else if (fields.test(index)) {
        row_io::BindMember(update, ++mark, row.*member);
      }
    });
    update.Run();
    return db_.Changes() > 0;
  }

 private:
  // Statements for this many different sets of fields are kept prepared; a
  // write of yet another set prepares its own.
  static constexpr std::size_t kKeptUpdates = 16;

  std::string InsertSql() const {
    const auto fields = FieldsOf<Row>();
    std::string names, marks;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      names += (i > 0 ? ", " : "") + QuoteIdentifier(fields[i].name);
      marks += i > 0 ? ", ?" : "?";
    }
    return "INSERT INTO " + table_ + " (" + names + ") VALUES (" + marks + ")";
  }

  Statement& UpdateStatement(const FieldMask& fields) {
    if (auto kept = updates_.find(fields); kept != updates_.end()) return kept->second;
    const auto defs = FieldsOf<Row>();
    std::string sets;
    for (std::size_t i = 1; i < defs.size(); ++i) {
      if (!fields.test(i)) continue;
      sets += (sets.empty() ? "" : ", ") + QuoteIdentifier(defs[i].name) + " = ?";
    }
    Statement statement = db_.Prepare("UPDATE " + table_ + " SET " + sets + " WHERE " +
                                      QuoteIdentifier(defs[0].name) + " = ?");
    if (updates_.size() >= kKeptUpdates) {
      one_off_.emplace(std::move(statement));
      return *one_off_;
    }
    return updates_.emplace(fields, std::move(statement)).first->second;
  }

  Database& db_;
  std::string table_;
  std::optional<Statement> insert_;
  std::unordered_map<FieldMask, Statement> updates_;
  std::optional<Statement> one_off_;
};

}  // namespace traveno
