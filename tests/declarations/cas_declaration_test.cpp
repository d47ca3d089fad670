#include "declarations/cas_declaration.h"

#include "tests/declarations/monthly_fixture.h"

namespace traveno::declarations {
namespace {

using testing::MonthlyFixture;

class CasDeclarationTest : public MonthlyFixture {};

TEST_F(CasDeclarationTest, DeclaresPersonsInListOrderWithTheirContractMarks) {
  auto row = [&](const char* nume, const char* tip, const char* depart, int marca) {
    PersRow r = Row(nume, tip, 1000);
    r.Depart = depart;
    r.MARCA = marca;
    return r;
  };
  PersRow albu = row("ALBU", "1", "PROD", 2);
  PersRow barbu = row("BARBU", "1", "CENTRAL", 5);
  barbu.Pensionar = 1;
  PersRow crisan = row("CRISAN", "2", "CENTRAL", 12);
  crisan.Pensionar = 1;
  crisan.ALT_VENIT = 1;
  crisan.Ore_Zi = 4;
  PersRow dobre = row("DOBRE", "2", "CENTRAL", 13);  // no other main income
  dobre.Ore_Zi = 4;
  PersRow ene = row("ENE", "2", "CENTRAL", 11);
  ene.ALT_VENIT = 1;
  ene.Ore_Zi = 6;
  PersRow filip = row("FILIP", "2", "CENTRAL", 10);
  filip.ALT_VENIT = 1;
  filip.Ore_Zi = 8;
  PersRow gavril = row("GAVRIL", "1", "CENTRAL", 1);
  for (const PersRow& r : {albu, barbu, crisan, dobre, ene, filip, gavril}) Add(r);

  const CasDeclaration declaration = BuildCasDeclaration(*session_);
  struct Expected {
    const char* nume;
    CasContractFlags flags;
    const char* contract;
    const char* partial;
    const char* pensioner;
  };
  const Expected kExpected[] = {
      {"GAVRIL", {1, 0, 0, 0}, "X", "", ""}, {"BARBU", {0, 0, 8, 0}, "", "", "8"},
      {"FILIP", {0, 0, 0, 0}, "", "8", ""},  {"ENE", {0, 6, 0, 0}, "", "6", ""},
      {"CRISAN", {0, 0, 4, 0}, "", "", "4"}, {"ALBU", {1, 0, 0, 0}, "X", "", ""},
  };
  ASSERT_EQ(declaration.persons.size(), std::size(kExpected));
  for (std::size_t i = 0; i < std::size(kExpected); ++i) {
    const CasPerson& person = declaration.persons[i];
    EXPECT_EQ(person.nume, kExpected[i].nume) << i;
    EXPECT_EQ(person.flags, kExpected[i].flags) << person.nume;
    EXPECT_EQ(person.contract_column, kExpected[i].contract) << person.nume;
    EXPECT_EQ(person.partial_column, kExpected[i].partial) << person.nume;
    EXPECT_EQ(person.pensioner_column, kExpected[i].pensioner) << person.nume;
  }
  EXPECT_TRUE(declaration.has_rows);
  ASSERT_TRUE(declaration.employer.has_value());
  EXPECT_EQ(declaration.employer->row.Cod, "FIRMA");
}

// The figures of a small month worked out by hand, in hours (176 a month,
// 22 working days), with the exempt sums in the bases.
TEST_F(CasDeclarationTest, TotalsCoverEveryRowAndTheEmployerFunds) {
  params::WriteCompanyText(db(), session_->working_month(), "Ex_Firma", "DA");
  SetCompanyParameter("ZiLichidare", 12);
  SetCompanyParameter("TimpLuna", 176);
  SetCompanyParameter("TimpZile", 0);
  const std::pair<const char*, double> kGeneral[] = {{"CAS", 22},
                                                     {"SanatateAng", 6.5},
                                                     {"Accident", 0.5},
                                                     {"SalMinEc", 2500000},
                                                     {"SalMedEc", 6962000}};
  for (const auto& [name, value] : kGeneral) SetGeneralParameter(name, value);
  PersRow permanent = Row("ALBU", "1", 10000000);
  permanent.CM1L = 1000000;  // paid by the employer
  permanent.CM2L = 500000;   // paid by the state
  permanent.CIC = 200000;    // child care
  permanent.SumeExcept = 300000;
  permanent.PENSIE = 950000;
  permanent.ZILE_CM = 2;
  PersRow partial = Row("BARBU", "2", 5000000);  // another main income: insured
  partial.ALT_VENIT = 1;
  partial.Ore_Zi = 4;
  partial.PENSIE = 470000;
  PersRow undeclared = Row("CRISAN", "2", 3000000);
  undeclared.Ore_Zi = 4;
  undeclared.CM2L = 100000;
  undeclared.CIC = 50000;
  for (const PersRow& row : {permanent, partial, undeclared}) Add(row);

  const CasDeclaration declaration = BuildCasDeclaration(*session_);
  const CasTotals& totals = declaration.totals;
  EXPECT_EQ(declaration.persons.size(), 2u);
  EXPECT_EQ(declaration.zi_lichidare, 12);
  // BazaCAS: 10 000 000 - 1 000 000 + 300 000 - 500 000 - 200 000, and the
  // partial contract's 5 000 000; nothing for the third.
  EXPECT_EQ(totals.SB, 13600000);
  EXPECT_EQ(totals.SP, 1420000);
  EXPECT_EQ(totals.SS, 850000);  // CIC + CM2L of every row, the undeclared one's too
  // The employer's base is the same 13 600 000, at 22% 2 992 000; it pays
  // the permanent's state-paid and child-care leave (700 000) and the health
  // contribution of the 2 days of leave, RoundEven(2 500 000 * 2 / 22 * 2 *
  // 6.5 / 100) = 29 545.
  EXPECT_EQ(totals.HC, 29545);
  EXPECT_EQ(totals.EC, 2992000 - 700000 - 29545);
  EXPECT_EQ(totals.AC, 68000);  // 0.5% of 13 600 000
  // 176 hours on norm 8 for each insured person, of 22 * 8.
  EXPECT_EQ(totals.NRM, 2);
  EXPECT_EQ(totals.DueByEmployer(), 2262455 + 850000 + 29545);
  EXPECT_EQ(totals.ToTransfer(), 2262455 + 1420000);
  // The session's running totals are those of the stored rows.
  EXPECT_EQ(session_->totals().BrutP, 10000000);
  EXPECT_EQ(session_->funds().FondCAS, 2262455);
}

TEST_F(CasDeclarationTest, AMonthWithoutRowsAndACompanyMissingFromTheRegister) {
  const CasDeclaration empty = BuildCasDeclaration(*session_);
  EXPECT_FALSE(empty.has_rows);
  EXPECT_TRUE(empty.persons.empty());
  EXPECT_EQ(empty.totals.SB, 0);
  EXPECT_EQ(empty.totals.NRM, 0);

  Add(Row("ALBU", "1", 1000));
  db().Run("DELETE FROM main.Firme WHERE Cod = 'FIRMA'");
  const CasDeclaration orphan = BuildCasDeclaration(*session_);
  EXPECT_FALSE(orphan.employer.has_value());
  EXPECT_EQ(orphan.persons.size(), 1u);
}

}  // namespace
}  // namespace traveno::declarations
