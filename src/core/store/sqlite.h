// A thin layer over SQLite: a connection, prepared statements with bound
// parameters (a value is never pasted into SQL text), and a transaction that
// rolls back unless committed. Every failure throws StoreError with the
// user's message for its kind (kStoreBusy when another writer keeps the data
// past the busy timeout, kStoreReadOnly, ...) and the engine's own text as
// its detail.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "core/store/records.h"

struct sqlite3;
struct sqlite3_stmt;

namespace traveno {

// The messages of the engine's failures, as the user reads them.
inline constexpr const char* kStoreBusy =
    "Datele sunt folosite in acest moment de alt program sau de alta comanda. Incercati din nou "
    "peste cateva momente !";
inline constexpr const char* kStoreReadOnly =
    "Datele nu pot fi modificate: fisierele din directorul de date sunt protejate la scriere !";
inline constexpr const char* kStoreFull =
    "Nu mai este spatiu pe disc. Datele nu au fost modificate !";
inline constexpr const char* kStoreCorrupt =
    "Fisierul de date este deteriorat sau nu este o baza de date a programului !";
inline constexpr const char* kStoreConstraint =
    "O valoare nu respecta regulile tabelei. Datele nu au fost modificate !";
inline constexpr const char* kStoreIo =
    "Eroare de citire sau de scriere pe disc. Datele nu au fost modificate !";

class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql);
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Parameters are numbered from 1. Dates are bound as "YYYY-MM-DD".
  Statement& Bind(int index, std::int64_t value);
  Statement& Bind(int index, int value) { return Bind(index, static_cast<std::int64_t>(value)); }
  Statement& Bind(int index, double value);
  Statement& Bind(int index, std::string_view value);
  Statement& Bind(int index, const char* value) { return Bind(index, std::string_view(value)); }
  Statement& Bind(int index, const std::string& value) {
    return Bind(index, std::string_view(value));
  }
  Statement& Bind(int index, Date value);
  Statement& Bind(int index, const Blob& value);
  Statement& Bind(int index, const FieldValue& value);
  Statement& BindNull(int index);
  // Binds a text without copying it: it must stay as it is until the
  // statement has run (Run, or the last Step, then Reset).
  Statement& BindView(int index, std::string_view value);

  // Binds every argument in order from parameter 1.
  template <typename... Args>
  Statement& BindAll(const Args&... args) {
    int index = 0;
    (Bind(++index, args), ...);
    return *this;
  }

  // Advances to the next row; false when there is none.
  bool Step();
  // Runs a statement that returns no rows.
  void Run();
  void Reset();

  int ColumnCount() const;
  std::string ColumnName(int column) const;
  bool IsNull(int column) const;
  std::int64_t Int64(int column) const;
  double Double(int column) const;
  std::string Text(int column) const;
  // The text of a column, valid until the next Step or Reset.
  std::string_view TextView(int column) const;
  // A stored date; the empty date for NULL or a text that is not a date.
  Date DateAt(int column) const;
  Blob BlobAt(int column) const;

 private:
  void Check(int rc) const;
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

class Database {
 public:
  // Opens a database file, creating it when `create` is set. Commits are
  // durable: the rollback journal (which keeps a commit over attached
  // databases atomic) and a full sync at every commit.
  Database(const std::filesystem::path& path, bool create);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Runs SQL without parameters (schema statements only).
  void Execute(std::string_view sql);
  Statement Prepare(std::string_view sql) { return Statement(handle_, sql); }

  // Runs a statement with parameters and returns nothing.
  template <typename... Args>
  void Run(std::string_view sql, const Args&... args) {
    Prepare(sql).BindAll(args...).Run();
  }
  // The first column of the first row, or nothing when there is no row or it is NULL.
  template <typename... Args>
  std::optional<std::int64_t> QueryInt(std::string_view sql, const Args&... args) {
    Statement statement = Prepare(sql);
    statement.BindAll(args...);
    if (!statement.Step() || statement.IsNull(0)) return std::nullopt;
    return statement.Int64(0);
  }

  // Attaches another database file under a schema name (created when missing).
  void Attach(const std::filesystem::path& path, std::string_view schema);
  void Detach(std::string_view schema);
  bool TableExists(std::string_view schema, std::string_view table);

  std::int64_t LastInsertRowId() const;
  int Changes() const;
  bool InTransaction() const;
  sqlite3* handle() { return handle_; }

 private:
  sqlite3* handle_ = nullptr;
};

// One unit of work, rolled back on destruction unless Commit was called.
// Nested use is refused (one transaction per action).
//   kImmediate: BEGIN IMMEDIATE, the write lock of every database file of
//     the connection taken before anything is read, so two writers never
//     work from the same old rows. A commit that wrote to two files commits
//     them as one (the rollback journal's super-journal); it syncs every file
//     the transaction locked.
//   kRead: a consistent view for reading: each file is locked for reading
//     when first read, until the end; nothing is written, nothing synced.
//   kDeferred: takes no lock until it reads or writes: for the connection's
//     own temporary tables, which must be writable over a read-only folder.
// The constructor with a schema ("main", "firma") is a write transaction of
// that database file alone: its write lock is taken before anything is read
// (waiting the busy timeout, as BEGIN IMMEDIATE does), the other files are
// locked for reading as they are read, and a commit syncs that file alone.
// A write to another file inside it takes that file's lock when it comes
// (failing with kStoreBusy rather than waiting when another writer holds
// it) and commits with the first as one.
enum class TransactionKind { kImmediate, kRead, kDeferred };
class Transaction {
 public:
  explicit Transaction(Database& db, TransactionKind kind = TransactionKind::kImmediate);
  Transaction(Database& db, std::string_view schema);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void Commit();

 private:
  Database& db_;
  bool done_ = false;
};

// Quotes an identifier for SQL text (table and field names come from the
// program's own lists, never from the user).
std::string QuoteIdentifier(std::string_view name);

}  // namespace traveno
