// "Salvare date", "Restaurare date" and the reminder at exit, driven as a
// user drives them.
#include "backup/ui/backup_windows.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <ctime>

#include "backup/archive_reader.h"
#include "backup/backup_settings.h"
#include "backup/safety_copies.h"
#include "tests/backup/backup_fixture.h"
#include "tests/support/temp_folder.h"

namespace traveno::backup::testing {
namespace {

using traveno::testing::TempFolder;

class BackupWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Store store(data_.path());
    store.EnsureRegisterTables();
    params::Session session(store);
    AddCompanyWithMonths(store, session, "ALFA", 2, 2);
    AddCompanyWithMonths(store, session, "BETA", 2, 1);
    prompter_.default_yes = true;
  }

  TempFolder data_;
  TempFolder out_;
  ScriptedPrompter prompter_;
  SilentProgress progress_;
};

TEST_F(BackupWindowsTest, SalvareWritesTheChosenCompaniesAndKeepsTheSettings) {
  backup_ui::BackupWindow window(data_.path(), prompter_, progress_);
  ASSERT_EQ(window.companies()->count(), 2);
  EXPECT_FALSE(window.companies()->isEnabled());
  window.all_companies()->setChecked(false);
  EXPECT_TRUE(window.companies()->isEnabled());
  // No company chosen: refused, the window stays.
  const fs::path file = out_.path() / "beta.tar";
  window.file()->setText(QString::fromStdString(file.string()));
  window.save_button()->click();
  EXPECT_TRUE(prompter_.Shown("Alegeti firmele care se salveaza !"));
  EXPECT_FALSE(fs::exists(file));

  window.companies()->item(1)->setCheckState(Qt::Checked);
  window.kept_copies()->setValue(4);
  window.reminder_days()->setValue(0);
  window.save_button()->click();
  EXPECT_EQ(window.written(), file);
  const Manifest manifest = ReadManifest(file);
  ASSERT_EQ(manifest.companies.size(), 1u);
  EXPECT_EQ(manifest.companies[0].code, "BETA");
  EXPECT_EQ(manifest.scope, BackupScope::kCompanies);
  const BackupSettings settings = LoadBackupSettings(data_.path());
  EXPECT_EQ(settings.kept_copies, 4);
  EXPECT_EQ(settings.reminder_days, 0);
  EXPECT_TRUE(settings.last_backup.has_value());
  ASSERT_FALSE(prompter_.messages.empty());
  EXPECT_EQ(prompter_.messages.back().kind, MessageKind::kInformation);
}

TEST_F(BackupWindowsTest, RestaurareListsTheSafetyCopiesAndRestoresAChosenCompany) {
  const std::string before_transition = FolderState(data_.path());
  {
    Store store(data_.path());
    params::Session session(store);
    ScriptedPrompter answers;
    ASSERT_TRUE(params::ChooseCompanyAndMonth(session, "BETA", D(2003, 1), answers, progress_));
    params::PassToNextMonth(session, progress_);
  }
  int released = 0;
  backup_ui::RestoreWindow window(data_.path(), prompter_, progress_, [&] { ++released; });
  // ALFA's transition in the fixture and BETA's just now, newest first.
  ASSERT_EQ(window.archives()->topLevelItemCount(), 2);
  EXPECT_EQ(window.archives()->currentItem()->text(1).toStdString(),
            "Inainte de trecerea la luna urmatoare");
  EXPECT_EQ(window.archives()->currentItem()->text(2).toStdString(), "BETA (2003-01)");
  window.chosen()->setChecked(true);
  ASSERT_EQ(window.companies()->count(), 1);
  window.companies()->item(0)->setCheckState(Qt::Checked);
  window.restore_button()->click();
  EXPECT_EQ(released, 1);
  EXPECT_TRUE(window.restored());
  ASSERT_FALSE(prompter_.questions.empty());
  EXPECT_NE(prompter_.questions.back().find("va inlocui: firma BETA"), std::string::npos);
  // BETA is back before its transition (the register keeps the new month's
  // shared rows, which every company may use).
  EXPECT_EQ(traveno::testing::DatabaseSnapshot(data_.path() / "BETA" / kCompanyDatabaseName),
            [&] {
              std::string text = before_transition.substr(before_transition.find("== BETA\n") + 8);
              return text.substr(0, text.find("== settings"));
            }());
}

TEST_F(BackupWindowsTest, RestaurareOfAnArchiveThatCannotBeReadOffersNothing) {
  const fs::path broken = out_.path() / "stricata.tar";
  WriteText(broken, "nu este o arhiva");
  backup_ui::RestoreWindow window(data_.path(), prompter_, progress_, {},
                                  [&](QWidget*) { return broken; });
  window.findChild<QPushButton*>("BAltFisier")->click();
  EXPECT_EQ(window.archives()->currentItem()->data(0, Qt::UserRole).toString().toStdString(),
            broken.string());
  EXPECT_FALSE(window.restore_button()->isEnabled());
  EXPECT_TRUE(window.details()->text().contains("nu este o arhiva de salvare"));
}

TEST_F(BackupWindowsTest, TheReminderAsksOnlyWhenABackupIsDue) {
  const std::time_t now = std::time(nullptr);
  int made = 0;
  auto make = [&] { ++made; };
  EXPECT_TRUE(backup_ui::RemindBackupAtExit(data_.path(), prompter_, now, make));
  EXPECT_EQ(made, 1);
  EXPECT_EQ(prompter_.questions.back(),
            "Datele nu au fost salvate niciodata.\r\nDoriti sa salvati datele acum ?");
  RecordBackup(data_.path(), now - 2 * 86400);
  EXPECT_FALSE(backup_ui::RemindBackupAtExit(data_.path(), prompter_, now, make));
  RecordBackup(data_.path(), now - 8 * 86400);
  prompter_.yes_no = {false};
  EXPECT_TRUE(backup_ui::RemindBackupAtExit(data_.path(), prompter_, now, make));
  EXPECT_EQ(made, 1);
  SaveBackupSettings(data_.path(), 10, 0);
  EXPECT_FALSE(backup_ui::RemindBackupAtExit(data_.path(), prompter_, now, make));
  // A data folder without company data has nothing to lose yet.
  TempFolder empty;
  Store(empty.path()).EnsureRegisterTables();
  EXPECT_FALSE(backup_ui::RemindBackupAtExit(empty.path(), prompter_, now, make));
}

}  // namespace
}  // namespace traveno::backup::testing
