// The windows of the monthly declarations, offscreen: what they show when
// they open, the checks on leaving the paid amounts, the spread of a
// shortfall, what "&Confirmare" stores, previews and writes, and the main
// window's buttons and declaration marks. Every modal window and dialog is
// answered by the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <fstream>

#include "app/main_window.h"
#include "core/numbers.h"
#include "core/settings.h"
#include "core/store/row_io.h"
#include "core/system_info.h"
#include "declarations/ui/cas_declaration_window.h"
#include "declarations/ui/health_declaration_window.h"
#include "declarations/ui/unemployment_declaration_window.h"
#include "declarations/unemployment_declaration.h"
#include "params/parameter_store.h"
#include "personnel/employees.h"
#include "tests/app/started_main_window.h"
#include "tests/app/test_month_fixture.h"
#include "tests/ui/scripted_prompter.h"
#include "ui/date_editors.h"
#include "ui/window_base.h"

namespace traveno::declarations_ui {
namespace {

namespace fs = std::filesystem;
using declarations::FilingForm;
using traveno::testing::AnswerNextModal;

const Date kToday = Date::FromYmd(2003, 2, 5);

// Hooks that record what the window previews and answer its dialogs.
struct ScriptedHooks {
  std::vector<std::string> previewed;
  std::optional<FilingForm> form = FilingForm::kTxt;
  std::vector<std::optional<fs::path>> files;  // the answers of the save dialog, in turn
  std::vector<fs::path> proposed;              // what the dialog was opened on

  DeclarationHooks Make() {
    DeclarationHooks hooks;
    hooks.show_preview = [this](const reports::Report& report, QWidget*) {
      previewed.push_back(report.title);
    };
    hooks.choose_form = [this](QWidget*) { return form; };
    hooks.choose_file = [this](QWidget*, const fs::path& start) -> std::optional<fs::path> {
      proposed.push_back(start);
      if (files.empty()) return std::nullopt;
      std::optional<fs::path> answer = files.front();
      files.erase(files.begin());
      return answer;
    };
    hooks.today = [] { return kToday; };
    return hooks;
  }
};

// The company TEST on January 2003 with two permanent employees and one
// partial contract, calculated.
class DeclarationWindowTest : public traveno::testing::TestMonthFixture {
 protected:
  void SetUp() override {
    TestMonthFixture::SetUp();
    behaviour_.Install();
    Hire("ALBU", "1", 9000000, D(2001, 1, 1));
    Hire("BARBU", "1", 5000000, D(2003, 1, 10));  // hired in the month
    Hire("CRISAN", "2", 3000000, D(2002, 5, 1));
    prompter_.messages.clear();
  }

  static Date D(int y, int m, int d) { return Date::FromYmd(y, m, d); }

  void Hire(const char* nume, const char* tip, double salinc, Date hired) {
    personnel::EmployeeInput input = personnel::NewEmployeeInput(tip);
    input.Nume = nume;
    input.Prenume = "ION";
    input.SalInc = salinc;
    input.Timp = std::string(tip) == "1" ? 184 : 80;
    input.Ore_Zi = std::string(tip) == "2" ? 4 : 0;
    input.DomiciliuExt = std::string(tip) == "2";
    input.Data_Ang = hired;
    personnel::SaveEmployee(*session_, personnel::EmployeeEditMode::kAdd, input, tip);
  }

  double Stored(const char* name) {
    return params::ReadCompany(store_->db(), session_->working_month(), name);
  }

  fs::path Out(const char* name) {
    fs::create_directories(folder_.path() / "out");
    return folder_.path() / "out" / name;
  }

  ui::WindowBehaviour behaviour_;
  ScriptedHooks hooks_;
};

TEST_F(DeclarationWindowTest, TheCasWindowOpensOnTheNumberWithTodayAndTheKeptDeclarant) {
  SaveSigner(folder_.path(), {"popescu", "ion", "director", "b"}, true);
  CasDeclarationWindow window(*session_, DeclarationMode::kPrint, prompter_, progress_,
                              hooks_.Make());
  window.show();
  EXPECT_EQ(window.windowTitle(), "Declaratii CAS");
  EXPECT_TRUE(window.number()->text().isEmpty());
  EXPECT_EQ(window.date()->Value(), kToday);
  EXPECT_EQ(window.nume()->text(), "POPESCU");
  EXPECT_EQ(window.judet()->text(), "B");
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.number()->hasFocus(); }));
  window.judet()->clear();
  QTest::keyClicks(window.judet(), "ct");
  EXPECT_EQ(window.judet()->text(), "CT");

  window.number()->setText("17");
  window.nume()->setText("  ionescu ");
  window.confirm_button()->click();
  EXPECT_EQ(hooks_.previewed,
            (std::vector<std::string>{"Declaratie nominala CAS", "Declaratie CAS"}));
  EXPECT_FALSE(window.isVisible());
  const DeclarationSigner kept = LoadSigner(folder_.path());
  EXPECT_EQ(kept.nume, "IONESCU");
  EXPECT_EQ(kept.cod_judet, "CT");
}

TEST_F(DeclarationWindowTest, TheCasFilesAreOfferedInTurnAndACancelledDialogSkipsItsFile) {
  hooks_.files = {std::nullopt, Out("A12.txt")};
  CasDeclarationWindow window(*session_, DeclarationMode::kFiles, prompter_, progress_,
                              hooks_.Make());
  window.confirm_button()->click();
  const fs::path company_folder = folder_.path() / "TEST";
  ASSERT_EQ(hooks_.proposed.size(), 2u);
  EXPECT_EQ(hooks_.proposed[0], company_folder / "A11.txt");
  EXPECT_EQ(hooks_.proposed[1], company_folder / "A12.txt");  // the first was cancelled
  EXPECT_FALSE(fs::exists(Out("A11.txt")));
  EXPECT_TRUE(fs::exists(Out("A12.txt")));
  EXPECT_TRUE(hooks_.previewed.empty());

  // In dBASE form the second dialog starts where the first file went.
  hooks_.form = FilingForm::kDbf;
  hooks_.proposed.clear();
  hooks_.files = {Out("A11.dbf"), std::nullopt};
  CasDeclarationWindow again(*session_, DeclarationMode::kFiles, prompter_, progress_,
                             hooks_.Make());
  again.confirm_button()->click();
  ASSERT_EQ(hooks_.proposed.size(), 2u);
  EXPECT_EQ(hooks_.proposed[1], Out("A12.dbf"));
  EXPECT_EQ(declarations::DbfTable::Open(Out("A11.dbf")).record_count(), 3u);

  // An abandoned choice writes nothing.
  hooks_.form.reset();
  hooks_.proposed.clear();
  CasDeclarationWindow abandoned(*session_, DeclarationMode::kFiles, prompter_, progress_,
                                 hooks_.Make());
  abandoned.confirm_button()->click();
  EXPECT_TRUE(hooks_.proposed.empty());
  EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(DeclarationWindowTest, AMonthWithoutEmployeesPrintsNothing) {
  store_->db().Run("DELETE FROM firma.Pers");
  CasDeclarationWindow cas(*session_, DeclarationMode::kPrint, prompter_, progress_, hooks_.Make());
  cas.confirm_button()->click();
  UnemploymentDeclarationWindow somaj(*session_, DeclarationMode::kPrint, prompter_, progress_,
                                      hooks_.Make());
  ASSERT_TRUE(somaj.Prepare());
  somaj.confirm_button()->click();
  EXPECT_TRUE(hooks_.previewed.empty());
  EXPECT_EQ(Stored("CalculSomaj"), 1);  // the figures are stored all the same
  EXPECT_FALSE(somaj.isVisible());
}

TEST_F(DeclarationWindowTest, APaymentBelowTheDueAsksHowToSpreadItBeforeConfirming) {
  UnemploymentDeclarationWindow window(*session_, DeclarationMode::kPrint, prompter_, progress_,
                                       hooks_.Make());
  ASSERT_TRUE(window.Prepare());
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(window.windowTitle(), "Declaratie Somaj");
  EXPECT_TRUE(window.number()->hasFocus());
  EXPECT_FALSE(window.spread_group()->isVisible());
  EXPECT_FALSE(window.other_sums()->isVisible());
  EXPECT_TRUE(window.due_insured()->isReadOnly());
  const QString due = window.due_insured()->text();
  EXPECT_EQ(window.paid_insured()->text(), due);  // a new month proposes the dues
  long double somaj = 0;
  for (const PersRow& row : QueryRows<PersRow>(store_->db(), "SELECT * FROM firma.Pers")) {
    somaj += row.SOMAJ;
  }
  ASSERT_GT(somaj, 1000);
  EXPECT_EQ(due.toStdString(), FormatNumber(somaj, NumberMask::kUpToTwoDecimals));

  // Leaving a smaller payment shows the spread, on the first insured.
  window.paid_insured()->setFocus();
  window.paid_insured()->setText("1000");
  QTest::keyClick(window.paid_insured(), Qt::Key_Tab);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.spread_group()->isVisible(); }));
  EXPECT_TRUE(window.first_insured()->isChecked());
  EXPECT_TRUE(window.first_insured()->hasFocus());
  EXPECT_FALSE(window.confirm_button()->isEnabled());
  // Enter on a choice goes to "&Calcul suma", which spreads and moves on.
  QTest::keyClick(window.proportional(), Qt::Key_Space);
  window.proportional()->setFocus();
  QTest::keyClick(window.proportional(), Qt::Key_Return);
  EXPECT_TRUE(window.spread_button()->hasFocus());
  QTest::keyClick(window.spread_button(), Qt::Key_Return);
  ASSERT_FALSE(prompter_.messages.empty());
  EXPECT_EQ(prompter_.messages.back().text, declarations::kSpreadProportional);
  EXPECT_FALSE(window.spread_group()->isVisible());
  EXPECT_TRUE(window.confirm_button()->isEnabled());
  EXPECT_TRUE(window.paid_employer()->hasFocus());

  // "A&lte sume " opens the other sums on their first box; Enter in the last
  // goes to "&Confirmare".
  window.other_sums_button()->click();
  EXPECT_TRUE(window.other_sums()->isVisible());
  EXPECT_TRUE(window.other_sum(0)->hasFocus());
  window.other_sum(2)->setText("2 500");
  window.other_sum(4)->setFocus();
  QTest::keyClick(window.other_sum(4), Qt::Key_Return);
  EXPECT_TRUE(window.confirm_button()->hasFocus());
  window.confirm_button()->click();
  EXPECT_EQ(Stored("SVAsig"), 1000);
  EXPECT_EQ(Stored("SDAsig"), static_cast<double>(somaj));
  EXPECT_EQ(Stored("TipCalcul"), 1);
  EXPECT_EQ(Stored("RestAs"), 2500);
  EXPECT_EQ(hooks_.previewed,
            (std::vector<std::string>{"Declaratie nominala somaj", "Declaratie somaj"}));

  // Opened again, the window shows the stored figures and, on leaving the
  // smaller payment, offers the spread stored.
  UnemploymentDeclarationWindow again(*session_, DeclarationMode::kPrint, prompter_, progress_,
                                      hooks_.Make());
  ASSERT_TRUE(again.Prepare());
  again.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&again));
  EXPECT_EQ(again.paid_insured()->text(), "1 000");
  EXPECT_EQ(again.other_sum(2)->text(), "2 500");
  again.paid_insured()->setFocus();
  QTest::keyClick(again.paid_insured(), Qt::Key_Tab);
  EXPECT_TRUE(QTest::qWaitFor([&] { return again.spread_group()->isVisible(); }));
  EXPECT_TRUE(again.proportional()->isChecked());
  again.reject();
}

// A typed amount reads as the computed ones beside it once left, and the
// spread group, shown for a short payment, leaves no gap when it hides.
TEST_F(DeclarationWindowTest, ATypedAmountIsGroupedAndTheSpreadLeavesNoGap) {
  UnemploymentDeclarationWindow window(*session_, DeclarationMode::kPrint, prompter_, progress_,
                                       hooks_.Make());
  ASSERT_TRUE(window.Prepare());
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  const int height = window.height();
  const int gap = window.nume()->y() - window.paid_employer()->geometry().bottom();

  window.paid_insured()->setFocus();
  window.paid_insured()->selectAll();
  QTest::keyClicks(window.paid_insured(), "1000");
  QTest::keyClick(window.paid_insured(), Qt::Key_Tab);
  EXPECT_EQ(window.paid_insured()->text(), "1 000");
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.spread_group()->isVisible(); }));
  EXPECT_GT(window.height(), height);
  QTest::keyClick(window.first_insured(), Qt::Key_Return);
  QTest::keyClick(window.spread_button(), Qt::Key_Return);
  EXPECT_FALSE(window.spread_group()->isVisible());
  EXPECT_EQ(window.height(), height);
  EXPECT_EQ(window.nume()->y() - window.paid_employer()->geometry().bottom(), gap);

  struct Case {
    const char* typed;
    const char* shown;
  };
  const Case kCases[] = {
      {"1000000", "1 000 000"}, {"2500,5", "2 500,5"}, {"1 234 567", "1 234 567"},
      {"12,345", "12,345"},  // kept as typed rather than rounded
      {"abc", "abc"},        // refused with its message on confirmation
  };
  window.other_sums_button()->click();
  for (const Case& c : kCases) {
    window.other_sum(1)->setFocus();
    window.other_sum(1)->selectAll();
    QTest::keyClicks(window.other_sum(1), c.typed);
    QTest::keyClick(window.other_sum(1), Qt::Key_Tab);
    EXPECT_EQ(window.other_sum(1)->text().toStdString(), c.shown) << c.typed;
  }
  window.reject();
}

TEST_F(DeclarationWindowTest, PaymentsAboveTheDueWarnAndKeepTheFocus) {
  UnemploymentDeclarationWindow window(*session_, DeclarationMode::kPrint, prompter_, progress_,
                                       hooks_.Make());
  ASSERT_TRUE(window.Prepare());
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.paid_insured()->setFocus();
  window.paid_insured()->setText("999999999");
  QTest::keyClick(window.paid_insured(), Qt::Key_Tab);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !prompter_.messages.empty(); }));
  EXPECT_EQ(prompter_.messages.back().text, declarations::kInsuredPaidAboveDue);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.paid_insured()->hasFocus(); }));
  EXPECT_TRUE(window.confirm_button()->isEnabled());
  EXPECT_FALSE(window.spread_group()->isVisible());
  window.paid_insured()->setText(window.due_insured()->text());

  window.paid_employer()->setFocus();
  window.paid_employer()->setText("999999999");
  QTest::keyClick(window.paid_employer(), Qt::Key_Tab);
  EXPECT_TRUE(QTest::qWaitFor([&] { return prompter_.messages.size() == 2; }));
  EXPECT_EQ(prompter_.messages.back().text, declarations::kEmployerPaidAboveDue);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.paid_employer()->hasFocus(); }));

  // An amount that is not a number is refused and the window stays.
  window.other_sums_button()->click();
  window.other_sum(3)->setText("abc");
  window.confirm_button()->click();
  EXPECT_EQ(prompter_.messages.back().text,
            "Suma introdusa la \"Majorari de intarziere:\" nu este valida !");
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(Stored("SVAng"), 0);
  window.other_sum(3)->setText("0");
  window.confirm_button()->click();
  EXPECT_EQ(Stored("SVAng"), 999999999);  // stored as typed
  EXPECT_FALSE(window.isVisible());
}

TEST_F(DeclarationWindowTest, TheUnemploymentFilesAreWrittenAfterTheFiguresAreStored) {
  hooks_.files = {Out("A1.txt"), Out("A2.txt")};
  UnemploymentDeclarationWindow window(*session_, DeclarationMode::kFiles, prompter_, progress_,
                                       hooks_.Make());
  ASSERT_TRUE(window.Prepare());
  window.number()->setText("9");
  window.confirm_button()->click();
  ASSERT_TRUE(fs::exists(Out("A2.txt")));
  std::ifstream a1(Out("A1.txt"), std::ios::binary);
  int lines = 0;
  for (std::string line; std::getline(a1, line);) ++lines;
  EXPECT_EQ(lines, 3);
  std::ifstream a2(Out("A2.txt"), std::ios::binary);
  std::string line;
  std::getline(a2, line);
  EXPECT_EQ(line.substr(0, 18), "         905022003");  // the number, then the date
  EXPECT_TRUE(hooks_.previewed.empty());
}

TEST_F(DeclarationWindowTest, TheHealthWindowShowsTheDuesAndPrintsTheChosenLists) {
  HealthDeclarationWindow window(*session_, prompter_, progress_, hooks_.Make());
  ASSERT_TRUE(window.Prepare());
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(window.windowTitle().toStdString(),
            std::string(kApplicationTitle) + " - Declaratie de sanatate");
  EXPECT_TRUE(window.paid(0)->hasFocus());
  EXPECT_EQ(window.paid(1)->text(), window.due(1)->text());
  EXPECT_TRUE(window.due(2)->isReadOnly());
  EXPECT_TRUE(window.entering_list()->isChecked());  // BARBU was hired in January
  EXPECT_FALSE(window.leaving_list()->isChecked());
  EXPECT_FALSE(window.nominal_list()->isChecked());
  EXPECT_EQ(window.date()->Value(), kToday);

  // Enter on a list's box moves on, Shift+Enter back.
  window.leaving_list()->setFocus();
  QTest::keyClick(window.leaving_list(), Qt::Key_Return);
  EXPECT_TRUE(window.nominal_list()->hasFocus());
  QTest::keyClick(window.nominal_list(), Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_TRUE(window.leaving_list()->hasFocus());

  window.arrears(0)->setText("150");
  window.nominal_list()->setChecked(true);
  QTest::keyClicks(window.functie(), "x");
  window.confirm_button()->click();
  EXPECT_EQ(Stored("RestSanA"), 150);
  EXPECT_EQ(Stored("DatorSanB"), window.paid(1)->text().remove(' ').toDouble());
  ASSERT_EQ(hooks_.previewed.size(), 3u);
  EXPECT_EQ(hooks_.previewed[0], "Declaratie de sanatate");
  EXPECT_EQ(hooks_.previewed[1], "Lista nominala a persoanelor care intra in activitate");
  EXPECT_NE(hooks_.previewed[2].find("asigurate"), std::string::npos);
  EXPECT_FALSE(window.isVisible());

  HealthDeclarationWindow again(*session_, prompter_, progress_, hooks_.Make());
  ASSERT_TRUE(again.Prepare());
  EXPECT_EQ(again.arrears(0)->text(), "150");
}

class DeclarationButtonsTest : public traveno::testing::StartedMainWindowTest {};

TEST_F(DeclarationButtonsTest, TheElectronicFilesWarnUntilTheirDeclarationWasOpened) {
  app::MainWindow& window = this->window();
  window.button(app::Function::kRaportari)->click();
  window.button(app::Function::kTransmitereCas)->click();
  window.button(app::Function::kTransmitereSomaj)->click();
  ASSERT_EQ(prompter_.messages.size(), 2u);
  EXPECT_EQ(prompter_.messages[0].text, app::kCasMarkMissing);
  EXPECT_EQ(prompter_.messages[1].text, app::kSomajMarkMissing);

  std::vector<std::string> opened;
  auto abandon = [&](QWidget* modal) {
    opened.push_back(modal->objectName().toStdString());
    modal->findChild<QPushButton*>("BAbandon")->click();
  };
  AnswerNextModal(abandon);
  window.button(app::Function::kDeclaratiiCas)->click();
  EXPECT_TRUE(window.cas_mark());
  AnswerNextModal(abandon);
  window.button(app::Function::kTransmitereCas)->click();
  AnswerNextModal(abandon);
  window.button(app::Function::kDeclaratiiSomaj)->click();
  AnswerNextModal(abandon);
  window.button(app::Function::kTransmitereSomaj)->click();
  AnswerNextModal(abandon);
  window.button(app::Function::kDeclaratiiSanatate)->click();
  EXPECT_EQ(opened, (std::vector<std::string>{"FDeclarCAS", "FDeclarCAS", "FDecSomaj", "FDecSomaj",
                                              "FDeclSanat"}));
  EXPECT_EQ(prompter_.messages.size(), 2u);

  // "&Inapoi" forgets both declarations.
  window.button(app::Function::kInapoi)->click();
  window.button(app::Function::kRaportari)->click();
  window.button(app::Function::kTransmitereCas)->click();
  EXPECT_EQ(prompter_.messages.back().text, app::kCasMarkMissing);
}

}  // namespace
}  // namespace traveno::declarations_ui
