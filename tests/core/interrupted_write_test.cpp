// A process killed in the middle of a write of several rows leaves the
// databases as they were before that write, over the register and a company
// database alike.
#include <gtest/gtest.h>
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

void ExpectConsistent(const fs::path& folder, int at_least_writes) {
  Store store(folder);
  store.OpenCompany("ABC");
  Database& db = store.db();
  EXPECT_EQ(store.db().Prepare("PRAGMA integrity_check").Step(), true);
  const auto employees = db.QueryInt("SELECT count(*) FROM Pers").value_or(-1);
  const auto marks = db.QueryInt("SELECT count(*) FROM Para WHERE Den = 'Scris'").value_or(-1);
  EXPECT_EQ(employees, marks * kRowsPerWrite);
  EXPECT_GE(marks, at_least_writes);
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
  ExpectConsistent(folder.path(), 1);
  Store store(folder.path());
  store.OpenCompany("ABC");
  EXPECT_EQ(store.db().QueryInt("SELECT count(*) FROM Pers WHERE IID >= 2000"), 0);
}

TEST(InterruptedWriteTest, KillsAtRandomMomentsNeverSplitAWrite) {
  testing::TempFolder folder;
  PrepareCompany(folder.path());
  for (int round = 0; round < 4; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      Store store(folder.path());
      store.OpenCompany("ABC");
      for (int write = 0;; ++write) WriteMonth(store, round * 100000 + write, false);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(60 + 37 * round));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ExpectConsistent(folder.path(), 0);
  }
}

}  // namespace
}  // namespace traveno
