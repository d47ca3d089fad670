#include "declarations/cas_declaration.h"

#include "engine/company_totals.h"
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

TEST_F(CasDeclarationTest, TotalsCoverEveryRowAndTheEmployerFundsOfTheEngine) {
  params::WriteCompanyText(db(), session_->working_month(), "Ex_Firma", "DA");
  SetCompanyParameter("ZiLichidare", 12);
  SetGeneralParameter("Accident", 0.5);
  PersRow permanent = Row("ALBU", "1", 1000);
  permanent.CM1L = 100;
  permanent.CM2L = 50;
  permanent.CIC = 20;
  permanent.SumeExcept = 30;
  permanent.PENSIE = 95;
  permanent.ZILE_CM = 2;
  PersRow partial = Row("BARBU", "2", 500);
  partial.ALT_VENIT = 1;
  partial.Ore_Zi = 4;
  partial.PENSIE = 47;
  PersRow undeclared = Row("CRISAN", "2", 300);
  undeclared.Ore_Zi = 4;
  undeclared.CM2L = 10;
  undeclared.CIC = 5;
  std::vector<PersRow> rows = {Add(permanent), Add(partial), Add(undeclared)};

  const CasDeclaration declaration = BuildCasDeclaration(*session_);
  const CasTotals& totals = declaration.totals;
  // BazaCAS: 1000 - 100 + 30 - 50 - 20 for the permanent row, 500 for the
  // partial contract with another income, nothing for the third.
  EXPECT_EQ(totals.SB, 1360);
  EXPECT_EQ(totals.SP, 142);
  EXPECT_EQ(totals.SS, 85);  // CIC + CM2L of every row
  EXPECT_EQ(declaration.persons.size(), 2u);
  EXPECT_EQ(declaration.zi_lichidare, 12);

  engine::CompanyTotals engine_totals;
  for (const PersRow& row : rows) {
    engine::AddRowToTotals(engine_totals, row, session_->parameters());
  }
  const engine::CompanyFunds funds =
      engine::ComputeCompanyFunds(engine_totals, session_->parameters());
  EXPECT_EQ(totals.EC, funds.FondCAS);
  EXPECT_EQ(totals.HC, funds.FondSanatateCM);
  EXPECT_EQ(totals.AC, funds.FondAccident);
  EXPECT_NE(totals.AC, 0);
  EXPECT_EQ(totals.NRM, engine::NumarMediuSalariati(rows, session_->parameters()));
  EXPECT_EQ(totals.DueByEmployer(), funds.FondCAS + 85 + funds.FondSanatateCM);
  EXPECT_EQ(totals.ToTransfer(), funds.FondCAS + 142);
  // The session's running totals are those of the stored rows.
  EXPECT_EQ(session_->totals().BrutP, 1000);
  EXPECT_EQ(session_->funds().FondCAS, funds.FondCAS);
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
