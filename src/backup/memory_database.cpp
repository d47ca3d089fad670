#include "backup/memory_database.h"

#include <sqlite3.h>

#include <atomic>

#include "core/errors.h"
#include "core/store/sqlite.h"
#include "core/text.h"

namespace traveno::backup {
namespace {

[[noreturn]] void Fail(int rc, sqlite3* db) {
  const std::string detail = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      throw StoreError(kStoreBusy, rc, detail);
    case SQLITE_NOMEM:
    case SQLITE_FULL:
      throw StoreError("Nu este destula memorie pentru copia bazei de date.", rc, detail);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      throw StoreError(kStoreCorrupt, rc, detail);
    default:
      throw StoreError(kStoreIo, rc, detail);
  }
}

// Statements over a connection this file does not own (no Database object).
std::vector<std::string> Tables(sqlite3* db) {
  Statement statement(db,
                      "SELECT name FROM main.sqlite_master WHERE type = 'table' "
                      "AND name NOT LIKE 'sqlite_%' ORDER BY name");
  std::vector<std::string> names;
  while (statement.Step()) names.push_back(statement.Text(0));
  return names;
}

}  // namespace

MemoryDatabase::MemoryDatabase() {
  // A private image of the "memdb" file system: contiguous, so its bytes
  // are read without a copy.
  static std::atomic<int> counter{0};
  const std::string uri = "file:traveno-copie-" + std::to_string(counter++) + "?vfs=memdb";
  const int rc = sqlite3_open_v2(
      uri.c_str(), &handle_,
      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close(handle_);
    handle_ = nullptr;
    Fail(rc, nullptr);
  }
  // Large databases are welcome: no limit below what memory allows.
  sqlite3_int64 limit = std::int64_t{1} << 40;
  sqlite3_file_control(handle_, "main", SQLITE_FCNTL_SIZE_LIMIT, &limit);
}

MemoryDatabase::~MemoryDatabase() { sqlite3_close_v2(handle_); }

void MemoryDatabase::CopyFrom(sqlite3* source, const char* schema) {
  sqlite3_backup* backup = sqlite3_backup_init(handle_, "main", source, schema);
  if (backup == nullptr) Fail(sqlite3_errcode(handle_), handle_);
  // All pages in one step: the source keeps its read lock throughout.
  const int rc = sqlite3_backup_step(backup, -1);
  const int finish = sqlite3_backup_finish(backup);
  if (rc != SQLITE_DONE) Fail(rc, source);
  if (finish != SQLITE_OK) Fail(finish, handle_);
}

void MemoryDatabase::View(std::span<const unsigned char> bytes) {
  // Read-only and never freed by SQLite: the bytes are only looked at.
  static unsigned char nothing = 0;
  unsigned char* data = bytes.empty() ? &nothing : const_cast<unsigned char*>(bytes.data());
  const auto size = static_cast<sqlite3_int64>(bytes.size());
  const int rc =
      sqlite3_deserialize(handle_, "main", data, size, size, SQLITE_DESERIALIZE_READONLY);
  if (rc != SQLITE_OK) Fail(rc, handle_);
}

std::span<const unsigned char> MemoryDatabase::Image() {
  sqlite3_int64 size = 0;
  const unsigned char* data = sqlite3_serialize(handle_, "main", &size, SQLITE_SERIALIZE_NOCOPY);
  if (data == nullptr && size > 0) Fail(SQLITE_NOMEM, handle_);
  return {data, static_cast<std::size_t>(size)};
}

DatabaseFacts MemoryDatabase::Facts() { return ReadFacts(handle_); }

DatabaseFacts ReadFacts(sqlite3* db) {
  DatabaseFacts facts;
  {
    Statement version(db, "PRAGMA main.user_version");
    if (version.Step()) facts.layout_version = static_cast<int>(version.Int64(0));
  }
  std::string parf;
  for (const std::string& table : Tables(db)) {
    Statement count(db, "SELECT count(*) FROM main." + QuoteIdentifier(table));
    facts.rows[table] = count.Step() ? count.Int64(0) : 0;
    if (EqualsIgnoreCase(table, "ParF")) parf = table;
  }
  if (!parf.empty()) {
    Statement months(db, "SELECT DISTINCT substr(Luna, 1, 7) FROM main." + QuoteIdentifier(parf) +
                             " WHERE Den = 'Deschisa' COLLATE NOCASE ORDER BY 1");
    while (months.Step()) facts.months.push_back(months.Text(0));
  }
  return facts;
}

}  // namespace traveno::backup
