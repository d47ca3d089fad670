#include "app/company_register_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include <gtest/gtest.h>

#include "app/company_editor.h"
#include "params/company_register.h"
#include "params/session.h"
#include "tests/app/test_month_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"
#include "ui/data_grid.h"
#include "tests/ui/grid_captions.h"

namespace traveno::app {
namespace {

using traveno::testing::AnswerNextModal;

// TEST (the working company, chosen on January 2003) and ALFA, never chosen.
class CompanyRegisterWindowTest : public traveno::testing::TestMonthFixture {
 protected:
  void SetUp() override {
    TestMonthFixture::SetUp();
    params::CompanyInput alfa;
    alfa.row.Cod = "ALFA";
    alfa.row.Denumire = "ALFA SRL";
    ASSERT_EQ(params::AddCompany(*store_, alfa, prompter_), params::AddCompanyResult::kAdded);
    prompter_.messages.clear();
  }

  QString Cell(const CompanyRegisterWindow& window, int row, int column) {
    return window.grid()->model()->index(row, column).data().toString();
  }

};

TEST_F(CompanyRegisterWindowTest, ListsInCodeOrderAndAddsThroughTheEditor) {
  CompanyRegisterWindow window(*store_, "TEST", prompter_);
  window.show();
  EXPECT_EQ(window.windowTitle(), "TRAVENO - Velmoranti Soft - Gestiune firme de lucru");
  EXPECT_EQ(traveno::testing::FieldNameCaptions(*window.grid()), std::vector<std::string>{});
  ASSERT_EQ(window.RowCount(), 2);
  EXPECT_EQ(Cell(window, 0, 0), "ALFA");  // CodF is not shown: Cod comes first
  EXPECT_EQ(Cell(window, 1, 0), "TEST");
  EXPECT_EQ(window.CurrentCode(), "TEST");  // opens on the working company
  const QVariant working = window.grid()->model()->index(1, 3).data(Qt::BackgroundRole);
  EXPECT_EQ(working.value<QBrush>().color(), QColor(Qt::cyan));
  EXPECT_FALSE(window.grid()->model()->index(0, 3).data(Qt::BackgroundRole).isValid());

  AnswerNextModal([](QWidget* modal) {
    auto* editor = qobject_cast<CompanyEditor*>(modal);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowTitle(), "Adaugarea unei firme noi");
    QTest::keyClicks(editor->field("Cod"), "beta");
    QTest::keyClicks(editor->field("Denumire"), "Beta sa");
    editor->confirm_button()->click();
  });
  window.add_button()->click();
  ASSERT_EQ(window.RowCount(), 3);
  EXPECT_EQ(Cell(window, 1, 0), "BETA");
  EXPECT_EQ(window.CurrentCode(), "BETA");  // kept on the saved row
  EXPECT_TRUE(prompter_.messages.empty());

  // A code already in the register would share its folder: refused, said so.
  AnswerNextModal([](QWidget* modal) {
    auto* editor = qobject_cast<CompanyEditor*>(modal);
    ASSERT_NE(editor, nullptr);
    editor->field("Cod")->setText("ALFA");
    editor->field("Denumire")->setText("ALTA");
    editor->confirm_button()->click();
  });
  window.add_button()->click();
  EXPECT_EQ(window.RowCount(), 3);
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].text, params::kCompanyCodeExists);
  EXPECT_EQ(store_->FindCompany("ALFA")->Denumire, "ALFA SRL");
}

TEST_F(CompanyRegisterWindowTest, TheWorkingCompanyIsNotDeletedOthersAreAfterTheQuestion) {
  CompanyRegisterWindow window(*store_, "TEST", prompter_);
  window.show();
  ASSERT_EQ(window.CurrentCode(), "TEST");
  bool editor_opened = false;
  {
    // Closes an editor that should not have opened, so that the test ends.
    QTimer guard;
    guard.setInterval(5);
    QObject::connect(&guard, &QTimer::timeout, [&] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        editor_opened = true;
        modal->close();
      }
    });
    guard.start();
    window.delete_button()->click();
  }
  EXPECT_FALSE(editor_opened);  // refused before the editor
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].text, params::kDeleteWorkingCompany);
  EXPECT_TRUE(store_->FindCompany("TEST").has_value());
  EXPECT_TRUE(std::filesystem::exists(folder_.path() / "TEST"));

  window.grid()->setCurrentIndex(window.grid()->model()->index(0, 0));
  ASSERT_EQ(window.CurrentCode(), "ALFA");
  // Abandoning the editor deletes nothing and asks nothing.
  AnswerNextModal([](QWidget* modal) {
    auto* editor = qobject_cast<CompanyEditor*>(modal);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowTitle(), "Stergere firma ");
    editor->reject();
  });
  window.delete_button()->click();
  EXPECT_TRUE(prompter_.questions.empty());
  EXPECT_EQ(window.RowCount(), 2);

  prompter_.yes_no = {true};
  AnswerNextModal([](QWidget* modal) {
    auto* editor = qobject_cast<CompanyEditor*>(modal);
    ASSERT_NE(editor, nullptr);
    editor->confirm_button()->click();
  });
  window.delete_button()->click();
  ASSERT_EQ(prompter_.questions.size(), 1u);  // ALFA has no folder yet
  EXPECT_NE(prompter_.questions[0].find("Sigur doriti sa o stergeti ?"), std::string::npos);
  EXPECT_FALSE(store_->FindCompany("ALFA").has_value());
  ASSERT_EQ(window.RowCount(), 1);
  EXPECT_EQ(window.CurrentCode(), "TEST");
}

TEST_F(CompanyRegisterWindowTest, ModifySavesTheSelectedRowKeepingItsCode) {
  CompanyRegisterWindow window(*store_, "TEST", prompter_);
  window.show();
  window.grid()->setCurrentIndex(window.grid()->model()->index(0, 0));
  AnswerNextModal([](QWidget* modal) {
    auto* editor = qobject_cast<CompanyEditor*>(modal);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->field("Cod")->text(), "ALFA");
    editor->field("Judet")->setText("CLUJ");
    editor->confirm_button()->click();
  });
  QTest::keyClick(window.grid(), Qt::Key_Return);  // Enter on the grid modifies
  EXPECT_EQ(store_->FindCompany("ALFA")->Judet, "CLUJ");
  EXPECT_EQ(window.CurrentCode(), "ALFA");
}

}  // namespace
}  // namespace traveno::app
