// The desktop program by keyboard alone: Enter on the focused button, the
// focus back in the main window after a modal window, Tab through the company
// editor, captions without the application's name appended, and the bracket
// grid's spreadsheet holding numbers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/company_editor.h"
#include "app/main_window.h"
#include "core/system_info.h"
#include "params/ui/bracket_windows.h"
#include "tests/app/test_month_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"
#include "tests/ui/zip_reader.h"
#include "ui/data_grid.h"
#include "ui/date_editors.h"
#include "ui/help.h"
#include "ui/window_base.h"

namespace traveno::app {
namespace {

using traveno::testing::AnswerNextModal;

// Closes a modal window however its answer ends (a failed assertion returns
// early), so that a failing test fails instead of waiting for a person.
// The focused widget once the window system has given `window` the keyboard;
// null when it does not within a few seconds.
QWidget* FocusedIn(QWidget* window) {
  QTest::qWaitFor([window] {
    return QApplication::focusWidget() != nullptr &&
           QApplication::focusWidget()->window() == window;
  });
  QWidget* focused = QApplication::focusWidget();
  return focused != nullptr && focused->window() == window ? focused : nullptr;
}

struct CloseAtEnd {
  QWidget* modal;
  ~CloseAtEnd() {
    if (auto* dialog = qobject_cast<QDialog*>(modal); dialog != nullptr && dialog->isVisible()) {
      dialog->reject();
    }
  }
};

// The main window started on the company TEST, January 2003, with the
// behaviour every window of the program has.
class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    behaviour_.Install();
    MainWindowOptions options;
    options.data_folder = folder_.path();
    options.prompter = &prompter_;
    options.terminate = [](int) {};
    options.open_help = [] {};
    window_ = std::make_unique<MainWindow>(std::move(options));
    AnswerNextModal([this](QWidget* choice) {
      CloseAtEnd close{choice};
      Remember(choice);
      AnswerNextModal([this](QWidget* first_month) {
        Remember(first_month);
        first_month->findChild<ui::MonthYearEdit*>("EMonth")->SetMonth(Date::FromYmd(2003, 1, 1));
        QTest::keyClick(first_month->findChild<QPushButton*>("BConfirmare"), Qt::Key_Return);
      });
      // Enter on the company list chooses it.
      QWidget* list = FocusedIn(choice);
      ASSERT_NE(list, nullptr);
      QTest::keyClick(list, Qt::Key_Return);
    });
    window_->show();
    ASSERT_TRUE(window_->FinishStart());
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    Remember(window_.get());
  }
  void TearDown() override {
    if (window_) window_->close();
  }
  void Remember(QWidget* window) {
    captions_ << window->windowTitle();
    topics_ << ui::HelpTopicOf(window);
  }
  // Presses Enter on the focused widget of the active window.
  static void Enter() {
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  }

  ui::WindowBehaviour behaviour_;
  traveno::testing::TempFolder folder_;
  traveno::testing::ScriptedPrompter prompter_;
  std::unique_ptr<MainWindow> window_;
  QStringList captions_;
  QStringList topics_;
};

TEST_F(KeyboardTest, EnterOnAFocusedPanelButtonOpensItsPanelOrWindow) {
  QPushButton* global = window_->button(Function::kConfigGlobala);
  global->setFocus();
  Enter();
  ASSERT_EQ(window_->current_panel(), Panel::kGlobalConfig);
  // The panel's default button has the keyboard, with its frame showing.
  EXPECT_EQ(QApplication::focusWidget(), window_->button(Function::kImpozitar));
  EXPECT_TRUE(window_->testAttribute(Qt::WA_KeyboardFocusChange));

  QString opened;
  AnswerNextModal([&](QWidget* modal) {
    opened = modal->objectName();
    Remember(modal);
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  window_->button(Function::kVerificareCnp)->setFocus();
  Enter();
  EXPECT_EQ(opened, "FVerCNP");
}

TEST_F(KeyboardTest, AfterAModalWindowClosesTheKeyboardIsBackOnItsButton) {
  window_->button(Function::kConfigGlobala)->click();
  QPushButton* parameters = window_->button(Function::kParametriCalcul);
  parameters->setFocus();
  // The general parameters confirmed: a recalculation with its wait window
  // runs before the window closes.
  AnswerNextModal([&](QWidget* modal) {
    CloseAtEnd close{modal};
    Remember(modal);
    ASSERT_EQ(modal->objectName(), "FParametri");
    // The window opens on its first box, whose "1" the typing replaces.
    auto* first = qobject_cast<QLineEdit*>(FocusedIn(modal));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->objectName(), "ESomajAng");
    QTest::keyClicks(first, "2");
    EXPECT_EQ(first->text(), "2");
    QTest::keyClick(modal->findChild<QPushButton*>("BConfirmare"), Qt::Key_Return);
  });
  Enter();
  EXPECT_EQ(FocusedIn(window_.get()), parameters);
  EXPECT_EQ(window_->current_panel(), Panel::kGlobalConfig);

  // The month transition, typed and confirmed by keyboard.
  window_->button(Function::kInapoi)->click();
  window_->button(Function::kConfigFirma)->click();
  QPushButton* transition = window_->button(Function::kTrecereLuna);
  ASSERT_TRUE(transition->isEnabled());
  transition->setFocus();
  AnswerNextModal([&](QWidget* modal) {
    CloseAtEnd close{modal};
    Remember(modal);
    ASSERT_EQ(modal->objectName(), "FTrecere");
    QWidget* abandon = FocusedIn(modal);
    ASSERT_NE(abandon, nullptr);
    EXPECT_EQ(abandon->objectName(), "BAbandon");
    QTest::keyClick(abandon, Qt::Key_Tab);  // from "&Abandon" to the list
    Enter();                                // from the list to the box
    QTest::keyClicks(QApplication::focusWidget(), "confirm");
    Enter();
  });
  Enter();
  EXPECT_EQ(window_->heading_text(), "  Firma: TEST\r\n  Luna:  FEBRUARIE / 2003 ");
  EXPECT_EQ(FocusedIn(window_.get()), transition);
}

TEST_F(KeyboardTest, InTheProgramSettingsEnterOnTheCheckBoxThenOnConfirmareSaves) {
  window_->button(Function::kConfigGlobala)->click();
  bool closed = false;
  AnswerNextModal([&](QWidget* modal) {
    CloseAtEnd close{modal};
    QWidget* old_password = FocusedIn(modal);
    ASSERT_NE(old_password, nullptr);
    ASSERT_EQ(old_password->objectName(), "EParolaVeche");
    // Tab to the check box, Space ticks it, Enter moves to "&Confirmare",
    // and a second Enter presses it.
    for (int i = 0; i < 3; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget()->objectName(), "CBConfExit");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    Enter();
    ASSERT_EQ(QApplication::focusWidget()->objectName(), "BConfirmare");
    Enter();
    closed = !modal->isVisible();
  });
  window_->button(Function::kConfigParola)->setFocus();
  Enter();
  EXPECT_TRUE(closed);
  EXPECT_EQ(window_->settings().conf_exit, "Y");
}

TEST_F(KeyboardTest, NoCaptionCarriesTheApplicationNameTwice) {
  window_->button(Function::kConfigGlobala)->click();
  for (Function f : {Function::kDateFirme, Function::kImpozitar, Function::kConfigParola}) {
    AnswerNextModal([&](QWidget* modal) {
      Remember(modal);
      QTest::keyClick(modal, Qt::Key_Escape);
    });
    window_->button(f)->click();
  }
  ASSERT_GE(captions_.size(), 6);
  for (const QString& caption : captions_) {
    EXPECT_LE(caption.count(kApplicationTitle), 1) << caption.toStdString();
  }
  EXPECT_TRUE(captions_.contains(QString(kApplicationTitle) + " - Gestiune firme de lucru"));
  // The window system appends the display name to every caption: none is set.
  EXPECT_NE(QGuiApplication::applicationDisplayName(), kApplicationTitle);

  // F1 opens the help at each window's own section.
  QFile help(ui::HelpIndexPath());
  ASSERT_TRUE(help.open(QIODevice::ReadOnly));
  const QString page = QString::fromUtf8(help.readAll());
  for (const QString& topic : topics_) {
    EXPECT_TRUE(page.contains("id=\"" + topic + "\"")) << topic.toStdString();
  }
}

class CompanyEditorKeysTest : public ::testing::Test {
 protected:
  void SetUp() override { behaviour_.Install(); }
  // The object names Tab passes through, from the focused control, until
  // `last` (at most `limit` steps).
  static QStringList TabPath(const char* last, int limit = 60) {
    QStringList path;
    for (int i = 0; i < limit && QApplication::focusWidget() != nullptr; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      path << QApplication::focusWidget()->objectName();
      if (path.back() == last) break;
    }
    return path;
  }

  ui::WindowBehaviour behaviour_;
  traveno::testing::ScriptedPrompter prompter_;
};

TEST_F(CompanyEditorKeysTest, TabGoesThroughTheFieldsAsTheyAreRead) {
  CompanyEditor editor(CompanyEditor::Mode::kAdd, {}, prompter_);
  editor.show();
  ASSERT_EQ(FocusedIn(&editor), editor.field("Cod"));
  const QStringList expected = {"EDenumire", "EJudet",  "ECodFiscal", "ERegCom",  "ETelefon",
                                "EFax",      "EEMail",  "EPers1",     "EPers2",   "ELocalitate",
                                "EStrada",   "ENumar",  "ECodPostal", "EBloc",    "EScara",
                                "EEtaj",     "EAp",     "ESector",    "EBanca1",  "EFiliala1",
                                "ECont1",    "EBanca2", "EFiliala2",  "ECont2",   "EBanca3",
                                "EFiliala3", "ECont3",  "EFooter1",   "EFooter2", "BConfirm"};
  EXPECT_EQ(TabPath("BConfirm"), expected);
  editor.close();
}

TEST_F(CompanyEditorKeysTest, EnterOnTheEmployerKindMovesToItsNameAndTabLeavesTheKindForTheFields) {
  CompanyEditor editor(CompanyEditor::Mode::kAdd, {}, prompter_);
  editor.show();
  ASSERT_NE(FocusedIn(&editor), nullptr);
  editor.natural_person()->setFocus();
  editor.natural_person()->setChecked(true);
  QTest::keyClick(editor.natural_person(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), editor.field("Nume"));

  editor.legal_entity()->setChecked(true);
  editor.legal_entity()->setFocus();
  QTest::keyClick(editor.legal_entity(), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(QApplication::focusWidget(), editor.field("Denumire"));

  // From the kind, Tab goes into the fields, never straight to "&Confirm".
  editor.legal_entity()->setFocus();
  QTest::keyClick(editor.legal_entity(), Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), editor.confirm_button());
  EXPECT_TRUE(qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr ||
              QApplication::focusWidget() == editor.natural_person());
  editor.close();
}

class BracketExportTest : public traveno::testing::TestMonthFixture {};

TEST_F(BracketExportTest, TheSpreadsheetOfTheBracketGridHoldsNumbers) {
  params_ui::BracketWindow window(*session_, /*annual=*/false, prompter_);
  const std::string path = (folder_.path() / "grila.xlsx").string();
  window.grid()->set_export_path_chooser(
      [&](const QString&) { return QString::fromStdString(path); });
  ASSERT_TRUE(window.grid()->ExportSpreadsheet());
  const auto entries = traveno::testing::ReadZip(path);
  ASSERT_TRUE(entries.has_value());
  const std::string& sheet = entries->at("xl/worksheets/sheet1.xml");
  // The default brackets of the month: thresholds, fixed taxes and rates.
  for (const char* value : {"<v>2100000</v>", "<v>378000</v>", "<v>11600000</v>", "<v>40</v>"}) {
    EXPECT_NE(sheet.find(value), std::string::npos) << value;
  }
  const std::string& strings = entries->at("xl/sharedStrings.xml");
  EXPECT_EQ(strings.find("2 100 000"), std::string::npos);
  EXPECT_NE(strings.find("Venit lunar impozabil"), std::string::npos);
  EXPECT_TRUE(window.isMaximized() || (window.windowState() & Qt::WindowMaximized));
}

}  // namespace
}  // namespace traveno::app
