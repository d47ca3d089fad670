#include "declarations/ui/fiscal_sheet_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/main_window.h"
#include "core/store/row_io.h"
#include "declarations/ui/transmit_windows.h"
#include "tests/declarations/ui/window_fixture.h"
#include "tests/ui/grid_captions.h"
#include "ui/data_grid.h"

namespace traveno::declarations_ui {
namespace {

using ::traveno::testing::AnswerNextModal;

class FiscalSheetWindowsTest : public declarations::testing::FixtureWindowTest {
 protected:
  ShowSheet Recorder() {
    return [this](const declarations::FiscalSheet& sheet, QWidget*) { shown_.push_back(sheet); };
  }
  std::vector<declarations::FiscalSheet> shown_;
};

TEST_F(FiscalSheetWindowsTest, ListsThePersonsOfAKindAndPrintsTheChosenYear) {
  SheetPersonsWindow window(*session_, "1", prompter_, progress_, Recorder());
  window.show();
  EXPECT_EQ(window.windowTitle(), "Selectie Persoane");
  EXPECT_EQ(progress_.waits, std::vector<std::string>{"Cautare persoane / Va rog asteptati..."});
  ASSERT_EQ(window.persons().size(), 2u);  // by name: Popescu, Stefanescu
  EXPECT_EQ(window.persons()[0].IID, 1);
  EXPECT_EQ(window.persons()[1].IID, 2);
  QAbstractItemModel* model = window.grid()->model();
  EXPECT_EQ(model->headerData(3, Qt::Horizontal).toString(), "Cod Numeric Personal");
  EXPECT_EQ(traveno::testing::FieldNameCaptions(*window.grid()), std::vector<std::string>{});
  EXPECT_EQ(model->index(1, 3).data().toString(), "2750315123451");  // the latest row's code

  QString heading, person, kind;
  AnswerNextModal([&](QWidget* modal) {
    EXPECT_EQ(modal->windowTitle(), "Liste");
    heading = modal->findChildren<QLabel*>().front()->text();
    person = modal->findChild<QLabel*>("LPersoana")->text();
    kind = modal->findChild<QLabel*>("LTip")->text();
    auto* years = modal->findChild<QComboBox*>("CBAn");
    EXPECT_EQ(years->count(), 1);
    EXPECT_EQ(years->currentText(), "2002");
    modal->findChild<QPushButton*>("BTiparire")->click();
    modal->close();
  });
  QTest::keyClick(window.grid(), Qt::Key_Return);
  EXPECT_EQ(heading, "Tiparire Fisa Fiscala 1");
  EXPECT_EQ(person, " Popescu Ion");
  EXPECT_EQ(kind, " Angajat permanent");
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].year, 2002);
  EXPECT_EQ(shown_[0].kind, "1");
  EXPECT_EQ(shown_[0].employee.CodNumPers, "1700101400011");
  ASSERT_TRUE(shown_[0].section_vi.has_value());
  EXPECT_EQ(shown_[0].section_vi->de_restituit, 118800);
}

TEST_F(FiscalSheetWindowsTest, AnotherYearThanTheWorkingOnesIsRefused) {
  PersRow old = declarations::testing::Popescu(2001, 12);
  RowWriter<PersRow>(session_->db(), "Pers").Insert(old);
  const auto persons = declarations::ListSheetPersons(session_->db(), "1");
  SheetYearWindow window(*session_, persons[0], prompter_, Recorder());
  window.show();
  ASSERT_EQ(window.years()->count(), 2);
  EXPECT_EQ(window.years()->currentText(), "2002");
  window.years()->setCurrentIndex(0);
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(window.years(), Qt::Key_Return);  // Enter moves on to the next control
  EXPECT_EQ(QApplication::focusWidget(), window.print_button());
  window.print_button()->click();
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].kind, MessageKind::kWarning);
  EXPECT_EQ(prompter_.messages[0].text, declarations::kSheetYearWarning);
  EXPECT_TRUE(shown_.empty());
}

TEST_F(FiscalSheetWindowsTest, FindsWithF7AndAgainWithCtrlF7) {
  SheetPersonsWindow window(*session_, "1", prompter_, progress_, Recorder());
  window.show();
  ui::DataGrid* grid = window.grid();
  grid->setCurrentIndex(grid->model()->index(0, 1));
  prompter_.texts.push_back(std::string("escu"));
  QTest::keyClick(grid, Qt::Key_F7);
  EXPECT_EQ(grid->currentIndex().row(), 1);
  QTest::keyClick(grid, Qt::Key_F7, Qt::ControlModifier);  // no question: the same text
  EXPECT_EQ(grid->currentIndex().row(), 0);
  EXPECT_EQ(prompter_.questions.size(), 1u);

  SheetPersonsWindow partial(*session_, "2", prompter_, progress_, Recorder());
  EXPECT_EQ(partial.findChildren<QLabel*>().front()->text(), "Cautare contracte partiale");
  ASSERT_EQ(partial.persons().size(), 1u);
  EXPECT_EQ(partial.persons()[0].Tip, "2");
}

// "Fisa Fis&cala 1  (FF1)" and "Transmitere &electronica FF" open their windows
// from the reports panel of the main window.
TEST_F(FiscalSheetWindowsTest, TheReportsPanelOpensTheWindows) {
  app::MainWindowOptions options;
  options.data_folder = data();
  options.prompter = &prompter_;
  options.terminate = [](int) {};
  options.open_help = [] {};
  app::MainWindow window(std::move(options));
  AnswerNextModal([](QWidget* choice) {
    auto* companies = choice->findChild<QTreeWidget*>("LFirme");
    for (int i = 0; i < companies->topLevelItemCount(); ++i) {
      if (companies->topLevelItem(i)->text(0) == "FIXT") {
        companies->setCurrentItem(companies->topLevelItem(i));
      }
    }
    choice->findChild<QPushButton*>("BAlege")->click();
  });
  window.show();
  ASSERT_TRUE(window.FinishStart());
  window.button(app::Function::kRaportari)->click();

  std::size_t persons = 0;
  AnswerNextModal([&](QWidget* modal) {
    if (auto* list = qobject_cast<SheetPersonsWindow*>(modal)) persons = list->persons().size();
    modal->close();
  });
  window.button(app::Function::kFisaFiscala1)->click();
  EXPECT_EQ(persons, 2u);

  bool transmit = false;
  AnswerNextModal([&](QWidget* modal) {
    transmit = qobject_cast<TransmitWindow*>(modal) != nullptr;
    modal->findChild<QPushButton*>("BAbandon")->click();
  });
  window.button(app::Function::kTransmitereFf)->click();
  EXPECT_TRUE(transmit);
}

}  // namespace
}  // namespace traveno::declarations_ui
