// The floors of the benchmarks: what a plain SQLite program does with the
// same rows, with the program's settings (the register database with the
// company's attached, the rollback journal, a full sync at every commit, the
// same busy timeout) and nothing else: every column fetched by the cheapest
// accessor of its stored type, no rows kept, no figures computed, no text
// written. Nothing the program does with those rows can go under its floor.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_folder.h"

namespace traveno::bench {

// The figures the calculation writes back to an employee's line.
inline constexpr std::string_view kCalculatedColumns[] = {
    "VAL_TIMP_S", "VAL_SPORP", "BRUT",          "PENSIE",         "SOMAJ",   "TOTDREPT", "IMPOZIT",
    "RESTPL",     "SANATATE",  "SUMA_T_NOAPTE", "SUMA_ZILE_CO",   "vals1",   "vals2",    "vals3",
    "vals4",      "VENIT_NET", "DED_PERS",      "DED_PERS_SUPLI", "Ch_Prof", "Brut1"};

class PlainDatabase {
 public:
  // The register database of `data_folder` with the company `code` attached
  // as "firma".
  PlainDatabase(const std::filesystem::path& data_folder, std::string_view code) {
    if (sqlite3_open_v2((data_folder / kRegisterDatabaseName).c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
      Fail("open");
    }
    sqlite3_busy_timeout(db_, 5000);
    Execute("PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;");
    sqlite3_stmt* attach = Prepare("ATTACH DATABASE ? AS firma");
    const std::string file = (data_folder / std::string(code) / kCompanyDatabaseName).string();
    sqlite3_bind_text(attach, 1, file.c_str(), -1, SQLITE_TRANSIENT);
    Finish(attach);
    Execute("PRAGMA firma.journal_mode=DELETE; PRAGMA firma.synchronous=FULL;");
  }
  ~PlainDatabase() { sqlite3_close_v2(db_); }
  PlainDatabase(const PlainDatabase&) = delete;
  PlainDatabase& operator=(const PlainDatabase&) = delete;

  void Execute(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail(sql);
  }
  sqlite3_stmt* Prepare(std::string_view sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &statement, nullptr) !=
        SQLITE_OK) {
      Fail(std::string(sql).c_str());
    }
    return statement;
  }
  void Finish(sqlite3_stmt* statement) {
    while (sqlite3_step(statement) == SQLITE_ROW) {
    }
    if (sqlite3_finalize(statement) != SQLITE_OK) Fail("step");
  }

  // Steps through every row, fetching every column with the accessor of its
  // stored type (texts and blobs touched); returns a checksum so that
  // nothing is left out. Texts are bound to the ? marks in order.
  std::int64_t ReadRows(std::string_view sql, std::initializer_list<std::string_view> texts) {
    sqlite3_stmt* statement = Prepare(sql);
    int index = 0;
    for (std::string_view text : texts) {
      sqlite3_bind_text(statement, ++index, text.data(), static_cast<int>(text.size()),
                        SQLITE_TRANSIENT);
    }
    std::int64_t sum = 0;
    const int columns = sqlite3_column_count(statement);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
      for (int c = 0; c < columns; ++c) sum += Fetch(statement, c);
    }
    if (rc != SQLITE_DONE) Fail("read");
    sqlite3_finalize(statement);
    return sum;
  }

  sqlite3* handle() { return db_; }

  // Fetches one column with its type's accessor.
  static std::int64_t Fetch(sqlite3_stmt* statement, int c) {
    switch (sqlite3_column_type(statement, c)) {
      case SQLITE_INTEGER:
        return sqlite3_column_int64(statement, c);
      case SQLITE_FLOAT:
        return static_cast<std::int64_t>(sqlite3_column_double(statement, c));
      case SQLITE_TEXT: {
        // The bytes as stored, without the copy a terminating zero needs.
        const auto* text = static_cast<const unsigned char*>(sqlite3_column_blob(statement, c));
        const int size = sqlite3_column_bytes(statement, c);
        return size + (size > 0 ? text[0] : 0);
      }
      case SQLITE_BLOB:
        return sqlite3_column_bytes(statement, c);
      default:
        return 0;
    }
  }

 private:
  [[noreturn]] void Fail(const char* what) {
    throw std::runtime_error(std::string("floor: ") + what + ": " + sqlite3_errmsg(db_));
  }
  sqlite3* db_ = nullptr;
};

// "UPDATE firma.Pers SET <the calculated columns> = ? ... WHERE Nr = ?".
inline std::string CalculatedColumnsUpdate() {
  std::string sql = "UPDATE firma.Pers SET ";
  bool first = true;
  for (std::string_view column : kCalculatedColumns) {
    sql += (first ? "" : ", ") + std::string(column) + " = ?";
    first = false;
  }
  return sql + " WHERE Nr = ?";
}

// The recalculation's floor: every line of the month read (every column),
// and the calculated columns of every line written back, in one transaction
// that commits the company's database.
inline std::int64_t ReadAndRewriteMonth(PlainDatabase& db, std::string_view month) {
  sqlite3_stmt* read = db.Prepare("SELECT * FROM firma.Pers WHERE LUNA = ? ORDER BY LUNA, IID, Nr");
  sqlite3_bind_text(read, 1, month.data(), static_cast<int>(month.size()), SQLITE_TRANSIENT);
  db.Execute("BEGIN");
  sqlite3_stmt* write = db.Prepare(CalculatedColumnsUpdate());
  const int columns = sqlite3_column_count(read);
  std::vector<int> calculated;
  for (std::string_view name : kCalculatedColumns) {
    for (int c = 0; c < columns; ++c) {
      if (name == sqlite3_column_name(read, c)) calculated.push_back(c);
    }
  }
  std::int64_t sum = 0;
  while (sqlite3_step(read) == SQLITE_ROW) {
    for (int c = 0; c < columns; ++c) sum += PlainDatabase::Fetch(read, c);
    int index = 0;
    for (int c : calculated) sqlite3_bind_double(write, ++index, sqlite3_column_double(read, c));
    sqlite3_bind_int64(write, ++index, sqlite3_column_int64(read, 0));
    if (sqlite3_step(write) != SQLITE_DONE) throw std::runtime_error("floor: update");
    sqlite3_reset(write);
  }
  sqlite3_finalize(write);
  sqlite3_finalize(read);
  db.Execute("COMMIT");
  return sum;
}

}  // namespace traveno::bench
