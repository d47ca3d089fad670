// The printed declarations as prepared pages: what each line carries, the
// groups and their totals, the page headings and the number of pages.
#include <algorithm>
#include <cctype>

#include "declarations/cas_documents.h"
#include "declarations/health_documents.h"
#include "declarations/unemployment_documents.h"
#include "reports/document_text.h"
#include "tests/declarations/monthly_files_fixture.h"

namespace traveno::declarations {
namespace {

using reports::Document;
using reports::Page;
using reports::TextItem;
using testing::D;
using testing::kFilesToday;
using testing::MonthlyFilesFixture;

// The texts of a page standing right of the text `label`, on its height,
// left to right.
std::vector<std::string> RightOf(const Page& page, const std::string& label) {
  const auto found = std::find_if(page.texts.begin(), page.texts.end(),
                                  [&](const TextItem& t) { return t.text == label; });
  if (found == page.texts.end()) {
    ADD_FAILURE() << "no text " << label;
    return {};
  }
  const double middle = found->box.y + found->box.height / 2;
  std::vector<const TextItem*> items;
  for (const TextItem& t : page.texts) {
    if (&t != &*found && t.box.x > found->box.x && t.box.y <= middle && t.box.bottom() >= middle) {
      items.push_back(&t);
    }
  }
  std::sort(items.begin(), items.end(),
            [](const TextItem* a, const TextItem* b) { return a->box.x < b->box.x; });
  std::vector<std::string> texts;
  for (const TextItem* t : items) texts.push_back(t->text);
  return texts;
}

std::string FirstRightOf(const Page& page, const std::string& label) {
  const auto texts = RightOf(page, label);
  return texts.empty() ? std::string() : texts.front();
}

int Count(const Document& document, const std::string& text) {
  int count = 0;
  for (const Page& page : document.pages) {
    for (const TextItem& t : page.texts) count += t.text == text ? 1 : 0;
  }
  return count;
}

class DeclarationDocumentsTest : public MonthlyFilesFixture {
 protected:
  DeclarationHeader header_{"123", kFilesToday, {"POPESCU", "ION", "DIRECTOR", "B"}};
};

TEST_F(DeclarationDocumentsTest, TheSocialInsuranceSummaryCarriesTheMonthsFigures) {
  const CasDeclaration cas = BuildCasDeclaration(*session_);
  const Document summary = reports::Prepare(CasSummaryReport(cas, header_, 1));
  ASSERT_EQ(summary.pages.size(), 1u);
  const Page& page = summary.pages[0];
  // The figures worked out for the fixture month (see the expected files).
  const std::pair<const char*, const char*> kLines[] = {
      {"D.Nr.mediu asigurati:", "3,09 "},
      {"E.Total fond salarii brute realizate:", "21 000 000 "},
      {"I.Total CAS retinut de la asigurati:", "2 070 000 "},
      {"J.Total CAS datorat de angajator:", "4 620 000 "},
      {"M.Total CAS de virat:", "6 151 364 "},
      {"Nr. total de file ANEXA 1.1:", "1 "},
      {"B.CUI(Cod fiscal):", " 1234567"},
      {"C.Nr.inreg.Registrul Comertului", " J40 / 1234 / 1998"},
  };
  for (const auto& [label, value] : kLines) EXPECT_EQ(FirstRightOf(page, label), value) << label;
  EXPECT_EQ(FirstRightOf(page, "G.In conditii deosebite de munca:"), "");
  const std::string text = reports::DocumentText(summary);
  EXPECT_NE(text.find("Data lichidarii drepturilor salariale: zi 10, luna 4, an 2003"),
            std::string::npos);
  EXPECT_NE(text.find("105 000"), std::string::npos);  // the work-accident insurance
  EXPECT_NE(text.find("88 636"), std::string::npos);   // health on medical leave
  EXPECT_NE(text.find("450 000"), std::string::npos);  // the benefits paid by the state

  SetNaturalPerson("1600101400077");
  const Document natural =
      reports::Prepare(CasSummaryReport(BuildCasDeclaration(*session_), header_, 1));
  EXPECT_EQ(FirstRightOf(natural.pages[0], "B.CNP"), " 1600101400077");
}

TEST_F(DeclarationDocumentsTest, TheNominalListRepeatsItsHeadingsOnEveryPage) {
  const CasDeclaration cas = BuildCasDeclaration(*session_);
  const Document one = reports::Prepare(CasNominalReport(cas, header_));
  ASSERT_EQ(one.pages.size(), 1u);
  EXPECT_EQ(CasNominalPageCount(cas, header_), 1);
  EXPECT_EQ(RightOf(one.pages[0], "4 ").at(0), " LUPU-ȚIBULEAC ANCA-LĂCRĂMIOARA");
  EXPECT_EQ(Count(one, " POPESCU ION"), 1);
  EXPECT_EQ(Count(one, " OPREA DAN"), 0);  // not declared
  EXPECT_EQ(Count(one, "Semnatura,"), 1);

  CasDeclaration many = cas;
  for (int i = 0; i < 60; ++i) many.persons.push_back(cas.persons[i % 4]);
  const Document pages = reports::Prepare(CasNominalReport(many, header_));
  ASSERT_GE(pages.pages.size(), 2u);
  EXPECT_EQ(CasNominalPageCount(many, header_), static_cast<int>(pages.pages.size()));
  EXPECT_EQ(Count(pages, "COD ASIGURAT"), static_cast<int>(pages.pages.size()));
  EXPECT_EQ(Count(pages, "DECLARATIE"), 1);
  EXPECT_EQ(Count(pages, "64 "), 1);
  EXPECT_EQ(Count(pages, "Pagina 2"), 1);
}

// The annex's page count, which the summary and the files carry, is the
// number of pages the list prints, for every length of the list around the
// ends of its first and second pages (where the closing line may or may not
// fit under the last person).
TEST_F(DeclarationDocumentsTest, TheNominalPageCountIsThePagesTheListPrints) {
  const CasDeclaration cas = BuildCasDeclaration(*session_);
  CasDeclaration many = cas;
  many.persons.clear();
  for (int persons = 0; persons <= 75; ++persons) {
    const Document pages = reports::Prepare(CasNominalReport(many, header_));
    EXPECT_EQ(CasNominalPageCount(many, header_), static_cast<int>(pages.pages.size()))
        << persons << " persons";
    many.persons.push_back(cas.persons[static_cast<std::size_t>(persons) % cas.persons.size()]);
  }
}

TEST_F(DeclarationDocumentsTest, TheUnemploymentListTotalsEveryRowOfEachKind) {
  // RADU, a pensioner, is not printed but his contribution counts in the totals.
  db().Run("UPDATE firma.Pers SET SOMAJ = 40000 WHERE NUME = 'RADU'");
  const UnemploymentDeclaration somaj = BuildUnemploymentDeclaration(*session_);
  const Document nominal = reports::Prepare(UnemploymentNominalReport(somaj, header_));
  ASSERT_EQ(nominal.pages.size(), 1u);
  const Page& page = nominal.pages[0];
  EXPECT_EQ(Count(nominal, " RADU MIHAI"), 0);
  EXPECT_EQ(Count(nominal, "Raport de munca /serviciu"), 1);
  EXPECT_EQ(Count(nominal, "Contract partial"), 1);
  EXPECT_EQ(Count(nominal, "1 "), 2);  // the numbers start again in each group
  // Kind 1: bases 10 000 000 + 6 000 000 + 4 000 000 (RADU's base from his
  // contribution), dues 100 000 + 60 000 + 40 000; 150 000 paid of 210 000.
  const auto total1 = RightOf(page, "TOTAL I ");
  ASSERT_EQ(total1.size(), 4u);
  EXPECT_EQ(total1[0], "20 000 000 ");
  EXPECT_EQ(total1[1], "200 000 ");
  const auto total2 = RightOf(page, "TOTAL II ");
  ASSERT_EQ(total2.size(), 4u);
  EXPECT_EQ(total2[0], "2 000 000 ");  // LUPU's 10 000 withheld at 0.5%
  EXPECT_EQ(total2[1], "10 000 ");
  const auto general = RightOf(page, "TOTAL GENERAL:");
  ASSERT_EQ(general.size(), 4u);
  EXPECT_EQ(general[1], "210 000 ");
  EXPECT_EQ(general[2], "150 000 ");
  EXPECT_EQ(general[3], "60 000 ");

  const Document summary = reports::Prepare(UnemploymentSummaryReport(somaj, header_));
  ASSERT_EQ(summary.pages.size(), 1u);
  const std::vector<std::string> employer = RightOf(summary.pages[0], "Contributia angajatorului");
  EXPECT_EQ(employer, (std::vector<std::string>{"466 500 ", "400 000 ", "65 500 "}));
  EXPECT_EQ(RightOf(summary.pages[0], "Penalitati"),
            (std::vector<std::string>{"X", "X", "5 000 "}));
  EXPECT_EQ(RightOf(summary.pages[0], "Total obligatii de plata datorate si nevirate"),
            (std::vector<std::string>{"X", "X", "99 500 "}));
}

TEST_F(DeclarationDocumentsTest, TheUnemploymentListsClosingLinesKeepWithItsTotals) {
  // However many insured fill the pages, the closing lines never go to a
  // page of their own under nothing but the repeated headings: the page
  // that signs the list holds its totals and the last insured before them.
  const UnemploymentDeclaration somaj = BuildUnemploymentDeclaration(*session_);
  UnemploymentDeclaration many = somaj;
  for (int count = 1; count <= 60; ++count) {
    UnemploymentRow row = somaj.rows.front();
    row.nume = "ASIGURAT" + std::to_string(count);
    row.printed = true;
    many.rows.insert(many.rows.begin(), row);
    const Document nominal = reports::Prepare(UnemploymentNominalReport(many, header_));
    for (const Page& page : nominal.pages) {
      const std::vector<std::string> lines = reports::PageLines(page);
      auto has = [&](std::string_view text) {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
          return line.find(text) != std::string::npos;
        });
      };
      if (!has("Intocmit :")) continue;
      EXPECT_TRUE(has("TOTAL GENERAL:")) << count << " insured added";
      // An insured's line: the running number, then the name.
      const bool insured = std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        const std::size_t digits = line.find_first_not_of(' ');
        const std::size_t blank = line.find_first_not_of("0123456789", digits);
        if (digits == std::string::npos || blank == digits || blank == std::string::npos ||
            line[blank] != ' ') {
          return false;
        }
        const std::size_t name = line.find_first_not_of(' ', blank);
        return name != std::string::npos && std::isupper(static_cast<unsigned char>(line[name]));
      });
      EXPECT_TRUE(insured) << count << " insured added";
    }
  }
}

TEST_F(DeclarationDocumentsTest, TheHealthDeclarationPrintsTheStoredFiguresAndTheChosenLists) {
  HealthComputed computed;
  computed.salary_fund = 21400000;
  computed.gross_income = 21700000;
  computed.insured = 5;
  HealthPrint print = MakeHealthPrint(*session_, computed, header_, {true, false, false});
  print.stored = {HealthSection{100, 10, 1}, HealthSection{200, 20, 2}, HealthSection{300, 30, 3}};
  const Document declaration = reports::Prepare(HealthDeclarationReport(print));
  ASSERT_EQ(declaration.pages.size(), 1u);
  const Page& page = declaration.pages[0];
  EXPECT_EQ(FirstRightOf(page, " Total contributii de achitat [A(e)+B(e)+C(d)]"), "666 ");
  EXPECT_EQ(FirstRightOf(page, " a. Fond salarii"), "21 400 000 ");
  EXPECT_EQ(FirstRightOf(page, " CUI (Cod fiscal)"), " 1234567");
  EXPECT_EQ(FirstRightOf(page, " Data lichidarii drepturilor salariale"), " 10 04  ");
  EXPECT_EQ(FirstRightOf(page, " Data"), " 05 04 2003 ");
  EXPECT_EQ(Count(declaration, " X"), 1);
  for (const TextItem& t : page.texts) {
    EXPECT_LE(t.box.bottom(), declaration.setup.content_bottom()) << t.text;
  }

  SetNaturalPerson("1600101400077");
  SetCompanyText("Nume", "IONESCU");
  SetCompanyText("Prenume", "VASILE");
  StoreCompanyParameterAsFound("ZiLichidare", 31);  // April has 30 days
  const HealthPrint natural = MakeHealthPrint(*session_, computed, header_, {});
  const Document blank = reports::Prepare(HealthDeclarationReport(natural));
  EXPECT_EQ(FirstRightOf(blank.pages[0], " CUI (Cod fiscal)"), "");
  EXPECT_EQ(FirstRightOf(blank.pages[0], " Data lichidarii drepturilor salariale"),
            "Nr. persoane asigurate");  // no date between them
  EXPECT_EQ(Count(blank, " X"), 0);

  const Document list = reports::Prepare(HealthListReport(
      natural.employer, HealthList::kNominal, ReadHealthList(*session_, HealthList::kNominal)));
  EXPECT_EQ(Count(list, " IONESCU VASILE"), 1);
  EXPECT_EQ(Count(list, "Data intrarii in activitate"), 0);
  EXPECT_EQ(RightOf(list.pages[0], "1 "),
            (std::vector<std::string>{" LUPU-ȚIBULEAC ANCA-LĂCRĂMIOARA", " 2660308400044",
                                      "  CP contract partial "}));
}

}  // namespace
}  // namespace traveno::declarations
