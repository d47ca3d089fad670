// A SQLite database held in memory as one contiguous file image: what the
// archive stores of one database. The data folder's databases are copied
// into it through SQLite's online backup API, so the copy is one committed
// state of the file even while another process writes; a server store can
// fill one with the same tables through its own reads.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

struct sqlite3;

namespace traveno::backup {

// What the manifest says of a database.
struct DatabaseFacts {
  int layout_version = 0;
  std::map<std::string, std::int64_t> rows;  // every table, by name
  // The months of a company database ("YYYY-MM" of every month with its
  // open/closed mark), in order; empty for the register.
  std::vector<std::string> months;
};

class MemoryDatabase {
 public:
  // An empty database. Throws StoreError when SQLite cannot make one.
  MemoryDatabase();
  ~MemoryDatabase();
  MemoryDatabase(const MemoryDatabase&) = delete;
  MemoryDatabase& operator=(const MemoryDatabase&) = delete;

  sqlite3* handle() { return handle_; }

  // Replaces the content by a copy of schema `schema` of the connection
  // `source`, in one step of the online backup (one committed state; a
  // writer holding the file past the source's busy timeout fails it with
  // StoreError kStoreBusy).
  void CopyFrom(sqlite3* source, const char* schema);

  // Reads the file image `bytes` (a database read back from an archive) in
  // place, read-only, to be checked without touching the disk: the bytes
  // must stay as they are while this object lives.
  void View(std::span<const unsigned char> bytes);

  // The bytes of the database file it stands for; valid until the next change.
  std::span<const unsigned char> Image();

  DatabaseFacts Facts();

 private:
  sqlite3* handle_ = nullptr;
};

// Counts the rows of every table and reads the layout version and months of
// a database, through any connection.
DatabaseFacts ReadFacts(sqlite3* db);

}  // namespace traveno::backup
