// kill -9 at any moment of a backup leaves no archive under its final name
// and the data untouched; at any moment of a restore, the data folder (once
// the next start has completed or removed what the restore left) is as
// before the restore or as restored, never a mixture. The moments are drawn
// from a seeded generator: the k-th report of progress (the ends of the
// steps, the blocks read, each file switched) or a delay.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <random>
#include <thread>

#include "backup/archive_reader.h"
#include "backup/archive_writer.h"
#include "backup/backup_source.h"
#include "backup/restore.h"
#include "tests/backup/backup_fixture.h"
#include "tests/support/temp_folder.h"

namespace traveno::backup::testing {
namespace {

using traveno::testing::TempFolder;

constexpr int kTrials = 20;

// Counts its calls and kills the process at the `kill_at`-th (0: never).
class KillingProgress final : public ProgressReporter {
 public:
  explicit KillingProgress(int kill_at) : kill_at_(kill_at) {}
  void BeginWait(const std::string&, const std::string&) override { Tick(); }
  void EndWait() override { Tick(); }
  void BeginProgress(const std::string&, int) override { Tick(); }
  void Advance(int) override { Tick(); }
  void EndProgress() override { Tick(); }
  int calls() const { return calls_; }

 private:
  void Tick() {
    if (++calls_ == kill_at_) ::raise(SIGKILL);
  }
  int kill_at_;
  int calls_ = 0;
};

// Runs `work` in a child process, killed at its `kill_at`-th progress report
// or after `delay`; true when it was killed.
bool RunKilled(const std::function<void(ProgressReporter&)>& work, int kill_at,
               std::chrono::microseconds delay) {
  const pid_t child = fork();
  if (child == 0) {
    KillingProgress progress(kill_at);
    try {
      work(progress);
    } catch (...) {
      _exit(2);
    }
    _exit(0);
  }
  if (kill_at == 0) {
    std::this_thread::sleep_for(delay);
    kill(child, SIGKILL);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) {
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the work failed in the child";
  }
  return WIFSIGNALED(status);
}

void MakeData(const fs::path& folder, int companies) {
  Store store(folder);
  store.EnsureRegisterTables();
  params::Session session(store);
  for (int c = 0; c < companies; ++c) {
    AddCompanyWithMonths(store, session, std::string("F") + static_cast<char>('A' + c), 8, 2);
  }
}

Manifest Backup(const fs::path& folder, const fs::path& archive, ProgressReporter& progress) {
  DataFolderSource source(folder);
  BackupRequest request;
  request.now = std::time(nullptr);
  return WriteBackup(source, archive, request, progress);
}

TEST(InterruptedBackupTest, AKilledBackupLeavesNoArchiveAndTheDataUntouched) {
  TempFolder data;
  TempFolder out;
  MakeData(data.path(), 4);
  const std::string before = FolderState(data.path());
  const fs::path archive = out.path() / "salvare.tar";
  KillingProgress counted(0);
  const auto start = std::chrono::steady_clock::now();
  Backup(data.path(), archive, counted);
  const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - start);
  fs::remove(archive);

  std::mt19937 random(20240611);
  int killed = 0;
  for (int trial = 0; trial < kTrials; ++trial) {
    fs::remove(archive);
    const bool by_report = trial % 2 == 0;
    const int kill_at = by_report ? 1 + static_cast<int>(random() % counted.calls()) : 0;
    const auto delay = std::chrono::microseconds(random() % (took.count() + 1));
    const bool was_killed =
        RunKilled([&](ProgressReporter& progress) { Backup(data.path(), archive, progress); },
                  kill_at, delay);
    killed += was_killed;
    // Killed before the archive was complete, nothing under its name; killed
    // after (or not at all), the archive is whole.
    if (fs::exists(archive)) {
      TempFolder staging;
      SilentProgress quiet;
      EXPECT_NO_THROW(ReadVerified(archive, staging.path(), quiet)) << "trial " << trial;
    } else {
      EXPECT_TRUE(was_killed) << "trial " << trial;
    }
    EXPECT_EQ(FolderState(data.path()), before) << "trial " << trial;
  }
  EXPECT_GE(killed, kTrials / 2);
}

TEST(InterruptedRestoreTest, AKilledRestoreLeavesTheFolderAsBeforeOrAsRestored) {
  TempFolder work;
  const fs::path original = work.path() / "inainte";
  const fs::path other = work.path() / "arhivat";
  fs::create_directories(original);
  fs::create_directories(other);
  MakeData(original, 2);
  MakeData(other, 3);
  {
    // The archive differs from the folder in every file it replaces.
    Store store(other);
    store.OpenCompany("FA");
    store.db().Run("UPDATE firma.Pers SET NUME = NUME || ' ARHIVAT'");
    WriteText(other / kSettingsFileName, FileText(other / kSettingsFileName) + "Arhivat=1\n");
  }
  const fs::path archive = work.path() / "salvare.tar";
  {
    SilentProgress quiet;
    Backup(other, archive, quiet);
  }
  const std::string before = FolderState(original);
  const fs::path target = work.path() / "tinta";
  auto fresh_target = [&] {
    fs::remove_all(target);
    fs::copy(original, target, fs::copy_options::recursive);
  };
  auto restore = [&](ProgressReporter& progress) {
    RestoreOptions options;
    options.target = target;
    RestoreBackup(archive, options, progress);
  };
  fresh_target();
  KillingProgress counted(0);
  const auto start = std::chrono::steady_clock::now();
  restore(counted);
  const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - start);
  const std::string after = FolderState(target);
  ASSERT_NE(after, before);

  // Half the kills fall among the last reports, where the files are switched.
  std::mt19937 random(20240612);
  constexpr int kSwitchReports = 6;
  int as_before = 0;
  int as_restored = 0;
  for (int trial = 0; trial < kTrials; ++trial) {
    fresh_target();
    int kill_at = 0;
    if (trial % 4 != 3) {
      kill_at = trial % 2 == 0 ? 1 + static_cast<int>(random() % counted.calls())
                               : counted.calls() - static_cast<int>(random() % kSwitchReports);
    }
    const auto delay = std::chrono::microseconds(random() % (took.count() + 1));
    RunKilled(restore, kill_at, delay);
    // The next start completes or removes what the restore left.
    CompleteInterruptedRestore(target);
    const std::string state = FolderState(target);
    EXPECT_TRUE(state == before || state == after)
        << "trial " << trial << " (report " << kill_at << " of " << counted.calls()
        << "): " << traveno::testing::FirstDifference(state, state == before ? after : before);
    as_before += state == before;
    as_restored += state == after;
    for (const auto& entry : fs::directory_iterator(target)) {
      EXPECT_FALSE(entry.path().filename().string().starts_with(kStagingPrefix)) << trial;
    }
  }
  EXPECT_GT(as_before, 0);
  EXPECT_GT(as_restored, 0);
}

}  // namespace
}  // namespace traveno::backup::testing
