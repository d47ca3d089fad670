// The payroll statement's groups, page breaks, bonus columns and summary.
#include "reports/payroll_statement.h"

#include <algorithm>

#include "core/store/sqlite.h"
#include "core/text.h"
#include "reports/document_text.h"
#include "tests/reports/documents_fixture.h"
#include "tests/reports/worked_month.h"

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

// The statement of the worked month: every total against the figures worked
// out apart (tests/reports/worked_month.py).
class StatementTotalsTest : public testing::WorkedMonthFixture {
 protected:
  void SetUp() override {
    WorkedMonthFixture::SetUp();
    const std::optional<Report> report = PayrollStatement(Context());
    ASSERT_TRUE(report);
    document_ = Prepare(*report);
    ASSERT_EQ(document_.pages.size(), 2u) << "the rows, then the summary";
  }

  // The text a block of sums prints under a column heading: the block is
  // found by its caption, the cell by the heading's line and edge (a heading
  // on the left of its cell shares the left edge of the small figure under
  // it, any other the right edge of the figure under it). Empty when the
  // cell holds nothing.
  static std::string CellUnder(const Page& page, std::string_view caption,
                               std::string_view heading) {
    const TextItem* block = nullptr;
    const TextItem* top_heading = nullptr;
    const TextItem* head = nullptr;
    for (const TextItem& t : page.texts) {
      if (t.text == caption) block = &t;
      if (Trim(t.text) == "Nume") top_heading = &t;
    }
    // The heading among the four lines of column headings.
    for (const TextItem& t : page.texts) {
      if (top_heading != nullptr && Trim(t.text) == heading && t.box.y >= top_heading->box.y &&
          t.box.y < top_heading->box.y + 12) {
        head = &t;
      }
    }
    if (block == nullptr || top_heading == nullptr || head == nullptr) {
      ADD_FAILURE() << "no block " << caption << " or heading " << heading;
      return {};
    }
    const bool left_heading = head->align == Align::kLeft;
    const double line = head->box.y - top_heading->box.y;
    for (const TextItem& t : page.texts) {
      if (&t == block || std::abs((t.box.y - block->box.y) - line) > 0.5) continue;
      const bool same_edge = left_heading ? std::abs(t.box.x - head->box.x) < 0.01
                                          : std::abs(t.box.right() - head->box.right()) < 0.01;
      if (same_edge) return t.text;
    }
    return {};
  }

  Document document_;
};

TEST_F(StatementTotalsTest, TheTotalRowSumsEveryFigureOfEveryRow) {
  const Page& summary = document_.pages[1];
  const std::pair<const char*, const char*> kCells[] = {
      {"Salariu incadrare", "58 940 000 "},
      {"Ore.l.", "574 "},  // 41 x (1 + 2 + 4 + 7)
      // The time values of the rows not paid by piece-work: 1 027 440,
      // 32 878 095 and 201 378 333 (the pensioner's is blank).
      {"Salariu realizat tarifar", "235 283 868 "},
      {"Salariu realizat acord", "18 620 000 "},
      {"Timp sup.", "42 "},
      {"Val. timp supl.", "2 114 000 "},
      {"ZileCO", "14 "},
      {"Suma zile co.", "2 618 000 "},
      {"Vechime", "858 200 "},
      {"Conditii", "737 800 "},
      {"Telefon", "614 600 "},
      {"Productivitate", "533 400 "},
      {"Ore noapte", "70 "},
      {"Suma timp n", "382 200 "},
      {"Alte sume +Alte Sporuri", "596 400 "},  // 267 400 + 329 000
      {"Prima vacanta", "1 572 200 "},
      {"Diferenta brut", "121 800 "},
      {"CM firma", "1 362 214 "},
      {"Zile CFP", "28 "},
      {"Prima", "1 846 600 "},
      // Permanent: BRUT - CIC - CM2L + SumeExcept; partial: BRUT.
      {"Fond salariu", "71 446 343 "},
      {"Zile CM", "56 "},
      {"CM stat", "998 606 "},
      {"Zile CIC", "84 "},
      {"CIC", "782 782 "},
      {"Sume exceptate", "486 038 "},
      {"Venit brut", "71 723 918 "},
      {"CASS", "4 663 400 "},
      {"CIAS 9,5 %", "6 813 800 "},
      {"Somaj", "718 200 "},
      {"Venit net", "59 526 600 "},
      {"Chelt Prof.", "3 781 400 "},
      {"Deduc. Pers Baza", "25 204 200 "},
      {"Deduc. Pers Supl", "12 609 800 "},
      {"Baza Impozitare", "17 935 400 "},
      {"Impozit", "4 125 800 "},
      {"Avans", "14 012 600 "},
      {"Retineri", "180 600 "},
      {"Avans Concediu", "2 241 400 "},
      {"Prime incasate", "200 200 "},
      {"Popriri", "233 800 "},
      {"Garantii", "264 600 "},
      {"Alte retineri", "295 400 "},
      {"Rest plata", "37 818 200 "},
  };
  for (const auto& [heading, text] : kCells) {
    EXPECT_EQ(CellUnder(summary, "Total", heading), text) << heading;
  }
}

TEST_F(StatementTotalsTest, TheKindRowsOfTheSummaryCountPensionAndUnemploymentByTheKindsRules) {
  const Page& rows = document_.pages[0];
  const Page& summary = document_.pages[1];
  struct Case {
    const Page* page;
    const char* caption;
    const char* heading;
    const char* text;
  };
  const Case kCases[] = {
      // The groups' subtotals on the rows' page: every row of the kind.
      {&rows, "Subtotal angajati permanenti", "CIAS 9,5 %", "1 460 100 "},
      {&rows, "Subtotal angajati permanenti", "Venit brut", "15 369 411 "},
      {&rows, "Subtotal angajati contract partial", "CIAS 9,5 %", "5 353 700 "},
      {&rows, "Subtotal angajati contract partial", "Somaj", "564 300 "},
      {&rows, "Subtotal angajati contract partial", "Salariu realizat tarifar", "234 256 428 "},
      // The summary: the pension of the partial contracts with CIAS only,
      // their unemployment where it is withheld (the first, x4), and the
      // gross, rest to pay and exempt sums of the company totals.
      {&summary, "Subtotal permanenti", "CIAS 9,5 %", "1 460 100 "},
      {&summary, "Subtotal permanenti", "Somaj", "153 900 "},
      {&summary, "Subtotal permanenti", "Venit brut", "15 369 411 "},
      {&summary, "Subtotal permanenti", "Rest plata", "8 103 900 "},
      {&summary, "Subtotal permanenti", "Sume exceptate", "104 151 "},
      {&summary, "Subtotal permanenti", "Impozit", "884 100 "},
      {&summary, "Subtotal angajati contract partial", "CIAS 9,5 %", "1 946 800 "},
      {&summary, "Subtotal angajati contract partial", "Somaj", "205 200 "},
      {&summary, "Subtotal angajati contract partial", "Venit brut", "56 354 507 "},
      {&summary, "Subtotal angajati contract partial", "Rest plata", "29 714 300 "},
      {&summary, "Subtotal angajati contract partial", "Sume exceptate", "381 887 "},
      {&summary, "Subtotal angajati contract partial", "Impozit", "3 241 700 "},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(CellUnder(*c.page, c.caption, c.heading), c.text) << c.caption << " / " << c.heading;
  }
}

TEST_F(StatementTotalsTest, TheEmployersTaxesAddUpTheirParts) {
  const std::vector<std::string> lines = PageLines(document_.pages[1]);
  // Bases: unemployment 25 465 513 (the non-pensioner permanent and the
  // partial contract counted, plus every exempt sum); health and commission
  // 70 428 568; CAS 34 533 177 (under its ceiling of 1,95 x 5 x 6 962 000).
  // The health contribution of the 56 medical-leave days:
  // RoundEven(2 500 000 x 2 / 21 x 56 x 6,5 %) = 866 667.
  const char* const kLines[] = {
      // The rows' own parts of the unemployment base, the pensioner's and
      // the second partial contract's left out.
      "Baza Somaj Firma 25 153 060",
      "Baza pentru CAS: Permanenti: 15 473 562 / Contract partial: 20 631 416",
      "Fond somaj 3 % Fond somaj firma 763 965 + Fond somaj angajati 359 100 = 1 123 065",
      "Fond sanatate 7 % Fond sanatate firma 4 930 000 + Fond sanatate angajati 4 663 400 + "
      "Contributia de sanatate aferenta concediilor medicale 866 667 = 10 460 067",
      "CAS 22 % CAS total 8 487 993 - CM Stat 998 606 - CIC 782 782 - Contributia de sanatate "
      "aferenta concediilor medicale 866 667 = 5 839 938",
      "Fond pers. cu handicap ( 4 % ) 2 817 143 + Fond suplimentar ( 4 % ) 0 2 817 143",
      "Comision CM 0,75 % 528 214",
      "Fond invatamint 2 % 509 310",
      "Fond risc si accidente 0,5 % 172 666",
      "Fond CASS 6,5 % 4 663 400",
      "Fond CIAS 9,5 % 6 813 800",
      "Fond somaj 359 100",
      "Impozit 4 125 800",
  };
  for (const char* expected : kLines) {
    const std::string start(expected, std::string_view(expected).find(' ', 5));
    bool found = false;
    for (const std::string& line : lines) found = found || Squeezed(line) == expected;
    EXPECT_TRUE(found) << expected << "\n  printed: " << LineWith(lines, start).value_or("none");
  }
}

}  // namespace
}  // namespace traveno::reports
