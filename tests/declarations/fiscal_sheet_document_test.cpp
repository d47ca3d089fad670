// The printed fiscal sheets in both layouts, read through the plain-text view
// of their pages: the captions, the twelve months, the totals and the
// regularisation as the sheet's rules give them for the FIXT persons.
#include "declarations/fiscal_sheet_document.h"

#include <gtest/gtest.h>

#include "reports/document_text.h"
#include "tests/declarations/file_checks.h"
#include "tests/declarations/source_builder.h"
#include "tests/declarations/year_fixture.h"

namespace traveno::declarations {
namespace {

// The FIXT rows of a year without the store.
YearSource FixtureYear(int year) {
  YearSource source = testing::SourceOf(year);
  for (int month = 1; month <= 12; ++month) {
    source.pers.push_back(testing::Popescu(year, month));
    if (month >= 3) source.pers.push_back(testing::Stefanescu(year, month));
    if (month <= 11) source.pers.push_back(testing::Vasile(year, month));
    source.pint.push_back(testing::FixtureDependant(year, month, true));
    if (month >= 6) source.pint.push_back(testing::FixtureDependant(year, month, false));
  }
  return source;
}

reports::Document SheetOf(const YearSource& source, int iid, const char* kind) {
  return reports::Prepare(FiscalSheetReport(PrepareFiscalSheet(source, iid, kind)));
}

// Whether some line of the document holds every part, in this order.
bool HasLine(const reports::Document& document, const std::vector<std::string>& parts) {
  for (const reports::Page& page : document.pages) {
    if (testing::HasLineWith(reports::PageLines(page), parts)) return true;
  }
  return false;
}

// The box caption followed by a mark "X" within the next 20 mm of its line.
bool Marked(const reports::Document& document, const std::string& caption) {
  for (const reports::Page& page : document.pages) {
    for (const reports::TextItem& label : page.texts) {
      if (label.text != caption) continue;
      for (const reports::TextItem& mark : page.texts) {
        if (mark.text == "X" && mark.box.y >= label.box.y - 1 && mark.box.y <= label.box.y + 1 &&
            mark.box.x > label.box.x && mark.box.x < label.box.right() + 20) {
          return true;
        }
      }
    }
  }
  return false;
}

TEST(FiscalSheetDocumentTest, Ff1Of2002ShowsTheMonthsTheTotalsAndTheRegularisation) {
  const reports::Document document = SheetOf(FixtureYear(2002), 1, "1");
  ASSERT_GE(document.pages.size(), 2u);
  EXPECT_TRUE(HasLine(document, {"FISA FISCALA 1"}));
  EXPECT_TRUE(HasLine(document, {"(pentru venituri din salarii la functia de baza - FF1)"}));
  EXPECT_TRUE(HasLine(document, {"pe anul: 2002"}));
  EXPECT_TRUE(Marked(document, "Fisa fiscala regularizata :"));
  EXPECT_FALSE(Marked(document, "Fisa fiscala rectificativa :"));
  EXPECT_TRUE(HasLine(document, {"1. Ianuarie", "4 000 000", "261 000"}));
  EXPECT_TRUE(HasLine(document, {"7. Iulie", "4 000 000", "108 000"}));  // without the bonus
  EXPECT_TRUE(HasLine(document, {"12. Decembrie", "4 000 000", "108 000"}));
  EXPECT_TRUE(HasLine(document, {"13. Prima vac.", "930 000", "167 400"}));
  EXPECT_TRUE(HasLine(document, {"14. TOTAL", "48 930 000", "2 228 400"}));
  EXPECT_TRUE(HasLine(document, {"Cheltuieli profesionale acordate", "2 400 000"}));
  EXPECT_TRUE(HasLine(document, {"A. Total coeficient", "1,5", "1,5", "2", "2"}));
  EXPECT_TRUE(HasLine(document, {"Calitate", "Sot / Sotie", "Cod Nr Personal", "2720202400022"}));
  // Section VI: 48,930,000 + 2,400,000 - 3,060,000 - 36,550,000 = 11,720,000.
  EXPECT_TRUE(HasLine(document, {"4. Venit net recalculat  (1+2-3)", "48 270 000"}));
  EXPECT_TRUE(HasLine(document, {"5. Deduceri personale cuvenite", "36 550 000"}));
  EXPECT_TRUE(HasLine(document, {"7. Impozit anual", "2 109 600"}));
  EXPECT_TRUE(HasLine(document, {"10. Diferenta de impozit de restituit angajatului", "118 800"}));
  EXPECT_TRUE(
      HasLine(document, {"pentru anul :", "2002", "Cod Nr Personal Angajat", "1700101400011"}));
  EXPECT_TRUE(HasLine(document, {"Sub sanctiunile aplicate faptei de fals in acte publice"}));

  // Without the flag (hired in March) section VI stays empty.
  const reports::Document hired = SheetOf(FixtureYear(2002), 2, "1");
  EXPECT_TRUE(Marked(hired, "Fisa fiscala rectificativa :"));
  EXPECT_TRUE(HasLine(hired, {"Data angajarii", "10.03.2002"}));
  EXPECT_TRUE(HasLine(hired, {"1. Ianuarie", "0", "0"}));
  EXPECT_FALSE(HasLine(hired, {"7. Impozit anual", "0"}));
}

TEST(FiscalSheetDocumentTest, Ff1BeforeTwoThousandTwoShowsFiveColumnsAndArticle27) {
  const reports::Document document = SheetOf(FixtureYear(2001), 1, "1");
  EXPECT_TRUE(HasLine(document, {"III. DEDUCERI PERSONALE"}));
  // July: the net without the net bonus; its taxable income still holds the net bonus.
  EXPECT_TRUE(HasLine(document,
                      {"7. Iulie", "4 000 000", "1 700 000", "1 700 000", "1 430 000", "108 000"}));
  EXPECT_TRUE(HasLine(document, {"14. TOTAL", "48 930 000", "X", "X", "X", "2 228 400"}));
  EXPECT_TRUE(HasLine(document, {"V. DATE REFERITOARE LA REGULARIZARE conform art. 27 (1)"}));
  // 5 x 1,450,000 + 6 x 600,000 + 1,430,000 = 12,280,000 taxed 2,210,400; 2,228,400 withheld.
  EXPECT_TRUE(HasLine(document,
                      {"Impozit anual", "2 210 400", "Impozit calculat si retinut", "2 228 400"}));
  EXPECT_TRUE(
      HasLine(document, {"Impozit ramas de achitat", "0", "Impozit de restituit", "18 000"}));

  // Invalidity grade I then II: both marks, the monthly InvalidII text.
  const reports::Document invalid = SheetOf(FixtureYear(2001), 2, "1");
  EXPECT_TRUE(HasLine(invalid, {"Inv. grad I [X]  Inv. grad II [X]"}));
  EXPECT_TRUE(HasLine(invalid, {"0,50", "0,50", "0,50"}));
  EXPECT_TRUE(HasLine(invalid, {"3. Martie", "1 500 000", "1 500 000", "0", "0", "0"}));
}

TEST(FiscalSheetDocumentTest, Ff2MarksTheIncomeKindOnlyIn2002) {
  const reports::Document document = SheetOf(FixtureYear(2002), 3, "2");
  EXPECT_TRUE(HasLine(document, {"FISA FISCALA 2"}));
  EXPECT_TRUE(
      HasLine(document, {"( pentru venituri altele decat cele de la functia de baza - FF2 )"}));
  EXPECT_TRUE(Marked(document, "AS4"));
  EXPECT_FALSE(Marked(document, "AS3"));
  EXPECT_TRUE(HasLine(document, {"11. Noiembrie", "1 000 000", "150 000"}));
  EXPECT_TRUE(HasLine(document, {"13. TOTAL", "11 000 000", "1 650 000"}));

  const reports::Document old = SheetOf(FixtureYear(2001), 3, "2");
  EXPECT_FALSE(Marked(old, "AS4"));
  EXPECT_TRUE(HasLine(old, {"AS5", "AS6", "AS6"}));  // the older form's seventh box
  EXPECT_FALSE(HasLine(old, {"AS7"}));
}

}  // namespace
}  // namespace traveno::declarations
