// The payroll statement's groups, page breaks, bonus columns and summary.
#include "reports/payroll_statement.h"

#include <algorithm>

#include "core/store/sqlite.h"
#include "tests/reports/documents_fixture.h"

namespace traveno::reports {
namespace {

using testing::DocumentsFixture;

class PayrollStatementTest : public DocumentsFixture {};

TEST_F(PayrollStatementTest, AMonthWithoutRowsPrintsNothing) {
  EXPECT_FALSE(PayrollStatement(Context()).has_value());
}

TEST_F(PayrollStatementTest, OneDepartmentPrintsNoDepartmentGroups) {
  Add(Employee("ALFA"));
  Add(Employee("BETA", "2"));
  const auto pages = PageTexts(PayrollStatement(Context()));
  EXPECT_FALSE(AnyLineHas(pages, "Departamentul:"));
  EXPECT_FALSE(AnyLineHas(pages, "SUBTOTAL DEPARTAMENTUL"));
  // The employees and both kinds on the first page, the summary on its own.
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(PageOf(pages, "Angajati contract partial"), 0);
  EXPECT_EQ(PageOf(pages, "Subtotal permanenti"), 1);
}

TEST_F(PayrollStatementTest, EveryDepartmentBeginsAPageAndEndsWithItsSubtotal) {
  AddDepartment("PRODUCT");
  Add(Employee("ALFA", "1", "CENTRAL"));
  Add(Employee("BETA", "1", "PRODUCT"));
  const auto pages = PageTexts(PayrollStatement(Context()));
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(PageOf(pages, "Departamentul: CENTRAL"), 0);
  EXPECT_EQ(PageOf(pages, "SUBTOTAL DEPARTAMENTUL: CENTRAL"), 0);
  EXPECT_EQ(PageOf(pages, "Departamentul: PRODUCT"), 1);
  EXPECT_EQ(PageOf(pages, "BETA"), 1);
}

TEST_F(PayrollStatementTest, ASubtotalKeepsWithTheEmployeesItCloses) {
  // However many employees the first department has, its subtotals never
  // begin a page of their own: a page that prints one of them prints an
  // employee of the department too.
  AddDepartment("PRODUCT");
  Add(Employee("ZETA", "1", "PRODUCT"));
  for (int count = 1; count <= 14; ++count) {
    Add(Employee("CENTRAL" + std::to_string(count), "1", "CENTRAL"));
    for (const auto& page : PageTexts(PayrollStatement(Context()))) {
      const bool closes = LineWith(page, "SUBTOTAL DEPARTAMENTUL: CENTRAL").has_value();
      const bool employee = std::any_of(page.begin(), page.end(), [](const std::string& line) {
        return line.find(" CENTRAL") != std::string::npos && line.find(" ION") != std::string::npos;
      });
      EXPECT_TRUE(!closes || employee) << "with " << count << " employees";
    }
  }
}

TEST_F(PayrollStatementTest, PagColabOneStartsThePartialContractGroupOnANewPage) {
  Add(Employee("ALFA", "1"));
  Add(Employee("BETA", "2"));
  SetCompany("PagColab", 1);
  auto pages = PageTexts(PayrollStatement(Context()));
  EXPECT_EQ(PageOf(pages, "Angajati permanenti"), 0);
  EXPECT_EQ(PageOf(pages, "Angajati contract partial"), 1);
  EXPECT_EQ(PageOf(pages, "BETA"), 1);
}

TEST_F(PayrollStatementTest, ABonusOfModeFourHasNoHeadingAndNoFigures) {
  SetCompany("Spor1_Apl", 1);
  SetCompanyText("Spor1_Den", "Vechime");
  SetCompany("Spor2_Apl", 4);
  SetCompanyText("Spor2_Den", "Conditii");
  PersRow row = Employee("ALFA");
  row.Spor1 = 5;
  row.vals1 = 111111;
  row.spor2 = 7;
  row.vals2 = 123457;
  Add(row);
  const auto pages = PageTexts(PayrollStatement(Context()));
  EXPECT_TRUE(AnyLineHas(pages, "Vechime"));
  EXPECT_TRUE(AnyLineHas(pages, "5%"));
  EXPECT_TRUE(AnyLineHas(pages, "111 111"));
  EXPECT_FALSE(AnyLineHas(pages, "Conditii"));
  EXPECT_FALSE(AnyLineHas(pages, "7%"));
  // Neither the row's value nor any sum of it.
  EXPECT_FALSE(AnyLineHas(pages, "123 457"));
}

TEST(BonusColumnTest, ThePercentageShowsByTheBonusMode) {
  struct Case {
    double apl, proc_f, percent;
    const char* text;
  };
  const Case kCases[] = {
      {0, 0, 10, ""},  // fixed in lei: no percentage
      {1, 0, 10, "10%"}, {2, 0, 12.5, "12,5%"}, {3, 0, 10, "10%"}, {1, 0, 0, ""},  // blank when 0
      {4, 0, 10, ""},                                                              // not used
      {5, 0, 10, ""},  // a formula without the percentage switch
      {5, 1, 10, "10%"},
  };
  for (const Case& c : kCases) {
    engine::BonusParameters bonus;
    bonus.Apl = c.apl;
    bonus.ProcF = c.proc_f;
    EXPECT_EQ(BonusPercentText(BonusColumnOf(bonus), c.percent), c.text)
        << c.apl << "/" << c.proc_f;
  }
}

class HandicapFundTest : public PayrollStatementTest {
 protected:
  std::string HandicapLine(int permanent, int disabled) {
    SetGeneral("PersHandi", 4);
    SetGeneral("Handicap", 0);
    SetGeneral("SalMinEc", 2500000);
    Transaction tx(db());
    for (int i = 0; i < permanent; ++i) {
      PersRow row = Employee("ANGAJAT" + std::to_string(i));
      row.INVALIDITATE = i < disabled ? 1 : 0;
      Add(row);
    }
    tx.Commit();
    const auto pages = PageTexts(PayrollStatement(Context()));
    return LineWith(pages.back(), "Fond pers. cu handicap").value_or("");
  }
};

TEST_F(HandicapFundTest, OneHundredFiftyEmployeesWithThreeDisabledOweThreeMinimumWages) {
  // R = RoundEven(150 x 4 / 100) = 6 disabled persons required, 3 missing.
  const std::string line = HandicapLine(150, 3);
  EXPECT_NE(line.find("( 0 % ) 0 + Fond suplimentar ( 4 % ) 7 500 000"), std::string::npos) << line;
  // The fund itself: nothing on the health base (Handicap 0) plus X.
  EXPECT_TRUE(line.ends_with(" 7 500 000")) << line;
}

TEST_F(HandicapFundTest, OneHundredOneEmployeesOweNoSupplement) {
  const std::string line = HandicapLine(101, 0);
  EXPECT_NE(line.find("Fond suplimentar ( 4 % ) 0"), std::string::npos) << line;
}

TEST_F(PayrollStatementTest, APartialContractWithoutCiasCountsInNeitherPensionNorCasBase) {
  SetGeneral("SalMedEc", 6000000);
  PersRow without = Employee("FARA", "2");
  without.ALT_VENIT = 0;
  without.PENSIE = 1111;
  without.BRUT = 500000;
  Add(without);
  PersRow with = Employee("CU", "2");
  with.ALT_VENIT = 1;
  with.PENSIE = 2222;
  with.BRUT = 300000;
  Add(with);
  const std::optional<Report> report = PayrollStatement(Context());
  ASSERT_TRUE(report);
  const Document document = Prepare(*report);
  const Page& summary = document.pages.back();
  // The kind's subtotal counts both; the summary's partial-contract row
  // counts the pension withheld with CIAS only.
  EXPECT_FALSE(Items(document.pages.front(), "3 333 ").empty());
  EXPECT_FALSE(Items(summary, "2 222 ").empty());
  EXPECT_FALSE(Items(summary, "3 333 ").empty());  // the "Total" row
  const auto lines = PageLines(summary);
  EXPECT_NE(LineWith(lines, "Baza pentru CAS")->find("Contract partial: 300 000"),
            std::string::npos);
}

TEST_F(PayrollStatementTest, RebuildsTheCompanyTotalsFromTheRowsItPrints) {
  PersRow a = Employee("ALFA");
  a.BRUT = 1000000;
  a.RESTPL = 700000;
  Add(a);
  PersRow b = Employee("BETA", "2");
  b.BRUT = 400000;
  b.RESTPL = 300000;
  Add(b);
  session_->totals() = engine::CompanyTotals{};
  ASSERT_TRUE(PayrollStatement(Context()));
  EXPECT_EQ(session_->totals().BrutP, 1000000);
  EXPECT_EQ(session_->totals().BrutC, 400000);
  EXPECT_EQ(session_->totals().RestPlC, 300000);
  EXPECT_EQ(session_->totals().NrAngajati, 1);
}

}  // namespace
}  // namespace traveno::reports
