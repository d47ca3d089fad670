#include "core/store/schema.h"

#include "core/text.h"

namespace traveno {
namespace {

std::string ColumnSql(const FieldDef& field) {
  const std::string name = QuoteIdentifier(field.name);
  switch (field.kind) {
    case FieldKind::kAutoInc:
      return name + " INTEGER PRIMARY KEY AUTOINCREMENT";
    case FieldKind::kDate:
      return name + " TEXT NOT NULL DEFAULT '1899-12-30'";
    case FieldKind::kInt16:
      return name + " INTEGER NOT NULL DEFAULT 0 CHECK (" + name + " BETWEEN -32768 AND 32767)";
    case FieldKind::kInt32:
      return name + " INTEGER NOT NULL DEFAULT 0";
    case FieldKind::kDouble:
      return name + " REAL NOT NULL DEFAULT 0";
    case FieldKind::kText:
      return name + " TEXT NOT NULL DEFAULT '' CHECK (length(" + name +
             ") <= " + std::to_string(field.width) + ")";
    case FieldKind::kBlob:
      return name + " BLOB";
  }
  return name;
}

}  // namespace

const TableDef& FirmeTable() {
  // One row per company code: the code names the company's folder.
  static const TableDef table{"Firme", FieldsOf<FirmeRow>(), {{"iCod", {"Cod"}, true, true}}};
  return table;
}
const TableDef& ParaTable() {
  static const TableDef table{"Para", FieldsOf<ParaRow>(), {{"iLD", {"Luna", "Den"}, true}}};
  return table;
}
const TableDef& ImpoTable() {
  static const TableDef table{"Impo", FieldsOf<ImpoRow>(), {{"iLV", {"Luna", "P_Venit"}, false}}};
  return table;
}
const TableDef& ImpoAnTable() {
  static const TableDef table{
      "Impo_an", FieldsOf<ImpoRow>(), {{"iLV", {"Luna", "P_Venit"}, false}}};
  return table;
}
const TableDef& PersTable() {
  static const TableDef table{"Pers",
                              FieldsOf<PersRow>(),
                              {{"iIL", {"LUNA", "IID"}, true},
                               {"iLTCM", {"LUNA", "Depart", "TIP", "CATEGORIE", "MARCA"}, false},
                               {"iLT", {"LUNA", "TIP"}, false}}};
  return table;
}
const TableDef& PintTable() {
  static const TableDef table{"Pint", FieldsOf<PintRow>(), {{"iLI", {"Luna", "IID"}, true}}};
  return table;
}
const TableDef& ParFTable() {
  static const TableDef table{"ParF", FieldsOf<ParFRow>(), {{"iLD", {"Luna", "Den"}, true}}};
  return table;
}
const TableDef& PozeTable() {
  static const TableDef table{"Poze", FieldsOf<PozeRow>(), {}};
  return table;
}

std::vector<const TableDef*> RegisterTables() {
  return {&ParaTable(), &ImpoTable(), &ImpoAnTable(), &FirmeTable()};
}

std::vector<const TableDef*> CompanyTables() {
  return {&PersTable(), &PintTable(), &ParFTable(), &PozeTable()};
}

std::string CreateTableSql(const TableDef& table, std::string_view schema) {
  std::string sql =
      "CREATE TABLE " + QuoteIdentifier(schema) + "." + QuoteIdentifier(table.name) + " (";
  bool first = true;
  for (const FieldDef& field : table.fields) {
    if (!first) sql += ", ";
    first = false;
    sql += ColumnSql(field);
  }
  return sql + ")";
}

std::vector<std::string> CreateIndexSql(const TableDef& table, std::string_view schema) {
  std::vector<std::string> statements;
  for (const IndexDef& index : table.indexes) {
    std::string sql = std::string(index.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
                      QuoteIdentifier(schema) + "." +
                      QuoteIdentifier(table.name + "_" + index.name) + " ON " +
                      QuoteIdentifier(table.name) + " (";
    for (std::size_t i = 0; i < index.fields.size(); ++i) {
      if (i > 0) sql += ", ";
      sql += QuoteIdentifier(index.fields[i]);
      // Case-insensitive indexes compare their text fields without regard to case.
      for (const FieldDef& field : table.fields) {
        if (index.case_insensitive && field.kind == FieldKind::kText &&
            EqualsIgnoreCase(field.name, index.fields[i])) {
          sql += " COLLATE NOCASE";
        }
      }
    }
    statements.push_back(sql + ")");
  }
  return statements;
}

void CreateTable(Database& db, std::string_view schema, const TableDef& table) {
  db.Execute(CreateTableSql(table, schema));
  for (const std::string& sql : CreateIndexSql(table, schema)) db.Execute(sql);
}

}  // namespace traveno
