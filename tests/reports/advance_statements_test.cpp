// The advance statement, the advance slips and the holiday-advance statement.
#include "reports/advance_statements.h"

#include "tests/reports/documents_fixture.h"

namespace traveno::reports {
namespace {

using testing::DocumentsFixture;

class AdvanceStatementsTest : public DocumentsFixture {};

TEST_F(AdvanceStatementsTest, AMonthWithoutAdvancesPrintsNothing) {
  Add(Employee("ALFA"));
  EXPECT_FALSE(AdvanceStatement(Context()).has_value());
  EXPECT_FALSE(AdvanceSlips(Context()).has_value());
}

TEST_F(AdvanceStatementsTest, AnAdvanceBelowAThousandthPassesTheFilterButIsNotPrinted) {
  PersRow tiny = Employee("MIC");
  tiny.AVANS = 0.0005;
  Add(tiny);
  PersRow real = Employee("MARE", "2");
  real.AVANS = 1500000;
  Add(real);
  const auto pages = PageTexts(AdvanceStatement(Context()));
  EXPECT_FALSE(AnyLineHas(pages, "MIC"));
  EXPECT_TRUE(AnyLineHas(pages, "MARE"));
  EXPECT_TRUE(LineWith(pages.back(), "TOTAL GENERAL")->ends_with("1 500 000"));
  const auto slips = PageTexts(AdvanceSlips(Context()));
  EXPECT_FALSE(AnyLineHas(slips, "MIC"));
  EXPECT_TRUE(AnyLineHas(slips, "C. Partial"));
}

TEST_F(AdvanceStatementsTest, GroupsByDepartmentAndKindWithTheirSubtotals) {
  AddDepartment("PRODUCT");
  SetCompany("PagColab", 1);
  for (auto [nume, tip, depart, avans] : {std::tuple{"A1", "1", "CENTRAL", 100000.0},
                                          {"A2", "2", "CENTRAL", 20000.0},
                                          {"B1", "1", "PRODUCT", 3000.0}}) {
    PersRow row = Employee(nume, tip, depart);
    row.AVANS = avans;
    Add(row);
  }
  const auto pages = PageTexts(AdvanceStatement(Context()));
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_TRUE(
      LineWith(pages[0], "SUBTOTAL PERMANENTII DE LA DEPARTAMENTUL CENTRAL")->ends_with("100 000"));
  // The partial contracts begin a page (PagColab 1), then the department closes.
  EXPECT_EQ(PageOf(pages, " CONTRACTE PARTIALE DE LA DEPARTAMENTUL CENTRAL"), 1);
  EXPECT_TRUE(LineWith(pages[1], "SUBTOTAL DEPARTAMENTUL: CENTRAL")->ends_with("120 000"));
  EXPECT_EQ(PageOf(pages, "Departamentul: PRODUCT"), 2);
  EXPECT_TRUE(LineWith(pages[2], "TOTAL GENERAL")->ends_with("123 000"));
}

class HolidayAdvanceTest : public DocumentsFixture {
 protected:
  void SetUp() override {
    DocumentsFixture::SetUp();
    for (auto [nume, avans] : {std::pair{"UNU", 100.0}, {"DOI", 20.0}, {"TREI", 3.0}}) {
      PersRow row = Employee(nume);
      row.AVANS_CO = avans;
      Add(row);
    }
    Add(Employee("FARA"));  // no holiday advance: not in the table
  }
};

TEST_F(HolidayAdvanceTest, TheTableHoldsTheRowsWithAHolidayAdvanceUnmarked) {
  const std::vector<HolidayAdvanceLine> lines = HolidayAdvanceLines(*session_);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].Nume, "UNU");
  EXPECT_EQ(lines[2].Marca, 3);
  for (const HolidayAdvanceLine& line : lines) EXPECT_FALSE(line.Listare);
}

TEST_F(HolidayAdvanceTest, OnlyMarkedRowsPrintKeepingTheirPlaceAsRunningNumber) {
  std::vector<HolidayAdvanceLine> lines = HolidayAdvanceLines(*session_);
  lines[0].Listare = true;
  lines[2].Listare = true;
  const auto pages = PageTexts(HolidayAdvanceStatement(Context(), lines));
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_TRUE(LineWith(pages[0], "UNU ION")->starts_with("1 "));
  EXPECT_TRUE(LineWith(pages[0], "TREI ION")->starts_with("3 "));
  EXPECT_FALSE(AnyLineHas(pages, "DOI"));
  EXPECT_TRUE(LineWith(pages[0], "TOTAL")->ends_with("103"));
}

TEST_F(HolidayAdvanceTest, NothingMarkedPrintsTheHeadingsAndATotalOfZero) {
  const auto pages = PageTexts(HolidayAdvanceStatement(Context(), HolidayAdvanceLines(*session_)));
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_TRUE(AnyLineHas(pages, kHolidayAdvanceTitle));
  EXPECT_FALSE(AnyLineHas(pages, "ION"));
  EXPECT_TRUE(LineWith(pages[0], "TOTAL")->ends_with(" 0"));
}

TEST_F(HolidayAdvanceTest, ADepartmentSubtotalSumsItsMarkedRows) {
  AddDepartment("PRODUCT");
  std::vector<HolidayAdvanceLine> lines = HolidayAdvanceLines(*session_);
  lines[0].Listare = true;
  lines[1].Listare = true;
  const auto pages = PageTexts(HolidayAdvanceStatement(Context(), lines));
  EXPECT_TRUE(LineWith(pages[0], "SUBTOTAL DEPARTAMENTUL: CENTRAL")->ends_with("120"));
}

}  // namespace
}  // namespace traveno::reports
