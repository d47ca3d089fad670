// The salary recapitulation's lines.
#include "reports/recapitulation.h"

#include "tests/reports/documents_fixture.h"

namespace traveno::reports {
namespace {

using testing::DocumentsFixture;

class RecapitulationTest : public DocumentsFixture {
 protected:
  void SetUp() override {
    DocumentsFixture::SetUp();
    SetGeneral("SomajFirm", 3);
    SetGeneral("SanatateFirm", 7);
    SetGeneral("CAS", 22);
    SetGeneral("Accident", 0.5);
    SetGeneral("SalMedEc", 0);
    SetCompany("ComisionCM", 0.75);
  }

  std::optional<RecapLine> Line(const std::vector<RecapLine>& lines, std::string_view start) {
    for (const RecapLine& line : lines) {
      if (line.caption.starts_with(start)) return line;
    }
    return std::nullopt;
  }
};

TEST_F(RecapitulationTest, TheEmployerLinesComeFromTheFundsOfTheMonthsRows) {
  PersRow row = Employee("ALFA");
  row.BRUT = 1000000;
  row.RESTPL = 700000;
  Add(row);
  const std::vector<RecapLine> lines = RecapitulationLines(*session_);
  struct Expected {
    const char* start;
    long double amount;
    std::optional<long double> base;
  };
  const Expected kExpected[] = {
      {"1. Nr. total", 1, std::nullopt},
      {"12.TOTAL DE PLATA", 700000, std::nullopt},
      {"13.TAXE FIRMA", 30000 + 70000 + 220000 + 5000 + 7500, std::nullopt},
      {"14. Fond somaj 3%", 30000, 1000000},
      {"15. Fond sanatate 7%", 70000, 1000000},
      {"16. Contributie Asigurari Sociale 22%", 220000, 1000000},
      {"17.", 0, std::nullopt},
      {"18. TOTAL CAS", 220000, std::nullopt},
      {"19.", 0, std::nullopt},
      {"20. TOTAL CAS de virat", 220000, std::nullopt},
      {"21. Fond asig accidente 0,5%", 5000, 1000000},
      {"22. Comision CM 0,75%", 7500, 1000000},
      {"23.TOTAL (12+13)", 700000 + 332500, std::nullopt},
  };
  for (const Expected& e : kExpected) {
    const std::optional<RecapLine> line = Line(lines, e.start);
    ASSERT_TRUE(line) << e.start;
    EXPECT_EQ(line->amount, e.amount) << e.start;
    EXPECT_EQ(line->base, e.base) << e.start;
  }
  int numbered = 0;
  for (const RecapLine& line : lines) numbered += line.numbered ? 1 : 0;
  EXPECT_EQ(numbered, 23);
}

TEST_F(RecapitulationTest, PrintsTheStoredNetWithoutRecomputingIt) {
  PersRow row = Employee("ALFA");
  row.BRUT = 1000;
  row.CM2L = 100;
  row.RESTPL = 5;  // not 6 + 7 - 8: printed as stored
  Add(row);
  const std::vector<RecapLine> lines = RecapitulationLines(*session_);
  EXPECT_EQ(Line(lines, "6. Total salarii brute")->amount, 900);
  EXPECT_EQ(Line(lines, "9. REST DE PLATA")->amount, 5 - 100);
  EXPECT_EQ(Line(lines, "12.TOTAL DE PLATA")->amount, 5);
}

TEST_F(RecapitulationTest, TheUnemploymentCaptionShowsOneRateWhenBothAreEqual) {
  Add(Employee("ALFA"));
  SetGeneral("SomajAng", 1);
  SetGeneral("SomajCol", 1);
  EXPECT_TRUE(Line(RecapitulationLines(*session_), "Somaj 1%"));
  SetGeneral("SomajCol", 0.5);
  EXPECT_TRUE(Line(RecapitulationLines(*session_), "Somaj Perm 1%; C.P. 0,5%"));
}

TEST_F(RecapitulationTest, ABonusOfModeFourLeavesItsLineBlank) {
  SetCompany("Spor3_Apl", 4);
  SetCompanyText("Spor3_Den", "Telefon");
  SetCompany("Spor1_Apl", 0);
  SetCompanyText("Spor1_Den", "Vechime");
  PersRow row = Employee("ALFA");
  row.vals1 = 10;
  Add(row);
  const std::vector<RecapLine> lines = RecapitulationLines(*session_);
  EXPECT_EQ(Line(lines, "Vechime")->amount, 10);
  EXPECT_FALSE(Line(lines, "Telefon"));
  // The third bonus's line is there, blank, in its place after the second.
  const auto spor_noapte = std::find_if(lines.begin(), lines.end(), [](const RecapLine& l) {
    return l.caption == "Spor ore noapte";
  });
  ASSERT_NE(spor_noapte, lines.end());
  const RecapLine& third = *(spor_noapte + 3);
  EXPECT_EQ(third.caption, "");
  EXPECT_FALSE(third.amount);
}

TEST_F(RecapitulationTest, AMonthWithoutRowsPrintsNothing) {
  EXPECT_FALSE(Recapitulation(Context()).has_value());
}

}  // namespace
}  // namespace traveno::reports
