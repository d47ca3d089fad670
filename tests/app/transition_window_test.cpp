#include "params/ui/transition_window.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

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

// The explanation names the company and the month being created, and the
// list names the columns that start it at zero, by the month's flags.
TEST_F(TransitionWindowTest, TellsWhatIsCreatedAndWhichColumnsStartAtZero) {
  engine::CompanyParameters& flags = session_->parameters().company;
  for (double* flag : {&flags.Timp,        &flags.Timp_spl,   &flags.InitPrime,    &flags.InitPr_va,
                       &flags.Cm1l,        &flags.Cm2l,       &flags.Avans,        &flags.Retineri,
                       &flags.Timp_Noapte, &flags.Zile_Co,    &flags.InitAlteSume, &flags.InitCIC,
                       &flags.Popriri,     &flags.Garantii,   &flags.Alte_Ret,     &flags.Prime_inc,
                       &flags.Avans_Co,    &flags.Zile_Fp,    &flags.Zile_Cm,      &flags.Zile_CIC,
                       &flags.InitSporuri, &flags.SumeExcept, &flags.ProcImpo}) {
    *flag = 0;
  }
  flags.Cm1l = 1;
  flags.Popriri = 1;
  flags.ProcImpo = 1;
  for (engine::BonusParameters& bonus : flags.spor) bonus.Init = 0;
  flags.spor[1] = {.Den = "SPOR NOAPTE", .Apl = 1, .Init = 1};
  flags.spor[2] = {.Den = "NEFOLOSIT", .Apl = 4, .Init = 1};  // "Nu se foloseste"

  TransitionWindow window(*session_, prompter_, progress_);
  window.show();
  const QLabel* explanation = window.findChild<QLabel*>("LExplicatie");
  ASSERT_NE(explanation, nullptr);
  const std::string text = explanation->text().toStdString();
  EXPECT_EQ(text.rfind(" Trecerea la luna urmatoare reprezinta crearea datelor de lucru", 0), 0u)
      << text;
  EXPECT_NE(text.find("pentru firma  TEST"), std::string::npos) << text;
  EXPECT_NE(text.find("si luna  FEBRUARIE / 2003"), std::string::npos) << text;
  EXPECT_NE(text.find("Pentru luna  FEBRUARIE / 2003"), std::string::npos) << text;
  EXPECT_EQ(text.find("IANUARIE"), std::string::npos) << text;
  const std::string end = "vor fi initializate urmatoarele  coloane din salarii:";
  EXPECT_EQ(text.substr(text.size() - end.size()), end) << text;
  EXPECT_EQ(window.columns()->toPlainText(), "Cm Firma,  Popriri,  Procent Impozit,  SPOR NOAPTE");
  EXPECT_TRUE(window.columns()->isReadOnly());
}

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
