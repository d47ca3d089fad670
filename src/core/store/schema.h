// The stored tables: the register database of the data folder holds Firme,
// Para, Impo and Impo_an; each company folder's database holds Pers, Pint,
// ParF and Poze. Field order, kinds and widths come from the field lists.
//
// Column kinds: an auto-increment is INTEGER PRIMARY KEY AUTOINCREMENT,
// a date is "YYYY-MM-DD" text (the empty date "1899-12-30"), an amount REAL,
// a flag or count INTEGER, a text TEXT checked against its width. Indexes
// keep the program's names, prefixed with their table (SQLite names indexes
// per database, and Impo and Impo_an both have an "iLV").
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/records.h"
#include "core/store/sqlite.h"

namespace traveno {

struct IndexDef {
  std::string name;
  std::vector<std::string> fields;
  bool case_insensitive = false;
  bool unique = false;
};

struct TableDef {
  std::string name;
  std::span<const FieldDef> fields;
  std::vector<IndexDef> indexes;
};

const TableDef& FirmeTable();
const TableDef& ParaTable();
const TableDef& ImpoTable();
const TableDef& ImpoAnTable();
const TableDef& PersTable();
const TableDef& PintTable();
const TableDef& ParFTable();
const TableDef& PozeTable();

// The register tables in creation order, and the company tables.
std::vector<const TableDef*> RegisterTables();
std::vector<const TableDef*> CompanyTables();

// The CREATE TABLE and CREATE INDEX statements of a table in a schema
// ("main" or an attached database's name).
std::string CreateTableSql(const TableDef& table, std::string_view schema);
std::vector<std::string> CreateIndexSql(const TableDef& table, std::string_view schema);
// Creates a table with its indexes; StoreError on failure.
void CreateTable(Database& db, std::string_view schema, const TableDef& table);

}  // namespace traveno
