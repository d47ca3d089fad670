#include "personnel/ui/dependants_windows.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "personnel/dependants.h"
#include "personnel/personal_code.h"
#include "tests/personnel_ui/demo_fixture.h"
#include "tests/ui/grid_captions.h"

namespace traveno::personnel_ui {
namespace {

class DependantsWindowsTest : public testing::DemoFixture {
 protected:
  static std::string Code(const std::string& twelve) {
    return twelve + personnel::ControlDigit(twelve);
  }
  // Fills the editor the next button opens and confirms it; reports
  // whether it stayed open (and then abandons it).
  static void FillEditor(const std::string& code, int calitate, bool* kept_open) {
    testing::AnswerNext<DependantEditor>([=](DependantEditor* editor) {
      EXPECT_EQ(editor->windowTitle(), "Adaugarea unei persoane in intretinere");
      QTest::keyClicks(editor->name(), "ionescu");
      QTest::keyClicks(editor->first_name(), "matei");
      QTest::keyClicks(editor->code(), QString::fromStdString(code));
      editor->relationship()->setCurrentIndex(calitate);
      editor->confirm_button()->click();
      *kept_open = editor->isVisible();
      if (*kept_open) editor->reject();
    });
  }
};

TEST_F(DependantsWindowsTest, AChildAddedAndRemovedMovesTheDeductionCoefficient) {
  auto grid = OpenGrid();
  const double ded_baza = session_->parameters().general.DedBaza;
  const double doi_copii = session_->parameters().general.DoiCopii;
  Select(*grid, kPermanentPage, "IONESCU");
  ASSERT_EQ(Stored(2).CoefInd1, 1);
  bool adult_kept_open = false;
  bool child_kept_open = true;
  QString total_after;
  testing::AnswerNext<DependantsWindow>([&](DependantsWindow* window) {
    EXPECT_EQ(window->windowTitle(), "Persoane in intretinere");
    EXPECT_EQ(traveno::testing::FieldNameCaptions(*window->grid()), std::vector<std::string>{});
    EXPECT_EQ(window->employee_label()->text(), "Angajat: IONESCU MARIA");
    EXPECT_EQ(window->month_label()->text(), "Luna: IANUARIE / 2003");
    EXPECT_EQ(window->base()->text(), "1");
    EXPECT_EQ(window->total()->text(), "1,00");
    EXPECT_FALSE(window->modify_button()->isEnabled());
    // A "child" born in 1980 is refused; one born in 2000 is taken.
    FillEditor(Code("180010140012"), 1, &adult_kept_open);
    window->add_button()->click();
    FillEditor(Code("500010140012"), 1, &child_kept_open);
    ASSERT_TRUE(traveno::testing::WaitUntilActive(window));
    window->grid()->setFocus();
    QTest::keyClick(window->grid(), Qt::Key_Insert);
    EXPECT_EQ(window->RowCount(), 1);
    EXPECT_EQ(window->grid()->model()->index(0, 3).data().toString(), "Copii <= 2");
    total_after = window->total()->text();
    window->findChild<QPushButton*>("BIesire")->click();
  });
  grid->BIntretinereClick();
  EXPECT_TRUE(adult_kept_open);
  EXPECT_FALSE(child_kept_open);
  ASSERT_FALSE(prompter_.messages.empty());
  EXPECT_EQ(prompter_.messages[0].text, personnel::kDependantOver18);
  EXPECT_EQ(total_after,
            QString::fromStdString(FormatNumber(1 + doi_copii, NumberMask::kTwoDecimals)));
  PersRow line = Stored(2);
  EXPECT_EQ(line.CoefInd, 1 + doi_copii);
  EXPECT_EQ(line.CoefInd1, 1 + doi_copii);
  EXPECT_EQ(line.DED_PERS_SUPLI, doi_copii * ded_baza);
  EXPECT_EQ(LineOf(*grid, kPermanentPage, "IONESCU").CoefInd1, 1 + doi_copii);
  EXPECT_EQ(grid->TotalText("Rest de plata"), Shown(StoredRestDePlata()));

  // Deleted again (Del, then the confirmation); Esc closes the list.
  testing::AnswerNext<DependantsWindow>([&](DependantsWindow* window) {
    testing::AnswerNext<DependantEditor>([](DependantEditor* editor) {
      EXPECT_EQ(editor->windowTitle(), "Stergere persoana in intretinere");
      EXPECT_TRUE(editor->delete_panel()->isVisible());
      EXPECT_FALSE(editor->name()->isEnabled());
      editor->confirm_button()->click();
    });
    ASSERT_TRUE(traveno::testing::WaitUntilActive(window));
    window->grid()->setFocus();
    QTest::keyClick(window->grid(), Qt::Key_Delete);
    EXPECT_EQ(window->RowCount(), 0);
    EXPECT_EQ(window->total()->text(), "1,00");
    QTest::keyClick(window, Qt::Key_Escape);
  });
  grid->BIntretinereClick();
  line = Stored(2);
  EXPECT_EQ(line.CoefInd1, 1);
  EXPECT_EQ(line.DED_PERS_SUPLI, 0);
}

TEST_F(DependantsWindowsTest, TheOwnPartTypedIntoTheListEntersTheTotal) {
  auto grid = OpenGrid();
  Select(*grid, kPermanentPage, "RADU");  // a spouse and two children, one with invalidity
  const double total_before = Stored(7).CoefInd1;
  testing::AnswerNext<DependantsWindow>([&](DependantsWindow* window) {
    EXPECT_EQ(window->RowCount(), 3);
    EXPECT_EQ(window->base()->text(), "1");
    window->base()->clear();
    QTest::keyClicks(window->base(), "0");
    window->accept();
  });
  grid->BIntretinereClick();
  EXPECT_EQ(Stored(7).CoefInd1, total_before - 1);
}

}  // namespace
}  // namespace traveno::personnel_ui
