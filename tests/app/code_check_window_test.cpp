#include "personnel/ui/code_check_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "tests/ui/scripted_prompter.h"

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

}  // namespace
}  // namespace traveno::personnel_ui
