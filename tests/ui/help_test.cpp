#include "ui/help.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"

namespace traveno::ui {
namespace {

using traveno::testing::AnswerNextModal;

// What the help window shows first: the text of its first visible line.
QString FirstVisibleLine(QTextBrowser& browser) {
  return browser.cursorForPosition(QPoint(4, 4)).block().text();
}

// F1 on a machine where no browser takes the page: the program shows the
// same page itself, at the section of the window in hand.
TEST(HelpTest, WithoutABrowserTheHelpWindowOpensAtTheWindowsSection) {
  traveno::testing::ScriptedPrompter prompter;
  QWidget owner;
  owner.show();
  QString title, first_line, after_home, after_link;
  int scrolled = 0;
  bool focus_in_page = false;
  AnswerNextModal([&](QWidget* modal) {
    auto* window = qobject_cast<HelpWindow*>(modal);
    ASSERT_NE(window, nullptr);
    QTest::qWait(20);
    title = window->windowTitle();
    scrolled = window->browser()->verticalScrollBar()->value();
    first_line = FirstVisibleLine(*window->browser());
    focus_in_page = window->focusWidget() == window->browser();
    QTest::keyClick(window->browser(), Qt::Key_Home);
    after_home = FirstVisibleLine(*window->browser());
    // The page's own links lead to their sections: Tab to the first, Enter.
    QTest::keyClick(window->browser(), Qt::Key_Tab);
    QTest::keyClick(window->browser(), Qt::Key_Return);
    QTest::qWait(20);
    after_link = FirstVisibleLine(*window->browser());
    QTest::keyClick(window, Qt::Key_Escape);
  });
  QUrl offered;
  OpenHelp(prompter, "FVerCNP", &owner, [&](const QUrl& url) {
    offered = url;
    return false;  // no browser started
  });
  EXPECT_TRUE(offered.toString().endsWith("index.html#FVerCNP"));
  EXPECT_EQ(title, "TRAVENO - Ajutor");
  EXPECT_GT(scrolled, 0);
  EXPECT_EQ(first_line, "Verificare CNP");
  EXPECT_TRUE(focus_in_page);
  EXPECT_EQ(after_home, "TRAVENO - Velmoranti Soft");
  EXPECT_EQ(after_link, "Taste valabile in tot programul");
  EXPECT_TRUE(prompter.messages.empty());

  // A browser that takes the page: no window of the program's own.
  bool launched = false;
  OpenHelp(prompter, "FImpo", &owner, [&](const QUrl&) { return launched = true; });
  EXPECT_TRUE(launched);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(prompter.messages.empty());
}

// An installed program finds the help its installation put beside it
// (bin/traveno and share/traveno/help, whatever the prefix), before any
// other copy; a copy in a help folder beside the executable serves too.
TEST(HelpTest, AnInstalledProgramFindsTheHelpOfItsInstallation) {
  traveno::testing::TempFolder prefix;
  const QDir root(QString::fromStdString(prefix.path().string()));
  ASSERT_TRUE(root.mkpath("bin"));
  ASSERT_TRUE(root.mkpath("share/traveno/help"));
  ASSERT_TRUE(root.mkpath("portable/app/help"));
  const auto write = [](const QString& path) {
    QFile page(path);
    EXPECT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><section id=\"FMain\"></section></body></html>");
  };
  write(root.filePath("share/traveno/help/index.html"));
  write(root.filePath("portable/app/help/index.html"));
  EXPECT_EQ(HelpIndexPath(root.filePath("bin")),
            QFileInfo(root.filePath("share/traveno/help/index.html")).canonicalFilePath());
  EXPECT_EQ(HelpIndexPath(root.filePath("portable/app")),
            QFileInfo(root.filePath("portable/app/help/index.html")).canonicalFilePath());
}

// An installed program finds the help in the desktop's data folders (the
// package puts it in /usr/share/traveno/help), not only beside itself.
TEST(HelpTest, TheHelpIsFoundInTheDesktopsDataFolders) {
  traveno::testing::TempFolder share;
  const QString folder = QString::fromStdString(share.path().string());
  ASSERT_TRUE(QDir(folder).mkpath("traveno/help"));
  QFile page(folder + "/traveno/help/index.html");
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.write("<html><body><section id=\"FMain\"><h2>Instalat</h2></section></body></html>");
  page.close();
  const QByteArray before = qgetenv("XDG_DATA_DIRS");
  qputenv("XDG_DATA_DIRS", folder.toUtf8());
  const QString found = HelpIndexPath();
  qputenv("XDG_DATA_DIRS", before);
  EXPECT_EQ(found, QFileInfo(page).canonicalFilePath());
  // Without it the program run from its build folder reads the source's copy
  // (unless the package is installed on this machine).
  if (!QFileInfo::exists("/usr/share/traveno/help/index.html") &&
      !QFileInfo::exists("/usr/local/share/traveno/help/index.html")) {
    EXPECT_TRUE(HelpIndexPath().endsWith("data/help/index.html"));
  }
}

}  // namespace
}  // namespace traveno::ui
