#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include "app/main_window.h"
#include "core/data_folder.h"
#include "core/store/schema_upgrades.h"
#include "core/store/sqlite.h"
#include "legacy/fiscal_sheet_import.h"
#include "params/session.h"
#include "tests/legacy/legacy_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"
#include "ui/date_editors.h"

namespace traveno::app {
namespace {

using traveno::testing::AnswerNextModal;

struct RecordingProgress final : ProgressReporter {
  void BeginWait(const std::string& title, const std::string& text) override {
    waits.push_back(title + " / " + text);
  }
  void EndWait() override {}
  void BeginProgress(const std::string&, int) override {}
  void Advance(int) override {}
  void EndProgress() override {}
  std::vector<std::string> waits;
};

MainWindowOptions Options(const std::filesystem::path& folder, Prompter& prompter) {
  MainWindowOptions options;
  options.data_folder = folder;
  options.prompter = &prompter;
  options.terminate = [](int) {};
  options.open_help = [] {};
  return options;
}

// Starts a window on TEST, answering the first month with January 2003 when asked.
void StartOnTest(MainWindow& window, bool first_start) {
  AnswerNextModal([first_start](QWidget* choice) {
    if (first_start) {
      AnswerNextModal([](QWidget* first_month) {
        first_month->findChild<ui::MonthYearEdit*>("EMonth")->SetMonth(Date::FromYmd(2003, 1, 1));
        first_month->findChild<QPushButton*>("BConfirmare")->click();
      });
    }
    choice->findChild<QPushButton*>("BAlege")->click();
  });
  window.show();
  ASSERT_TRUE(window.FinishStart());
}

TEST(LegacyFromTheMainWindow, TheStartUpgradesAnOlderCompanyBeforeOpeningIt) {
  traveno::testing::TempFolder folder;
  traveno::testing::ScriptedPrompter prompter;
  {
    MainWindow first(Options(folder.path(), prompter));
    StartOnTest(first, true);
    first.close();
  }
  {
    Database company(folder.path() / "TEST" / kCompanyDatabaseName, false);
    SetLayoutVersion(company, 0);  // as written before versions were recorded
  }
  RecordingProgress progress;
  MainWindowOptions options = Options(folder.path(), prompter);
  options.progress = &progress;
  MainWindow window(std::move(options));
  StartOnTest(window, false);

  EXPECT_EQ(
      progress.waits,
      std::vector<std::string>{"Upgrade Traveno v 5.4.1.2 pentru firma TEST / Va rog asteptati!!"});
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "TEST" / "firma.db.bak-0"));
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(window.heading_text(), "  Firma: TEST\r\n  Luna:  IANUARIE / 2003 ");
}

TEST(LegacyFromTheMainWindow, TheGlobalPanelButtonImportsTheChosenFolder) {
  traveno::testing::TempFolder folder;
  traveno::testing::TempFolder source;
  traveno::testing::WriteLegacyRegister(source.path(), {{"VECHE"}}, false);
  traveno::testing::WriteLegacyCompany(source.path() / "VECHE", 3);
  traveno::testing::ScriptedPrompter prompter;
  MainWindowOptions options = Options(folder.path(), prompter);
  options.choose_legacy_folder = [&](QWidget*) { return source.path(); };
  MainWindow window(std::move(options));
  StartOnTest(window, true);
  prompter.messages.clear();

  window.button(Function::kConfigGlobala)->click();
  ASSERT_TRUE(window.button(Function::kPreluareDateVechi)->isEnabled());
  prompter.yes_no.push_back(false);  // companies already in the register stay
  window.button(Function::kPreluareDateVechi)->click();

  ASSERT_EQ(prompter.questions.size(), 1u);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].kind, MessageKind::kInformation);
  EXPECT_NE(prompter.messages[0].text.find("Firma VECHE a fost preluata."), std::string::npos)
      << prompter.messages[0].text;
  EXPECT_NE(prompter.messages[0].text.find("pers.db: citite 3, scrise 3"), std::string::npos);
}

TEST(LegacyFromTheMainWindow, AFolderWithoutARegisterIsRefusedWithoutAQuestion) {
  traveno::testing::TempFolder folder;
  traveno::testing::TempFolder source;  // empty: no register of an earlier version
  traveno::testing::ScriptedPrompter prompter;
  MainWindowOptions options = Options(folder.path(), prompter);
  options.choose_legacy_folder = [&](QWidget*) { return source.path(); };
  MainWindow window(std::move(options));
  StartOnTest(window, true);
  prompter.messages.clear();
  prompter.questions.clear();

  window.button(Function::kConfigGlobala)->click();
  window.button(Function::kPreluareDateVechi)->click();

  EXPECT_TRUE(prompter.questions.empty());
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].kind, MessageKind::kError);
  EXPECT_EQ(prompter.messages[0].text,
            "Directorul ales nu contine registrul firmelor (Firme.DB) al unei versiuni "
            "anterioare !");
}

}  // namespace
}  // namespace traveno::app

namespace traveno::app {
namespace {

QShortcut* SheetImportKey(MainWindow& window) {
  for (QShortcut* shortcut : window.findChildren<QShortcut*>()) {
    if (shortcut->key() == QKeySequence("Ctrl+Shift+Alt+S")) return shortcut;
  }
  return nullptr;
}

TEST(LegacyFromTheMainWindow, TheSheetImportKeyOpensItsWindowOnlyForAMonthWithoutEmployees) {
  traveno::testing::TempFolder folder;
  traveno::testing::ScriptedPrompter prompter;
  MainWindow window(Options(folder.path(), prompter));
  StartOnTest(window, true);
  prompter.messages.clear();
  QShortcut* key = SheetImportKey(window);
  ASSERT_NE(key, nullptr);

  QString caption;
  AnswerNextModal([&](QWidget* modal) {
    caption = modal->objectName();
    EXPECT_TRUE(modal->findChild<QLineEdit*>("ECale")->text().isEmpty());
    modal->findChild<QPushButton*>("BConfirm")->click();  // an empty path: it stays
    modal->findChild<QPushButton*>("BAnulez")->click();
  });
  emit key->activated();
  EXPECT_EQ(caption, "FAlegeFolder");
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, legacy::kSheetFolderInvalid);

  window.workplace()->session()->db().Run("INSERT INTO firma.Pers (LUNA, TIP) VALUES (?, '1')",
                                          Date::FromYmd(2003, 1, 1));
  prompter.messages.clear();
  emit key->activated();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].kind, MessageKind::kError);
  EXPECT_EQ(prompter.messages[0].text, legacy::kSheetsPersNotEmpty);
}

}  // namespace
}  // namespace traveno::app
