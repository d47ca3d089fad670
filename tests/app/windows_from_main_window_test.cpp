#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTest>

#include "app/company_choice_window.h"
#include "app/company_register_window.h"
#include "app/main_window.h"
#include "params/ui/department_windows.h"
#include "personnel/ui/code_check_window.h"
#include "tests/app/started_main_window.h"

namespace traveno::app {
namespace {

using traveno::testing::AnswerNextModal;

// The register, personal-code and department buttons and the clone key open
// their windows over the working company TEST, chosen on January 2003.
class WindowsFromTheMainWindow : public traveno::testing::StartedMainWindowTest {};

TEST_F(WindowsFromTheMainWindow, PanelButtonsAndTheCloneKeyOpenTheirWindows) {
  app::MainWindow& window = this->window();
  window.button(Function::kConfigGlobala)->click();
  ASSERT_TRUE(window.button(Function::kDateFirme)->isEnabled());
  QString heading;
  AnswerNextModal([&](QWidget* modal) {
    auto* register_window = qobject_cast<CompanyRegisterWindow*>(modal);
    ASSERT_NE(register_window, nullptr);
    heading = modal->findChild<QLabel*>("LFirma")->text();
    modal->findChild<QPushButton*>("BIesire")->click();
  });
  window.button(Function::kDateFirme)->click();
  EXPECT_EQ(heading, "Firma in curs : TEST");

  ASSERT_TRUE(window.button(Function::kVerificareCnp)->isEnabled());
  bool code_window = false;
  AnswerNextModal([&](QWidget* modal) {
    code_window = qobject_cast<personnel_ui::CodeCheckWindow*>(modal) != nullptr;
    modal->findChild<QPushButton*>("BIesire")->click();
  });
  window.button(Function::kVerificareCnp)->click();
  EXPECT_TRUE(code_window);

  window.button(Function::kInapoi)->click();
  window.button(Function::kConfigFirma)->click();
  ASSERT_TRUE(window.button(Function::kDepartamente)->isEnabled());
  int departments = 0;
  AnswerNextModal([&](QWidget* modal) {
    auto* department_window = qobject_cast<params_ui::DepartmentWindow*>(modal);
    ASSERT_NE(department_window, nullptr);
    departments = department_window->RowCount();
    modal->findChild<QPushButton*>("BIesire")->click();
  });
  window.button(Function::kDepartamente)->click();
  EXPECT_EQ(departments, 1);  // CENTRAL

  QShortcut* clone = nullptr;
  for (QShortcut* shortcut : window.findChildren<QShortcut*>()) {
    if (shortcut->key() == QKeySequence("Ctrl+Shift+Alt+C")) clone = shortcut;
  }
  ASSERT_NE(clone, nullptr);
  bool clone_mode = false;
  AnswerNextModal([&](QWidget* modal) {
    auto* choice = qobject_cast<CompanyChoiceWindow*>(modal);
    ASSERT_NE(choice, nullptr);
    clone_mode = choice->clone_mode() && choice->choose_button()->text() == "&Clonare";
    choice->findChild<QPushButton*>("BIesire")->click();
  });
  emit clone->activated();
  EXPECT_TRUE(clone_mode);
  EXPECT_TRUE(prompter_.messages.empty());
}

}  // namespace
}  // namespace traveno::app
