// The safety copies kept before the operations that change a month
// wholesale, how many are kept, the backup settings and the reminder at
// exit, and the commands of the command line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <ctime>
#include <nlohmann/json.hpp>

#include "backup/archive_reader.h"
#include "backup/backup_settings.h"
#include "backup/restore.h"
#include "backup/safety_copies.h"
#include "core/errors.h"
#include "tests/backup/backup_fixture.h"
#include "tests/support/cli_program.h"
#include "tests/support/temp_folder.h"

namespace traveno::backup::testing {
namespace {

using traveno::testing::RunProgram;
using traveno::testing::TempFolder;

class SafetyCopiesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store_ = std::make_unique<Store>(data_.path());
    store_->EnsureRegisterTables();
    session_ = std::make_unique<params::Session>(*store_);
    AddCompanyWithMonths(*store_, *session_, "ALFA", 3, 1);
    prompter_.default_yes = true;
    prompter_.default_typed = "CONFIRM";
  }

  std::vector<ListedBackup> Copies() { return ListSafetyCopies(data_.path()); }

  TempFolder data_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<params::Session> session_;
  ScriptedPrompter prompter_;
  SilentProgress progress_;
};

TEST_F(SafetyCopiesTest, TheMonthTransitionKeepsTheMonthAsItWasAndTheCopyPutsItBack) {
  const std::string before = FolderState(data_.path());
  params::PassToNextMonth(*session_, progress_);
  const std::vector<ListedBackup> copies = Copies();
  ASSERT_EQ(copies.size(), 1u);
  ASSERT_TRUE(copies[0].manifest.has_value());
  EXPECT_EQ(copies[0].manifest->operation, "trecere");
  EXPECT_EQ(copies[0].manifest->scope, BackupScope::kCompanies);
  ASSERT_EQ(copies[0].manifest->companies.size(), 1u);
  EXPECT_EQ(copies[0].manifest->companies[0].months, std::vector<std::string>{"2003-01"});
  EXPECT_TRUE(copies[0].file.filename().string().ends_with("-trecere-ALFA.tar"));

  session_.reset();
  store_.reset();
  RestoreOptions options;
  options.target = data_.path();
  RestoreBackup(copies[0].file, options, progress_);
  // The company is as before the transition; the register keeps the months
  // the transition added to it (they are shared by every company).
  EXPECT_EQ(traveno::testing::DatabaseSnapshot(data_.path() / "ALFA" / kCompanyDatabaseName),
            [&] {
              std::string text = before.substr(before.find("== ALFA\n") + 8);
              return text.substr(0, text.find("== settings"));
            }());
}

TEST_F(SafetyCopiesTest, OnlyTheNewestCopiesOfACompanyAreKept) {
  SaveBackupSettings(data_.path(), 3, 7);
  for (int i = 0; i < 5; ++i) KeepSafetyCopy(data_.path(), "ALFA", "clonare");
  KeepSafetyCopy(data_.path(), "", "curatare");
  const std::vector<ListedBackup> copies = Copies();
  int alfa = 0;
  int registru = 0;
  for (const ListedBackup& copy : copies) {
    const std::string name = copy.file.filename().string();
    alfa += name.ends_with("-ALFA.tar");
    registru += name.ends_with("-registru.tar");
  }
  EXPECT_EQ(alfa, 3);
  EXPECT_EQ(registru, 1);
  // Newest first.
  for (std::size_t i = 1; i < copies.size(); ++i) EXPECT_GT(copies[i - 1].file, copies[i].file);
}

TEST_F(SafetyCopiesTest, ACopyThatCannotBeMadeStopsTheOperation) {
  fs::create_directories(data_.path());
  WriteText(data_.path() / kSafetyCopyFolder, "un fisier in locul directorului");
  const std::string before = FolderState(data_.path());
  try {
    params::PassToNextMonth(*session_, progress_);
    FAIL() << "the transition went on without its safety copy";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find("Copia de siguranta"), std::string::npos) << error.what();
  }
  EXPECT_EQ(FolderState(data_.path()), before);
}

TEST_F(SafetyCopiesTest, ThePurgeKeepsTheRegisterBeforeRemovingCompanies) {
  AddCompanyWithMonths(*store_, *session_, "BETA", 1, 1);
  session_.reset();
  store_.reset();
  fs::remove_all(data_.path() / "BETA");
  Store store(data_.path());
  ASSERT_TRUE(store.VerificareFoldere(prompter_, PurgeSafetyCopy(data_.path())));
  EXPECT_FALSE(store.FindCompany("BETA").has_value());
  const std::vector<ListedBackup> copies = Copies();
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].manifest->operation, "curatare");
  EXPECT_TRUE(copies[0].file.filename().string().ends_with("-registru.tar"));
}

TEST(BackupSettingsTest, DefaultsRangesAndTheReminder) {
  TempFolder data;
  BackupSettings settings = LoadBackupSettings(data.path());
  EXPECT_EQ(settings.kept_copies, 10);
  EXPECT_EQ(settings.reminder_days, 7);
  EXPECT_FALSE(settings.last_backup.has_value());
  EXPECT_THROW(SaveBackupSettings(data.path(), 0, 7), Error);
  EXPECT_THROW(SaveBackupSettings(data.path(), 10, -1), Error);
  EXPECT_THROW(SaveBackupSettings(data.path(), 10, 366), Error);
  SaveBackupSettings(data.path(), 4, 0);
  settings = LoadBackupSettings(data.path());
  EXPECT_EQ(settings.kept_copies, 4);
  EXPECT_EQ(settings.reminder_days, 0);
  const std::time_t now = std::time(nullptr);
  RecordBackup(data.path(), now - 3 * 86400);
  settings = LoadBackupSettings(data.path());
  ASSERT_TRUE(settings.last_backup.has_value());
  EXPECT_EQ(*settings.last_backup, now - 3 * 86400);

  constexpr std::time_t kDay = 86400;
  struct Case {
    int days;
    std::optional<std::time_t> age;
    bool due;
  };
  const Case kCases[] = {
      {7, std::nullopt, true},  {7, 6 * kDay, false},     {7, 7 * kDay, true},
      {0, std::nullopt, false}, {0, 400 * kDay, false},   {1, kDay - 1, false},
  };
  for (const Case& c : kCases) {
    BackupSettings s;
    s.reminder_days = c.days;
    if (c.age) s.last_backup = now - *c.age;
    EXPECT_EQ(BackupReminderDue(s, now), c.due) << c.days;
  }
  BackupSettings never;
  EXPECT_EQ(BackupReminderQuestion(never, now),
            "Datele nu au fost salvate niciodata.\r\nDoriti sa salvati datele acum ?");
}

TEST(BackupCommandsTest, BackupListShowSettingsAndRestoreFromTheCommandLine) {
  TempFolder data;
  TempFolder out;
  {
    Store store(data.path());
    store.EnsureRegisterTables();
    params::Session session(store);
    AddCompanyWithMonths(store, session, "ALFA", 2, 2);
    AddCompanyWithMonths(store, session, "BETA", 2, 1);
  }
  const std::string dir = "--data-dir=" + data.path().string();
  const fs::path archive = out.path() / "salvare.tar";
  auto made = RunProgram({dir, "backup", "--out", archive.string(), "--cod", "alfa"});
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_NE(made.out.find("ALFA (2003-01 .. 2003-02)"), std::string::npos) << made.out;
  EXPECT_TRUE(LoadBackupSettings(data.path()).last_backup.has_value());

  auto shown = RunProgram({"--json", "backup", "show", "--from", archive.string()});
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_EQ(nlohmann::json::parse(shown.out)["tip"], "firme");

  auto listed = RunProgram({dir, "--json", "backup", "list"});
  ASSERT_EQ(listed.status, 0) << listed.err;
  EXPECT_EQ(nlohmann::json::parse(listed.out).size(), 1u);  // ALFA's transition

  auto settings = RunProgram({dir, "backup", "settings", "--copii", "5", "--zile", "0"});
  ASSERT_EQ(settings.status, 0) << settings.err;
  EXPECT_NE(settings.out.find("Amintirea salvarii la iesire: oprita"), std::string::npos);

  auto missing = RunProgram({dir, "backup"});
  EXPECT_NE(missing.status, 0);
  EXPECT_NE(missing.err.find("--out"), std::string::npos);

  // Restoring over data asks first; without --yes nothing changes.
  const std::string before = FolderState(data.path());
  auto refused = RunProgram({dir, "restore", "--from", archive.string()});
  EXPECT_NE(refused.status, 0);
  EXPECT_NE(refused.err.find("va inlocui: firma ALFA"), std::string::npos) << refused.err;
  EXPECT_EQ(FolderState(data.path()), before);
  auto restored = RunProgram({dir, "--yes", "restore", "--from", archive.string()});
  EXPECT_EQ(restored.status, 0) << restored.err;
  EXPECT_NE(restored.out.find("Datele inlocuite sunt pastrate in"), std::string::npos);

  // Not while the desktop program works on the folder (its lock file held).
  {
    const int lock = ::open((data.path() / "traveno.lock").c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    const std::string held = FolderState(data.path());
    auto busy = RunProgram({dir, "--yes", "restore", "--from", archive.string()});
    EXPECT_NE(busy.status, 0);
    EXPECT_NE(busy.err.find("Programul TRAVENO lucreaza acum cu directorul de date"),
              std::string::npos)
        << busy.err;
    EXPECT_EQ(FolderState(data.path()), held);
    ::close(lock);
  }

  auto elsewhere = RunProgram({"restore", "--from", archive.string(), "--to",
                               (out.path() / "acasa").string()});
  EXPECT_EQ(elsewhere.status, 0) << elsewhere.err;
  Store home(out.path() / "acasa");
  EXPECT_EQ(home.Companies().size(), 1u);
}

}  // namespace
}  // namespace traveno::backup::testing
