#include "personnel/ui/leave_windows.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "tests/personnel_ui/demo_fixture.h"
#include "ui/window_base.h"

namespace traveno::personnel_ui {
namespace {

using engine::LeaveKind;

class LeaveWindowsTest : public testing::DemoFixture {};

TEST_F(LeaveWindowsTest, AnOrdinaryLeaveIsSplitShownAndAddedToTheLine) {
  auto grid = OpenGrid();
  Select(*grid, kPermanentPage, "STAN");
  const PersRow before = Stored(LineOf(*grid, kPermanentPage, "STAN").IID);
  QString average_style;
  testing::AnswerNext<MedicalLeaveWindow>([&](MedicalLeaveWindow* window) {
    EXPECT_EQ(window->windowTitle(), "Calcul Concedii Medicale - CM (6 luni)");
    // January is the company's first month: no earlier month to average.
    EXPECT_EQ(window->average_caption()->text(), " Media baza de calcul pe anterioarele 0 luni: ");
    average_style = window->average_caption()->styleSheet();
    EXPECT_EQ(window->media_box()->text(), "0");
    window->media_box()->selectAll();
    QTest::keyClicks(window->media_box(), "200000");
    window->kind_button(LeaveKind::kOrdinary)->click();  // 75 %
    window->leave_days_box()->setValue(10);
    // 14 permanent employees: the company pays the first 7 days.
    EXPECT_EQ(window->per_day()->text(), "150 000,00 ");
    EXPECT_EQ(window->company_days_box()->value(), 7);
    EXPECT_EQ(window->state_days_box()->value(), 3);
    EXPECT_EQ(window->company_amount()->text(), "1 050 000 ");
    EXPECT_EQ(window->state_amount()->text(), "450 000 ");
    window->confirm_button()->click();
  });
  grid->CalculCM(6);  // "Ca&lcul CM", "CM Normal"
  EXPECT_TRUE(average_style.contains("red"));
  const PersRow after = Stored(before.IID);
  EXPECT_EQ(after.CM1L, before.CM1L + 1050000);
  EXPECT_EQ(after.CM2L, before.CM2L + 450000);
  EXPECT_EQ(after.ZILE_CM, before.ZILE_CM + 10);
  EXPECT_NE(after.BRUT, before.BRUT);
  EXPECT_EQ(LineOf(*grid, kPermanentPage, "STAN").CM1L, after.CM1L);
  EXPECT_EQ(grid->TotalText("Rest de plata"), Shown(StoredRestDePlata()));

  // Abandoned, nothing is added.
  testing::AnswerNext<MedicalLeaveWindow>([](MedicalLeaveWindow* window) {
    EXPECT_EQ(window->windowTitle(), "Calcul Concedii Medicale - CIC (10 luni)");
    EXPECT_TRUE(window->kind_button(LeaveKind::kChildCare)->isChecked());
    window->leave_days_box()->setValue(5);
    EXPECT_EQ(window->cic_days_box()->value(), 5);
    QTest::keyClick(window, Qt::Key_Escape);
  });
  grid->CalculCM(10);
  EXPECT_EQ(Stored(before.IID).CIC, after.CIC);
  EXPECT_EQ(Stored(before.IID).ZILE_CIC, after.ZILE_CIC);
}

// Enter walks the dialog: from the average to the first kind, from a kind
// to the amount per day, which shows that it holds the focus.
TEST_F(LeaveWindowsTest, EnterMovesFromTheAverageToTheKindsAndToAVisiblePerDayAmount) {
  auto grid = OpenGrid();
  Select(*grid, kPermanentPage, "STAN");
  bool answered = false;
  testing::AnswerNext<MedicalLeaveWindow>([&](MedicalLeaveWindow* window) {
    answered = true;
    EXPECT_TRUE(traveno::testing::WaitUntilActive(window));
    QTest::keyClick(window->media_box(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window->kind_button(LeaveKind::kOccupational));
    QRadioButton* ordinary = window->kind_button(LeaveKind::kOrdinary);
    ordinary->setFocus();
    QTest::keyClick(ordinary, Qt::Key_Return);
    EXPECT_TRUE(ordinary->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), window->per_day());
    // The focused amount is drawn differently from the same amount unfocused.
    const QImage focused = window->per_day()->grab().toImage();
    window->leave_days_box()->setFocus();
    const QImage unfocused = window->per_day()->grab().toImage();
    EXPECT_NE(focused, unfocused);
    QTest::keyClick(window, Qt::Key_Escape);
  });
  grid->CalculCM(6);
  EXPECT_TRUE(answered);
}

// The leave window is shown a moment before the window system gives it the
// keyboard; meanwhile the grid below still holds the application's focus and
// Qt matches its keys. Enter pressed then is Enter in the leave window: it
// must not open the employee window of the grid's current line.
TEST_F(LeaveWindowsTest, EnterBeforeTheLeaveWindowHasTheKeyboardIsEnterInIt) {
  ui::WindowBehaviour behaviour;  // as the program installs it
  behaviour.Install();
  auto grid = OpenGrid();
  Select(*grid, kPermanentPage, "STAN");
  ui::DataGrid* lines = grid->grid(kPermanentPage);
  lines->setFocus();
  // Any window opened over the leave window is closed and noted.
  QStringList opened_above;
  QTimer guard;
  guard.setInterval(5);
  QObject::connect(&guard, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && qobject_cast<MedicalLeaveWindow*>(modal) == nullptr &&
        modal != grid.get() && modal->isVisible()) {
      opened_above << modal->windowTitle();
      static_cast<QDialog*>(modal)->reject();
    }
  });
  guard.start();
  bool answered = false;
  testing::AnswerNext<MedicalLeaveWindow>([&](MedicalLeaveWindow* window) {
    answered = true;
    // The leave window is shown, not yet active: the grid keeps the focus.
    QApplication::setActiveWindow(grid.get());
    lines->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), lines);
    QTest::keyClick(window->media_box(), Qt::Key_Return);
    QTest::qWait(50);
    EXPECT_EQ(window->focusWidget(), window->kind_button(LeaveKind::kOccupational));
    QTest::keyClick(window, Qt::Key_Escape);
  });
  grid->CalculCM(6);
  guard.stop();
  EXPECT_TRUE(answered);
  EXPECT_TRUE(opened_above.isEmpty()) << opened_above.join(", ").toStdString();
}

TEST_F(LeaveWindowsTest, HistoryShowsEveryMonthOfThePerson) {
  // An earlier month of GEORGESCU.
  PersRow december = Stored(3);
  december.Nr = 0;
  december.LUNA = Date::FromYmd(2002, 12, 1);
  december.BRUT = 6000000;
  RowWriter<PersRow>(session_->db(), "Pers").Insert(december);
  auto grid = OpenGrid();
  Select(*grid, kPermanentPage, "GEORGESCU");
  int rows = 0;
  QString name, current_year;
  testing::AnswerNext<HistoryWindow>([&](HistoryWindow* window) {
    EXPECT_EQ(window->windowTitle(), "Istoric angajat");
    rows = window->model()->rowCount();
    name = window->name_label()->text();
    current_year = window->grid()->currentIndex().siblingAtColumn(1).data().toString();
    EXPECT_TRUE(window->sum_label()->text().startsWith(" Suma baza de calcul pe ultimele 1 luni"));
    window->findChild<QPushButton*>("BIesire")->click();
  });
  grid->BIstoricClick();
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(name, " Nume: GEORGESCU ANDREI");
  EXPECT_EQ(current_year, "1");  // on January, the working month
}

}  // namespace
}  // namespace traveno::personnel_ui
