#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "params/settings_change.h"
#include "app/settings_windows.h"
#include "core/data_folder.h"
#include "core/ini_file.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"

namespace traveno::app {

using params::ApplySettingsChange;
using params::SettingsChange;
using params::kNewPasswordsDiffer;
using params::kOldPasswordWrong;

namespace {

std::string StoredParola(const std::filesystem::path& folder) {
  return IniFile(folder / kSettingsFileName).Read(kProgramSection, "Parola", "<none>");
}

TEST(ApplySettingsChangeTest, ChangesThePasswordOnlyWhenOldAndConfirmationAgree) {
  struct Case {
    const char* current;  // "" for none
    SettingsChange change;
    std::optional<std::string> refusal;
    const char* password_after;
  };
  const Case kCases[] = {
      {"", {"", "nou", "nou", false}, std::nullopt, "nou"},
      {"", {"x", "nou", "nou", false}, kOldPasswordWrong, ""},
      {"Vechi", {"vechi", "nou", "nou", false}, kOldPasswordWrong, "Vechi"},
      {"Vechi", {"Vechi", "nou", "Nou", false}, kNewPasswordsDiffer, "Vechi"},
      {"Vechi", {"Vechi", "", "", false}, std::nullopt, ""},  // removes it
      {"Vechi", {"Vechi", "nou", "nou", true}, std::nullopt, "nou"},
  };
  for (const Case& c : kCases) {
    traveno::testing::TempFolder folder;
    ProgramSettings settings;
    settings.password = StartPassword::FromClearText(c.current);
    EXPECT_EQ(ApplySettingsChange(folder.path(), settings, c.change), c.refusal)
        << c.current << " / " << c.change.old_password;
    EXPECT_TRUE(settings.password.Verify(c.password_after)) << c.password_after;
    // A refused change still saves the exit confirmation and the password.
    const ProgramSettings saved = LoadSettings(folder.path());
    EXPECT_EQ(saved.conf_exit, c.change.confirm_exit ? "Y" : "N");
    EXPECT_TRUE(saved.password.Verify(c.password_after));
    if (std::string(c.password_after).empty()) {
      EXPECT_EQ(StoredParola(folder.path()), ".");
    }
  }
}

TEST(ProgramSettingsWindowTest, ShowsTheSettingAndRefusesAWrongOldPassword) {
  traveno::testing::TempFolder folder;
  traveno::testing::ScriptedPrompter prompter;
  ProgramSettings settings;
  settings.conf_exit = " yes";
  settings.password = StartPassword::FromClearText("Vechi");
  ProgramSettingsWindow window(folder.path(), settings, prompter);
  window.old_password()->setText("leftover");
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(window.windowTitle(), "Configurare Program");
  EXPECT_TRUE(window.old_password()->text().isEmpty());
  EXPECT_EQ(window.old_password()->echoMode(), QLineEdit::Password);
  EXPECT_TRUE(window.confirm_exit()->isChecked());  // trimmed, upper-cased, begins with Y

  // Enter in the check box moves to "&Confirmare" without confirming.
  window.confirm_exit()->setFocus();
  QTest::keyClick(window.confirm_exit(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), window.confirm_button());
  EXPECT_TRUE(window.isVisible());

  window.old_password()->setText("gresit");
  window.new_password()->setText("nou");
  window.confirmation()->setText("nou");
  window.confirm_exit()->setChecked(false);
  window.confirm_button()->click();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].kind, MessageKind::kPlain);
  EXPECT_EQ(prompter.messages[0].text, kOldPasswordWrong);
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_TRUE(settings.password.Verify("Vechi"));
  EXPECT_EQ(LoadSettings(folder.path()).conf_exit, "N");
}

TEST(ProgramSettingsWindowTest, AbandonSavesNothing) {
  traveno::testing::TempFolder folder;
  traveno::testing::ScriptedPrompter prompter;
  ProgramSettings settings;
  ProgramSettingsWindow window(folder.path(), settings, prompter);
  window.show();
  window.new_password()->setText("x");
  window.confirmation()->setText("x");
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_EQ(window.result(), QDialog::Rejected);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / kSettingsFileName));
  EXPECT_FALSE(settings.password.IsSet());
}

}  // namespace
}  // namespace traveno::app
