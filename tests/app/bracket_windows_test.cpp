#include "params/ui/bracket_windows.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/numbers.h"
#include "core/store/store.h"
#include "params/brackets.h"
#include "params/company_register.h"
#include "params/ui/tax_calculator.h"
#include "tests/app/test_month_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/grid_captions.h"
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
  EXPECT_EQ(traveno::testing::FieldNameCaptions(*window.grid()), std::vector<std::string>{});
  const double existing =
      params::ListBrackets(session_->db(), session_->working_month(), false).front().P_Venit;
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
  EXPECT_EQ(window.RowCount(), before + 1);                // only the second threshold was written
  EXPECT_EQ(window.grid()->currentIndex().row(), before);  // on the new, highest row
}

// The default annual table of 2003 is right; a fixed amount off by one leu
// names its line and the amount worked out from the line before.
TEST_F(BracketWindowTest, VerificTellsWhetherTheTableIsRight) {
  BracketWindow window(*session_, /*annual=*/true, prompter_);
  window.check_button()->click();
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].kind, MessageKind::kInformation);
  EXPECT_EQ(prompter_.messages[0].text, "Totul este in regula. ");

  session_->db().Run(
      "UPDATE main.Impo_an SET V_Const = 13092001 WHERE Luna = ? AND P_Venit = 62400000",
      Date::FromYmd(2003, 1, 1));
  window.check_button()->click();
  ASSERT_EQ(prompter_.messages.size(), 2u);
  EXPECT_EQ(prompter_.messages[1].kind, MessageKind::kWarning);
  // (62 400 000 - 25 200 000) * 23 % + 4 536 000
  EXPECT_EQ(prompter_.messages[1].text,
            "Valoarea nu concorda in linia '3' Corect este \r\n'13092000");
}

// The month's default table taxes 1 000 000 at 18 %.
TEST_F(BracketWindowTest, AplicOpensTheCalculatorOverThePeriodsTable) {
  BracketWindow window(*session_, /*annual=*/false, prompter_);
  window.show();
  ASSERT_TRUE(window.apply_button()->isEnabled());
  bool answered = false;
  QString title;
  QString tax;
  QString net;
  AnswerNextModal([&](QWidget* modal) {
    auto* calculator = qobject_cast<TaxCalculator*>(modal);
    if (calculator != nullptr) {
      title = calculator->windowTitle();
      calculator->gross()->clear();
      QTest::keyClicks(calculator->gross(), "1000000");
      tax = calculator->tax()->text();
      net = calculator->net()->text();
      answered = true;
    }
    static_cast<QDialog*>(modal)->accept();
  });
  window.apply_button()->click();
  ASSERT_TRUE(answered) << "the calculator did not open";
  EXPECT_EQ(title, "Aplic transe de venit impozabil si cote de impozit");
  EXPECT_EQ(tax, "180000");
  EXPECT_EQ(net, "820000");
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
