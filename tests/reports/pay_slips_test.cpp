// The pay slips: the two layouts, the texts that follow the employee's kind
// and pay, and the page breaks.
#include "reports/pay_slips.h"

#include "tests/reports/documents_fixture.h"

namespace traveno::reports {
namespace {

using testing::DocumentsFixture;

class PaySlipsTest : public DocumentsFixture {
 protected:
  // The left edges of the sheets that carry an employee's name on a page.
  std::vector<double> NameColumns(const Page& page, const std::string& nume) {
    std::vector<double> columns;
    for (const TextItem* item : Items(page, " " + nume + " ION")) columns.push_back(item->box.x);
    return columns;
  }
};

TEST_F(PaySlipsTest, LayoutOfTwoCopiesPrintsEachEmployeeTwiceSideBySide) {
  Add(Employee("ALFA"));
  Add(Employee("BETA"));
  for (double tip : {0.0, 2.0}) {
    SetCompany("TipFluturasi", tip);
    const Document document = Prepare(*PaySlips(Context()));
    ASSERT_EQ(document.pages.size(), 1u) << tip;
    const std::vector<double> alfa = NameColumns(document.pages[0], "ALFA");
    ASSERT_EQ(alfa.size(), 2u) << tip;
    EXPECT_LT(alfa[0], 100);
    EXPECT_GT(alfa[1], 100);
    EXPECT_EQ(Items(document.pages[0], "Semnatura").size(), 2u) << "under each first copy";
  }
}

TEST_F(PaySlipsTest, LayoutOfOneCopyPutsTwoEmployeesSideBySide) {
  SetCompany("TipFluturasi", 1);
  for (const char* nume : {"ALFA", "BETA", "GAMA", "DELTA", "EPSILON"}) Add(Employee(nume));
  const Document document = Prepare(*PaySlips(Context()));
  ASSERT_EQ(document.pages.size(), 2u);
  const Page& first = document.pages[0];
  ASSERT_EQ(NameColumns(first, "ALFA").size(), 1u);
  ASSERT_EQ(NameColumns(first, "BETA").size(), 1u);
  EXPECT_LT(NameColumns(first, "ALFA")[0], 100);
  EXPECT_GT(NameColumns(first, "BETA")[0], 100);
  EXPECT_EQ(Items(first, " BETA ION").front()->box.y, Items(first, " ALFA ION").front()->box.y);
  EXPECT_GT(Items(first, " GAMA ION").front()->box.y, Items(first, " ALFA ION").front()->box.y);
  EXPECT_EQ(NameColumns(document.pages[1], "EPSILON").size(), 1u);
  EXPECT_TRUE(Items(first, "Semnatura").empty());
}

TEST_F(PaySlipsTest, AnyOtherLayoutOrAnEmptyMonthPrintsNothing) {
  EXPECT_FALSE(PaySlips(Context()).has_value());
  Add(Employee("ALFA"));
  SetCompany("TipFluturasi", 3);
  EXPECT_FALSE(PaySlips(Context()).has_value());
}

TEST_F(PaySlipsTest, TextsFollowTheEmployeesKindAndPay) {
  SetCompany("TipFluturasi", 1);
  SetCompany("MedieOre", 170);
  PersRow partial = Employee("PARTIAL", "2");
  partial.Ore_Zi = 4;
  Add(partial);
  PersRow hourly = Employee("ORAR");
  hourly.PlatitOra = 1;
  hourly.TIMP = 120;
  Add(hourly);
  PersRow piece = Employee("ACORD");
  piece.ACORD = "D";
  piece.REALIZAT = 1234567;
  Add(piece);
  const Document document = Prepare(*PaySlips(Context()));
  const Page& page = document.pages[0];
  EXPECT_EQ(Items(page, "C. Partial 4 Ore/Zi").size(), 1u);
  EXPECT_EQ(Items(page, "Tarifar ( 120 / 170 )").size(), 1u);
  EXPECT_EQ(Items(page, "X").size(), 1u) << "the piece-work mark";
  EXPECT_EQ(Items(page, "1 234 567").size(), 1u) << "the realised amount";
  // "In Acord" only on the permanent sheets; the partial contract without
  // a main job has no coefficient.
  EXPECT_EQ(Items(page, "In Acord").size(), 2u);
  EXPECT_EQ(Items(page, "Coef.Ded.").size(), 2u);
}

TEST_F(PaySlipsTest, WithPagColabEachDepartmentsFirstPartialContractStartsAPage) {
  AddDepartment("PRODUCT");
  SetCompany("TipFluturasi", 1);
  SetCompany("PagColab", 1);
  Add(Employee("A1", "1", "CENTRAL"));
  Add(Employee("A2", "2", "CENTRAL"));
  Add(Employee("A3", "2", "CENTRAL"));
  Add(Employee("B1", "1", "PRODUCT"));
  Add(Employee("B2", "2", "PRODUCT"));
  const Document document = Prepare(*PaySlips(Context()));
  const auto pages = PageTexts(document);
  ASSERT_EQ(pages.size(), 4u);
  EXPECT_EQ(PageOf(pages, "A1 ION"), 0);
  EXPECT_EQ(PageOf(pages, "A2 ION"), 1);
  EXPECT_EQ(PageOf(pages, "A3 ION"), 1);
  EXPECT_EQ(PageOf(pages, "B1 ION"), 2);
  EXPECT_EQ(PageOf(pages, "B2 ION"), 3);
  EXPECT_TRUE(AnyLineHas(pages, "Firma: FIRMA FIRMA -- PRODUCT"));
}

}  // namespace
}  // namespace traveno::reports
