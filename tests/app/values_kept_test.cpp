// What the desktop program leaves as it found it: parameters a window shows
// rounded are written back only when the user changes them, another writer's
// changes survive a window's confirmation, the start asks before it purges
// the register and makes files restored read-only writable.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <memory>

#include "app/main_window.h"
#include "backup/backup_settings.h"
#include "core/data_folder.h"
#include "params/parameter_store.h"
#include "params/ui/company_parameters_window.h"
#include "params/ui/general_parameters_window.h"
#include "tests/app/test_month_fixture.h"

namespace traveno {
namespace {

namespace fs = std::filesystem;
using traveno::testing::AnswerNextModal;

class ParameterWindowValuesTest : public traveno::testing::TestMonthFixture {
 protected:
  void SetUp() override {
    TestMonthFixture::SetUp();
    params::WriteGeneral(session_->db(), kMonth, "Accident", 0.273);
    params::WriteCompany(session_->db(), kMonth, "MedieOre", 170.125);
    session_->LoadParameters();
  }
  const Date kMonth = Date::FromYmd(2003, 1, 1);
};

TEST_F(ParameterWindowValuesTest, ValuesShownRoundedAreStoredAsTheyWereUnlessChanged) {
  {
    params_ui::GeneralParametersWindow window(*session_, prompter_, progress_);
    EXPECT_EQ(window.box("Accident")->text(), "0,27");
    window.confirm_button()->click();
  }
  EXPECT_EQ(params::ReadGeneral(session_->db(), kMonth, "Accident"), 0.273);
  {
    params_ui::CompanyParametersWindow window(*session_, prompter_, progress_);
    window.confirm_button()->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
  }
  EXPECT_TRUE(prompter_.questions.empty());  // no average-hours question unprompted
  EXPECT_EQ(params::ReadCompany(session_->db(), kMonth, "MedieOre"), 170.125);
  // A value the user types is stored as typed.
  params_ui::GeneralParametersWindow window(*session_, prompter_, progress_);
  window.box("Accident")->setText("0,3");
  window.confirm_button()->click();
  EXPECT_EQ(params::ReadGeneral(session_->db(), kMonth, "Accident"), 0.3);
}

TEST_F(ParameterWindowValuesTest, AnotherWritersChangeSurvivesTheWindowsConfirmation) {
  params_ui::GeneralParametersWindow window(*session_, prompter_, progress_);
  {
    // traveno-cli, beside the desktop program, changes the pension rate.
    Store other(folder_.path());
    other.OpenCompany("TEST");
    params::WriteGeneral(other.db(), kMonth, "CAS", 22);
  }
  window.box("Pensie")->setText("10");
  window.confirm_button()->click();
  EXPECT_EQ(params::ReadGeneral(session_->db(), kMonth, "CAS"), 22);
  EXPECT_EQ(params::ReadGeneral(session_->db(), kMonth, "Pensie"), 10);
  EXPECT_EQ(session_->parameters().general.CAS, 22);
}

// A data folder whose TEST company has its January 2003 and whose register
// also names ZZZ, a company whose folder is gone (an unmounted share).
class DesktopStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Store store(folder_.path());
    store.EnsureRegisterTables();
    params::Session session(store);
    SilentProgress progress;
    ASSERT_TRUE(params::ChooseCompanyAndMonth(session, "TEST", Date::FromYmd(2003, 1, 1), prompter_,
                                              progress));
    store.db().Run("INSERT INTO Firme (Cod, Denumire, TipAngaj) VALUES ('ZZZ', 'ZZZ', 1)");
    // No backup reminder at exit: a "yes" to it would open the backup window.
    backup::SaveBackupSettings(folder_.path(), 10, 0);
    prompter_.questions.clear();
  }

  // Starts the desktop program, choosing TEST and its month.
  void Start() {
    app::MainWindowOptions options;
    options.data_folder = folder_.path();
    options.prompter = &prompter_;
    options.terminate = [](int) {};
    options.open_help = [] {};
    auto window = std::make_unique<app::MainWindow>(std::move(options));
    AnswerNextModal([](QWidget* choice) { choice->findChild<QPushButton*>("BAlege")->click(); });
    window->show();
    ASSERT_TRUE(window->FinishStart());
    window->close();
  }

  bool InRegister(const std::string& code) {
    Store store(folder_.path());
    return store.FindCompany(code).has_value();
  }

  int Copies() {
    int copies = 0;
    for (const auto& entry : fs::directory_iterator(folder_.path())) {
      copies += entry.path().extension() == ".bak";
    }
    return copies;
  }

  traveno::testing::TempFolder folder_;
  traveno::testing::ScriptedPrompter prompter_;
};

TEST_F(DesktopStartTest, ThePurgeAsksFirstAndKeepsACopyOfTheRegister) {
  prompter_.default_yes = false;
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_FALSE(prompter_.questions.empty());
  EXPECT_NE(prompter_.questions.front().find("ZZZ"), std::string::npos);
  EXPECT_TRUE(InRegister("ZZZ"));
  EXPECT_EQ(Copies(), 0);

  prompter_.default_yes = true;
  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_FALSE(InRegister("ZZZ"));
  EXPECT_TRUE(InRegister("TEST"));
  EXPECT_EQ(Copies(), 1);
}

TEST_F(DesktopStartTest, FilesRestoredReadOnlyBecomeWritable) {
  const fs::path company = folder_.path() / "TEST" / kCompanyDatabaseName;
  fs::permissions(company,
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_NE(fs::status(company).permissions() & fs::perms::owner_write, fs::perms::none);
}

}  // namespace
}  // namespace traveno
