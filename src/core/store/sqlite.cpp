#include "core/store/sqlite.h"

#include <sqlite3.h>

#include "core/errors.h"

namespace traveno {
namespace {

// What the user reads for a failure of the engine; the engine's own text
// goes to the error report.
std::string UserMessage(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return kStoreBusy;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return kStoreReadOnly;
    case SQLITE_FULL:
      return kStoreFull;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return kStoreCorrupt;
    case SQLITE_CONSTRAINT:
    case SQLITE_MISMATCH:
    case SQLITE_TOOBIG:
      return kStoreConstraint;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
    case SQLITE_NOLFS:
      return kStoreIo;
    default:
      return "Eroare neasteptata a bazei de date (cod " + std::to_string(rc) +
             "). Datele nu au fost modificate !";
  }
}

[[noreturn]] void Fail(sqlite3* db, int rc, std::string_view context) {
  std::string detail = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  if (!context.empty()) detail += " (" + std::string(context) + ")";
  throw StoreError(UserMessage(rc), rc, detail);
}

}  // namespace

std::string QuoteIdentifier(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
  const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
  if (rc != SQLITE_OK) Fail(db, rc, sql);
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement::Statement(Statement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) {
  other.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    db_ = other.db_;
    stmt_ = other.stmt_;
    other.stmt_ = nullptr;
  }
  return *this;
}

void Statement::Check(int rc) const {
  if (rc != SQLITE_OK) Fail(db_, rc, sqlite3_sql(stmt_) ? sqlite3_sql(stmt_) : "");
}

Statement& Statement::Bind(int index, std::int64_t value) {
  Check(sqlite3_bind_int64(stmt_, index, value));
  return *this;
}

Statement& Statement::Bind(int index, double value) {
  Check(sqlite3_bind_double(stmt_, index, value));
  return *this;
}

Statement& Statement::Bind(int index, std::string_view value) {
  Check(sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT));
  return *this;
}

Statement& Statement::BindView(int index, std::string_view value) {
  Check(
      sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_STATIC));
  return *this;
}

Statement& Statement::Bind(int index, Date value) { return Bind(index, value.ToIso()); }

Statement& Statement::Bind(int index, const Blob& value) {
  Check(sqlite3_bind_blob(stmt_, index, value.data(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT));
  return *this;
}

Statement& Statement::Bind(int index, const FieldValue& value) {
  std::visit([&](const auto& v) { Bind(index, v); }, value);
  return *this;
}

Statement& Statement::BindNull(int index) {
  Check(sqlite3_bind_null(stmt_, index));
  return *this;
}

bool Statement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  Fail(db_, rc, sqlite3_sql(stmt_) ? sqlite3_sql(stmt_) : "");
}

void Statement::Run() {
  while (Step()) {
  }
  Reset();
}

void Statement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

int Statement::ColumnCount() const { return sqlite3_column_count(stmt_); }

std::string Statement::ColumnName(int column) const {
  const char* name = sqlite3_column_name(stmt_, column);
  return name ? name : "";
}

bool Statement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::int64_t Statement::Int64(int column) const { return sqlite3_column_int64(stmt_, column); }

double Statement::Double(int column) const { return sqlite3_column_double(stmt_, column); }

std::string Statement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
              : std::string();
}

std::string_view Statement::TextView(int column) const {
  // The bytes as stored: a text needs no terminating zero here, so the
  // engine hands out its own copy instead of making one.
  const auto* text = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
  return text
             ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
             : std::string_view();
}

Date Statement::DateAt(int column) const {
  if (IsNull(column)) return EmptyDate();
  return Date::ParseIso(TextView(column)).value_or(EmptyDate());
}

Blob Statement::BlobAt(int column) const {
  const auto* data = static_cast<const unsigned char*>(sqlite3_column_blob(stmt_, column));
  const int size = sqlite3_column_bytes(stmt_, column);
  return data ? Blob(data, data + size) : Blob();
}

Database::Database(const std::filesystem::path& path, bool create) {
  const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) |
                    SQLITE_OPEN_NOMUTEX;
  const int rc = sqlite3_open_v2(path.c_str(), &handle_, flags, nullptr);
  if (rc != SQLITE_OK) {
    const std::string detail = handle_ ? sqlite3_errmsg(handle_) : sqlite3_errstr(rc);
    sqlite3_close(handle_);
    handle_ = nullptr;
    throw StoreError(UserMessage(rc) + " (" + path.string() + ")", rc,
                     detail + " (" + path.string() + ")");
  }
  sqlite3_busy_timeout(handle_, 5000);
  sqlite3_extended_result_codes(handle_, 1);
  Execute("PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL; PRAGMA foreign_keys=OFF;");
}

Database::~Database() { sqlite3_close_v2(handle_); }

void Database::Execute(std::string_view sql) {
  char* error = nullptr;
  const std::string text(sql);
  const int rc = sqlite3_exec(handle_, text.c_str(), nullptr, nullptr, &error);
  if (rc != SQLITE_OK) {
    std::string detail = error ? error : sqlite3_errstr(rc);
    sqlite3_free(error);
    throw StoreError(UserMessage(rc), rc, detail + " (" + text + ")");
  }
}

void Database::Attach(const std::filesystem::path& path, std::string_view schema) {
  Run("ATTACH DATABASE ? AS " + QuoteIdentifier(schema), path.string());
  Execute("PRAGMA " + QuoteIdentifier(schema) + ".journal_mode=DELETE; PRAGMA " +
          QuoteIdentifier(schema) + ".synchronous=FULL;");
}

void Database::Detach(std::string_view schema) {
  Execute("DETACH DATABASE " + QuoteIdentifier(schema));
}

bool Database::TableExists(std::string_view schema, std::string_view table) {
  return QueryInt("SELECT 1 FROM " + QuoteIdentifier(schema) +
                      ".sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE",
                  table)
      .has_value();
}

std::int64_t Database::LastInsertRowId() const { return sqlite3_last_insert_rowid(handle_); }

int Database::Changes() const { return sqlite3_changes(handle_); }

bool Database::InTransaction() const { return sqlite3_get_autocommit(handle_) == 0; }

Transaction::Transaction(Database& db, TransactionKind kind) : db_(db) {
  if (db_.InTransaction()) {
    throw StoreError("O tranzactie este deja in curs");
  }
  db_.Execute(kind == TransactionKind::kImmediate ? "BEGIN IMMEDIATE" : "BEGIN");
}

Transaction::Transaction(Database& db, std::string_view schema) : db_(db) {
  if (db_.InTransaction()) {
    throw StoreError("O tranzactie este deja in curs");
  }
  db_.Execute("BEGIN");
  try {
    // A statement that writes to the file starts its write transaction
    // (with the busy timeout); on a database that is not in incremental
    // auto-vacuum mode, as none of the program's are, this one changes
    // nothing.
    db_.Execute("PRAGMA " + QuoteIdentifier(schema) + ".incremental_vacuum(1)");
    const std::string name(schema);
    if (sqlite3_txn_state(db_.handle(), name.c_str()) != SQLITE_TXN_WRITE) {
      throw StoreError("Baza de date " + name + " nu a putut fi blocata pentru scriere");
    }
  } catch (...) {
    try {
      if (db_.InTransaction()) db_.Execute("ROLLBACK");
    } catch (const StoreError&) {
      // The failure that brought us here is the one to report.
    }
    throw;
  }
}

Transaction::~Transaction() {
  if (!done_ && db_.InTransaction()) {
    try {
      db_.Execute("ROLLBACK");
    } catch (const StoreError&) {
      // The engine already rolled back (after an I/O failure, for instance).
    }
  }
}

void Transaction::Commit() {
  db_.Execute("COMMIT");
  done_ = true;
}

}  // namespace traveno
