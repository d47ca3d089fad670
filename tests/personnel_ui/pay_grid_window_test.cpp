#include "personnel/ui/pay_grid_window.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>

#include "core/data_folder.h"
#include "core/errors.h"
#include "params/departments.h"
#include "params/parameter_store.h"
#include "params/ui/department_windows.h"
#include "personnel/pay_grid.h"
#include "personnel/ui/index_window.h"
#include "personnel/ui/pay_grid_opening.h"
#include "tests/personnel_ui/demo_fixture.h"
#include "tests/support/cli_runner.h"
#include "ui/help.h"
#include "ui/qt_prompter.h"
#include "ui/romanian_texts.h"
#include "ui/window_base.h"

namespace traveno::personnel_ui {
namespace {

using testing::AnswerNextModal;

class PayGridWindowTest : public testing::DemoFixture {};

TEST_F(PayGridWindowTest, OpensOnTheWholeCompanyWithTheFiguresOfTheCommandLine) {
  auto window = OpenGrid();
  EXPECT_EQ(window->windowTitle(), "ANGAJATI FIRMA");
  EXPECT_EQ(window->heading()->text(), " FIRMA : SC DEMO PRODUCTIE SRL\n IANUARIE / 2003");
  EXPECT_EQ(window->CurrentPage(), kPermanentPage);
  EXPECT_EQ(window->model(kPermanentPage)->rowCount(), 14);
  EXPECT_EQ(window->model(kPartialPage)->rowCount(), 6);
  // Two departments and none chosen: the department column is shown.
  EXPECT_FALSE(window->grid(kPermanentPage)->isColumnHidden(0));
  EXPECT_EQ(window->pages()->tabText(kPartialPage), "       ANGAJATI  &CONTRACT PARTIAL     ");

  // The same month summed by the command line, on the same data folder.
  const nlohmann::json recalc =
      traveno::testing::RunCli({"--data-dir", folder_.path().string(), "--json", "recalc", "--cod",
                                "DEMO", "--month", "2003-01"})
          .Json();
  const nlohmann::json& grila = recalc["grila"];
  const nlohmann::json& fonduri = recalc["fonduri"];
  EXPECT_EQ(window->TotalText("Rest de plata"), Shown(grila["Rest de plata"].get<double>()));
  EXPECT_EQ(window->TotalText("Cost total salarii"),
            Shown(grila["Cost total salarii"].get<double>()));
  EXPECT_EQ(window->TotalText("Total net angajati"),
            Shown(grila["Total net angajati"].get<double>()));
  EXPECT_EQ(window->TotalText("Total salarii / Net salarii"),
            QString::fromStdString(grila["Total salarii / Net salarii"].get<std::string>()));
  EXPECT_EQ(window->TotalText("Fond somaj"), Shown(fonduri["FondSomaj"].get<double>()));
  EXPECT_EQ(window->TotalText("Pensie (CAS)"), Shown(fonduri["FondCAS"].get<double>()));
  EXPECT_EQ(window->SubtotalText(kPermanentPage, "Brut"),
            Shown(grila["Subtotaluri permanenti"]["Brut"].get<double>()));
  EXPECT_EQ(window->SubtotalText(kPartialPage, "Realizat"),
            Shown(grila["Subtotaluri c. partial"]["Realizat"].get<double>()));
  EXPECT_EQ(window->TotalText("Rest de plata"), Shown(StoredRestDePlata()));
}

TEST_F(PayGridWindowTest, TypedSalaryTimeAndBonusRecalculateTheLineAndTheTotals) {
  auto window = OpenGrid();
  // GEORGESCU: 168 hours of 168, a premium of 1 000 000, seniority (a
  // percentage of the base salary) of 5 % and the productivity formula: 3 %
  // of the base salary and a tenth of the overtime's value (none).
  ASSERT_TRUE(TypeInto(*window, kPermanentPage, "GEORGESCU", "SALINC", "7000000"));
  PersRow line = Stored(3);
  EXPECT_EQ(line.SALINC, 7000000);
  EXPECT_EQ(line.vals4, 210000);
  EXPECT_EQ(line.BRUT, 7000000 + 1000000 + 350000 + 210000);
  EXPECT_EQ(LineOf(*window, kPermanentPage, "GEORGESCU").BRUT, line.BRUT);
  EXPECT_EQ(window->TotalText("Rest de plata"), Shown(StoredRestDePlata()));

  ASSERT_TRUE(TypeInto(*window, kPermanentPage, "GEORGESCU", "TIMP", "84"));
  EXPECT_EQ(Stored(3).BRUT, 3500000 + 1000000 + 350000 + 210000);

  const QString before = window->SubtotalText(kPermanentPage, "Brut");
  ASSERT_TRUE(TypeInto(*window, kPermanentPage, "GEORGESCU", "Spor1", "10"));
  line = Stored(3);
  EXPECT_EQ(line.vals1, 700000);
  EXPECT_EQ(line.BRUT, 3500000 + 1000000 + 700000 + 210000);
  EXPECT_EQ(LineOf(*window, kPermanentPage, "GEORGESCU").vals1, 700000);
  EXPECT_NE(window->SubtotalText(kPermanentPage, "Brut"), before);
  EXPECT_EQ(window->TotalText("Rest de plata"), Shown(StoredRestDePlata()));
  EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(PayGridWindowTest, ATypedNetIsReachedThroughTheGrossDifference) {
  auto window = OpenGrid();
  const PersRow before = Stored(3);
  ASSERT_TRUE(TypeInto(*window, kPermanentPage, "GEORGESCU", "RESTPL", "5 000 000"));
  const PersRow after = Stored(3);
  EXPECT_EQ(after.RESTPL, 5000000);
  EXPECT_GT(after.Dif_Brut, before.Dif_Brut);
  EXPECT_EQ(after.BRUT - before.BRUT, after.Dif_Brut - before.Dif_Brut);
  EXPECT_EQ(LineOf(*window, kPermanentPage, "GEORGESCU").RESTPL, 5000000);
  EXPECT_EQ(window->TotalText("Rest de plata"), Shown(StoredRestDePlata()));

  // A typed gross moves the difference by exactly what was added.
  ASSERT_TRUE(TypeInto(*window, kPermanentPage, "GEORGESCU", "BRUT",
                       QString::number(after.BRUT + 100000, 'f', 0)));
  EXPECT_EQ(Stored(3).Dif_Brut, after.Dif_Brut + 100000);
  EXPECT_EQ(Stored(3).BRUT, after.BRUT + 100000);
}

TEST_F(PayGridWindowTest, RefusedTypingLeavesTheLineAndTheTotalsAsTheyWere) {
  auto window = OpenGrid();
  const PersRow before = Stored(3);
  const QString rest = window->TotalText("Rest de plata");

  // A computed column and a personal-data column take no typing.
  EXPECT_FALSE(TypeInto(*window, kPermanentPage, "GEORGESCU", "IMPOZIT", "1"));
  EXPECT_FALSE(TypeInto(*window, kPermanentPage, "GEORGESCU", "NUME", "X"));
  // What is not a number is refused with a message.
  ASSERT_TRUE(TypeInto(*window, kPermanentPage, "GEORGESCU", "SALINC", "12a"));
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].kind, MessageKind::kError);
  EXPECT_EQ(prompter_.messages[0].text,
            "Valoarea \"12a\" nu este corecta pentru coloana \"Salariu incadrare\" !");
  // The refused cell keeps the keyboard, in its editor, the typed text
  // selected for the right value to replace it; Esc gives the value up.
  QApplication::processEvents();
  ui::DataGrid* grid = window->grid(kPermanentPage);
  auto* editor = qobject_cast<QLineEdit*>(window->focusWidget());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(grid->currentIndex(), Cell(*window, kPermanentPage, "GEORGESCU", "SALINC"));
  EXPECT_EQ(editor->text(), "12a");
  EXPECT_EQ(editor->selectedText(), "12a");
  QTest::keyClick(editor, Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_EQ(window->focusWidget(), grid);
  EXPECT_TRUE(window->isVisible());
  ASSERT_TRUE(TypeInto(*window, kPermanentPage, "GEORGESCU", "ZILE_CM", "2,5"));
  EXPECT_EQ(prompter_.messages.size(), 2u);
  QTest::keyClick(window->focusWidget(), Qt::Key_Escape);

  const PersRow after = Stored(3);
  const auto fields = FieldsOf<PersRow>();
  for (std::size_t f = 0; f < fields.size(); ++f) {
    EXPECT_EQ(GetField(after, f), GetField(before, f)) << fields[f].name;
  }
  EXPECT_EQ(LineOf(*window, kPermanentPage, "GEORGESCU").SALINC, before.SALINC);
  EXPECT_EQ(window->TotalText("Rest de plata"), rest);
}

// As the user meets it: "abc" in Timp, Enter, Enter on the message box; the
// digits typed next go into the cell, not to the page tab.
TEST_F(PayGridWindowTest, AfterTheRefusalMessageTheDigitsTypedNextGoIntoTheCell) {
  ui::WindowBehaviour behaviour;  // as the program installs it
  behaviour.Install();
  ui::QtPrompter boxes;
  auto window = std::make_unique<PayGridWindow>(*session_, boxes, progress_, std::nullopt);
  window->show();
  ASSERT_TRUE(traveno::testing::WaitUntilActive(window.get()));
  ui::DataGrid* grid = window->grid(kPermanentPage);
  Select(*window, kPermanentPage, "GEORGESCU", "TIMP");
  grid->setFocus();
  QString refusal;
  AnswerNextModal([&](QWidget* box) {
    refusal = qobject_cast<QMessageBox*>(box) ? static_cast<QMessageBox*>(box)->text() : "";
    QTest::keyClick(box, Qt::Key_Return);
  });
  QTest::keyClick(grid, Qt::Key_A);  // opens the cell's editor
  QTest::keyClicks(QApplication::focusWidget(), "bc");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !refusal.isEmpty(); }));
  EXPECT_EQ(refusal.toStdString(), "Valoarea \"abc\" nu este corecta pentru coloana \"Timp\" !");
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr; }));
  QTest::keyClicks(QApplication::focusWidget(), "160");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QTest::qWait(20);
  EXPECT_EQ(Stored(3).TIMP, 160);
  EXPECT_EQ(QApplication::focusWidget(), grid);
}

// A letter typed into a cell that takes no typing must not move the current
// line to another employee (whose window the next Enter would open).
TEST_F(PayGridWindowTest, TypingIntoAReadOnlyCellLeavesTheCurrentLine) {
  auto window = OpenGrid();
  ui::DataGrid* grid = window->grid(kPermanentPage);
  for (const char* field : {"FUNCTIE", "NUME", "IMPOZIT"}) {
    Select(*window, kPermanentPage, "GEORGESCU", field);
    grid->setFocus();
    for (const char* letters : {"s", "m", "o", "1"}) {
      QTest::keyClicks(grid, letters);
      EXPECT_EQ(window->CurrentLineText("Nume"), "GEORGESCU") << field << " " << letters;
      EXPECT_EQ(window->focusWidget(), grid) << field;
    }
  }
}

// The keys beside the entries of the grid's pop-up menu are named as the
// program writes them elsewhere ("Ins", "Enter", "Del"), not "Return".
TEST_F(PayGridWindowTest, ThePopUpMenuNamesItsKeysAsTheProgramWritesThem) {
  ui::InstallRomanianTexts(*qApp);
  auto window = OpenGrid();
  QStringList entries;
  QTimer reader;
  reader.setInterval(5);
  QObject::connect(&reader, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    reader.stop();
    for (QAction* action : menu->actions()) {
      if (!action->shortcut().isEmpty()) {
        entries << action->text() + " " + action->shortcut().toString(QKeySequence::NativeText);
      }
    }
    menu->close();
  });
  reader.start();
  ui::DataGrid* grid = window->grid(kPermanentPage);
  emit grid->customContextMenuRequested(grid->visualRect(grid->currentIndex()).center());
  EXPECT_EQ(entries.join(" | ").toStdString(),
            "&Adaugare Ins | &Modificare Enter | &Stergere Del | Indexare Ctrl+I | Reangajare "
            "Ctrl+R");
}

TEST_F(PayGridWindowTest, AClosedMonthIsOnlySummedAndTakesNoTyping) {
  // A stored figure that a recalculation would change.
  session_->db().Run("UPDATE firma.Pers SET RESTPL = RESTPL + 1000 WHERE IID = 3");
  params::WriteCompany(session_->db(), session_->working_month(), "Deschisa", 1);
  session_->LoadParameters();
  auto window = OpenGrid();
  ASSERT_FALSE(prompter_.messages.empty());
  EXPECT_EQ(prompter_.messages[0].text, "Luna fiind inchisa nu se pot face modificari !");
  EXPECT_EQ(window->TotalText("Rest de plata"), Shown(StoredRestDePlata()));
  for (QPushButton* button : {window->add_button(), window->modify_button(),
                              window->delete_button(), window->medical_leave_button()}) {
    EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
  }
  EXPECT_FALSE(window->index_action()->isEnabled());
  EXPECT_FALSE(window->rehire_action()->isEnabled());
  EXPECT_TRUE(window->history_button()->isEnabled());

  const PersRow before = Stored(3);
  EXPECT_FALSE(TypeInto(*window, kPermanentPage, "GEORGESCU", "SALINC", "7000000"));
  EXPECT_EQ(Stored(3).SALINC, before.SALINC);
  // Filling a column does nothing either.
  Select(*window, kPermanentPage, "GEORGESCU", "TIMP");
  window->CompletareColoana();
  EXPECT_TRUE(prompter_.questions.empty());
}

TEST_F(PayGridWindowTest, PagesKeysAndTheButtonsThatFollowTheCurrentLine) {
  auto window = OpenGrid();
  QTest::keyClick(window.get(), Qt::Key_C, Qt::AltModifier);
  EXPECT_EQ(window->CurrentPage(), kPartialPage);
  EXPECT_EQ(window->CurrentTip(), "2");
  // The partial-contract page: Ore / Zi shown, Acord, Realizat, Prime hidden.
  PayGridModel* partial = window->model(kPartialPage);
  EXPECT_FALSE(window->grid(kPartialPage)->isColumnHidden(partial->ColumnOf("Ore_Zi")));
  EXPECT_TRUE(window->grid(kPartialPage)->isColumnHidden(partial->ColumnOf("ACORD")));
  EXPECT_TRUE(window->grid(kPartialPage)->isColumnHidden(partial->ColumnOf("PRIME")));

  Select(*window, kPartialPage, "DRAGOMIR");
  EXPECT_EQ(window->CurrentLineText("Nume"), "DRAGOMIR");
  EXPECT_FALSE(window->dependants_button()->isEnabled());
  EXPECT_FALSE(window->medical_leave_button()->isEnabled());
  Select(*window, kPartialPage, "LUPU");  // "Angajat cu functie de baza"
  EXPECT_TRUE(window->dependants_button()->isEnabled());
  EXPECT_TRUE(window->medical_leave_button()->isEnabled());

  QTest::keyClick(window.get(), Qt::Key_P, Qt::AltModifier);
  EXPECT_EQ(window->CurrentPage(), kPermanentPage);
  EXPECT_TRUE(window->dependants_button()->isEnabled());

  // Ins on the grid opens the employee window in Add mode; abandoning it
  // writes nothing.
  const std::size_t lines = personnel::MonthLines(*session_).size();
  QString title;
  AnswerNextModal([&](QWidget* modal) {
    title = modal->windowTitle();
    modal->findChild<QPushButton*>("BAbandon")->click();
  });
  window->grid(kPermanentPage)->setFocus();
  QTest::keyClick(window->grid(kPermanentPage), Qt::Key_Insert);
  EXPECT_EQ(title, "Adaugarea unei persoane noi");
  EXPECT_EQ(personnel::MonthLines(*session_).size(), lines);

  // Esc closes the window.
  QTest::keyClick(window->grid(kPermanentPage), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
}

// On one department the department column is hidden: the grid opens on a
// cell the user sees, and the arrow keys move from it at once.
TEST_F(PayGridWindowTest, OnOneDepartmentTheArrowKeysMoveAVisibleCurrentCell) {
  auto window = OpenGrid("CENTRAL");
  ui::DataGrid* grid = window->grid(kPermanentPage);
  ASSERT_TRUE(grid->isColumnHidden(0));
  ASSERT_TRUE(grid->hasFocus());
  EXPECT_FALSE(grid->isColumnHidden(grid->currentIndex().column()));
  EXPECT_EQ(window->CurrentLineText("Nume"), "POPESCU");
  QTest::keyClick(grid, Qt::Key_Down);
  QTest::keyClick(grid, Qt::Key_Down);
  EXPECT_EQ(window->CurrentLineText("Nume"), "GEORGESCU");
  const int column = grid->currentIndex().column();
  QTest::keyClick(grid, Qt::Key_Right);
  EXPECT_GT(grid->currentIndex().column(), column);
  EXPECT_EQ(window->CurrentLineText("Nume"), "GEORGESCU");
}

// "Refresh" on the partial-contract page leaves the focus on that page's
// grid, where the arrow keys go on moving through its lines.
TEST_F(PayGridWindowTest, RefreshKeepsTheFocusOnTheGridOfThePageShown) {
  auto window = OpenGrid();
  QTest::keyClick(window.get(), Qt::Key_C, Qt::AltModifier);
  ASSERT_EQ(window->CurrentPage(), kPartialPage);
  Select(*window, kPartialPage, "DRAGOMIR");
  auto* refresh = window->findChild<QPushButton*>("BRefresh");
  ASSERT_NE(refresh, nullptr);
  refresh->setFocus();
  QTest::keyClick(refresh, Qt::Key_Space);
  EXPECT_EQ(window->CurrentPage(), kPartialPage);
  EXPECT_TRUE(window->grid(kPartialPage)->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
  EXPECT_EQ(window->CurrentLineText("Nume"), "LUPU");
}

TEST_F(PayGridWindowTest, FillingAColumnPostsEveryLineOfThePage) {
  auto window = OpenGrid();
  Select(*window, kPermanentPage, "STAN", "TIMP");
  prompter_.texts = {std::string("100")};
  window->grid(kPermanentPage)->setFocus();
  QTest::keyClick(window->grid(kPermanentPage), Qt::Key_F3,
                  Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(prompter_.questions.size(), 1u);
  EXPECT_EQ(prompter_.questions[0], "Introduceti valoarea:");
  for (const PersRow& line : personnel::MonthLines(*session_)) {
    EXPECT_EQ(line.TIMP, line.TIP == "1" ? 100 : line.TIMP) << line.NUME;
    if (line.TIP == "1" && line.ACORD.empty()) {
      EXPECT_EQ(LineOf(*window, kPermanentPage, line.NUME).TIMP, 100);
    }
  }
  EXPECT_EQ(window->CurrentLineText("Nume"), "STAN");  // back on the line
  EXPECT_EQ(window->TotalText("Rest de plata"), Shown(StoredRestDePlata()));

  // A whole-number column and a computed one are not filled.
  for (const char* field : {"ZILE_CM", "IMPOZIT"}) {
    prompter_.questions.clear();
    Select(*window, kPermanentPage, "STAN", field);
    window->CompletareColoana();
    EXPECT_TRUE(prompter_.questions.empty()) << field;
  }
}

TEST_F(PayGridWindowTest, IndexationAsksTheFiguresAndRefusesAZeroUnit) {
  auto window = OpenGrid();
  prompter_.yes_no = {true};
  bool kept_open = false;
  AnswerNextModal([&](QWidget* modal) {
    auto* index = qobject_cast<IndexWindow*>(modal);
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(index->windowTitle(), "Indexare salarii incadrare");
    EXPECT_EQ(index->sign_box()->text(), "+");
    index->percent_box()->setText("10");
    index->unit_box()->setText("0");
    index->confirm_button()->click();
    kept_open = index->isVisible();
    index->unit_box()->setText("100");
    QTest::keyClicks(index->sign_box(), "*");  // not taken
    index->confirm_button()->click();
  });
  window->grid(kPermanentPage)->setFocus();
  QTest::keyClick(window->grid(kPermanentPage), Qt::Key_I, Qt::ControlModifier);
  ASSERT_EQ(prompter_.questions.size(), 1u);
  EXPECT_EQ(prompter_.questions[0], personnel::kIndexQuestion);
  EXPECT_TRUE(kept_open);
  ASSERT_FALSE(prompter_.messages.empty());
  EXPECT_EQ(prompter_.messages[0].text, personnel::kIndexBadUnit);
  // 9 000 000 x 1,10 / 100 + 0,99, truncated, x 100; the partial page is left.
  EXPECT_EQ(Stored(2).SALINC, 9900000);
  EXPECT_EQ(Stored(2).SALINC, LineOf(*window, kPermanentPage, "IONESCU").SALINC);
  EXPECT_EQ(LineOf(*window, kPartialPage, "DRAGOMIR").SALINC, 3000000);
  EXPECT_EQ(window->TotalText("Rest de plata"), Shown(StoredRestDePlata()));
}

TEST_F(PayGridWindowTest, SalariiChecksTheDepartmentsAndOpensOnTheChosenOne) {
  // An employee whose department the month does not have.
  session_->db().Run("UPDATE firma.Pers SET Depart = 'NIMIC' WHERE IID = 4");
  std::string without;
  std::vector<QString> offered;
  bool grid_shown = false;
  testing::AnswerNext<params_ui::EmployeesWithoutDepartmentWindow>([&](auto* list) {
    without = list->grid()->model()->index(0, 3).data().toString().toStdString();
    testing::AnswerNext<params_ui::DepartmentChooserDialog>([&](auto* dialog) {
      dialog->list()->setCurrentIndex(1);  // PRODUCT
      dialog->confirm_button()->click();
      // The grid's own chooser follows once the list closed by itself.
      testing::AnswerNext<params_ui::DepartmentChooserDialog>([&](auto* choose) {
        for (int i = 0; i < choose->list()->count(); ++i) {
          offered.push_back(choose->list()->itemText(i));
        }
        testing::AnswerNext<PayGridWindow>([&](PayGridWindow* pay_grid) {
          grid_shown = true;
          EXPECT_EQ(pay_grid->heading()->text(),
                    " FIRMA : SC DEMO PRODUCTIE SRL\n IANUARIE / 2003 departamentul: PRODUCT");
          EXPECT_EQ(pay_grid->model(kPermanentPage)->rowCount(), 10);  // 9 and the moved one
          EXPECT_TRUE(pay_grid->grid(kPermanentPage)->isColumnHidden(0));
          pay_grid->reject();
        });
        choose->list()->setCurrentIndex(1);
        choose->confirm_button()->click();
      });
    });
    list->choose_button()->click();
  });
  EXPECT_TRUE(OpenPayGrid(*session_, prompter_, progress_, nullptr));
  EXPECT_TRUE(grid_shown);
  EXPECT_EQ(without, "DUMITRESCU");
  EXPECT_EQ(Stored(4).Depart, "PRODUCT");
  EXPECT_EQ(offered, (std::vector<QString>{"CENTRAL |", "PRODUCT |PRODUCTIE", "<Toata firma>"}));

  // Abandoning the chooser opens no grid.
  testing::AnswerNext<params_ui::DepartmentChooserDialog>(
      [](params_ui::DepartmentChooserDialog* chooser) {
        chooser->findChild<QPushButton*>("BAbandon")->click();
      });
  EXPECT_FALSE(OpenPayGrid(*session_, prompter_, progress_, nullptr));
}

TEST_F(PayGridWindowTest, CumulatingRefusesTheCompanysOwnFileAndKeepsTheGridOpen) {
  auto window = OpenGrid();
  const std::size_t lines = personnel::MonthLines(*session_).size();
  QString offered;
  window->set_import_file_chooser([&](const QString& start) {
    offered = start;
    return QString();  // cancelled
  });
  QTest::keyClick(window.get(), Qt::Key_F9, Qt::ControlModifier);
  EXPECT_EQ(offered.toStdString(), folder_.path().string());
  EXPECT_TRUE(prompter_.messages.empty());

  const auto own = session_->store().CompanyFolderOf("DEMO") / kCompanyDatabaseName;
  window->set_import_file_chooser(
      [&](const QString&) { return QString::fromStdString(own.string()); });
  window->CumulareDateCas();
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].text, personnel::kImportSameCompany);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(personnel::MonthLines(*session_).size(), lines);
}

TEST(PersonnelWindowsHelpTest, F1FindsASectionForEveryPersonnelWindow) {
  QFile help(ui::HelpIndexPath());
  ASSERT_TRUE(help.open(QIODevice::ReadOnly));
  const QString page = QString::fromUtf8(help.readAll());
  for (const char* form :
       {"FSal", "FESal", "FPint", "FEPint", "FRapoarte", "fIndexare", "FCalculCM", "FIstoric"}) {
    EXPECT_TRUE(page.contains(QString("id=\"") + form + "\"")) << form;
  }
}

}  // namespace
}  // namespace traveno::personnel_ui
