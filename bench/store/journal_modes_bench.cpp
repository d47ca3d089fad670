// What a commit costs in each journal mode, on the disk of the temporary
// folder: one posted line (a few fields of one row of 10 000, one commit) and
// a month's rewrite (every row, one commit), with the company's file alone,
// with the register's file enlisted in the same transaction (as every commit
// was before a write began on the company's file alone), and in the
// write-ahead log. The figures behind the choice written in docs/storage.md.
//   traveno_journal_modes_bench [folder]   (default: the temporary folder)
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

void Exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::fprintf(stderr, "%s\n", error ? error : "error");
    std::exit(1);
  }
}

double NowMs() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Mode {
  const char* name;
  const char* journal;
  const char* synchronous;
  bool both_files;
};

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path base = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
  const fs::path folder = base / ("traveno-bench-" + std::to_string(::getpid()) + "-journal");
  constexpr int kRows = 10000, kPosts = 60, kRewrites = 5;
  const Mode modes[] = {
      {"rollback journal, FULL, company file alone", "DELETE", "FULL", false},
      {"rollback journal, FULL, both files enlisted", "DELETE", "FULL", true},
      {"write-ahead log, FULL", "WAL", "FULL", false},
      {"write-ahead log, NORMAL", "WAL", "NORMAL", false},
  };
  std::string columns, values;
  for (int c = 0; c < 100; ++c) {
    columns += ", f" + std::to_string(c) + (c % 3 == 0 ? " TEXT" : " REAL");
    values += c % 3 == 0 ? ", 'a text of a field'" : ", 1234567.25";
  }
  // A first round warms the disk and the page cache; the second is reported.
  for (int round = 0; round < 2; ++round) {
    for (const Mode& mode : modes) {
      fs::remove_all(folder);
      fs::create_directories(folder);
      sqlite3* db = nullptr;
      sqlite3_open((folder / "firma.db").c_str(), &db);
      Exec(db, std::string("PRAGMA journal_mode=") + mode.journal +
                   "; PRAGMA synchronous=" + mode.synchronous);
      Exec(db, "CREATE TABLE Pers (Nr INTEGER PRIMARY KEY" + columns + ")");
      Exec(db, "BEGIN");
      for (int r = 0; r < kRows; ++r) Exec(db, "INSERT INTO Pers VALUES (NULL" + values + ")");
      Exec(db, "COMMIT");
      if (mode.both_files) {
        Exec(db, "ATTACH '" + (folder / "registru.db").string() + "' AS reg");
        Exec(db, "PRAGMA reg.journal_mode=DELETE; PRAGMA reg.synchronous=FULL");
        Exec(db, "CREATE TABLE reg.Para (Nr INTEGER PRIMARY KEY, Val REAL)");
        Exec(db, "INSERT INTO reg.Para VALUES (1, 1)");
      }
      std::vector<double> post, rewrite;
      for (int i = 0; i < kPosts; ++i) {
        const double start = NowMs();
        Exec(db, "BEGIN IMMEDIATE");
        if (mode.both_files) Exec(db, "SELECT Val FROM reg.Para");
        Exec(db, "UPDATE Pers SET f1 = " + std::to_string(i) +
                     ", f2 = f2 + 1 WHERE Nr = " + std::to_string(1 + i * 97 % kRows));
        Exec(db, "COMMIT");
        post.push_back(NowMs() - start);
      }
      for (int i = 0; i < kRewrites; ++i) {
        const double start = NowMs();
        Exec(db, "BEGIN IMMEDIATE; UPDATE Pers SET f2 = f2 + 1, f5 = f5 * 1.0001; COMMIT");
        rewrite.push_back(NowMs() - start);
      }
      sqlite3_close(db);
      if (round == 1) {
        std::printf("%-46s one posted line %7.2f ms   10 000 rows rewritten %8.1f ms\n", mode.name,
                    Median(post), Median(rewrite));
      }
    }
  }
  fs::remove_all(folder);
}
