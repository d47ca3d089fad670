// The windows of the trends over the demo company's three months:
// "Evolutie" (its chart, table, departments, interval, hover, printing and
// files), "Comparatie cu luna anterioara" (its lines, inputs, threshold and
// Enter into the pay grid), both opened from the pay grid and from the
// reports panel by keyboard, and the chart beside the employee's history.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <set>

#include "app/main_window.h"
#include "personnel/leave_form.h"
#include "personnel/ui/leave_windows.h"
#include "personnel/ui/pay_grid_model.h"
#include "personnel/ui/pay_grid_window.h"
#include "reports/document_text.h"
#include "tests/app/started_main_window.h"
#include "tests/trends/three_months.h"
#include "tests/ui/scripted_prompter.h"
#include "trends/ui/comparison_window.h"
#include "trends/ui/trend_chart.h"
#include "trends/ui/trend_window.h"
#include "ui/data_grid.h"
#include "ui/date_editors.h"
#include "ui/window_base.h"

namespace traveno::trends_ui {
namespace {

using traveno::testing::AnswerNextModal;
using trends::testing::Month;
using trends::testing::ThreeMonths;

QString Cell(ui::DataGrid* grid, int row, int column) {
  return grid->model()->index(row, column).data().toString();
}

class TrendWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<TrendWindow> Open(std::string department = {}) {
    TrendWindowOptions options;
    options.department = std::move(department);
    options.show_report = [this](const reports::Report& report) { printed_.push_back(report); };
    options.choose_file = [this](const QString& suggested, const QString&) {
      suggested_ = suggested;
      return chosen_;
    };
    auto window =
        std::make_unique<TrendWindow>(company_.session(), company_.prompter(), std::move(options));
    window->show();
    return window;
  }

  ThreeMonths company_;
  std::vector<reports::Report> printed_;
  QString chosen_;
  QString suggested_;
};

TEST_F(TrendWindowTest, TheChartAndTheTableShowTheMonthsOfTheInterval) {
  auto window = Open();
  EXPECT_EQ(window->windowTitle(), "Evolutie");
  // The twelve months up to the working month, of which the company has three.
  EXPECT_EQ(window->from_edit()->Month(), Date::FromYmd(2002, 4, 1));
  EXPECT_EQ(window->to_edit()->Month(), Month(3));
  const trends::Trend expected = trends::CompanyTrend(company_.session(), Month(1), Month(3));
  ASSERT_EQ(window->grid()->model()->rowCount(), 3);
  EXPECT_EQ(Cell(window->grid(), 1, 0), "FEBRUARIE / 2003");
  EXPECT_EQ(Cell(window->grid(), 1, 1), QString::number(expected.figures[1].permanent) + " ");
  EXPECT_EQ(Cell(window->grid(), 2, 3),
            QString::fromStdString(reports::Amount(expected.figures[2].total_brut)));
  EXPECT_EQ(Cell(window->grid(), 2, 8),
            QString::fromStdString(reports::Amount(expected.figures[2].cost_total)));

  QChart* chart = window->chart_view()->chart();
  ASSERT_NE(chart, nullptr);
  const QList<QAbstractSeries*> series = chart->series();
  ASSERT_EQ(series.size(), 6);
  auto* gross = qobject_cast<QLineSeries*>(series[0]);
  ASSERT_NE(gross, nullptr);
  EXPECT_EQ(gross->name(), "Total salarii brute");
  ASSERT_EQ(gross->count(), 3);
  EXPECT_EQ(gross->at(2).y(), static_cast<double>(expected.figures[2].total_brut));
  // Every line differs from the others in its dash or colour, also in grey.
  std::set<std::pair<int, QRgb>> looks;
  for (QAbstractSeries* s : series) {
    const QPen pen = qobject_cast<QLineSeries*>(s)->pen();
    looks.emplace(static_cast<int>(pen.style()), pen.color().rgb());
  }
  EXPECT_EQ(looks.size(), 6u);

  // Hovering over a point tells its month and value and marks its line of the table.
  EXPECT_EQ(window->Hover(0, 1), "FEBRUARIE / 2003\nTotal salarii brute: " +
                                     QString::fromStdString(trends::ValueText(
                                         static_cast<double>(expected.figures[1].total_brut))) +
                                     " lei");
  EXPECT_EQ(window->grid()->currentIndex().row(), 1);

  // The employees of each kind instead of the amounts.
  window->chart_box()->setCurrentIndex(1);
  EXPECT_EQ(window->chart_view()->chart()->series().size(), 2);
  EXPECT_EQ(window->chart_data().kind, trends::ChartKind::kHeadcount);
}

TEST_F(TrendWindowTest, ADepartmentAndAnotherIntervalAreShownAsChosen) {
  auto window = Open("product");
  QComboBox* departments = window->department_box();
  EXPECT_TRUE(departments->isVisibleTo(window.get()));
  ASSERT_EQ(departments->count(), 3);  // the company, CENTRAL, PRODUCT
  EXPECT_EQ(window->Department(), "PRODUCT");
  const trends::Trend expected = trends::CompanyTrend(company_.session(), Month(1), Month(3));
  EXPECT_EQ(Cell(window->grid(), 0, 3),
            QString::fromStdString(reports::Amount(expected.departments[1].months[0].total_brut)));
  departments->setCurrentIndex(0);
  EXPECT_EQ(Cell(window->grid(), 0, 3),
            QString::fromStdString(reports::Amount(expected.figures[0].total_brut)));

  // One month, then a reversed interval: said beside the boxes, nothing drawn.
  window->from_edit()->SetMonth(Month(2));
  window->to_edit()->SetMonth(Month(2));
  EXPECT_EQ(window->grid()->model()->rowCount(), 1);
  EXPECT_EQ(Cell(window->grid(), 0, 0), "FEBRUARIE / 2003");
  window->from_edit()->SetMonth(Month(3));
  EXPECT_EQ(window->notice()->text(), trends::kTrendIntervalReversed);
  EXPECT_EQ(window->grid()->model()->rowCount(), 0);
  window->to_edit()->SetMonth(Month(3));
  EXPECT_TRUE(window->notice()->text().isEmpty());
  EXPECT_EQ(window->grid()->model()->rowCount(), 1);
  EXPECT_TRUE(company_.prompter().messages.empty());
}

TEST_F(TrendWindowTest, PrintsThroughThePreviewAndSavesPngAndPdfFiles) {
  auto window = Open();
  window->Print();
  ASSERT_EQ(printed_.size(), 1u);
  const reports::Document document = reports::Prepare(printed_[0]);
  ASSERT_EQ(document.pages.size(), 1u);
  EXPECT_EQ(document.pages[0].pictures.size(), 2u);
  EXPECT_NE(
      reports::DocumentText(document).find("Evolutie salarii IANUARIE / 2003 - MARTIE / 2003"),
      std::string::npos);

  chosen_ = QString::fromStdString((company_.folder() / "grafic.png").string());
  window->SavePng();
  EXPECT_EQ(suggested_, "Evolutie_DEMO.png");
  QImage image;
  ASSERT_TRUE(image.load(chosen_));
  EXPECT_EQ(image.size(), QSize(kPictureWidth, kPictureHeight));

  chosen_ = QString::fromStdString((company_.folder() / "grafic.pdf").string());
  window->SavePdf();
  std::ifstream pdf(chosen_.toStdString(), std::ios::binary);
  std::string start(4, '\0');
  pdf.read(start.data(), 4);
  EXPECT_EQ(start, "%PDF");

  // A folder that cannot be written: said, and nothing else happens.
  chosen_ = QString::fromStdString((company_.folder() / "nu-exista" / "grafic.png").string());
  window->SavePng();
  ASSERT_EQ(company_.prompter().messages.size(), 1u);
  EXPECT_EQ(company_.prompter().messages[0].kind, MessageKind::kError);
  // Cancelling the file chooser writes nothing.
  chosen_.clear();
  window->SavePdf();
  EXPECT_EQ(company_.prompter().messages.size(), 1u);
}

class ComparisonWindowTest : public TrendWindowTest {};

TEST_F(ComparisonWindowTest, ListsTheChangedLinesAndEnterOpensTheOneInThePayGrid) {
  std::vector<std::int64_t> opened;
  bool close = false;
  ComparisonWindow window(company_.session(), company_.prompter(),
                          [&](const trends::ComparedLine& line) {
                            opened.push_back(line.nr);
                            return close;
                          });
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.windowTitle(), "Comparatie cu luna anterioara");
  EXPECT_TRUE(window.heading()->text().contains("MARTIE / 2003 comparata cu FEBRUARIE / 2003"));
  ASSERT_EQ(window.grid()->model()->rowCount(), 3);
  EXPECT_EQ(Cell(window.grid(), 0, 0), "Angajat nou");
  EXPECT_EQ(Cell(window.grid(), 1, 0), "Plecat");
  EXPECT_EQ(Cell(window.grid(), 2, 2), "CONSTANTIN");
  EXPECT_EQ(Cell(window.grid(), 2, 12), "Timp");

  // The inputs of the current line, side by side.
  window.grid()->setCurrentIndex(window.grid()->model()->index(2, 0));
  ASSERT_EQ(window.inputs_grid()->model()->rowCount(), 1);
  EXPECT_EQ(Cell(window.inputs_grid(), 0, 0), "Timp");
  EXPECT_EQ(Cell(window.inputs_grid(), 0, 1), "168");
  EXPECT_EQ(Cell(window.inputs_grid(), 0, 2), "84");

  // Enter opens the line; the window compares again and keeps its line.
  window.grid()->setFocus();
  QTest::keyClick(window.grid(), Qt::Key_Return);
  EXPECT_EQ(opened, std::vector<std::int64_t>{company_.Line("CONSTANTIN").Nr});
  EXPECT_EQ(window.grid()->currentIndex().row(), 2);
  // A line that left has none to open.
  window.grid()->setCurrentIndex(window.grid()->model()->index(1, 0));
  QTest::keyClick(window.grid(), Qt::Key_Enter);
  EXPECT_EQ(opened.size(), 1u);
  EXPECT_TRUE(company_.prompter().Shown(kLineNotInMonth));

  // A lower threshold lists more; 1 000 % lists only who came and went.
  window.threshold_box()->setValue(1000);
  EXPECT_EQ(window.grid()->model()->rowCount(), 2);
  EXPECT_EQ(window.comparison().threshold, 1000);

  window.grid()->setCurrentIndex(window.grid()->model()->index(0, 0));
  close = true;
  QTest::keyClick(window.grid(), Qt::Key_Return);
  EXPECT_FALSE(window.isVisible());
}

// The pay grid over the three months, on March, with the behaviour of every
// window of the program (the keyboard back in the window that opened a
// closed one).
class FromThePayGridTest : public TrendWindowTest {
 protected:
  void SetUp() override { behaviour_.Install(); }
  std::unique_ptr<personnel_ui::PayGridWindow> Grid() {
    auto grid = std::make_unique<personnel_ui::PayGridWindow>(
        company_.session(), company_.prompter(), company_.progress(), std::nullopt);
    grid->show();
    grid->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(grid.get()));
    return grid;
  }

  ui::WindowBehaviour behaviour_;
};

TEST_F(FromThePayGridTest, AltVOpensTheTrendAndAltRTheComparisonWhoseEnterShowsTheLine) {
  auto grid = Grid();
  bool answered = false;
  bool trend = false;
  AnswerNextModal([&](QWidget* modal) {
    answered = true;
    auto* window = qobject_cast<TrendWindow*>(modal);
    trend = window != nullptr && window->grid()->model()->rowCount() == 3;
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  QTest::keyClick(grid.get(), Qt::Key_V, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return answered; }));
  EXPECT_TRUE(trend);

  // The partial-contract page is shown; the line chosen is a permanent one.
  ASSERT_TRUE(QTest::qWaitForWindowActive(grid.get()));
  grid->pages()->setCurrentIndex(personnel_ui::kPartialPage);
  answered = false;
  AnswerNextModal([&](QWidget* modal) {
    answered = true;
    auto* window = qobject_cast<ComparisonWindow*>(modal);
    // The keys go where the user's would once the window is active: to its
    // grid, which has the focus. (Closed whatever happens, so a failure
    // cannot leave the test waiting on it.)
    const bool ready =
        window != nullptr && QTest::qWaitForWindowActive(window) &&
        QTest::qWaitFor([&] { return QApplication::focusWidget() == window->grid(); });
    EXPECT_TRUE(ready);
    if (ready) {
      window->grid()->setCurrentIndex(window->grid()->model()->index(2, 0));  // CONSTANTIN
      QTest::keyClick(window->grid(), Qt::Key_Return);
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal); dialog != nullptr && dialog->isVisible()) {
      dialog->reject();
    }
  });
  QTest::keyClick(grid.get(), Qt::Key_R, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return answered; }));
  EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeModalWidget() == nullptr; }));
  EXPECT_EQ(grid->CurrentPage(), personnel_ui::kPermanentPage);
  ASSERT_NE(grid->CurrentLine(), nullptr);
  EXPECT_EQ(grid->CurrentLine()->NUME, "CONSTANTIN");
}

// The months under a chart are named in full where the names fit, written
// short under a narrow chart, and fewer under a narrower one: never cut.
TEST(TrendChartTest, TheMonthLabelsFitTheWidthOfTheChart) {
  trends::ChartData data;
  data.unit = "lei";
  for (int m = 1; m <= 5; ++m) data.months.push_back(Month(m));
  data.series.push_back({"Brut", {1, 2, 3, 4, 5}});
  QChartView view;
  view.setChart(MakeChart(data).chart);
  auto labels = [&view](int width) {
    view.resize(width, 400);
    view.show();
    QCoreApplication::sendPostedEvents();
    QApplication::processEvents();
    auto* axis = qobject_cast<QCategoryAxis*>(view.chart()->axes(Qt::Horizontal).value(0));
    return axis != nullptr ? axis->categoriesLabels() : QStringList{};
  };
  EXPECT_EQ(labels(1200), (QStringList{"IANUARIE / 2003", "FEBRUARIE / 2003", "MARTIE / 2003",
                                       "APRILIE / 2003", "MAI / 2003"}));
  EXPECT_EQ(labels(520), (QStringList{"01.2003", "02.2003", "03.2003", "04.2003", "05.2003"}));
  const QStringList narrow = labels(260);
  EXPECT_FALSE(narrow.isEmpty());
  EXPECT_LT(narrow.size(), 5);
  EXPECT_EQ(narrow.front(), "01.2003");
  EXPECT_EQ(labels(1200).size(), 5);
}

TEST_F(FromThePayGridTest, TheHistoryShowsGrossNetAndTaxOfEveryMonthBesideItsGrid) {
  const PersRow line = company_.Line("IONESCU");
  const personnel::PersonHistoryView view =
      personnel::HistoryOfPerson(company_.session(), line.IID);
  personnel_ui::HistoryWindow window(company_.session(), view);
  window.show();
  QChart* chart = window.chart_view()->chart();
  ASSERT_NE(chart, nullptr);
  ASSERT_EQ(chart->series().size(), 3);
  auto* gross = qobject_cast<QLineSeries*>(chart->series()[0]);
  ASSERT_EQ(gross->count(), 3);
  EXPECT_EQ(gross->name(), "Brut");
  EXPECT_EQ(gross->at(0).y(), view.rows[0].BRUT);
  EXPECT_LT(gross->at(0).y(), gross->at(1).y());  // the raise of February
  EXPECT_EQ(qobject_cast<QLineSeries*>(chart->series()[1])->name(), "Rest plata");
  EXPECT_EQ(qobject_cast<QLineSeries*>(chart->series()[2])->name(), "Impozit");
  EXPECT_TRUE(chart->title().contains("IONESCU MARIA"));
  // The chart takes no keyboard: the grid keeps it.
  EXPECT_EQ(window.chart_view()->focusPolicy(), Qt::NoFocus);
}

// The reports panel of the main window, on a first start's company TEST,
// with the behaviour of every window of the program.
class FromTheReportsPanelTest : public traveno::testing::StartedMainWindowTest {
 protected:
  void SetUp() override {
    behaviour_.Install();
    StartedMainWindowTest::SetUp();
  }

  ui::WindowBehaviour behaviour_;
};

TEST_F(FromTheReportsPanelTest, AltVAndAltROpenTheTrendAndTheComparison) {
  app::MainWindow& main = window();
  main.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
  QTest::keyClick(&main, Qt::Key_R, Qt::AltModifier);
  // A mnemonic presses its button after the button's short animation.
  ASSERT_TRUE(QTest::qWaitFor([&] { return main.current_panel() == app::Panel::kReports; }));

  QString opened;
  int months = -1;
  AnswerNextModal([&](QWidget* modal) {
    opened = modal->objectName();
    if (auto* trend = qobject_cast<TrendWindow*>(modal))
      months = trend->grid()->model()->rowCount();
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  QTest::keyClick(&main, Qt::Key_V, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !opened.isEmpty(); }));
  EXPECT_EQ(opened, "FEvolutie");
  EXPECT_EQ(months, 1);  // the company's one month, without lines

  ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
  opened.clear();
  int lines = -1;
  AnswerNextModal([&](QWidget* modal) {
    opened = modal->objectName();
    if (auto* comparison = qobject_cast<ComparisonWindow*>(modal)) {
      lines = comparison->grid()->model()->rowCount();
    }
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  QTest::keyClick(&main, Qt::Key_R, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !opened.isEmpty(); }));
  EXPECT_EQ(opened, "FComparatie");
  EXPECT_EQ(lines, 0);
  EXPECT_TRUE(prompter_.messages.empty());
}

}  // namespace
}  // namespace traveno::trends_ui
