#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/settings_windows.h"
#include "core/settings.h"
#include "core/store/store.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"
#include "ui/date_editors.h"

namespace traveno::app {
namespace {

using traveno::testing::AnswerNextModal;
using traveno::testing::ScriptedPrompter;

// A working company and month that tests set by hand.
class FakeWorkplace final : public Workplace {
 public:
  bool HasWorkingMonth() const override { return chosen; }
  std::string CompanyCode() const override { return company; }
  Date WorkingMonth() const override { return month; }
  Date LastMonth() const override { return last_month; }
  bool MonthClosed() const override { return closed; }
  bool CanChoose() const override { return true; }
  bool ChooseCompanyAndMonth(QWidget*) override {
    ++choices;
    if (!answers.empty()) {
      chosen = true;
      month = answers.front();
      answers.pop_front();
    }
    return chosen;
  }
  void SetMonthClosed(bool value) override { closed = value; }

  bool chosen = false;
  std::string company = "TEST";
  Date month = NoWorkingMonth();
  Date last_month = NoWorkingMonth();
  bool closed = false;
  int choices = 0;
  std::deque<Date> answers;
};

class MainWindowTest : public ::testing::Test {
 protected:
  // A main window over the temporary data folder; `workplace` (kept by the
  // test through `fake_`) stands for the choice of company and month.
  std::unique_ptr<MainWindow> Make(bool fake_workplace = true) {
    MainWindowOptions options;
    options.data_folder = folder_.path();
    options.prompter = &prompter_;
    options.terminate = [this](int status) { terminated_ = status; };
    options.open_help = [this] { ++help_opened_; };
    if (fake_workplace) {
      // The company the fake workplace works on has its folder, as choosing
      // it makes one: the register purge finds nothing to ask about.
      std::filesystem::create_directories(folder_.path() / "TEST");
      options.make_workplace = [this](Store&) {
        auto workplace = std::make_unique<FakeWorkplace>();
        fake_ = workplace.get();
        workplace->answers = answers_;
        workplace->last_month = last_month_;
        return workplace;
      };
    }
    return std::make_unique<MainWindow>(std::move(options));
  }
  // Shows the window as the active one, as on a desktop, and finishes the start.
  bool ShowAndStart(MainWindow& window) {
    window.show();
    if (!window.FinishStart()) return false;
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    return true;
  }
  void SetSettings(const std::string& conf_exit, const std::string& password) {
    ProgramSettings settings;
    settings.conf_exit = conf_exit;
    settings.password = StartPassword::FromClearText(password);
    SaveSettings(folder_.path(), settings);
  }

  traveno::testing::TempFolder folder_;
  ScriptedPrompter prompter_;
  std::optional<int> terminated_;
  int help_opened_ = 0;
  FakeWorkplace* fake_ = nullptr;
  std::deque<Date> answers_ = {Date::FromYmd(2003, 1, 1)};
  Date last_month_ = NoWorkingMonth();
};

TEST_F(MainWindowTest, FirstStartOnAnEmptyFolderChoosesTestAndItsFirstMonth) {
  auto window = Make(/*fake_workplace=*/false);
  QStringList companies;
  QStringList months;
  AnswerNextModal([&](QWidget* modal) {
    ASSERT_EQ(modal->objectName(), "FAlegere");
    EXPECT_EQ(modal->windowTitle(), "Alegere Firma si Luna   ");
    auto* list = modal->findChild<QTreeWidget*>("LFirme");
    for (int i = 0; i < list->topLevelItemCount(); ++i) companies << list->topLevelItem(i)->text(0);
    auto* month_list = modal->findChild<QListWidget*>("LLuni");
    for (int i = 0; i < month_list->count(); ++i) months << month_list->item(i)->text();
    AnswerNextModal([](QWidget* dialog) {
      ASSERT_EQ(dialog->objectName(), "FPrimaLuna");
      EXPECT_EQ(dialog->windowTitle(), "Alegere prima luna lucru");
      dialog->findChild<ui::MonthYearEdit*>("EMonth")->SetMonth(Date::FromYmd(2003, 1, 1));
      dialog->findChild<QPushButton*>("BConfirmare")->click();
    });
    modal->findChild<QPushButton*>("BAlege")->click();
  });
  ASSERT_TRUE(ShowAndStart(*window));
  EXPECT_EQ(window->windowTitle(), "TRAVENO - Velmoranti Soft");
  EXPECT_FALSE(terminated_.has_value());
  EXPECT_EQ(companies, QStringList{"TEST"});
  EXPECT_EQ(months, QStringList{"Apasati \"Alege Firma\" pentru initializare !"});
  EXPECT_EQ(window->heading_text(), "  Firma: TEST\r\n  Luna:  IANUARIE / 2003 ");
  EXPECT_TRUE(std::filesystem::is_directory(folder_.path() / "TEST"));
  // A new company's only month is its last: the transition is allowed.
  window->button(Function::kConfigFirma)->click();
  EXPECT_TRUE(window->button(Function::kTrecereLuna)->isEnabled());
  EXPECT_EQ(window->button(Function::kDeschidereInchidere)->text(),
            "&Luna fiind deschisa se va inchide");

  EXPECT_EQ(window->current_panel(), Panel::kCompanyConfig);
  window->button(Function::kInapoi)->click();
  EXPECT_EQ(window->title_line(), "Meniu Principal  ");
  // The main menu opens on its default button, the pay grid's.
  EXPECT_EQ(QApplication::focusWidget(), window->button(Function::kSalarii));
  EXPECT_EQ(window->hint_text(), window->button(Function::kSalarii)->statusTip());
}

TEST_F(MainWindowTest, EscapeInTheFirstChoiceEndsTheProgram) {
  auto window = Make(/*fake_workplace=*/false);
  AnswerNextModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
  EXPECT_FALSE(ShowAndStart(*window));
  EXPECT_EQ(terminated_, 0);
}

TEST_F(MainWindowTest, TheChoiceAtStartSetsTheHeadingAndTheTransitionButton) {
  last_month_ = Date::FromYmd(2003, 2, 1);
  auto window = Make();
  ASSERT_TRUE(ShowAndStart(*window));
  EXPECT_EQ(fake_->choices, 1);
  EXPECT_EQ(window->heading_text(), "  Firma: TEST\r\n  Luna:  IANUARIE / 2003 ");
  // An earlier month than the company's last: no transition from it.
  EXPECT_FALSE(window->button(Function::kTrecereLuna)->isEnabled());
  fake_->answers = {Date::FromYmd(2003, 2, 1)};
  window->ChooseCompanyAndMonth();
  EXPECT_TRUE(window->button(Function::kTrecereLuna)->isEnabled());
  EXPECT_EQ(window->heading_text(), "  Firma: TEST\r\n  Luna:  FEBRUARIE / 2003 ");
}

TEST_F(MainWindowTest, TheOpenCloseButtonFollowsTheClosedMark) {
  auto window = Make();
  ASSERT_TRUE(ShowAndStart(*window));
  window->button(Function::kConfigFirma)->click();
  QPushButton* button = window->button(Function::kDeschidereInchidere);
  EXPECT_EQ(button->text(), "&Luna fiind deschisa se va inchide");
  button->click();
  EXPECT_TRUE(fake_->closed);
  EXPECT_EQ(button->text(), "&Luna fiind inchisa se va deschide");
  EXPECT_EQ(button->statusTip(), "Luna fiind inchisa se va deschide");
  button->click();
  EXPECT_FALSE(fake_->closed);
  // Pressed from the keyboard, the button keeps the focus and the status line shows its new hint.
  button->setFocus();
  QTest::keyClick(button, Qt::Key_Space);
  EXPECT_TRUE(fake_->closed);
  EXPECT_EQ(QApplication::focusWidget(), button);
  EXPECT_EQ(window->hint_text(), "Luna fiind inchisa se va deschide");
}

TEST_F(MainWindowTest, ClosingTheFirstChoiceWithoutChoosingEndsTheProgram) {
  answers_.clear();  // the choice is closed without choosing
  auto window = Make();
  window->show();
  EXPECT_FALSE(window->FinishStart());
  EXPECT_EQ(terminated_, 0);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, ALaterChoiceClosedKeepsTheCompanyAndMonth) {
  answers_ = {Date::FromYmd(2003, 5, 1)};
  auto window = Make();
  ASSERT_TRUE(ShowAndStart(*window));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(fake_->choices, 2);
  EXPECT_FALSE(terminated_.has_value());
  EXPECT_EQ(window->heading_text(), "  Firma: TEST\r\n  Luna:  MAI / 2003 ");
}

// A start password is asked before the databases open; a wrong one, or the
// window closed, ends the program without a message.
TEST_F(MainWindowTest, TheStartPasswordDecidesWhetherTheStartGoesOn) {
  struct Case {
    const char* name;
    const char* typed;  // nullptr: the window is closed without an answer
    bool by_enter;      // else "&Confirmare"
    bool starts;
  };
  const Case kCases[] = {
      {"wrong case", "secret", false, false},
      {"closed", nullptr, false, false},
      {"right", "Secret", true, true},
  };
  SetSettings("N", "Secret");
  for (const Case& c : kCases) {
    terminated_.reset();
    auto window = Make();
    window->show();
    QString name;
    QString title;
    AnswerNextModal([&](QWidget* modal) {
      name = modal->objectName();
      title = modal->windowTitle();
      auto* box = modal->findChild<QLineEdit*>("EParola");
      if (c.typed == nullptr || box == nullptr) {
        static_cast<QDialog*>(modal)->reject();
        return;
      }
      QTest::keyClicks(box, c.typed);
      if (c.by_enter) {
        QTest::keyClick(box, Qt::Key_Return);
      } else {
        modal->findChild<QPushButton*>("BConfirmare")->click();
      }
    });
    EXPECT_EQ(window->FinishStart(), c.starts) << c.name;
    EXPECT_EQ(name, "FParola") << c.name;
    EXPECT_EQ(title, "Parola") << c.name;
    EXPECT_EQ(terminated_, c.starts ? std::nullopt : std::optional<int>(1)) << c.name;
    EXPECT_TRUE(prompter_.messages.empty()) << c.name;
    EXPECT_EQ(Store(folder_.path()).RegisterTableExists("Firme"), c.starts) << c.name;
  }
}

TEST_F(MainWindowTest, PanelsTitlesAndEscape) {
  auto window = Make();
  ASSERT_TRUE(ShowAndStart(*window));
  struct Case {
    Function opener;
    Panel panel;
    const char* title;
    bool escape_returns;
  };
  const Case kCases[] = {
      {Function::kConfigGlobala, Panel::kGlobalConfig, "Configurare globala  ", true},
      {Function::kConfigFirma, Panel::kCompanyConfig, "Configurare Firma  ", true},
      {Function::kListe, Panel::kLists, "Liste  ", false},
      {Function::kRaportari, Panel::kReports, "Raportari ", false},
  };
  for (const Case& c : kCases) {
    window->button(c.opener)->click();
    EXPECT_EQ(window->current_panel(), c.panel);
    EXPECT_EQ(window->title_line(), c.title);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(window->current_panel(), c.escape_returns ? Panel::kMain : c.panel) << c.title;
    if (window->current_panel() != Panel::kMain) window->button(Function::kInapoi)->click();
    EXPECT_EQ(window->current_panel(), Panel::kMain);
  }
  window->button(Function::kListe)->click();
  window->button(Function::kDiverse)->click();
  EXPECT_EQ(window->title_line(), "Diverse ");
  window->button(Function::kInapoi)->click();
  EXPECT_EQ(window->current_panel(), Panel::kMain);

  // On the main menu Escape leaves the program (no question by default).
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(prompter_.questions.empty());
}

TEST_F(MainWindowTest, EveryButtonHasItsWindowOnAnOpenMonth) {
  auto window = Make();
  ASSERT_TRUE(ShowAndStart(*window));
  for (int f = static_cast<int>(Function::kSalarii); f <= static_cast<int>(Function::kInapoi);
       ++f) {
    QPushButton* b = window->button(static_cast<Function>(f));
    if (b == nullptr) continue;  // "&Inapoi" is one button per panel
    EXPECT_FALSE(b->statusTip().contains(kNotYetAvailable)) << b->text().toStdString();
  }
}

TEST_F(MainWindowTest, ExitAsksOnlyWhenTheSettingIsExactlyY) {
  struct Case {
    const char* conf_exit;
    bool asks;
  };
  for (const Case& c : {Case{"Y", true}, Case{"y", false}, Case{"Yes", false}, Case{"N", false}}) {
    SetSettings(c.conf_exit, "");
    prompter_.questions.clear();
    prompter_.yes_no = {false, true};
    auto window = Make();
    ASSERT_TRUE(ShowAndStart(*window));
    window->button(Function::kIesire)->click();
    if (c.asks) {
      ASSERT_EQ(prompter_.questions.size(), 1u);
      EXPECT_EQ(prompter_.questions[0], "Doriti sa iesiti din program ?");
      EXPECT_TRUE(window->isVisible());  // "Nu" keeps the program running
      window->button(Function::kIesire)->click();
    } else {
      EXPECT_TRUE(prompter_.questions.empty()) << c.conf_exit;
    }
    EXPECT_FALSE(window->isVisible()) << c.conf_exit;
  }
}

TEST_F(MainWindowTest, ElectronicFilesNeedTheirDeclarationFirstAndInapoiClearsTheMarks) {
  auto window = Make();
  ASSERT_TRUE(ShowAndStart(*window));
  window->button(Function::kRaportari)->click();
  // Without their printed declaration the electronic files only warn.
  window->button(Function::kTransmitereCas)->click();
  window->button(Function::kTransmitereSomaj)->click();
  ASSERT_EQ(prompter_.messages.size(), 2u);
  EXPECT_EQ(prompter_.messages[0].text, kCasMarkMissing);
  EXPECT_EQ(prompter_.messages[1].text, kSomajMarkMissing);
  prompter_.messages.clear();

  window->SetCasMark();  // the printed declaration
  window->SetSomajMark();
  window->button(Function::kInapoi)->click();
  window->button(Function::kRaportari)->click();
  EXPECT_FALSE(window->cas_mark());
  EXPECT_FALSE(window->somaj_mark());
  EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(MainWindowTest, HelpButtonOpensTheHelp) {
  auto window = Make();
  ASSERT_TRUE(ShowAndStart(*window));
  window->button(Function::kAjutor)->click();
  EXPECT_EQ(help_opened_, 1);
}

TEST_F(MainWindowTest, ProgramSettingsWindowOpensFromTheGlobalPanelAndSaves) {
  auto window = Make();
  ASSERT_TRUE(ShowAndStart(*window));
  window->button(Function::kConfigGlobala)->click();
  AnswerNextModal([](QWidget* modal) {
    ASSERT_EQ(modal->objectName(), "FConfigurareProgram");
    // The window may be answered before it has taken the focus on a busy machine.
    auto* old_password = modal->findChild<QLineEdit*>("EParolaVeche");
    QTest::qWaitFor([&] { return QApplication::focusWidget() == old_password; }, 5000);
    EXPECT_EQ(QApplication::focusWidget(), old_password);
    QTest::keyClicks(modal->findChild<QLineEdit*>("EParolaNoua"), "abc");
    QTest::keyClicks(modal->findChild<QLineEdit*>("EConfirmare"), "abc");
    modal->findChild<QCheckBox*>("CBConfExit")->setChecked(true);
    modal->findChild<QPushButton*>("BConfirmare")->click();
  });
  window->button(Function::kConfigParola)->click();
  EXPECT_TRUE(prompter_.messages.empty());
  const ProgramSettings saved = LoadSettings(folder_.path());
  EXPECT_EQ(saved.conf_exit, "Y");
  EXPECT_TRUE(saved.password.Verify("abc"));
  EXPECT_EQ(window->settings().conf_exit, "Y");
}

}  // namespace
}  // namespace traveno::app
