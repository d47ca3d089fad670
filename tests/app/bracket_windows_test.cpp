#include "params/ui/bracket_windows.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "core/numbers.h"
#include "core/store/store.h"
#include "params/brackets.h"
#include "params/company_register.h"
#include "params/ui/tax_calculator.h"
#include "tests/app/test_month_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"
#include "ui/data_grid.h"

namespace traveno::params_ui {
namespace {

using traveno::testing::AnswerNextModal;

class BracketWindowTest : public traveno::testing::TestMonthFixture {};

TEST_F(BracketWindowTest, TheDialogRefusesADuplicateThresholdAndStaysOpen) {
  BracketWindow window(*session_, /*annual=*/false, prompter_);
  window.show();
  const int before = window.RowCount();
  ASSERT_GT(before, 0);  // the month got the default table
  const double existing = params::ListBrackets(session_->db(), session_->working_month(), false)
                              .front()
                              .P_Venit;
  bool kept_open = false;
  AnswerNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<BracketDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Adaug transe de venit impozabil si cote de impozit");
    dialog->p_venit()->setText(QString::fromStdString(FloatToText(existing)));
    dialog->v_const()->setText("10");
    dialog->confirm_button()->click();
    kept_open = dialog->isVisible();
    dialog->p_venit()->setText("999999999999");
    dialog->confirm_button()->click();
  });
  window.add_button()->click();
  EXPECT_TRUE(kept_open);
  ASSERT_FALSE(prompter_.messages.empty());
  EXPECT_EQ(prompter_.messages[0].text, "Barem deja existent pe luna specificata");
  EXPECT_EQ(window.RowCount(), before + 1);  // only the second threshold was written
  EXPECT_EQ(window.grid()->currentIndex().row(), before);  // on the new, highest row
}

TEST_F(BracketWindowTest, VerificTellsTheTableIsRight) {
  BracketWindow window(*session_, /*annual=*/true, prompter_);
  window.check_button()->click();
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].text,
            params::CheckBrackets(session_->db(), session_->working_month(), true));
}

TEST_F(BracketWindowTest, AplicOpensTheCalculatorOverThePeriodsTable) {
  BracketWindow window(*session_, /*annual=*/false, prompter_);
  window.show();
  ASSERT_TRUE(window.apply_button()->isEnabled());
  const engine::TaxTable table =
      params::BracketTable(session_->db(), session_->working_month(), false);
  AnswerNextModal([&](QWidget* modal) {
    auto* calculator = qobject_cast<TaxCalculator*>(modal);
    ASSERT_NE(calculator, nullptr);
    EXPECT_EQ(calculator->windowTitle(), "Aplic transe de venit impozabil si cote de impozit");
    QTest::keyClicks(calculator->gross(), "1000000");
    EXPECT_EQ(calculator->tax()->text().toStdString(),
              engine::ShortNumberText(engine::ImpozitLunar(table, 1000000)));
    calculator->accept();
  });
  window.apply_button()->click();
}

// The gross, net and tax of the calculator on a two-bracket table.
TEST(TaxCalculatorTest, AnyOneFigureGivesTheOtherTwo) {
  TaxCalculator calculator({{0, 0, 18}, {2100000, 378000, 23}});
  calculator.show();
  EXPECT_EQ(calculator.gross()->text(), "0");
  QTest::keyClicks(calculator.gross(), "1000000");  // typed after the 0: 01000000
  EXPECT_EQ(calculator.tax()->text(), "180000");
  EXPECT_EQ(calculator.net()->text(), "820000");

  calculator.net()->clear();
  QTest::keyClicks(calculator.net(), "820000");
  EXPECT_EQ(calculator.tax()->text(), "180000");
  EXPECT_EQ(calculator.gross()->text(), "1000000");

  calculator.tax()->clear();
  QTest::keyClicks(calculator.tax(), "585000");
  EXPECT_EQ(calculator.gross()->text(), "3000000");
  EXPECT_EQ(calculator.net()->text(), "2415000");

  // Clearing a figure zeroes the other two.
  calculator.tax()->selectAll();
  QTest::keyClick(calculator.tax(), Qt::Key_Backspace);
  EXPECT_EQ(calculator.gross()->text(), "0");
  EXPECT_EQ(calculator.net()->text(), "0");
}

TEST(TaxCalculatorTest, ABracketThatCannotBeReversedLeavesTheFiguresAsTheyWere) {
  TaxCalculator calculator({{0, 0, 0}, {1000, 10, 100}});
  calculator.show();
  calculator.gross()->clear();
  QTest::keyClicks(calculator.gross(), "500");
  EXPECT_EQ(calculator.tax()->text(), "0");
  EXPECT_EQ(calculator.net()->text(), "500");
  calculator.tax()->clear();
  QTest::keyClicks(calculator.tax(), "7");  // the 0 % bracket has no gross for a tax
  EXPECT_EQ(calculator.gross()->text(), "500");
  EXPECT_EQ(calculator.net()->text(), "500");
  calculator.net()->setText("200");  // not typed: nothing reacts
  calculator.net()->setFocus();
  calculator.net()->end(false);
  QTest::keyClick(calculator.net(), '0');  // 2000: the 100 % bracket leaves no net
  EXPECT_EQ(calculator.gross()->text(), "500");
  EXPECT_EQ(calculator.tax()->text(), "7");
}

}  // namespace
}  // namespace traveno::params_ui
