// A process killed in the middle of a write of several rows leaves the
// databases as they were before that write, over the register and a company
// database alike.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "core/store/store.h"
#include "tests/support/temp_folder.h"

namespace traveno {
namespace {

namespace fs = std::filesystem;

constexpr int kRowsPerWrite = 50;

void PrepareCompany(const fs::path& folder) {
  Store store(folder);
  store.EnsureRegisterTables();
  fs::create_directories(folder / "ABC");
  ASSERT_TRUE(store.CreateCompanyTables("ABC"));
}

// One write of several rows: a month's employees in the company database and
// their mark in the register, in one transaction.
void WriteMonth(Store& store, int write_number, bool die_half_way) {
  Transaction tx(store.db());
  const Date month = Date::FromYmd(2003, 1, 1);
  for (int i = 0; i < kRowsPerWrite; ++i) {
    store.db().Run("INSERT INTO Pers (LUNA, IID, NUME) VALUES (?, ?, ?)", month,
                   write_number * 1000 + i, "ANGAJAT");
    if (die_half_way && i == kRowsPerWrite / 2) ::raise(SIGKILL);
  }
  store.db().Run("INSERT INTO Para (Luna, Den, Val) VALUES (?, 'Scris', ?)", month, write_number);
  tx.Commit();
}

// The databases pass SQLite's integrity check, every write is whole, and the
// number of writes is between `at_least` and `at_most`.
void ExpectConsistent(const fs::path& folder, int at_least, int at_most) {
  Store store(folder);
  store.OpenCompany("ABC");
  Database& db = store.db();
  Statement check = db.Prepare("PRAGMA integrity_check");
  ASSERT_TRUE(check.Step());
  EXPECT_EQ(check.Text(0), "ok");
  const auto employees = db.QueryInt("SELECT count(*) FROM Pers").value_or(-1);
  const auto marks = db.QueryInt("SELECT count(*) FROM Para WHERE Den = 'Scris'").value_or(-1);
  EXPECT_EQ(employees, marks * kRowsPerWrite);
  EXPECT_GE(marks, at_least);
  EXPECT_LE(marks, at_most);
}

TEST(InterruptedWriteTest, AKillHalfWayThroughAWriteLeavesTheDataAsBefore) {
  testing::TempFolder folder;
  PrepareCompany(folder.path());
  {
    Store store(folder.path());
    store.OpenCompany("ABC");
    WriteMonth(store, 1, false);
  }
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    Store store(folder.path());
    store.OpenCompany("ABC");
    WriteMonth(store, 2, true);
    _exit(0);  // never reached
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  ExpectConsistent(folder.path(), 1, 1);
  Store store(folder.path());
  store.OpenCompany("ABC");
  EXPECT_EQ(store.db().QueryInt("SELECT count(*) FROM Pers WHERE IID >= 2000"), 0);
}

// The writer tells each commit through a pipe; it is killed a while after its
// first one, so every round kills it in the middle of its work. Every commit
// it told must be there, and at most one more (committed, then killed before
// it could tell).
TEST(InterruptedWriteTest, KillsAtRandomMomentsNeverSplitAWrite) {
  testing::TempFolder folder;
  PrepareCompany(folder.path());
  int told = 0;
  for (int round = 0; round < 4; ++round) {
    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(pipe_ends[0]);
      Store store(folder.path());
      store.OpenCompany("ABC");
      for (int write = 0;; ++write) {
        WriteMonth(store, round * 100000 + write, false);
        if (::write(pipe_ends[1], "c", 1) != 1) _exit(1);
      }
    }
    close(pipe_ends[1]);
    pollfd first_commit{pipe_ends[0], POLLIN, 0};
    const bool committed = poll(&first_commit, 1, 60000) == 1;
    if (committed) std::this_thread::sleep_for(std::chrono::milliseconds(7 + 23 * round));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(committed) << "the writer never committed";
    char buffer[256];
    for (ssize_t n; (n = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) told += n;
    close(pipe_ends[0]);
    EXPECT_TRUE(WIFSIGNALED(status));
    ExpectConsistent(folder.path(), told, told + round + 1);
  }
  EXPECT_GE(told, 4);
}

}  // namespace
}  // namespace traveno
