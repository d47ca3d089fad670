#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "app/company_choice_window.h"
#include "app/company_editor.h"
#include "core/store/row_io.h"
#include "core/store/store.h"
#include "params/company_register.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"

namespace traveno::app {
namespace {

using traveno::testing::AnswerNextModal;

class CompanyWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Store(folder_.path()).EnsureRegisterTables();
    store_ = OpenDatabases(folder_.path());
    session_ = std::make_unique<params::Session>(*store_);
  }

  traveno::testing::TempFolder folder_;
  traveno::testing::ScriptedPrompter prompter_;
  SilentProgress progress_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<params::Session> session_;
};

TEST_F(CompanyWindowsTest, ANewCompanyWithADeviceNameAsCodeIsRefusedAndTheEditorStays) {
  CompanyChoiceWindow window(*session_, prompter_, progress_);
  window.show();
  bool refused_kept_open = false;
  AnswerNextModal([&](QWidget* modal) {
    auto* editor = qobject_cast<CompanyEditor*>(modal);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowTitle(), "Adaugarea unei firme noi");
    EXPECT_TRUE(editor->legal_entity()->isChecked());
    QTest::keyClicks(editor->field("Cod"), "con");
    EXPECT_EQ(editor->field("Cod")->text(), "CON");  // typed in upper case
    QTest::keyClicks(editor->field("Denumire"), "Alfa srl");
    editor->confirm_button()->click();
    refused_kept_open = editor->isVisible() && prompter_.messages.size() == 1 &&
                        prompter_.messages[0].text == "Codul firmei este invalid !";
    editor->field("Cod")->setText("ALFA");
    editor->confirm_button()->click();
  });
  window.new_company_button()->click();
  EXPECT_TRUE(refused_kept_open);
  ASSERT_EQ(prompter_.messages.size(), 1u);

  ASSERT_TRUE(store_->FindCompany("ALFA").has_value());
  EXPECT_EQ(store_->FindCompany("ALFA")->Denumire, "ALFA SRL");
  EXPECT_EQ(window.companies()->currentItem()->text(0), "ALFA");
  EXPECT_EQ(window.months()->item(0)->text(), params::kInitialisationLine);
}

TEST_F(CompanyWindowsTest, EmployerKindSwitchesTheNameFieldsAndRestoresWhatWasTyped) {
  CompanyEditor editor(CompanyEditor::Mode::kAdd, {}, prompter_);
  editor.show();
  editor.field("Denumire")->setText("ALFA SRL");
  editor.natural_person()->setChecked(true);
  EXPECT_FALSE(editor.field("Denumire")->isEnabled());
  EXPECT_TRUE(editor.field("Denumire")->text().isEmpty());
  EXPECT_TRUE(editor.field("Nume")->isEnabled());
  editor.field("Nume")->setText("POPESCU");
  editor.legal_entity()->setChecked(true);
  EXPECT_EQ(editor.field("Denumire")->text(), "ALFA SRL");
  EXPECT_TRUE(editor.field("Nume")->text().isEmpty());
  editor.natural_person()->setChecked(true);
  EXPECT_EQ(editor.field("Nume")->text(), "POPESCU");

  editor.field("Cod")->setText("POP");
  editor.field("Nume")->clear();
  editor.confirm_button()->click();
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].text, "Introduceti numele angajatorului !");
  EXPECT_NE(editor.result(), QDialog::Accepted);
}

TEST_F(CompanyWindowsTest, ModifyKeepsTheCodeAndDeleteDisablesEverything) {
  const auto test = store_->FindCompany("TEST");
  ASSERT_TRUE(test.has_value());
  const params::CompanyInput input = params::LoadCompanyInput(*store_, *test);
  CompanyEditor modify(CompanyEditor::Mode::kModify, input, prompter_);
  EXPECT_EQ(modify.windowTitle(), "Modificare date firma ");
  EXPECT_EQ(modify.field("Cod")->text(), "TEST");
  EXPECT_FALSE(modify.field("Cod")->isEnabled());
  EXPECT_TRUE(modify.field("Judet")->isEnabled());

  CompanyEditor remove(CompanyEditor::Mode::kDelete, input, prompter_);
  EXPECT_EQ(remove.windowTitle(), "Stergere firma ");
  EXPECT_FALSE(remove.field("Judet")->isEnabled());
  EXPECT_FALSE(remove.legal_entity()->isEnabled());
  remove.confirm_button()->click();
  EXPECT_EQ(remove.result(), QDialog::Accepted);
}

TEST_F(CompanyWindowsTest, CloneModeTakesTheSameMonthOfAnotherCompanyAfterTheTypedWord) {
  const Date january = Date::FromYmd(2003, 1, 1);
  params::CompanyInput sursa;
  sursa.row.Cod = "SURSA";
  sursa.row.Denumire = "SURSA";
  ASSERT_EQ(params::AddCompany(*store_, sursa, prompter_), params::AddCompanyResult::kAdded);
  ASSERT_TRUE(params::ChooseCompanyAndMonth(*session_, "SURSA", january, prompter_, progress_));
  PersRow employee;
  employee.LUNA = january;
  employee.TIP = "1";
  employee.NUME = "CLONAT";
  RowWriter<PersRow>(session_->db(), "Pers").Insert(employee);
  ASSERT_TRUE(params::ChooseCompanyAndMonth(*session_, "TEST", january, prompter_, progress_));
  auto employees = [&] {
    return session_->db().QueryInt("SELECT COUNT(*) FROM firma.Pers WHERE NUME = 'CLONAT'");
  };
  auto open = [&](const char* code) {
    auto window = std::make_unique<CompanyChoiceWindow>(*session_, prompter_, progress_);
    window->SetCloneMode();
    window->show();
    EXPECT_FALSE(window->new_company_button()->isVisible());
    EXPECT_EQ(window->choose_button()->text(), "&Clonare");
    const auto found = window->companies()->findItems(code, Qt::MatchExactly, 0);
    EXPECT_EQ(found.size(), 1);
    if (!found.isEmpty()) window->companies()->setCurrentItem(found.first());
    return window;
  };

  auto window = open("SURSA");
  prompter_.typed = {"CONFIRMA"};
  EXPECT_FALSE(window->BAlegeClick());
  EXPECT_FALSE(window->isVisible());  // closed without cloning
  EXPECT_EQ(prompter_.messages.back().text, params::kCloneNotDone);
  EXPECT_EQ(employees(), 0);

  window = open("TEST");
  prompter_.typed = {"CONFIRM"};
  EXPECT_FALSE(window->BAlegeClick());
  EXPECT_TRUE(window->isVisible());  // stays on the company list
  EXPECT_EQ(prompter_.messages.back().text, params::kCloneSameCompany);

  window = open("SURSA");
  prompter_.typed = {"confirm "};
  EXPECT_TRUE(window->BAlegeClick());
  EXPECT_EQ(window->result(), QDialog::Accepted);
  EXPECT_EQ(session_->company(), "TEST");
  EXPECT_EQ(session_->working_month(), january);
  EXPECT_EQ(employees(), 1);
}

}  // namespace
}  // namespace traveno::app
