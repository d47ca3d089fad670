// The documents opened from the windows: every button of the lists and
// miscellaneous panels, the insured persons of the reports panel (through the
// list window's "&Lista" for the personnel lists) and the bracket window's
// "&Lista" hand their document to the preview; the holiday-advance window
// marks the rows it prints.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/main_window.h"
#include "core/store/row_io.h"
#include "params/ui/bracket_windows.h"
#include "reports/advance_statements.h"
#include "reports/document_text.h"
#include "reports/situations_and_lists.h"
#include "reports/ui/holiday_advance_window.h"
#include "tests/app/test_month_fixture.h"
#include "tests/ui/grid_captions.h"
#include "ui/data_grid.h"
#include "ui/date_editors.h"
#include "ui/print_preview.h"

namespace traveno::app {
namespace {

using traveno::testing::AnswerNextModal;

// Adds a line to the working month of the session.
void AddLine(params::Session& session, const std::string& nume, double avans, double avans_co,
             Date hired = Date(), Date left = Date()) {
  PersRow row;
  row.DATA_ANG = hired;
  row.DATA_LICH = left;
  row.LUNA = session.working_month();
  row.TIP = "1";
  row.NUME = nume;
  row.PRENUME = "ION";
  row.Depart = "CENTRAL";
  row.AVANS = avans;
  row.AVANS_CO = avans_co;
  row.BRUT = 1000000;
  row.RESTPL = 700000;
  RowWriter<PersRow>(session.db(), "Pers").Insert(row);
}

TEST(DocumentsFromTheMainWindow, EveryListButtonOpensItsDocument) {
  traveno::testing::TempFolder folder;
  traveno::testing::ScriptedPrompter prompter;
  std::vector<std::string> shown;
  int months_asked = 0;
  MainWindowOptions options;
  options.data_folder = folder.path();
  options.prompter = &prompter;
  options.terminate = [](int) {};
  options.open_help = [] {};
  options.show_report = [&](const reports::Report& report) { shown.push_back(report.title); };
  options.ask_month = [&](Date start, QWidget*) -> std::optional<Date> {
    ++months_asked;
    return start;
  };
  MainWindow window(std::move(options));
  AnswerNextModal([](QWidget* choice) {
    AnswerNextModal([](QWidget* first_month) {
      first_month->findChild<ui::MonthYearEdit*>("EMonth")->SetMonth(Date::FromYmd(2003, 1, 1));
      first_month->findChild<QPushButton*>("BConfirmare")->click();
    });
    choice->findChild<QPushButton*>("BAlege")->click();
  });
  window.show();
  ASSERT_TRUE(window.FinishStart());
  params::Session& session = *window.workplace()->session();

  window.button(Function::kListe)->click();
  // A month without lines prints neither the statement nor the slips.
  window.button(Function::kStatPlata)->click();
  window.button(Function::kFluturasi)->click();
  EXPECT_TRUE(shown.empty());

  AddLine(session, "ALFA", 500000, 0, Date::FromYmd(2003, 1, 10), Date::FromYmd(2003, 1, 20));
  for (Function f : {Function::kStatPlata, Function::kFluturasi, Function::kStatAvans,
                     Function::kFluturasiAvans}) {
    ASSERT_TRUE(window.button(f)->isEnabled());
    window.button(f)->click();
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"Stat plata salarii", "Centralizator salarii",
                                             "Fluturasi lichidare", "STAT DE AVANS SALARII",
                                             "Fluturasi avans"}));

  shown.clear();
  window.button(Function::kInapoi)->click();
  window.button(Function::kListe)->click();
  window.button(Function::kDiverse)->click();
  for (Function f : {Function::kConcediiMedicale, Function::kConcediiLegale}) {
    window.button(f)->click();
  }
  // The personnel lists open the list window, whose "&Lista" prints the rows
  // it shows.
  std::vector<std::string> list_headings;
  auto print_from_list = [&](QWidget* list) {
    list_headings.push_back(list->findChild<QLabel*>("LTitlu")->text().toStdString());
    QPushButton* print = list->findChild<QPushButton*>("BLista");
    if (print->isEnabled()) print->click();
    list->findChild<QPushButton*>("BIesire")->click();
  };
  for (Function f :
       {Function::kPersonalLichidat, Function::kPersonalAngajat, Function::kLegitimatii}) {
    AnswerNextModal(print_from_list);
    window.button(f)->click();
  }
  EXPECT_EQ(months_asked, 4);
  EXPECT_EQ(shown, (std::vector<std::string>{"Situatie concedii medicale pe luna IANUARIE 2003",
                                             "Situatie concedii legale pe luna IANUARIE 2003",
                                             "Personal lichidat in luna: IANUARIE 2003",
                                             "Personal angajat in luna: IANUARIE 2003",
                                             "Legitimatii personal"}));

  shown.clear();
  window.button(Function::kInapoi)->click();
  window.button(Function::kRaportari)->click();
  AnswerNextModal(print_from_list);
  window.button(Function::kAsigurati)->click();
  // Nobody is insured through ALFA: the list is empty and prints nothing.
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(list_headings.size(), 4u);
  EXPECT_TRUE(prompter.messages.empty());
  window.close();
}

class DocumentWindowsTest : public traveno::testing::TestMonthFixture {};

TEST_F(DocumentWindowsTest, ThePreviewPagesZoomsAndWritesAPdfOfAStatement) {
  AddLine(*session_, "ALFA", 0, 0);
  traveno::testing::TempFolder out;
  const std::string file = (out.path() / "stat.pdf").string();
  ui::PreviewOptions options;
  options.choose_pdf_file = [&](const QString&) { return QString::fromStdString(file); };
  options.printers = [] { return ui::PrinterList{{"PDF"}, 0}; };
  bool shown = false;
  reports_ui::PrintStatement(*session_, [&](const reports::Report& report) {
    if (shown) return;  // the recapitulation that follows
    shown = true;
    ui::PrintPreview preview(prompter_, options);
    preview.SetReport(report);
    preview.show();
    for (int i = 0; i < 500 && preview.preparing(); ++i) QTest::qWait(10);
    ASSERT_EQ(preview.page_count(), 2);
    QTest::keyClick(preview.page_box(), Qt::Key_PageDown);
    EXPECT_EQ(preview.page_label()->text(), "Pag. 2 / 2");
    const int zoom = preview.zoom();
    QTest::keyClick(preview.page_box(), Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(preview.zoom(), zoom + 10);
    prompter_.yes_no = {true};
    QTest::keyClick(preview.page_box(), Qt::Key_Return);
    EXPECT_EQ(prompter_.questions.back(), "Tiparesc tot raportul ? ( 2 pagini )");
    QTest::keyClick(preview.page_box(), Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible());
  });
  EXPECT_TRUE(shown);
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_GT(std::filesystem::file_size(file), 1000u);
}

TEST_F(DocumentWindowsTest, TheBracketWindowsListShowsTheGrid) {
  std::vector<std::string> shown;
  params_ui::BracketWindow window(*session_, false, prompter_);
  window.set_report_viewer([&](const reports::Report& report) { shown.push_back(report.title); });
  ASSERT_TRUE(window.list_button()->isEnabled());
  window.list_button()->click();
  EXPECT_EQ(shown, std::vector<std::string>{"Grila de Impozitare"});
}

TEST_F(DocumentWindowsTest, TheHolidayAdvanceWindowPrintsTheMarkedRows) {
  AddLine(*session_, "UNU", 0, 100);
  AddLine(*session_, "DOI", 0, 20);
  AddLine(*session_, "TREI", 0, 3);
  std::vector<std::vector<std::string>> printed;
  reports_ui::HolidayAdvanceWindow window(
      *session_, reports::HolidayAdvanceLines(*session_),
      [&](const reports::Report& report) {
        std::vector<std::string> lines;
        for (const reports::Page& page : reports::Prepare(report).pages) {
          for (std::string& line : reports::PageLines(page)) lines.push_back(std::move(line));
        }
        printed.push_back(lines);
      },
      /*current_iid=*/std::nullopt);
  window.show();
  EXPECT_EQ(window.windowTitle().left(14), "Avans Concediu");
  EXPECT_EQ(traveno::testing::FieldNameCaptions(*window.grid()), std::vector<std::string>{});
  EXPECT_TRUE(window.heading()->text().startsWith(" FIRMA : "));
  EXPECT_EQ(window.current_line(), 0);

  // Enter toggles the current row; twice leaves it unmarked.
  QTest::keyClick(window.grid(), Qt::Key_Return);
  EXPECT_TRUE(window.lines()[0].Listare);
  QTest::keyClick(window.grid(), Qt::Key_Return);
  EXPECT_FALSE(window.lines()[0].Listare);
  // A click on a cell toggles its row.
  ui::DataGrid* grid = window.grid();
  const QRect third = grid->visualRect(grid->model()->index(2, 4));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, third.center());
  EXPECT_TRUE(window.lines()[2].Listare);
  // A double click (its first click included) toggles once.
  const QRect first = grid->visualRect(grid->model()->index(0, 4));
  QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, first.center());
  QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, first.center());
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, first.center());
  QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, first.center());
  EXPECT_TRUE(window.lines()[0].Listare);

  window.print_button()->click();
  ASSERT_EQ(printed.size(), 1u);
  const std::vector<std::string>& lines = printed[0];
  auto has = [&](const std::string& text) {
    for (const std::string& line : lines) {
      if (line.find(text) != std::string::npos) return true;
    }
    return false;
  };
  EXPECT_TRUE(has("UNU ION"));
  EXPECT_TRUE(has("TREI ION"));
  EXPECT_FALSE(has("DOI ION"));
}

}  // namespace
}  // namespace traveno::app
