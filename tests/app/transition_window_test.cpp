#include "params/ui/transition_window.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "core/store/store.h"
#include "params/company_register.h"
#include "params/session.h"
#include "tests/app/test_month_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"

namespace traveno::params_ui {
namespace {

// The company TEST chosen on January 2003, as after a first start.
class TransitionWindowTest : public traveno::testing::TestMonthFixture {};

TEST_F(TransitionWindowTest, EnterRunsTheTransitionOnlyForTheConfirmWord) {
  TransitionWindow window(*session_, prompter_, progress_);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(window.confirmation()->text(), " ");
  EXPECT_EQ(QApplication::focusWidget(), window.abandon());

  QLineEdit* box = window.confirmation();
  for (const char* typed : {"", "CONFIRMA", "confirm it", "da"}) {
    box->setText(" ");
    box->setFocus();
    QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(window.passed()) << typed;
    EXPECT_TRUE(window.isVisible()) << typed;
  }
  EXPECT_EQ(session_->working_month(), Date::FromYmd(2003, 1, 1));

  box->setText("");
  QTest::keyClicks(box, " confirm ");
  EXPECT_EQ(box->text(), " CONFIRM ");  // the box types in upper case
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_TRUE(window.passed());
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(session_->working_month(), Date::FromYmd(2003, 2, 1));
  EXPECT_EQ(session_->last_month(), Date::FromYmd(2003, 2, 1));
  EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(TransitionWindowTest, EnterInTheColumnListMovesToTheConfirmationAndAbandonChangesNothing) {
  TransitionWindow window(*session_, prompter_, progress_);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.columns()->setFocus();
  QTest::keyClick(window.columns(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), window.confirmation());
  QTest::keyClick(window.confirmation(), Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
  EXPECT_FALSE(window.passed());
  EXPECT_EQ(session_->working_month(), Date::FromYmd(2003, 1, 1));
}

}  // namespace
}  // namespace traveno::params_ui
