#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/calculator.h"
#include "ui/date_editors.h"
#include "ui/wait_windows.h"

namespace traveno::ui {
namespace {

TEST(EvaluateExpressionTest, ComputesOrRefuses) {
  struct Case {
    const char* text;
    std::optional<double> expected;
  };
  const Case kCases[] = {
      {"1+2*3", 7},
      {"(1+2)*3", 9},
      {"10/4", 2.5},
      {"1234,5 + 0.5", 1235},
      {"-3*-2", 6},
      {"200*16%", 32},
      {"2-3-4", -5},
      {"1/0", std::nullopt},
      {"1+", std::nullopt},
      {"(2", std::nullopt},
      {"1,2,3", std::nullopt},
      {"", std::nullopt},
      {"abc", std::nullopt},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(EvaluateExpression(c.text), c.expected) << c.text;
  }
}

TEST(EvaluateExpressionTest, DeepNestingIsRefusedNotACrash) {
  const QString deep = QString(100000, '-') + "1";
  EXPECT_EQ(EvaluateExpression(deep), std::nullopt);
}

TEST(CalculatorTest, EnterShowsTheResultWithDecimalComma) {
  Calculator calculator;
  calculator.show();
  QTest::keyClicks(calculator.line(), "1000/3");
  QTest::keyClick(calculator.line(), Qt::Key_Return);
  EXPECT_EQ(calculator.ResultText(), "333,3333333333");
  calculator.line()->setText("2*(3");
  calculator.Evaluate();
  EXPECT_EQ(calculator.ResultText(), "Eroare");
  EXPECT_EQ(CalculatorText(-0.0), "0");
  EXPECT_EQ(CalculatorText(1500), "1500");
}

// Records the windows that a modal window blocks from the keyboard and mouse.
class BlockedWindows : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowBlocked) blocked.insert(watched);
    if (event->type() == QEvent::WindowUnblocked) blocked.remove(watched);
    return false;
  }
  QSet<QObject*> blocked;
};

TEST(CalculatorTest, F6OverAModalWindowGivesACalculatorThatTakesKeys) {
  BlockedWindows watch;
  qApp->installEventFilter(&watch);
  Calculator* at_main = ShowCalculator();
  EXPECT_FALSE(watch.blocked.contains(at_main));
  {
    QDialog modal;
    modal.setModal(true);
    modal.show();
    QPointer<Calculator> over_modal = ShowCalculator();
    EXPECT_TRUE(over_modal->isVisible());
    EXPECT_FALSE(watch.blocked.contains(over_modal.data()));
    EXPECT_EQ(ShowCalculator(), over_modal.data()) << "a second F6 keeps the same calculator";
  }
  Calculator* after_modal = ShowCalculator();
  EXPECT_FALSE(watch.blocked.contains(after_modal));
  qApp->removeEventFilter(&watch);
  delete after_modal;
}

TEST(DateEditorsTest, MonthEditorHoldsTheFirstDayAndShowsMonthAndYear) {
  MonthYearEdit edit;
  edit.SetMonth(Date::FromYmd(2003, 2, 17));
  EXPECT_EQ(edit.Month(), Date::FromYmd(2003, 2, 1));
  EXPECT_EQ(edit.text(), "02.2003");

  DateEdit date;
  date.SetValue(Date::FromYmd(2004, 2, 29));
  EXPECT_EQ(date.text(), "29.02.2004");
  EXPECT_EQ(date.Value(), Date::FromYmd(2004, 2, 29));
}

// The date editor looks like a drop-down list: F4 and Alt+Down drop its
// calendar down, as they do for a list, rather than change the day unseen.
TEST(DateEditorsTest, F4AndAltDownDropTheCalendarDownAndLeaveTheDate) {
  const std::pair<Qt::Key, Qt::KeyboardModifiers> kKeys[] = {{Qt::Key_F4, Qt::NoModifier},
                                                             {Qt::Key_Down, Qt::AltModifier}};
  for (const auto& [key, modifiers] : kKeys) {
    DateEdit date;
    date.SetValue(Date::FromYmd(2003, 1, 15));
    date.show();
    date.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&date));
    date.setFocus();
    QTest::keyClick(&date, key, modifiers);
    EXPECT_EQ(date.Value(), Date::FromYmd(2003, 1, 15)) << key;
    ASSERT_NE(date.calendarWidget(), nullptr);
    EXPECT_TRUE(date.calendarWidget()->isVisible()) << key;
    EXPECT_EQ(date.calendarWidget()->selectedDate(), QDate(2003, 1, 15)) << key;
    date.calendarWidget()->window()->hide();
  }
}

TEST(QtProgressTest, WaitWindowStaysUpUntilTheOutermostWaitEnds) {
  QtProgress progress;
  {
    WaitScope outer(progress, "Calcul Salarii", "Va rog asteptati...");
    EXPECT_TRUE(progress.wait_window().isVisible());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_TRUE(progress.wait_window().windowFlags() & Qt::WindowStaysOnTopHint);
    {
      WaitScope inner(progress, "Trecere la luna", "Se copiaza datele");
      EXPECT_EQ(progress.wait_window().Text(), "Se copiaza datele");
    }
    EXPECT_TRUE(progress.wait_window().isVisible());
  }
  EXPECT_FALSE(progress.wait_window().isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtProgressTest, WaitWindowClosesWhenTheOperationFails) {
  QtProgress progress;
  try {
    WaitScope wait(progress, "Calcul Salarii", "Va rog asteptati...");
    throw std::runtime_error("esec");
  } catch (const std::runtime_error&) {
  }
  EXPECT_FALSE(progress.wait_window().isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtProgressTest, ProgressBarAdvancesItemByItem) {
  QtProgress progress;
  progress.BeginProgress("Salarii", 4);
  progress.Advance(3);
  EXPECT_TRUE(progress.progress_window().isVisible());
  EXPECT_EQ(progress.progress_window().windowTitle(), "Salarii");
  EXPECT_EQ(progress.progress_window().bar()->value(), 3);
  progress.Advance(9);  // never past the end
  EXPECT_EQ(progress.progress_window().bar()->value(), 4);
  progress.EndProgress();
  EXPECT_FALSE(progress.progress_window().isVisible());
}

}  // namespace
}  // namespace traveno::ui
