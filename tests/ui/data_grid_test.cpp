#include "ui/data_grid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTest>
#include <filesystem>

#include "tests/support/temp_folder.h"
#include "tests/ui/scripted_prompter.h"
#include "tests/ui/zip_reader.h"
#include "ui/xlsx_export.h"

namespace traveno::ui {
namespace {

using traveno::testing::ScriptedPrompter;

// Four employees: name, department, gross pay.
class DataGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    model_.setHorizontalHeaderLabels({"Nume", "Depart", "Brut"});
    AddRow("Popescu Ion", "CENTRAL", 1234.5);
    AddRow("Ionescu Ana", "VANZARI", 2000);
    AddRow("Pop Maria", "CENTRAL", 850);
    AddRow("Vasilescu Dan", "PRODUCTIE", 3100.25);
    grid_.set_prompter(&prompter_);
    grid_.SetSourceModel(&model_);
    grid_.resize(400, 300);
    grid_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid_));
    grid_.setFocus();
  }
  void AddRow(const QString& name, const QString& depart, double gross) {
    auto* amount = new QStandardItem;
    amount->setData(gross, Qt::EditRole);
    model_.appendRow({new QStandardItem(name), new QStandardItem(depart), amount});
  }
  QString CurrentName() const {
    return grid_.model()->index(grid_.currentIndex().row(), 0).data().toString();
  }

  QStandardItemModel model_;
  ScriptedPrompter prompter_;
  DataGrid grid_;
};

TEST_F(DataGridTest, F7FindsTheNextLineAndWrapsRound) {
  grid_.setCurrentIndex(grid_.model()->index(0, 0));
  prompter_.texts = {"pop", "pop", "pop", "nimeni"};
  QTest::keyClick(&grid_, Qt::Key_F7);
  EXPECT_EQ(CurrentName(), "Pop Maria");  // the search starts below the current line
  QTest::keyClick(&grid_, Qt::Key_F7);
  EXPECT_EQ(CurrentName(), "Popescu Ion");  // and goes round past the end
  QTest::keyClick(&grid_, Qt::Key_F7);
  EXPECT_EQ(CurrentName(), "Pop Maria");
  EXPECT_TRUE(prompter_.messages.empty());

  QTest::keyClick(&grid_, Qt::Key_F7);
  EXPECT_EQ(CurrentName(), "Pop Maria");
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].kind, MessageKind::kWarning);
}

TEST_F(DataGridTest, F7SearchesTheCurrentColumnOnly) {
  grid_.setCurrentIndex(grid_.model()->index(0, 1));
  EXPECT_FALSE(grid_.FindNext(1, "Ionescu"));
  EXPECT_TRUE(grid_.FindNext(1, "vanzari"));
  EXPECT_EQ(CurrentName(), "Ionescu Ana");
}

TEST_F(DataGridTest, F8FiltersByColumnsTogetherAndAnEmptyTextRemovesIt) {
  grid_.setCurrentIndex(grid_.model()->index(0, 1));
  prompter_.texts = {"central"};
  QTest::keyClick(&grid_, Qt::Key_F8);
  EXPECT_EQ(grid_.model()->rowCount(), 2);

  grid_.setCurrentIndex(grid_.model()->index(0, 0));
  prompter_.texts = {"maria"};
  QTest::keyClick(&grid_, Qt::Key_F8);
  ASSERT_EQ(grid_.model()->rowCount(), 1);
  EXPECT_EQ(CurrentName(), "Pop Maria");

  // Cancelling the question keeps the filter; an empty answer removes it.
  prompter_.texts = {std::nullopt, ""};
  QTest::keyClick(&grid_, Qt::Key_F8);
  EXPECT_EQ(grid_.model()->rowCount(), 1);
  QTest::keyClick(&grid_, Qt::Key_F8);
  EXPECT_EQ(grid_.model()->rowCount(), 2);  // the department filter still holds
}

TEST_F(DataGridTest, ShiftF11CopiesTheShownLinesWithTitles) {
  grid_.filter_model()->SetColumnFilter(1, "PRODUCTIE");
  QTest::keyClick(&grid_, Qt::Key_F11, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::clipboard()->text(),
            "Nume\tDepart\tBrut\r\nVasilescu Dan\tPRODUCTIE\t3100.25\r\n");
}

TEST_F(DataGridTest, ShiftF4TellsLinesFiltersAndTheCurrentColumn) {
  grid_.filter_model()->SetColumnFilter(1, "CENTRAL");
  grid_.setCurrentIndex(grid_.model()->index(1, 2));
  QTest::keyClick(&grid_, Qt::Key_F4, Qt::ShiftModifier);
  ASSERT_EQ(prompter_.messages.size(), 1u);
  const QString text = QString::fromStdString(prompter_.messages[0].text);
  EXPECT_TRUE(text.contains("Linii afisate: 2")) << text.toStdString();
  EXPECT_TRUE(text.contains("Linii in total: 4"));
  EXPECT_TRUE(text.contains("Coloana curenta: Brut"));
  EXPECT_TRUE(text.contains("Filtru Depart: CENTRAL"));
}

TEST_F(DataGridTest, ShiftF12WritesASpreadsheetOfTheShownLines) {
  traveno::testing::TempFolder folder;
  const QString path = QString::fromStdString((folder.path() / "export").string());
  grid_.set_export_title("Stat");
  grid_.set_export_path_chooser([&](const QString& suggested) {
    EXPECT_TRUE(suggested.endsWith("Stat.xlsx"));
    return path;  // without the extension: the grid adds it
  });
  grid_.filter_model()->SetColumnFilter(1, "CENTRAL");
  QTest::keyClick(&grid_, Qt::Key_F12, Qt::ShiftModifier);

  const auto entries = traveno::testing::ReadZip(path.toStdString() + ".xlsx");
  ASSERT_TRUE(entries.has_value());
  ASSERT_TRUE(entries->contains("[Content_Types].xml"));
  ASSERT_TRUE(entries->contains("xl/workbook.xml"));
  ASSERT_TRUE(entries->contains("xl/worksheets/sheet1.xml"));
  EXPECT_NE(entries->at("xl/workbook.xml").find("name=\"Stat\""), std::string::npos);
  const std::string& sheet = entries->at("xl/worksheets/sheet1.xml");
  // Amounts stay numbers; the filtered-out lines are not exported.
  EXPECT_NE(sheet.find("<v>1234.5</v>"), std::string::npos) << sheet;
  EXPECT_NE(sheet.find("<v>850</v>"), std::string::npos);
  EXPECT_EQ(sheet.find("<v>2000</v>"), std::string::npos);
  EXPECT_NE(sheet.find("<row r=\"3\""), std::string::npos);
  EXPECT_EQ(sheet.find("<row r=\"4\""), std::string::npos);
  const std::string& strings = entries->at("xl/sharedStrings.xml");
  EXPECT_NE(strings.find("Popescu Ion"), std::string::npos);
  EXPECT_NE(strings.find("Depart"), std::string::npos);
  EXPECT_EQ(strings.find("Ionescu Ana"), std::string::npos);

  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].kind, MessageKind::kInformation);
}

TEST_F(DataGridTest, ExportToAFolderThatDoesNotExistIsReportedNotClaimed) {
  grid_.set_export_path_chooser(
      [](const QString&) { return QString("/nonexistent-folder/x/export.xlsx"); });
  EXPECT_FALSE(grid_.ExportSpreadsheet());
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].kind, MessageKind::kError);
}

TEST_F(DataGridTest, CancelledExportWritesNothing) {
  grid_.set_export_path_chooser([](const QString&) { return QString(); });
  EXPECT_FALSE(grid_.ExportSpreadsheet());
  EXPECT_TRUE(prompter_.messages.empty());
}

TEST(ModelAsTabTextTest, FlattensTabsAndLineBreaksInsideCells) {
  QStandardItemModel model;
  model.setHorizontalHeaderLabels({"A", "B"});
  model.appendRow({new QStandardItem("x\ty"), new QStandardItem("rand1\r\nrand2")});
  EXPECT_EQ(ModelAsTabText(model), "A\tB\r\nx y\trand1 rand2\r\n");
}

}  // namespace
}  // namespace traveno::ui

namespace traveno::ui {
namespace {

// A bracket-like grid: amounts shown with thousands blanks, captions from the
// grid's table rather than the field names.
class GridDefaultsTest : public ::testing::Test {
 protected:
  static constexpr GridColumn kColumns[] = {{"P_Venit", "Venit lunar impozabil", 14},
                                            {"V_Proc", "+procent", 6},
                                            {"Denumire", "Denumire departament", 30}};
  void SetUp() override {
    model_.setHorizontalHeaderLabels({"P_Venit", "V_Proc", "Denumire"});
    model_.appendRow({NumberItem(2100000, "2 100 000"), NumberItem(23, "23"),
                      TextItem("SC DEMO PRODUCTIE SI COMERT SRL")});
    model_.appendRow({NumberItem(0, "0"), NumberItem(18.5, "18,5"), TextItem("CENTRAL")});
    grid_.set_prompter(&prompter_);
    grid_.SetColumns(kColumns);
    grid_.SetSourceModel(&model_);
    grid_.resize(900, 300);
    grid_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid_));
  }

  QStandardItemModel model_;
  traveno::testing::ScriptedPrompter prompter_;
  DataGrid grid_;
};

TEST_F(GridDefaultsTest, CaptionsComeFromTheTableAndAFilteredColumnIsMarked) {
  const QAbstractItemModel* shown = grid_.model();
  EXPECT_EQ(shown->headerData(0, Qt::Horizontal).toString(), "Venit lunar impozabil");
  EXPECT_EQ(shown->headerData(1, Qt::Horizontal).toString(), "+procent");
  grid_.filter_model()->SetColumnFilter(2, "central");
  EXPECT_EQ(shown->headerData(2, Qt::Horizontal).toString(), "Denumire departament [central]");
  EXPECT_TRUE(shown->headerData(2, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
  EXPECT_EQ(shown->headerData(2, Qt::Horizontal, kCaptionRole).toString(), "Denumire departament");
  // The copy carries the captions without the mark, and amounts as numbers.
  EXPECT_EQ(ModelAsTabText(*shown),
            "Venit lunar impozabil\t+procent\tDenumire departament\r\n"
            "0\t18.5\tCENTRAL\r\n");
  grid_.filter_model()->SetColumnFilter(2, "");
  EXPECT_EQ(shown->headerData(2, Qt::Horizontal).toString(), "Denumire departament");
  EXPECT_FALSE(shown->headerData(2, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
}

TEST_F(GridDefaultsTest, ColumnsAreAsWideAsTheirCaptionContentAndField) {
  grid_.FitColumns();
  const QFontMetrics metrics(grid_.horizontalHeader()->font());
  for (int c = 0; c < 3; ++c) {
    const QString caption = QString::fromUtf8(kColumns[c].caption);
    EXPECT_GT(grid_.columnWidth(c), metrics.horizontalAdvance(caption)) << kColumns[c].caption;
  }
  EXPECT_GT(grid_.columnWidth(2),
            grid_.fontMetrics().horizontalAdvance("SC DEMO PRODUCTIE SI COMERT SRL"));
  // Not the fixed width every column had.
  EXPECT_NE(grid_.columnWidth(0), grid_.columnWidth(1));
}

TEST_F(GridDefaultsTest, TheSpreadsheetHoldsNumbersUnderTheCaptions) {
  traveno::testing::TempFolder folder;
  const QString path = QString::fromStdString((folder.path() / "grila.xlsx").string());
  grid_.filter_model()->SetColumnFilter(2, "DEMO");
  ExportToXlsx(*grid_.model(), path, "Grila");
  const auto entries = traveno::testing::ReadZip(path.toStdString());
  ASSERT_TRUE(entries.has_value());
  const std::string& sheet = entries->at("xl/worksheets/sheet1.xml");
  EXPECT_NE(sheet.find("<v>2100000</v>"), std::string::npos) << sheet;
  EXPECT_NE(sheet.find("<v>23</v>"), std::string::npos);
  const std::string& strings = entries->at("xl/sharedStrings.xml");
  EXPECT_EQ(strings.find("2 100 000"), std::string::npos);
  EXPECT_NE(strings.find(">Venit lunar impozabil<"), std::string::npos) << strings;
  EXPECT_NE(strings.find(">Denumire departament<"), std::string::npos);  // without the mark
  EXPECT_FALSE(std::filesystem::exists(path.toStdString() + ".partial"));
}

}  // namespace
}  // namespace traveno::ui
