// The salary recapitulation's lines.
#include "reports/recapitulation.h"

#include "tests/reports/documents_fixture.h"
#include "tests/reports/worked_month.h"

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

// Every line of the recapitulation of the worked month against the figures
// worked out apart (tests/reports/worked_month.py).
class RecapitulationLinesTest : public testing::WorkedMonthFixture {};

TEST_F(RecapitulationLinesTest, EveryLineAddsUpItsOwnTerms) {
  const std::vector<RecapLine> lines = RecapitulationLines(*session_);
  struct Expected {
    const char* caption;
    std::optional<long double> amount;
    std::optional<long double> base = std::nullopt;
  };
  const Expected kLines[] = {
      {"1. Nr. total de salariati", 4},
      {"2. Salarii de incadrare", 58940000},
      // The permanent employee's time value 1 027 440, the piece-worker's
      // result 2 660 000, the partial contracts' 32 878 095 and 201 378 333.
      {"3. Salarii tarifare", 237943868},
      // 2 114 000 + 382 200 + 858 200 + 737 800 + 614 600 + 533 400
      // + 1 362 214 + 1 846 600 + 267 400 + 329 000 + 1 572 200 + 121 800
      {"4. Drepturi", 10739414},
      {"Spor ore suplimentare", 2114000},
      {"Spor ore noapte", 382200},
      {"Vechime", 858200},
      {"Conditii", 737800},
      {"Telefon", 614600},
      {"Productivitate", 533400},
      {"Concedii medicale platite de firma", 1362214},
      {"Prime", 1846600},
      {"Alte sume", 267400},
      {"Alte sporuri", 329000},
      {"Prime de vacanta", 1572200},
      {"Diferente brut", 121800},
      {"5. Concedii de odihna", 2618000},
      {"6. Total salarii brute (3+4+5) ", 69942530},  // 71 723 918 - 998 606 - 782 782
      {"7. Sume exceptate", 486038},
      // 6 813 800 + 4 663 400 + 718 200 + 4 125 800 + 14 012 600 + 2 241 400
      // + 295 400 + 233 800 + 264 600 + 180 600 + 200 200
      {"8. Retineri", 33749800},
      {"Somaj Perm 1%; C.P. 0,5%", 718200},
      {"Pensie 9,5%", 6813800},
      {"Sanatate 6,5%", 4663400},
      {"Impozit salarii", 4125800},
      {"Avans", 14012600},
      {"Avans Concediu", 2241400},
      {"Prime incasate", 200200},
      {"Retineri", 180600},
      {"Garantii", 264600},
      {"Popriri", 233800},
      {"Alte retineri", 295400},
      {"9. REST DE PLATA (6+7-8)", 36036812},  // 37 818 200 - 998 606 - 782 782
      {"10.Concedii medicale platite de stat", 998606},
      {"11.Concedii de maternitate, ingrijire si crestere copil", 782782},
      {"12.TOTAL DE PLATA (9+10+11)", 37818200},
      // 763 965 + 5 796 667 + 5 839 938 + 172 666 + 528 214
      {"13.TAXE FIRMA (14+15+19+20+21+22)", 13101450},
      {"14. Fond somaj 3%", 763965, 25465513},
      {"15. Fond sanatate 7%", 4930000, 70428568},
      // 5 839 938 + 866 667 + 998 606 + 782 782
      {"16. Contributie Asigurari Sociale 22%", 8487993, 34533177},
      {"17. Cuantum prestatii de asigurari sociale suportate din BASS", 1781388},
      {"18. TOTAL CAS (16-17)", 6706605},
      {"19. Contributia de sanatate conf. art.54(2) din O.U.G. nr.150/2002 ", 866667},
      {"20. TOTAL CAS de virat (18-19)", 5839938},
      {"21. Fond asig accidente 0,5%", 172666, 34533177},
      {"22. Comision CM 0,75%", 528214, 70428568},
      {"23.TOTAL (12+13)", 50919650},
  };
  ASSERT_EQ(lines.size(), std::size(kLines));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].caption, kLines[i].caption) << i;
    EXPECT_EQ(lines[i].amount, kLines[i].amount) << kLines[i].caption;
    EXPECT_EQ(lines[i].base, kLines[i].base) << kLines[i].caption;
  }
}

}  // namespace
}  // namespace traveno::reports
