#include "params/ui/department_windows.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "core/store/row_io.h"
#include "core/store/store.h"
#include "params/company_register.h"
#include "params/departments.h"
#include "tests/app/test_month_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"
#include "ui/data_grid.h"
#include "tests/ui/grid_captions.h"

namespace traveno::params_ui {
namespace {

using traveno::testing::AnswerNextModal;

// TEST on January 2003: its first month has the one department CENTRAL.
class DepartmentWindowsTest : public traveno::testing::TestMonthFixture {
 protected:
  std::int64_t AddEmployee(const std::string& name, const std::string& depart) {
    PersRow row;
    row.LUNA = session_->working_month();
    row.TIP = "1";
    row.NUME = name;
    row.PRENUME = "ION";
    row.Depart = depart;
    return RowWriter<PersRow>(session_->db(), "Pers").Insert(row);
  }
  std::string DepartOf(std::int64_t nr) {
    Statement statement = session_->db().Prepare("SELECT Depart FROM firma.Pers WHERE Nr = ?");
    statement.Bind(1, nr);
    return statement.Step() ? statement.Text(0) : std::string("<none>");
  }
  // Types into the editor the next button opens and confirms.
  void TypeInEditor(const char* code, const char* name, bool* kept_open = nullptr) {
    AnswerNextModal([=, this](QWidget* modal) {
      auto* editor = qobject_cast<DepartmentEditor*>(modal);
      ASSERT_NE(editor, nullptr);
      editor->code()->clear();
      QTest::keyClicks(editor->code(), code);
      editor->name()->clear();
      QTest::keyClicks(editor->name(), name);
      editor->confirm_button()->click();
      if (kept_open != nullptr) {
        *kept_open = editor->isVisible();
        editor->reject();
      }
    });
  }

};

TEST_F(DepartmentWindowsTest, AddRefusesAnExistingCodeAndRenamingMovesTheEmployees) {
  const std::int64_t ana = AddEmployee("ANA", "VANZ");
  DepartmentWindow window(*session_, prompter_, progress_);
  window.show();
  ASSERT_EQ(window.RowCount(), 1);
  EXPECT_EQ(window.CurrentCode(), "CENTRAL");
  EXPECT_EQ(traveno::testing::FieldNameCaptions(*window.grid()), std::vector<std::string>{});
  EXPECT_FALSE(window.delete_button()->isEnabled());  // the last department stays

  TypeInEditor("vanz", "vanzari");
  window.add_button()->click();
  ASSERT_EQ(window.RowCount(), 2);
  EXPECT_EQ(window.CurrentCode(), "VANZ");  // typed in upper case, on the new row
  EXPECT_EQ(session_->department_count(), 2);
  EXPECT_TRUE(window.delete_button()->isEnabled());

  bool kept_open = false;
  TypeInEditor("VANZ", "ALTA", &kept_open);
  window.add_button()->click();
  EXPECT_TRUE(kept_open);
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].text, "Codul VANZ deja exista !");
  EXPECT_EQ(window.RowCount(), 2);

  TypeInEditor("VANZARI", "VANZARI");
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.grid()->setFocus();
  QTest::keyClick(window.grid(), Qt::Key_Return);  // Enter modifies
  EXPECT_EQ(window.CurrentCode(), "VANZARI");
  EXPECT_EQ(DepartOf(ana), "VANZARI");
  EXPECT_EQ(window.RowCount(), 2);
}

TEST_F(DepartmentWindowsTest, DeletingADepartmentWithEmployeesAsksWhereTheyGo) {
  ASSERT_TRUE(params::AddDepartment(*session_, "VANZ", "", prompter_));
  const std::int64_t ana = AddEmployee("ANA", "VANZ");
  DepartmentWindow window(*session_, prompter_, progress_);
  window.show();
  ASSERT_EQ(window.CurrentCode(), "VANZ");
  std::optional<std::string> answer;  // abandoned first
  std::vector<std::string> offered;
  window.set_chooser([&](const std::vector<std::string>& lines, const std::string& label) {
    offered = lines;
    EXPECT_EQ(label,
              "Alegeti departamentul la care vor fi mutate persoanele \n\rde la departamentul VANZ");
    return answer;
  });
  auto confirm_deletion = [] {
    AnswerNextModal([](QWidget* modal) {
      auto* editor = qobject_cast<DepartmentEditor*>(modal);
      ASSERT_NE(editor, nullptr);
      EXPECT_EQ(editor->windowTitle(), "Stergere Departament");
      EXPECT_FALSE(editor->code()->isEnabled());
      editor->confirm_button()->click();
    });
  };
  confirm_deletion();
  window.delete_button()->click();
  EXPECT_EQ(offered, std::vector<std::string>{"CENTRAL |"});  // the others only
  EXPECT_EQ(window.RowCount(), 2);
  EXPECT_EQ(DepartOf(ana), "VANZ");

  answer = "CENTRAL |";
  confirm_deletion();
  window.delete_button()->click();
  EXPECT_EQ(window.RowCount(), 1);
  EXPECT_EQ(DepartOf(ana), "CENTRAL");
  EXPECT_FALSE(window.delete_button()->isEnabled());
}

TEST_F(DepartmentWindowsTest, EmployeesWithoutDepartmentAreListedUntilEachHasOne) {
  ASSERT_TRUE(params::AddDepartment(*session_, "VANZ", "VANZARI", prompter_));
  const std::int64_t ana = AddEmployee("ANA", "NIMIC");
  const std::int64_t dan = AddEmployee("DAN", "");
  AddEmployee("EVA", "CENTRAL");
  ASSERT_TRUE(params::VerifyDepartments(*session_));

  EmployeesWithoutDepartmentWindow window(*session_);
  window.show();
  EXPECT_EQ(window.windowTitle(), "TRAVENO - Velmoranti Soft - Verificare departament");
  EXPECT_EQ(traveno::testing::FieldNameCaptions(*window.grid()), std::vector<std::string>{});
  ASSERT_EQ(window.RowCount(), 2);
  EXPECT_EQ(window.grid()->model()->index(0, 3).data().toString(), "DAN");  // by Depart

  // The chooser abandoned: nothing changes.
  AnswerNextModal([](QWidget* modal) {
    auto* chooser = qobject_cast<DepartmentChooserDialog*>(modal);
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->windowTitle(), "Alegere Departament");
    EXPECT_EQ(chooser->label()->text(), "Alegeti departametul pentru persoana \nDAN  ION");
    EXPECT_EQ(chooser->list()->currentText(), "CENTRAL |");
    chooser->reject();
  });
  window.choose_button()->click();
  EXPECT_EQ(DepartOf(dan), "");
  EXPECT_EQ(window.RowCount(), 2);

  auto choose_vanz = [] {
    AnswerNextModal([](QWidget* modal) {
      auto* chooser = qobject_cast<DepartmentChooserDialog*>(modal);
      ASSERT_NE(chooser, nullptr);
      chooser->list()->setCurrentIndex(1);
      chooser->confirm_button()->click();
    });
  };
  choose_vanz();
  window.choose_button()->click();
  EXPECT_EQ(DepartOf(dan), "VANZ");
  ASSERT_EQ(window.RowCount(), 1);
  EXPECT_TRUE(window.isVisible());

  choose_vanz();
  window.choose_button()->click();
  EXPECT_EQ(DepartOf(ana), "VANZ");
  EXPECT_FALSE(window.isVisible());  // closes once everyone has a department
  EXPECT_EQ(window.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace traveno::params_ui
