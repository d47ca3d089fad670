// dBASE III tables (without memo) for the electronic declarations: a table is
// described by a field-list string such as
// "Cnp_ang N(13),Nume C(40),Data_angaj D(10),Coef_01 N(4,2)", created empty
// by CreateDbfTable, then opened to append records.
//
// A file is laid out as dBASE III readers expect: a 32-byte header (version
// 3, the date of creation, the record count, the header and record lengths),
// one 32-byte descriptor per field, the terminator 0x0D, the records (a blank
// deletion flag then every field's bytes) and the end-of-file byte 0x1A.
// Texts are written in Windows-1250. Every write goes through a temporary
// file in the same folder renamed over the final name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/date.h"

namespace traveno::declarations {

// Warning flags of CreateDbfTable, OR-ed together; 0 when every item of the
// spec made the field it describes.
inline constexpr int kDbfItemWithoutBlank =
    1;                                     // an item without a blank: character field, width 10
inline constexpr int kDbfUnknownType = 2;  // a type letter outside C N L D F: character, width 10
inline constexpr int kDbfWidthOutOfRange = 4;  // a width or decimals a descriptor byte cannot hold

struct DbfField {
  std::string name;  // upper case, at most 11 characters in the header
  char type = 'C';   // 'C', 'N', 'F', 'D' or 'L'
  int width = 10;
  int decimals = 0;
  int offset = 1;  // in the record, after the deletion flag
};

struct DbfLayout {
  std::vector<DbfField> fields;
  int flags = 0;
  int record_length = 1;  // the deletion flag and every width
  int header_length() const { return 32 * static_cast<int>(fields.size()) + 33; }
};

// Parses a field-list string. The field list is trimmed and upper-cased;
// items are separated by "," (a comma inside the first parentheses of what is
// left, as in "N(4,2)", does not end the item). An item is a name, a blank and
// a type part: the type letter and, for C, N and F, "(width)" or
// "(width,decimals)" (decimals ignored for C). Defaults: C, N, F width 10; D
// width 8; L width 1; decimals 0; a width that is not a number takes the
// default, and D and L ignore what stands in parentheses. An item without a
// blank becomes a character field of width 10 named by the whole item (flag
// 1); an unknown type letter a character field of width 10 (flag 2); a width
// outside 1..254 or decimals outside 0..15 (or not below the width) the
// type's default width and no decimals (flag 4). Throws Error when the
// fields cannot fit a dBASE III header (more than 2046 fields or a record
// longer than 65535 bytes).
DbfLayout ParseDbfSpec(std::string_view spec);

// The header of a table: the 32 bytes, the descriptors and the terminator.
std::string DbfHeader(const DbfLayout& layout, Date created, std::uint32_t record_count);

// Creates (or replaces) the file at `path` as an empty table of the field list,
// dated `today`, and returns the warning flags of ParseDbfSpec. The caller
// appends records only when the result is 0. Throws OsError when the file
// cannot be written (the file at `path` is then left as it was), Error when
// the field list cannot make a dBASE III header.
int CreateDbfTable(const std::filesystem::path& path, std::string_view spec, Date today);

class DbfTable;

// One record being filled. Every field starts blank, as a field the caller
// leaves unassigned stays. Setting a field that the table lacks, a value of
// the wrong kind for the field, a number that is not finite or does not fit
// the field's width throws Error with a message naming the field; the record
// then keeps its earlier values.
class DbfRecord {
 public:
  // A "C" field: the text in Windows-1250, left-aligned, padded with blanks,
  // cut to the width.
  DbfRecord& SetText(std::string_view field, std::string_view text);
  // An "N" or "F" field: right-aligned with the field's decimals ("." point).
  DbfRecord& SetNumber(std::string_view field, double value);
  // A "D" field: YYYYMMDD; the empty date leaves the field blank.
  DbfRecord& SetDate(std::string_view field, Date value);
  // An "L" field: "T" or "F".
  DbfRecord& SetLogical(std::string_view field, bool value);

  // The record's bytes, the deletion flag first.
  const std::string& bytes() const { return bytes_; }

 private:
  friend class DbfTable;
  explicit DbfRecord(const DbfTable& table);
  const DbfField& FieldOf(std::string_view name, std::string_view types) const;
  void Put(const DbfField& field, std::string_view value);

  const DbfTable* table_;
  std::string bytes_;
  // The field after the one set last.
  mutable std::size_t next_field_ = 0;
};

// A table opened to append records. Records are collected in memory and the
// whole file (header with the record count, records, end byte) is written by
// Save, so a failed save leaves the file as it was.
class DbfTable {
 public:
  // Reads a dBASE III table, its records included. Throws Error when the file
  // cannot be read or is not a dBASE III table.
  static DbfTable Open(const std::filesystem::path& path);
  // A new empty table of the field list, dated `today`, held in memory until Save
  // (which writes what CreateDbfTable would, with the records appended);
  // `flags` receives the warning flags of ParseDbfSpec. Throws Error when the
  // spec cannot make a dBASE III header.
  static DbfTable Create(const std::filesystem::path& path, std::string_view spec, Date today,
                         int& flags);

  const std::filesystem::path& path() const { return path_; }
  const std::vector<DbfField>& fields() const { return fields_; }
  std::uint32_t record_count() const { return record_count_; }

  // A new blank record of this table.
  DbfRecord NewRecord() const { return DbfRecord(*this); }
  // Appends a filled record.
  void Append(const DbfRecord& record);
  // Writes the file. Throws OsError when it cannot be written.
  void Save() const;

 private:
  friend class DbfRecord;
  DbfTable() = default;
  const DbfField* Find(std::string_view name) const;

  std::filesystem::path path_;
  std::string header_;  // as read; the record count is rewritten on saving
  std::vector<DbfField> fields_;
  std::unordered_map<std::string, std::size_t> by_name_;  // upper-case name -> field
  // For each field, the field its name finds (the first of that name).
  std::vector<std::size_t> first_of_name_;
  int record_length_ = 1;
  std::string records_;
  std::uint32_t record_count_ = 0;
};

}  // namespace traveno::declarations
