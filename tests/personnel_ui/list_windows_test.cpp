#include <QLabel>
#include <QPushButton>

#include "personnel/employees.h"
#include "personnel/ui/date_box.h"
#include "personnel/ui/employee_window.h"
#include "personnel/ui/list_window.h"
#include "tests/personnel_ui/demo_fixture.h"
#include "tests/ui/grid_captions.h"

namespace traveno::personnel_ui {
namespace {

class ListWindowsTest : public testing::DemoFixture {};

TEST_F(ListWindowsTest, RehireGivesTheFormerIdentityBackAndClosesTheList) {
  // A person who left in December 2002 and has no line in January.
  PersRow former = Stored(3);
  former.Nr = 0;
  former.IID = 500;
  former.MARCA = 77;
  former.CATEGORIE = 2;
  former.NUME = "FOSTU";
  former.LUNA = Date::FromYmd(2002, 12, 1);
  former.DATA_LICH = Date::FromYmd(2002, 12, 15);
  RowWriter<PersRow>(session_->db(), "Pers").Insert(former);
  auto grid = OpenGrid();
  prompter_.yes_no = {true};
  QString heading;
  bool list_closed = false;
  testing::AnswerNext<ListWindow>([&](ListWindow* list) {
    heading = list->heading()->text();
    EXPECT_EQ(list->list_button()->text(), "&Reangajare");
    EXPECT_EQ(list->ShownLines(), 1);
    testing::AnswerNext<EmployeeWindow>([](EmployeeWindow* window) {
      EXPECT_EQ(window->windowTitle(), "Reangajare persoana ");
      EXPECT_EQ(window->line_edit("Nume")->text(), "FOSTU");
      EXPECT_EQ(window->line_edit("Timp")->text(), "0");
      EXPECT_TRUE(window->date_box("Data_Ang")->IsBlank());
      EXPECT_TRUE(window->date_box("Data_Lich")->IsBlank());
      window->confirm_button()->click();
    });
    list->list_button()->click();
    list_closed = !list->isVisible();
  });
  grid->grid(kPermanentPage)->setFocus();
  QTest::keyClick(grid->grid(kPermanentPage), Qt::Key_R, Qt::ControlModifier);
  EXPECT_EQ(heading, "Selectare persoana ");
  EXPECT_TRUE(list_closed);
  ASSERT_EQ(prompter_.questions.size(), 1u);
  EXPECT_EQ(prompter_.questions[0], personnel::kRehireQuestion);
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].text, personnel::kRehireDone);
  const PersRow rehired = Stored(500);
  EXPECT_EQ(rehired.MARCA, 77);
  EXPECT_EQ(rehired.CATEGORIE, 2);
  EXPECT_EQ(rehired.TIMP, 0);
  EXPECT_EQ(rehired.DATA_ANG, EmptyDate());
  EXPECT_EQ(grid->model(kPermanentPage)->rowCount(), 15);
}

TEST_F(ListWindowsTest, ChecksListTheFaultyLinesOfThePage) {
  session_->db().Run("UPDATE firma.Pers SET CODNUMPERS = '123' WHERE IID = 2");
  auto grid = OpenGrid();
  ASSERT_TRUE(TypeInto(*grid, kPermanentPage, "GEORGESCU", "TIMP", "180"));
  ASSERT_TRUE(TypeInto(*grid, kPermanentPage, "STAN", "CoefInd1", "1,5"));

  struct Case {
    void (PayGridWindow::*check)();
    QString heading;
    QString name;
    QString last;  // the last column of the finding
  };
  const Case kCases[] = {
      {&PayGridWindow::VerificareTimp,
       "Lista salariatilor PERMANENTI care au timpul calculat mai mare decat timpul in luna (168) "
       "pentru toata firma",
       "GEORGESCU", "180"},
      {&PayGridWindow::VerificareCNP,
       "Lista salariatilor PERMANENTI, din toata firma, care au codul numeric personal eronat",
       "IONESCU", "CNP-ul nu este din 13 caractere !!"},
      {&PayGridWindow::VerificareCoeficienti,
       "Lista salariatilor PERMANENTI, din toata firma, a caror coeficienti de deducere nu "
       "corespund",
       "STAN", "1"},
  };
  for (const Case& c : kCases) {
    QString heading, name, last;
    int lines = 0;
    bool list_button = true;
    testing::AnswerNext<ListWindow>([&](ListWindow* list) {
      heading = list->windowTitle();
      lines = list->ShownLines();
      QAbstractItemModel* model = list->grid()->model();
      name = model->index(0, 1).data().toString();
      last = model->index(0, model->columnCount() - 1).data().toString();
      list_button = list->list_button()->isVisible();
      list->reject();
    });
    (grid.get()->*c.check)();
    EXPECT_EQ(heading, c.heading);
    EXPECT_EQ(lines, 1) << c.heading.toStdString();
    EXPECT_EQ(name, c.name);
    EXPECT_EQ(last, c.last);
    EXPECT_FALSE(list_button);
  }
}

// Every list shows its columns under words, not under the names of the
// fields behind them ("CodNumPers", "NumeA", "Data_Ang").
TEST_F(ListWindowsTest, EveryListTakesItsCaptionsFromItsColumnTable) {
  const Date january = Date::FromYmd(2003, 1, 1);
  const personnel::GridScope scope{"1", std::nullopt};
  const std::pair<const char*, ListContent> kLists[] = {
      {"hired", HiredContent(*session_, january)},
      {"left", LeftContent(*session_, january)},
      {"identity cards", IdentityCardsContent(*session_)},
      {"rehire", RehireContent(*session_)},
      {"insured", InsuredContent(*session_)},
      {"time", TimeCheckContent(personnel::CheckTime(*session_, scope))},
      {"codes", CodeCheckContent(personnel::CheckCodes(*session_, scope))},
      {"coefficients", CoefficientCheckContent(personnel::CheckCoefficients(*session_, scope))},
  };
  for (const auto& [name, content] : kLists) {
    ListWindow window(content, prompter_);
    EXPECT_EQ(traveno::testing::FieldNameCaptions(*window.grid()), std::vector<std::string>{})
        << name;
    EXPECT_EQ(window.grid()->model()->columnCount(), static_cast<int>(content.columns.size()));
  }
  ListWindow insured(InsuredContent(*session_), prompter_);
  QStringList captions;
  for (int c = 0; c < insured.grid()->model()->columnCount(); ++c) {
    captions << insured.grid()->model()->headerData(c, Qt::Horizontal).toString();
  }
  EXPECT_EQ(captions.join(" | ").toStdString(),
            "Nume angajat | Prenume angajat | CNP angajat | Nume coasigurat | Prenume coasigurat "
            "| CNP coasigurat | Calitate coasigurat");
}

TEST_F(ListWindowsTest, AnEmptyListStartsOnItsExitButtonAndAFullOneOnItsGrid) {
  for (const bool empty : {true, false}) {
    ListContent content;
    content.mode = ListMode::kTimeCheck;
    content.heading = "Lista de proba";
    content.columns = {{"Marca", "Marca", 6}, {"Nume", "Nume", 20}};
    if (!empty) content.lines.push_back({"1", "POPESCU"});
    ListWindow window(content, prompter_);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    if (empty) {
      EXPECT_EQ(focus->objectName(), "BIesire");
      QTest::keyClick(focus, Qt::Key_Space);
      EXPECT_FALSE(window.isVisible());
    } else {
      EXPECT_EQ(focus, window.grid());
      EXPECT_TRUE(window.grid()->currentIndex().isValid());
    }
  }
}

TEST_F(ListWindowsTest, PrintableListsWaitForTheirDocumentAndFollowTheFilter) {
  ListWindow cards(IdentityCardsContent(*session_), prompter_);
  cards.show();
  EXPECT_EQ(cards.windowTitle(), "Legitimatii personal");
  EXPECT_EQ(cards.ShownLines(), 20);
  EXPECT_FALSE(cards.list_button()->isEnabled());
  EXPECT_EQ(cards.list_button()->toolTip(), kListPrintMissing);

  std::optional<ListPrintRequest> printed;
  cards.set_printer([&](const ListPrintRequest& request) { printed = request; });
  EXPECT_TRUE(cards.list_button()->isEnabled());
  cards.grid()->filter_model()->SetColumnFilter(2, "POPESCU");
  cards.list_button()->click();
  ASSERT_TRUE(printed);
  EXPECT_EQ(printed->title, "Legitimatii personal");
  EXPECT_EQ(printed->filter_text, " * Filtru activ: Nume: POPESCU");
  EXPECT_EQ(printed->shown_lines, std::vector<int>{0});
  cards.grid()->filter_model()->SetColumnFilter(2, "NIMENI");
  EXPECT_FALSE(cards.list_button()->isEnabled());

  const ListContent hired = HiredContent(*session_, Date::FromYmd(2003, 1, 1));
  EXPECT_EQ(hired.heading, "Personal angajat in luna: IANUARIE 2003");
  ASSERT_EQ(hired.lines.size(), 1u);
  EXPECT_EQ(hired.lines[0][1], "NEAGU");
  EXPECT_EQ(hired.lines[0][5], "06.01.2003");
}

}  // namespace
}  // namespace traveno::personnel_ui
