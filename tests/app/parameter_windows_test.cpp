#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/main_window.h"
#include "core/store/store.h"
#include "params/company_register.h"
#include "params/month_cycle.h"
#include "params/parameter_store.h"
#include "params/session.h"
#include "params/ui/company_parameters_window.h"
#include "params/ui/company_setting_windows.h"
#include "params/ui/formula_editor.h"
#include "params/ui/general_parameters_window.h"
#include "params/ui/holidays_window.h"
#include "tests/app/started_main_window.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"
#include "ui/date_editors.h"

namespace traveno::params_ui {
namespace {

using traveno::testing::AnswerNextModal;

// The company TEST chosen on January 2003 (31 days, 23 weekdays, 184 hours).
class ParameterWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Store(folder_.path()).EnsureRegisterTables();
    store_ = OpenDatabases(folder_.path());
    session_ = std::make_unique<params::Session>(*store_);
    ASSERT_TRUE(params::ChooseCompanyAndMonth(*session_, "TEST", kMonth, prompter_, progress_));
    prompter_.messages.clear();
  }

  Database& db() { return session_->db(); }
  bool Shown(const std::string& text) const {
    for (const auto& m : prompter_.messages) {
      if (m.text == text) return true;
    }
    return false;
  }
  // Shows a window and waits until it has the focus, as the user sees it.
  static void ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  const Date kMonth = Date::FromYmd(2003, 1, 1);
  traveno::testing::TempFolder folder_;
  traveno::testing::ScriptedPrompter prompter_;
  SilentProgress progress_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<params::Session> session_;
};

TEST_F(ParameterWindowsTest, GeneralParametersShowTheMonthAndConfirmSavesThem) {
  GeneralParametersWindow window(*session_, prompter_, progress_);
  EXPECT_EQ(window.findChild<QLabel*>("LTitlu")->text(),
            QString::fromStdString("Parametrii generali de calcul pe " + MonthText(kMonth)));
  EXPECT_EQ(window.box("DedBaza")->text(), "1 800 000,00");
  EXPECT_EQ(window.box("SalMinEc")->text(), "2 500 000");
  EXPECT_EQ(window.box("CAS")->text(), "24,50");

  // The coefficient recomputes the professional expenses from the basic deduction.
  window.box("DedBaza")->setText("2 000 000");
  window.box("ProcChProf")->setText("10");
  emit window.box("ProcChProf")->textEdited("10");
  EXPECT_EQ(window.box("CheltProf")->text(), "200 000,00");

  window.box("CAS")->setText("22,5");
  window.confirm_button()->click();
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(params::ReadGeneral(db(), kMonth, "CAS"), 22.5);
  EXPECT_EQ(params::ReadGeneral(db(), kMonth, "CheltProf"), 200000);
  EXPECT_EQ(params::ReadGeneral(db(), kMonth, "DedBaza"), 2000000);
  EXPECT_EQ(session_->parameters().general.CAS, 22.5);
  EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(ParameterWindowsTest, GeneralParametersAbandonStoresNothing) {
  GeneralParametersWindow window(*session_, prompter_, progress_);
  window.box("CAS")->setText("1");
  window.abandon_button()->click();
  EXPECT_EQ(params::ReadGeneral(db(), kMonth, "CAS"), 24.5);
  EXPECT_EQ(session_->parameters().general.CAS, 24.5);
}

TEST_F(ParameterWindowsTest, CompanyWindowSwitchesPagesAndFollowsTheBonusKind) {
  CompanyParametersWindow window(*session_, prompter_, progress_);
  EXPECT_FALSE(window.expert_page());
  EXPECT_TRUE(window.heading()->text().startsWith("Parametrii de calcul GENERALI ai firmei "));
  EXPECT_TRUE(
      window.heading()->text().endsWith(QString::fromStdString("pe luna " + MonthText(kMonth))));
  EXPECT_EQ(window.switch_button()->text(), "Configurare &expert");
  EXPECT_EQ(window.box("TimpLuna")->text(), "184");
  EXPECT_FALSE(window.in_days()->isChecked());  // a new company counts hours
  window.switch_button()->click();
  EXPECT_TRUE(window.expert_page());
  EXPECT_TRUE(window.heading()->text().startsWith("Parametrii de calcul EXPERT ai firmei "));
  EXPECT_EQ(window.switch_button()->text(), "Configurare &generala");

  // Bonus 1 is "% la Tarifar", bonuses 2 to 4 "Nu se foloseste".
  EXPECT_EQ(window.bonus_name(0)->text(), "Procentual");
  EXPECT_EQ(window.bonus_kind(0)->currentText(), "% la Tarifar");
  EXPECT_TRUE(window.bonus_name(0)->isEnabled());
  EXPECT_FALSE(window.bonus_expert(0)->isEnabled());
  EXPECT_FALSE(window.bonus_name(1)->isEnabled());
  EXPECT_FALSE(window.bonus_unemployment(1)->isEnabled());
  EXPECT_FALSE(window.bonus_holiday_pay(1)->isEnabled());
  window.bonus_kind(1)->setCurrentIndex(5);
  emit window.bonus_kind(1)->activated(5);
  EXPECT_TRUE(window.bonus_expert(1)->isEnabled());
  EXPECT_TRUE(window.bonus_name(1)->isEnabled());
  EXPECT_TRUE(window.bonus_holiday_pay(1)->isEnabled());
}

TEST_F(ParameterWindowsTest, CompanyWindowRefusesAPayDayAfterTheNextMonthAndSavesAValidOne) {
  CompanyParametersWindow window(*session_, prompter_, progress_);
  ShowActive(window);
  window.box("ZiLichidare")->setText("31");  // February 2003 has 28 days
  window.confirm_button()->click();
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(Shown("Ziua lichidarii este incorecta pentru aceasta luna!"));
  EXPECT_EQ(QApplication::focusWidget(), window.box("ZiLichidare"));

  // Answering No to the average-hours question puts the old value back.
  window.box("ZiLichidare")->setText("28");
  window.box("MedieOre")->setText("160");
  prompter_.yes_no = {false};
  window.confirm_button()->click();
  ASSERT_EQ(prompter_.questions.size(), 1u);
  EXPECT_EQ(window.box("MedieOre")->text(), "170");
  EXPECT_EQ(QApplication::focusWidget(), window.box("MedieOre"));
  EXPECT_EQ(params::ReadCompany(db(), kMonth, "ZiLichidare"), 10);

  // A used bonus without a name sends the focus to its name on the expert page.
  prompter_.messages.clear();
  window.bonus_name(0)->setText("  ");
  window.confirm_button()->click();
  EXPECT_TRUE(Shown("Introduceti denumirea Sporul 1 !"));
  EXPECT_TRUE(window.expert_page());
  EXPECT_EQ(QApplication::focusWidget(), window.bonus_name(0));

  // A bonus turned into a formula needs its formula window opened first.
  prompter_.messages.clear();
  window.bonus_name(0)->setText("Vechime");
  window.bonus_kind(2)->setCurrentIndex(5);
  emit window.bonus_kind(2)->activated(5);
  window.bonus_name(2)->setText("Formula");
  window.confirm_button()->click();
  EXPECT_TRUE(Shown("Verifcati formula de la Sporul 3 !"));
  EXPECT_EQ(QApplication::focusWidget(), window.bonus_expert(2));

  window.bonus_kind(2)->setCurrentIndex(4);
  emit window.bonus_kind(2)->activated(4);
  window.in_days()->setChecked(true);
  window.confirm_button()->click();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(params::ReadCompany(db(), kMonth, "ZiLichidare"), 28);
  EXPECT_EQ(params::ReadCompany(db(), kMonth, "TimpZile"), 1);
  EXPECT_EQ(params::ReadCompanyText(db(), kMonth, "Spor1_Den"), "Vechime");
  EXPECT_EQ(session_->parameters().company.ZiLichidare, 28);
}

TEST_F(ParameterWindowsTest, AClosedMonthDisablesEveryCompanyConfirmation) {
  ASSERT_TRUE(params::ToggleMonthClosed(*session_));
  CompanyParametersWindow company(*session_, prompter_, progress_);
  EXPECT_FALSE(company.confirm_button()->isEnabled());
  ExemptSumsWindow exempt(*session_, prompter_, progress_);
  EXPECT_FALSE(exempt.confirm_button()->isEnabled());
  InitialisedSumsWindow initialised(*session_);
  EXPECT_FALSE(initialised.confirm_button()->isEnabled());
  HolidaysWindow holidays(*session_, false, 184, prompter_, progress_);
  EXPECT_FALSE(holidays.confirm_button()->isEnabled());
  FormulaEditor editor(*session_, 0, prompter_);
  EXPECT_FALSE(editor.confirm_button()->isEnabled());
  DeductionNamesWindow names(*session_, prompter_);
  EXPECT_FALSE(names.confirm_button()->isEnabled());
  // The general parameters stay editable.
  GeneralParametersWindow general(*session_, prompter_, progress_);
  EXPECT_TRUE(general.confirm_button()->isEnabled());
}

TEST_F(ParameterWindowsTest, HolidaysMarkWeekdaysAndWarnThroughTheCompanyWindow) {
  CompanyParametersWindow window(*session_, prompter_, progress_);
  ShowActive(window);
  bool answered = false;
  AnswerNextModal([&](QWidget* modal) {
    auto* holidays = qobject_cast<HolidaysWindow*>(modal);
    ASSERT_NE(holidays, nullptr);
    answered = true;
    QListWidget* days = holidays->days();
    ASSERT_EQ(days->count(), 31);
    EXPECT_TRUE(days->item(0)->text().startsWith("01.01.2003 - "));
    EXPECT_TRUE(days->item(0)->flags() & Qt::ItemIsEnabled);   // a Wednesday
    EXPECT_FALSE(days->item(3)->flags() & Qt::ItemIsEnabled);  // a Saturday
    EXPECT_FALSE(days->item(4)->flags() & Qt::ItemIsEnabled);  // a Sunday
    EXPECT_EQ(days->item(0)->checkState(), Qt::Unchecked);
    days->item(0)->setCheckState(Qt::Checked);
    holidays->confirm_button()->click();
  });
  window.holidays_button()->click();
  ASSERT_TRUE(answered);
  EXPECT_EQ(params::ReadCompanyText(db(), kMonth, "ZileLibere"), ",1");
  EXPECT_EQ(session_->parameters().company.ZileLibere, ",1");
  EXPECT_TRUE(Shown("Timpul de lucru in luna ar trebui sa fie: 176!\r\nVa rog sa verficati!"));
  // The company window gets the focus back on its working-time box.
  EXPECT_EQ(window.focusWidget(), window.box("TimpLuna"));
  EXPECT_EQ(window.box("TimpLuna")->text(), "184");  // the typed value stays
}

TEST_F(ParameterWindowsTest, HolidaysKeepAWeekendMarkAndShowTheStoredDays) {
  session_->parameters().company.ZileLibere = ",1,4";
  HolidaysWindow window(*session_, false, 176, prompter_, progress_);
  EXPECT_EQ(window.days()->item(0)->checkState(), Qt::Checked);
  EXPECT_EQ(window.days()->item(3)->checkState(), Qt::Checked);  // Saturday, disabled
  window.confirm_button()->click();
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_FALSE(window.time_differs());
  EXPECT_TRUE(prompter_.messages.empty());
  EXPECT_EQ(params::ReadCompanyText(db(), kMonth, "ZileLibere"), ",1,4");
}

TEST_F(ParameterWindowsTest, ExemptSumsNeedAPercentageAndDefaultsRestoreThem) {
  ExemptSumsWindow window(*session_, prompter_, progress_);
  ASSERT_TRUE(window.check(0)->isChecked());
  EXPECT_EQ(window.percent(0)->text(), "100");
  window.check(2)->click();  // unchecking the tax sets 0 and disables it
  EXPECT_EQ(window.percent(2)->text(), "0");
  EXPECT_FALSE(window.percent(2)->isEnabled());
  window.percent(1)->setText("0");
  window.confirm_button()->click();
  EXPECT_TRUE(Shown("Va rog sa introduceti procentul pentru sanatate !"));
  EXPECT_EQ(window.result(), 0);

  window.percent(1)->setText("50");
  window.employer()->click();  // the employer box leaves the tax percentage alone
  EXPECT_EQ(window.percent(2)->text(), "0");
  window.confirm_button()->click();
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(params::ReadCompany(db(), kMonth, "Ex_Sanatate"), 50);
  EXPECT_EQ(params::ReadCompanyText(db(), kMonth, "Ex_Impozit"), "NU");
  EXPECT_EQ(params::ReadCompanyText(db(), kMonth, "Ex_Firma"), "NU");

  ExemptSumsWindow again(*session_, prompter_, progress_);
  EXPECT_FALSE(again.check(2)->isChecked());
  again.defaults_button()->click();
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(again.check(i)->isChecked());
    EXPECT_EQ(again.percent(i)->text(), "100");
  }
  EXPECT_TRUE(again.employer()->isChecked());
}

TEST_F(ParameterWindowsTest, InitialisedSumsReachTheStoreWithTheCompanyWindow) {
  InitialisedSumsWindow sums(*session_);
  ASSERT_TRUE(sums.check("Avans")->isChecked());
  sums.check("Avans")->setChecked(false);
  sums.check("Spor2_Init")->setChecked(true);
  sums.confirm_button()->click();
  EXPECT_EQ(session_->parameters().company.Avans, 0);
  EXPECT_EQ(session_->parameters().company.spor[1].Init, 1);
  EXPECT_EQ(params::ReadCompany(db(), kMonth, "Avans"), 1);  // not stored yet

  CompanyParametersWindow window(*session_, prompter_, progress_);
  window.confirm_button()->click();
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(params::ReadCompany(db(), kMonth, "Avans"), 0);
  EXPECT_EQ(params::ReadCompany(db(), kMonth, "Spor2_Init"), 1);
}

TEST_F(ParameterWindowsTest, DeductionNamesAreSavedAtMostFifteenCharacters) {
  DeductionNamesWindow window(*session_, prompter_);
  EXPECT_EQ(window.name(2)->maxLength(), 15);
  window.name(2)->setText("Cotizatie sindicat");
  window.confirm_button()->click();
  EXPECT_EQ(params::ReadCompanyText(db(), kMonth, "Den_Retineri"), "Cotizatie sindi");
  EXPECT_EQ(session_->parameters().company.Den_Retineri, "Cotizatie sindi");
}

TEST_F(ParameterWindowsTest, EnterInTheSettingWindowsConfirmsWhatWasTyped) {
  {
    DeductionNamesWindow window(*session_, prompter_);
    ShowActive(window);
    QTest::keyClicks(window.name(0), "Sindicat");
    QTest::keyClick(window.name(0), Qt::Key_Return);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(params::ReadCompanyText(db(), kMonth, "Den_PrIncas"), "Sindicat");
  }
  {
    InitialisedSumsWindow sums(*session_);
    ShowActive(sums);
    QCheckBox* first = qobject_cast<QCheckBox*>(QApplication::focusWidget());
    ASSERT_NE(first, nullptr);
    QTest::keyClick(first, Qt::Key_Space);
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(sums.result(), QDialog::Accepted);
    EXPECT_FALSE(sums.isVisible());
  }
  {
    ExemptSumsWindow exempt(*session_, prompter_, progress_);
    ShowActive(exempt);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(exempt.result(), QDialog::Accepted);
  }
}

TEST_F(ParameterWindowsTest, BonusFormulaIsCheckedThenConfirmedAndTheBonusBecomesAFormula) {
  CompanyParametersWindow window(*session_, prompter_, progress_);
  ShowActive(window);
  window.switch_button()->click();
  window.bonus_kind(1)->setCurrentIndex(5);
  emit window.bonus_kind(1)->activated(5);
  window.bonus_name(1)->setText("Noapte");
  bool refused_kept_open = false;
  AnswerNextModal([&](QWidget* modal) {
    auto* editor = qobject_cast<FormulaEditor*>(modal);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowTitle(), "Editare formula calcul spor 2 - Noapte");
    // Bonus 2 may name the value of bonus 1 but not its own.
    EXPECT_EQ(editor->fields()->count(), 12);
    editor->memo()->setPlainText("\"SALINC\"*12%");
    editor->confirm_button()->click();
    refused_kept_open = editor->isVisible();
    editor->memo()->clear();
    editor->fields()->setCurrentRow(0);
    QTest::keyClick(editor->fields(), Qt::Key_Return);
    editor->memo()->moveCursor(QTextCursor::End);
    editor->memo()->insertPlainText("*10/100");
    EXPECT_EQ(editor->counter()->text(), "Caractere: 15");
    editor->with_percent()->setChecked(true);
    editor->confirm_button()->click();
  });
  window.bonus_expert(1)->click();
  EXPECT_TRUE(refused_kept_open);
  ASSERT_FALSE(prompter_.messages.empty());
  EXPECT_EQ(prompter_.messages[0].text,
            "Caracterul  \" % \" nu este permis! \r\nFolositi operatorul \"/\" pentru procent \"");
  EXPECT_EQ(params::ReadCompanyText(db(), kMonth, "Spor2_Form"), "\"SalInc\"*10/100");
  EXPECT_EQ(params::ReadCompany(db(), kMonth, "Spor2_ProcF"), 1);
  EXPECT_EQ(window.bonus_kind(1)->currentIndex(), 5);

  // The formula window was opened: the company window now confirms.
  window.confirm_button()->click();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(params::ReadCompany(db(), kMonth, "Spor2_Apl"), 5);
  EXPECT_EQ(params::ReadCompanyText(db(), kMonth, "Spor2_Den"), "Noapte");
}

TEST_F(ParameterWindowsTest, AnAbandonedBonusEditorLeavesTheBonusAsItsStoredFormulaSays) {
  session_->parameters().company.spor[3].Form = "\"SALINC\"/10";
  CompanyParametersWindow window(*session_, prompter_, progress_);
  ShowActive(window);
  for (int bonus : {2, 3}) {
    window.bonus_kind(bonus)->setCurrentIndex(5);
    emit window.bonus_kind(bonus)->activated(5);
    AnswerNextModal([](QWidget* modal) {
      auto* editor = qobject_cast<FormulaEditor*>(modal);
      ASSERT_NE(editor, nullptr);
      editor->memo()->setPlainText("\"PRIME\"*2");  // typed, then abandoned
      modal->findChild<QPushButton*>("BAbandon")->click();
    });
    window.bonus_expert(bonus)->click();
  }
  EXPECT_EQ(window.bonus_kind(2)->currentText(), "Nu se foloseste");  // no formula stored
  EXPECT_EQ(window.bonus_kind(3)->currentText(), "Formula");          // its formula stays
  EXPECT_EQ(session_->parameters().company.spor[3].Form, "\"SALINC\"/10");
}

TEST_F(ParameterWindowsTest, AHolidayPayFormulaTakesTheBonusesOutOfTheHolidayPay) {
  session_->parameters().company.spor[0].CO = 1;
  session_->parameters().company.CO_Form = "\"SALINC\"";
  CompanyParametersWindow window(*session_, prompter_, progress_);
  for (int i = 0; i < 4; ++i) {
    EXPECT_FALSE(window.bonus_holiday_pay(i)->isChecked()) << i;
    EXPECT_FALSE(window.bonus_holiday_pay(i)->isEnabled()) << i;
  }
}

TEST_F(ParameterWindowsTest, HolidayPayFormulaRefusesBrutForTheCurrentMonth) {
  FormulaEditor editor(*session_, -1, prompter_);
  EXPECT_EQ(editor.with_percent(), nullptr);
  editor.memo()->setPlainText("\"BRUT\"/2");
  editor.months()->setText("0");
  editor.check_button()->click();
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].kind, MessageKind::kError);
  editor.months()->setText("3");
  editor.check_button()->click();
  ASSERT_EQ(prompter_.messages.size(), 2u);
  EXPECT_EQ(prompter_.messages[1].text, "Formula este corecta ! \n\r\"BRUT\"/2");
  editor.confirm_button()->click();
  EXPECT_TRUE(editor.confirmed());
  EXPECT_EQ(params::ReadCompanyText(db(), kMonth, "CO_Form"), "\"BRUT\"/2");
  EXPECT_EQ(params::ReadCompany(db(), kMonth, "LuniCO"), 3);
}

// The panel buttons open the two parameter windows over the chosen month.
class ParameterWindowsFromTheMainWindow : public traveno::testing::StartedMainWindowTest {};

TEST_F(ParameterWindowsFromTheMainWindow, PanelButtonsOpenTheGeneralAndCompanyWindows) {
  app::MainWindow& window = this->window();
  using app::Function;
  QString general_heading;
  window.button(Function::kConfigGlobala)->click();
  ASSERT_TRUE(window.button(Function::kParametriCalcul)->isEnabled());
  AnswerNextModal([&](QWidget* modal) {
    ASSERT_NE(qobject_cast<GeneralParametersWindow*>(modal), nullptr);
    general_heading = modal->findChild<QLabel*>("LTitlu")->text();
    modal->findChild<QPushButton*>("BAbandon")->click();
  });
  window.button(Function::kParametriCalcul)->click();
  EXPECT_EQ(general_heading, "Parametrii generali de calcul pe IANUARIE / 2003 ");

  window.button(Function::kInapoi)->click();
  window.button(Function::kConfigFirma)->click();
  ASSERT_TRUE(window.button(Function::kParametriFirma)->isEnabled());
  bool confirmed = false;
  AnswerNextModal([&](QWidget* modal) {
    auto* company = qobject_cast<CompanyParametersWindow*>(modal);
    ASSERT_NE(company, nullptr);
    company->box("CoefCO")->setText("22");
    company->confirm_button()->click();
    confirmed = company->result() == QDialog::Accepted;
  });
  window.button(Function::kParametriFirma)->click();
  EXPECT_TRUE(confirmed);
  EXPECT_TRUE(prompter_.messages.empty());
  window.close();

  auto store = OpenDatabases(folder_.path());
  params::Session session(*store);
  SilentProgress progress;
  ASSERT_TRUE(params::ChooseCompanyAndMonth(session, "TEST", Date::FromYmd(2003, 1, 1), prompter_,
                                            progress));
  EXPECT_EQ(session.parameters().company.CoefCO, 22);
}

}  // namespace
}  // namespace traveno::params_ui
