#include "personnel/ui/code_check_window.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "tests/ui/scripted_prompter.h"
#include "ui/qt_prompter.h"
#include "ui/window_base.h"

namespace traveno::personnel_ui {
namespace {

TEST(CodeCheckWindowTest, AnswersWhatWasTypedTrimmedInAPlainMessage) {
  traveno::testing::ScriptedPrompter prompter;
  CodeCheckWindow window(prompter);
  window.code()->setText("stale");
  window.show();
  EXPECT_EQ(window.windowTitle(), "Verificare Cod Numeric Personal");
  EXPECT_TRUE(window.code()->text().isEmpty());  // every showing starts empty
  struct Case {
    const char* typed;
    const char* written_back;
    const char* answer;
  };
  const Case kCases[] = {
      {" 185031512345 ", "185031512345", "Suma de control este \"5\"."},
      {"1850315123455", "1850315123455", "CNP-ul introdus este corect."},
      {"1850315123454", "1850315123454",
       "Suma de control incorecta. Cea corecta este \"5\" si nu \"4\"."},
      {"18503151234??", "18503151234??",
       "Format incorect. Trebuie sa introduceti 13 caractere dintre care \r\ncel mult unul sa "
       "fie \"?\" iar restul cifre."},
  };
  for (const Case& c : kCases) {
    prompter.messages.clear();
    window.code()->clear();
    QTest::keyClicks(window.code(), c.typed);
    window.check_button()->click();
    EXPECT_EQ(window.code()->text().toStdString(), c.written_back) << c.typed;
    ASSERT_EQ(prompter.messages.size(), 1u) << c.typed;
    EXPECT_EQ(prompter.messages[0].kind, MessageKind::kPlain);
    EXPECT_EQ(prompter.messages[0].text, c.answer) << c.typed;
  }
  // The field holds 13 characters at most.
  window.code()->clear();
  QTest::keyClicks(window.code(), "18503151234559");
  EXPECT_EQ(window.code()->text(), "1850315123455");
}

// "&Verificare" by its Alt letter or Enter on it takes the focus; once its
// answer is closed the focus is back in the code, selected, so that the next
// code is typed over it.
TEST(CodeCheckWindowTest, TheAnswerGivesTheFocusBackToTheCode) {
  ui::WindowBehaviour behaviour;  // as the program installs it
  behaviour.Install();
  ui::QtPrompter prompter;
  CodeCheckWindow owned(prompter);
  CodeCheckWindow* window = &owned;
  window->show();
  ASSERT_TRUE(traveno::testing::WaitUntilActive(window));
  ASSERT_TRUE(window->code()->hasFocus());
  const auto press = [&](const std::function<void()>& key) {
    QString answer;
    traveno::testing::AnswerNextModal([&](QWidget* modal) {
      answer = modal->findChild<QLabel*>("qt_msgbox_label")->text();
      QTest::keyClick(modal, Qt::Key_Return);
    });
    key();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !answer.isEmpty(); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->code()->hasFocus(); }));
    EXPECT_EQ(window->code()->selectedText(), window->code()->text());
    return answer;
  };
  QTest::keyClicks(window->code(), "1850315123455");
  EXPECT_EQ(press([&] { QTest::keyClick(window, Qt::Key_V, Qt::AltModifier); }),
            "CNP-ul introdus este corect.");
  QTest::keyClicks(window->code(), "185031512345");
  window->check_button()->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(press([&] { QTest::keyClick(window->check_button(), Qt::Key_Return); }),
            "Suma de control este \"5\".");
  EXPECT_EQ(window->code()->text(), "185031512345");
}

}  // namespace
}  // namespace traveno::personnel_ui
