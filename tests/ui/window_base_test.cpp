#include "ui/window_base.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "tests/ui/scripted_prompter.h"
#include "ui/global_keys.h"
#include "ui/help.h"
#include "ui/qt_prompter.h"
#include "ui/romanian_texts.h"

namespace traveno::ui {
namespace {

using traveno::testing::AnswerNextModal;

// A window with an amount box and two buttons, as the program's windows are,
// with the behaviour of the whole application installed for the test.
class WindowBehaviourTest : public ::testing::Test {
 protected:
  void SetUp() override {
    behaviour_.Install();
    window_.setObjectName("FTest");
    window_.setWindowTitle("Fereastra de proba");
    auto* layout = new QVBoxLayout(&window_);
    amount_ = new QLineEdit("0", &window_);
    first_ = new QPushButton("&Primul", &window_);
    second_ = new QPushButton("&Al doilea", &window_);
    for (QPushButton* b : {first_, second_}) b->setAutoDefault(false);
    layout->addWidget(amount_);
    layout->addWidget(first_);
    layout->addWidget(second_);
    QObject::connect(first_, &QPushButton::clicked, [this] { ++first_clicks_; });
    window_.show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  WindowBehaviour behaviour_;
  QWidget window_;
  QLineEdit* amount_;
  QPushButton* first_;
  QPushButton* second_;
  int first_clicks_ = 0;
};

TEST_F(WindowBehaviourTest, EnterOnTheFocusedButtonClicksIt) {
  first_->setFocus();
  QTest::keyClick(first_, Qt::Key_Return);
  QTest::keyClick(first_, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(first_clicks_, 2);
  first_->setEnabled(false);
  QTest::keyClick(first_, Qt::Key_Return);
  EXPECT_EQ(first_clicks_, 2);
  // The focus frame is drawn without a Tab first.
  EXPECT_TRUE(window_.testAttribute(Qt::WA_KeyboardFocusChange));
}

TEST_F(WindowBehaviourTest, ABoxReachedByKeyboardSelectsItsTextSoTypingReplacesIt) {
  first_->setFocus();
  QTest::keyClick(first_, Qt::Key_Backtab, Qt::ShiftModifier);
  ASSERT_EQ(QApplication::focusWidget(), amount_);
  QTest::keyClicks(amount_, "2100000");
  EXPECT_EQ(amount_->text(), "2100000");
  // Focus given by the window itself (the first box of a window) selects too.
  amount_->setText("0");
  first_->setFocus();
  amount_->setFocus(Qt::OtherFocusReason);
  EXPECT_EQ(amount_->selectedText(), "0");
  // A click places the cursor instead.
  first_->setFocus();
  amount_->setFocus(Qt::MouseFocusReason);
  EXPECT_TRUE(amount_->selectedText().isEmpty());
}

TEST_F(WindowBehaviourTest, AnAltLetterNoControlAnswersTypesNothingIntoABox) {
  amount_->setFocus();
  amount_->setText("1,5");
  amount_->deselect();
  QTest::keyClick(amount_, Qt::Key_Z, Qt::AltModifier);
  QTest::keyClick(amount_, Qt::Key_X, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_EQ(amount_->text(), "1,5");
  // The button's own Alt letter still presses it.
  QTest::keyClick(amount_, Qt::Key_P, Qt::AltModifier);
  QTest::qWait(200);  // a mnemonic presses the button after its short animation
  EXPECT_GE(first_clicks_, 1);
  // Letters typed without Alt go in.
  QTest::keyClicks(amount_, "0");
  EXPECT_EQ(amount_->text(), "1,50");
}

TEST_F(WindowBehaviourTest, FocusReturnsToTheOpenerWhenAModalWindowCloses) {
  struct Case {
    bool disable_opener;
    QWidget* expected;
  };
  for (const Case& c : {Case{false, second_}, Case{true, amount_}}) {
    second_->setEnabled(true);
    second_->setFocus();
    ASSERT_TRUE(second_->hasFocus());
    AnswerNextModal([&](QWidget* modal) {
      // A window that wins the keyboard meanwhile (the wait window) loses it.
      if (c.disable_opener) second_->setEnabled(false);
      static_cast<QDialog*>(modal)->accept();
    });
    QDialog dialog(&window_);
    dialog.setWindowTitle("Dialog");
    dialog.exec();
    QTest::qWait(20);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
    EXPECT_EQ(QApplication::focusWidget(), c.expected) << c.disable_opener;
  }
}

TEST_F(WindowBehaviourTest, AWindowOpensCentredAndWideEnoughForItsCaption) {
  QDialog dialog(&window_);
  dialog.setWindowTitle("Alegere prima luna lucru - o fereastra cu un titlu lung");
  auto* layout = new QHBoxLayout(&dialog);
  layout->addWidget(new QPushButton("&Confirmare", &dialog));
  dialog.show();
  QFont bold = dialog.font();
  bold.setBold(true);
  EXPECT_GT(dialog.width(), QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()));
  const QRect screen = dialog.screen()->availableGeometry();
  EXPECT_LE(std::abs(dialog.geometry().center().x() - screen.center().x()), 2);
  EXPECT_LE(std::abs(dialog.geometry().center().y() - screen.center().y()), 2);
  dialog.close();
}

TEST_F(WindowBehaviourTest, AShortMessageIsAsWideAsItsCaptionNeeds) {
  QtPrompter prompter(&window_);
  for (const bool question : {false, true}) {
    int width = 0;
    int needed = 0;
    AnswerNextModal([&](QWidget* box) {
      width = box->width();
      needed = CaptionWidth(*box);
      box->close();
    });
    if (question) {
      prompter.AskYesNo("Tiparesc tot raportul ?");
    } else {
      prompter.Message(MessageKind::kInformation, "Gata !");
    }
    EXPECT_GT(needed, 160) << question;
    EXPECT_GE(width, needed) << question;
  }
}

TEST_F(WindowBehaviourTest, HelpTopicIsTheWindowInHandOrTheOneBelowAMessageBox) {
  QDialog dialog(&window_);
  dialog.setObjectName("FImpo");
  QMessageBox box(&dialog);
  EXPECT_EQ(HelpTopicOf(&window_), "FTest");
  EXPECT_EQ(HelpTopicOf(&dialog), "FImpo");
  EXPECT_EQ(HelpTopicOf(&box), "FImpo");
  SetHelpTopic(&dialog, "FImpoAn");
  EXPECT_EQ(HelpTopicOf(&box), "FImpoAn");
  EXPECT_TRUE(HelpUrl("FImpo").toString().endsWith("index.html#FImpo"));
}

TEST_F(WindowBehaviourTest, OneF1PressOpensTheHelpOnceEvenWhenItShowsAMessage) {
  int opened = 0;
  GlobalKeys keys(
      [&] {
        ++opened;
        // The warning of a help that cannot be opened takes the keyboard.
        AnswerNextModal([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
        QMessageBox box(QMessageBox::Warning, "TRAVENO - Velmoranti Soft",
                        "Fisierul de ajutor nu poate fi deschis !", QMessageBox::Ok, &window_);
        box.exec();
      },
      nullptr);
  keys.Install();
  amount_->setFocus();
  QTest::keyClick(window_.windowHandle(), Qt::Key_F1);
  QTest::qWait(20);
  EXPECT_EQ(opened, 1);
  QTest::keyClick(window_.windowHandle(), Qt::Key_F1);
  EXPECT_EQ(opened, 2);
  qApp->removeEventFilter(&keys);
}

TEST(RomanianTextsTest, StandardButtonsAndDayNamesAreRomanian) {
  InstallRomanianTexts(*qApp);
  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                           QDialogButtonBox::No | QDialogButtonBox::Save);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), "Anulare");
  EXPECT_EQ(buttons.button(QDialogButtonBox::Yes)->text(), "&Da");
  EXPECT_EQ(buttons.button(QDialogButtonBox::No)->text(), "&Nu");
  EXPECT_EQ(buttons.button(QDialogButtonBox::Save)->text(), "Salvare");
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Cauta in:");
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), "&Nume fisier:");
  // The folder chooser's accept button.
  QFileDialog folders;
  folders.setOption(QFileDialog::DontUseNativeDialog);
  folders.setFileMode(QFileDialog::Directory);
  auto* box = folders.findChild<QDialogButtonBox*>();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->button(QDialogButtonBox::Open)->text(), "&Alege");
  // The keys beside the entries of a pop-up menu, as the program writes them.
  const std::pair<QKeySequence, const char*> kKeys[] = {
      {QKeySequence(Qt::Key_Insert), "Ins"},  {QKeySequence(Qt::Key_Return), "Enter"},
      {QKeySequence(Qt::Key_Enter), "Enter"}, {QKeySequence(Qt::Key_Delete), "Del"},
      {QKeySequence(Qt::Key_Escape), "Esc"},  {QKeySequence("Ctrl+Shift+F3"), "Ctrl+Shift+F3"},
      {QKeySequence("Ctrl+R"), "Ctrl+R"}};
  for (const auto& [key, shown] : kKeys) {
    EXPECT_EQ(key.toString(QKeySequence::NativeText).toStdString(), shown);
  }
  // The program's own names, whatever the machine's language.
  EXPECT_EQ(WeekdayName(QDate(2003, 1, 1)), "Miercuri");
  EXPECT_EQ(WeekdayName(QDate(2003, 1, 4)), "Sambata");
  EXPECT_EQ(WeekdayName(QDate(2003, 1, 5)), "Duminica");
}

}  // namespace
}  // namespace traveno::ui
