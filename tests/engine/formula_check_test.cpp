#include "engine/formula_check.h"

#include <gtest/gtest.h>

namespace traveno::engine {
namespace {

std::optional<std::string> CheckBonus(const std::string& text, int bonus = 2) {
  const auto fields = AcceptedFormulaFields(FormulaKind::kBonus, bonus);
  return ValideazaFormula(text, fields, FormulaKind::kBonus);
}

std::optional<std::string> CheckHoliday(const std::string& text, double months) {
  const auto fields = AcceptedFormulaFields(FormulaKind::kHolidayPay, 0);
  return ValideazaFormula(text, fields, FormulaKind::kHolidayPay, months);
}

TEST(ValideazaFormulaTest, AcceptsWellFormedFormulas) {
  for (const char* text : {"\"SALINC\"*10/100", "\"SalInc\"*10/100", "(\"TARIFAR\"+\"VAL_TIMP_S\")/2",
                           "\"VALS1\"*12,5/100", "10", "  \"prime\"+1  "}) {
    EXPECT_EQ(CheckBonus(text), std::nullopt) << text;
  }
  EXPECT_EQ(CheckHoliday("", 0), std::nullopt);  // switches the average off
  EXPECT_EQ(CheckHoliday("\"BRUT\"/2", 3), std::nullopt);
}

TEST(ValideazaFormulaTest, GivesTheFirstFaultsMessage) {
  struct Case {
    std::string text;
    std::string message;
  };
  const Case kCases[] = {
      {"", "Nu ati introdus formula !"},
      {"\"SALINC\" *2", "Formula nu trebuie sa contina spatii !"},
      {"\"SALINC\"*" + std::string(52, '1'), "Numarul maxim de caractere este 60 !"},
      {"\"SALINC*2", "Atentie campurile trebuie incadrate de \" \" ! "},
      {"\"NUME\"*2",
       "Campul \" NUME \" nu este acceptat! \r\nVerificati lista campurilor acceptate."},
      {"\"VALS3\"*2",  // only the bonuses before bonus 2
       "Campul \" VALS3 \" nu este acceptat! \r\nVerificati lista campurilor acceptate."},
      {"\"SALINC\"*A_B",
       "Caracterul  \" _ \" nu este permis in afara campurilor! \r\nCaracterele trebuie sa se "
       "afle in intevalul \" A .. Z, a .. z, 0..9 \""},
      {"\"SALINC\"*12%",
       "Caracterul  \" % \" nu este permis! \r\nFolositi operatorul \"/\" pentru procent \""},
      {"\"SALINC\"*12.5",
       "Caracterul  \" . \" nu este permis! \r\nCaracterele trebuie sa se afle in intevalul \" "
       "A .. Z, a .. z, 0..9 \""},
      {"*\"SALINC\"", "Caracterul  \" * \" nu este permis \r\nla inceputul formulei !"},
      {"\"SALINC\"*", "Caracterul  \" * \" nu este permis \r\nla sfarsitul formulei !"},
      {"\"SALINC\"*-2",
       "Nu sunt admisi doi operatori matematici consecutivi \" * - \" !"},
      {"\"SALINC\",2", "Nu este admisa virgula dupa \" \" \"  !"},
      {"2,\"SALINC\"", "Nu este admisa virgula inainte de \" \" \"  !"},
      {"\"SALINC\"2", "Nu ati introdus operator matemetic intre \" \" \" si \" 2 \" !"},
      {"(*2)", "Operatorul matematic \" * \" de langa \" ( \" nu este corect pozitionat !"},
      {"(2*)", "Operatorul matematic \" * \" de langa \" ) \" nu este corect pozitionat !"},
      {"(2)(3)", "Introduceti un operator matemetic intre cele doua paranteze \" )( \" !"},
      {"2*()", "Nu ati introdus nimic intre cele doua paranteze \" () \"!"},
      {"2(3)", "Nu ati introdus operator matematic intre \" 2 \" si \" ( \" !"},
      {"(3)2", "Nu ati introdus operator matematic intre \" ) \" si \" 2 \" !"},
      {"5\"SALINC\"", "Nu ati introdus operator matemetic intre \" 5 \" si \" \" \" !"},
      {"\"SALINC\"\"PRIME\"", "Introduceti un operator matemetic intre  \"  \" !"},
      {"((\"SALINC\")",
       "Numarul de paranteze nu este corect !\r\nExista 2 paranteze deschise \"(\" si 1 "
       "paranteze inchise \")\""},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(CheckBonus(c.text), c.message) << c.text;
  }
}

TEST(ValideazaFormulaTest, HolidayPayRules) {
  EXPECT_EQ(CheckHoliday("\"SALINC\"", -1), "Numarul de luni nu este corect !");
  EXPECT_EQ(CheckHoliday("\"BRUT\"/2", 0),
            "Campul \" BRUT \" nu este acceptat daca se doreste calculul concediului de odihna "
            "in functie de valorile din luna curenta (Nr luni anterioare =0)! ");
  EXPECT_EQ(CheckHoliday("\"VAL_TIMP_S\"", 3),
            "Campul \" VAL_TIMP_S \" nu este acceptat! \r\nVerificati lista campurilor acceptate.");
}

TEST(AcceptedFormulaFieldsTest, EachBonusSeesOnlyTheBonusesBeforeIt) {
  EXPECT_EQ(AcceptedFormulaFields(FormulaKind::kBonus, 1).size(), 11u);
  EXPECT_EQ(AcceptedFormulaFields(FormulaKind::kBonus, 4).size(), 14u);
  EXPECT_EQ(AcceptedFormulaFields(FormulaKind::kBonus, 4).back().name, "Vals3");
  EXPECT_EQ(AcceptedFormulaFields(FormulaKind::kHolidayPay, 0).size(), 12u);
}

}  // namespace
}  // namespace traveno::engine
