// The monthly situations, the personnel lists, the identity cards and the
// bracket list.
#include "reports/situations_and_lists.h"

#include <algorithm>

#include "core/text.h"
#include "reports/bracket_list.h"
#include "reports/identity_cards.h"
#include "tests/reports/documents_fixture.h"

namespace traveno::reports {
namespace {

using testing::D;
using testing::DocumentsFixture;

class SituationsTest : public DocumentsFixture {};

TEST_F(SituationsTest, AMonthWithoutMedicalLeavePrintsTheHeadingsOnly) {
  Add(Employee("ALFA"));
  const Document document = Prepare(MedicalLeaveSituation(Context(), month()));
  ASSERT_EQ(document.pages.size(), 1u);
  const std::vector<std::string> lines = PageLines(document.pages[0]);
  EXPECT_TRUE(LineWith(lines, "Situatie concedii medicale pe luna IANUARIE 2003"));
  EXPECT_TRUE(LineWith(lines, "Firma: FIRMA FIRMA"));
  EXPECT_TRUE(Trim(lines.back()).starts_with("Nr. Crt.")) << "the headings are the last line";
}

TEST_F(SituationsTest, TheSituationsListTheRowsWithLeaveByName) {
  PersRow zeta = Employee("ZETA");
  zeta.ZILE_CM = 3;
  zeta.CM1L = 150000;
  Add(zeta);
  PersRow alfa = Employee("ALFA");
  alfa.CM2L = 99.5;
  alfa.ZILE_CO = 2;
  alfa.SUMA_ZILE_CO = 400000;
  Add(alfa);
  Add(Employee("FARA"));
  const auto medical = PageTexts(Prepare(MedicalLeaveSituation(Context(), month())));
  ASSERT_EQ(medical.size(), 1u);
  const std::vector<std::string>& lines = medical[0];
  ASSERT_TRUE(LineWith(lines, "ALFA") && LineWith(lines, "ZETA"));
  // By name: ALFA, added last, is listed first and numbered 1.
  const auto line_of = [&](std::string_view name) {
    return std::find_if(lines.begin(), lines.end(),
                        [&](const std::string& l) { return l.find(name) != std::string::npos; });
  };
  EXPECT_LT(line_of("ALFA"), line_of("ZETA"));
  EXPECT_TRUE(LineWith(lines, "ALFA")->starts_with("1 "));
  EXPECT_TRUE(LineWith(lines, "ZETA")->starts_with("2 "));
  EXPECT_TRUE(LineWith(lines, "ALFA")->ends_with("0,00 99,50"));
  EXPECT_TRUE(LineWith(lines, "ZETA")->ends_with("3 150 000,00 0,00"));
  EXPECT_FALSE(LineWith(lines, "FARA"));
  const auto holidays = PageTexts(Prepare(HolidaySituation(Context(), month())));
  EXPECT_TRUE(LineWith(holidays[0], "Situatie concedii legale pe luna IANUARIE 2003"));
  EXPECT_TRUE(LineWith(holidays[0], "ALFA")->ends_with("2 400 000,00"));
  EXPECT_FALSE(LineWith(holidays[0], "ZETA"));
}

TEST_F(SituationsTest, AFilteredListPrintsItsRowsUnderTheFilterText) {
  personnel::PersonLine line;
  line.Marca = 7;
  line.Nume = "POPESCU";
  line.Prenume = "ION";
  line.Data = D(2003, 1, 15);
  const Document document =
      Prepare(PersonnelList(Context(), PersonnelListKind::kHired, "Personal angajat in luna: X",
                            {line}, FilterText("Nume = 'POPESCU'")));
  const std::vector<std::string> lines = PageLines(document.pages[0]);
  EXPECT_TRUE(Squeezed(lines[0]).starts_with("* Filtru activ: Nume = 'POPESCU'"));
  EXPECT_TRUE(LineWith(lines, "Data ang."));
  EXPECT_TRUE(LineWith(lines, "POPESCU ION")->ends_with("15.01.2003"));
  EXPECT_EQ(FilterText(std::nullopt), " ");
}

TEST_F(SituationsTest, ADependantWithoutAnEmployeeRowKeepsTheEmployeeColumnsBlank) {
  personnel::InsuredLine orphan;
  orphan.Nume = "ORFAN";
  orphan.Prenume = "ANA";
  orphan.CodNumPers = "2900101400011";
  orphan.Kalitate = "Copil";
  const Document document = Prepare(InsuredPersonsList(Context(), {orphan}, FilterText({})));
  const std::vector<std::string> lines = PageLines(document.pages[0]);
  EXPECT_TRUE(LineWith(lines, "pe luna : IANUARIE / 2003 (conf.OUG 150/2002)"));
  EXPECT_TRUE(LineWith(lines, "ORFAN ANA")->ends_with("Copil"));
}

TEST_F(SituationsTest, APersonWithoutAPhotoGetsACardWithoutAPicture) {
  Add(Employee("CUPOZA"));
  Add(Employee("FARAPOZA"));
  db().Run("INSERT INTO firma.Poze (IID, Poza) VALUES (1, ?)", Blob{0x89, 'P', 'N', 'G'});
  const Document document = Prepare(IdentityCardList(Context()));
  ASSERT_EQ(document.pages.size(), 1u);
  const Page& page = document.pages[0];
  ASSERT_EQ(page.pictures.size(), 1u);
  EXPECT_EQ(Items(page, "LEGITIMATIE").size(), 2u);
  // The picture is on the first card.
  EXPECT_LT(page.pictures[0].box.x, Items(page, "FARAPOZA").front()->box.x);
  EXPECT_EQ(Items(page, "CNP: ").size(), 2u);
}

TEST_F(SituationsTest, TheBracketListShowsWhereEachBracketBeginsAndEnds) {
  db().Run("DELETE FROM main.Impo");
  for (auto [p, c, v] : {std::tuple{0.0, 0.0, 18.0}, {2100000.0, 378000.0, 23.0}}) {
    db().Run("INSERT INTO main.Impo (Luna, P_Venit, V_Const, V_Proc) VALUES (?, ?, ?, ?)", month(),
             p, c, v);
  }
  const auto pages = PageTexts(Prepare(BracketList(Context(), false)));
  EXPECT_TRUE(LineWith(pages[0], "pe luna IANUARIE / 2003"));
  EXPECT_TRUE(LineWith(pages[0], "1 ..... 2 100 000 0 + 18 % pentru ce depaseste suma de lei 0"));
  EXPECT_TRUE(LineWith(pages[0],
                       "2 100 001 ..... 378 000 + 23 % pentru ce depaseste suma de lei "
                       "2 100 000"));
}

}  // namespace
}  // namespace traveno::reports
