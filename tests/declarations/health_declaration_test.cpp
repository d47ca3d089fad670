#include "declarations/health_declaration.h"

#include "core/errors.h"
#include "tests/declarations/monthly_fixture.h"

namespace traveno::declarations {
namespace {

using testing::D;
using testing::MonthlyFixture;

class HealthDeclarationTest : public MonthlyFixture {};

// The figures of a small closed month (its rows summed as stored) worked
// out by hand, in hours (176 a month, 22 working days).
TEST_F(HealthDeclarationTest, TheFiguresOfTheMonthWorkedOutByHand) {
  params::WriteCompanyText(db(), session_->working_month(), "Ex_Firma", "NU");
  SetCompanyParameter("TimpLuna", 176);
  SetCompanyParameter("TimpZile", 0);
  const std::pair<const char*, double> kGeneral[] = {
      {"SanatateFirm", 7}, {"SanatateAng", 6.5}, {"SalMinEc", 2500000}};
  for (const auto& [name, value] : kGeneral) SetGeneralParameter(name, value);
  PersRow permanent = Row("ALBU", "1", 10000000);
  permanent.CM1L = 1000000;       // paid by the employer
  permanent.CM2L = 500000;        // paid by the state
  permanent.CIC = 200000;         // child care
  permanent.SumeExcept = 400000;  // left out by Ex_Firma
  permanent.SANATATE = 650000;
  permanent.ZILE_CM = 3;
  permanent.DATA_ANG = D(2003, 3, 10);
  PersRow partial = Row("BARBU", "2", 5000000);
  partial.Ore_Zi = 4;
  partial.CM1L = 300000;
  partial.CM2L = 100000;
  partial.CIC = 50000;
  partial.SANATATE = 325000;
  partial.ZILE_CM = 1;
  for (const PersRow& row : {permanent, partial}) Add(row);
  SetCompanyParameter("Deschisa", 1);

  const HealthOpening opening = OpenHealthDeclaration(*session_, progress_);
  const HealthComputed& c = opening.computed;
  // The gross less the state-paid and child-care leave, then less every
  // medical leave.
  EXPECT_EQ(c.salary_fund, 10000000 - 500000 - 200000 + 5000000 - 100000 - 50000);
  EXPECT_EQ(c.gross_income, 10000000 - 500000 - 1000000 + 5000000 - 100000 - 300000);
  // A: 7% of the salary fund 14 150 000; B: the contributions withheld; C:
  // RoundEven(2 500 000 * 2 / 22 * 4 * 6.5 / 100) for the 4 days of leave.
  EXPECT_EQ(c.due[0], 990500);
  EXPECT_EQ(c.due[1], 975000);
  EXPECT_EQ(c.due[2], 59091);
  EXPECT_EQ(c.insured, 2);
  EXPECT_TRUE(opening.has_entering);
  EXPECT_FALSE(opening.has_leaving);
  EXPECT_FALSE(opening.write_protected);
  // Nothing stored yet: every paid box proposes the due.
  EXPECT_EQ(opening.proposed[0].paid, 990500);
  EXPECT_EQ(opening.proposed[1].paid, 975000);
  EXPECT_EQ(opening.proposed[2].paid, 59091);
}

TEST_F(HealthDeclarationTest, StoredFiguresAreShownAgainAndTheirPaidBoxesFollowTheDue) {
  Hire("ALBU", "1", 9000000);
  Hire("BARBU", "2", 3000000, 84);
  const HealthOpening first = OpenHealthDeclaration(*session_, progress_);
  const double due_a = static_cast<double>(first.computed.due[0]);
  const double due_b = static_cast<double>(first.computed.due[1]);
  ASSERT_GT(due_a, 0);
  ASSERT_GT(due_b, 0);
  HealthSections typed = first.proposed;
  typed[0] = {0, 11, 12};      // a paid amount of 0 shows the due again
  typed[1] = {due_b, 21, 22};  // equal to the due: shown as the due
  typed[2] = {12345, 31, 32};  // anything else: shown as stored
  ConfirmHealthDeclaration(*session_, typed, {" ionescu", "maria ", "contabil sef", "B"});

  const Date month = session_->working_month();
  EXPECT_EQ(params::ReadCompany(db(), month, "DatorSanA"), 0);
  EXPECT_EQ(params::ReadCompany(db(), month, "RestSanB"), 21);
  EXPECT_EQ(params::ReadCompany(db(), month, "MajSanC"), 32);
  EXPECT_EQ(session_->parameters().company.DatorSanC, 12345);
  const DeclarationSigner signer = LoadSigner(folder_.path());
  EXPECT_EQ(signer.nume, "IONESCU");
  EXPECT_EQ(signer.functie, "CONTABIL SEF");

  const HealthOpening second = OpenHealthDeclaration(*session_, progress_);
  EXPECT_EQ(second.stored, typed);
  EXPECT_EQ(second.proposed[0], (HealthSection{due_a, 11, 12}));
  EXPECT_EQ(second.proposed[1], (HealthSection{due_b, 21, 22}));
  EXPECT_EQ(second.proposed[2], (HealthSection{12345, 31, 32}));
  EXPECT_EQ(typed[0].Total() + typed[1].Total() + typed[2].Total(),
            0 + 11 + 12 + due_b + 21 + 22 + 12345 + 31 + 32);

  HealthSections bad = typed;
  bad[1].arrears = -5;
  EXPECT_THROW(ConfirmHealthDeclaration(*session_, bad, {}), Error);
  EXPECT_EQ(params::ReadCompany(db(), month, "RestSanB"), 21);
  EXPECT_EQ(LoadSigner(folder_.path()).nume, "IONESCU");
}

TEST_F(HealthDeclarationTest, ListsOfPersonsEnteringLeavingAndInsured) {
  // The working month is March 2003.
  PersRow zamfir = Row("ZAMFIR", "1", 1000);
  zamfir.DATA_ANG = D(2003, 3, 31);
  PersRow albu = Row("ALBU", "2", 1000);
  albu.DATA_ANG = D(2003, 3, 1);
  albu.DATA_LICH = D(2003, 3, 15);
  PersRow barbu = Row("BARBU", "1", 0);
  barbu.TIMP = 0;
  barbu.ZILE_CIC = 20;  // child-care leave, whatever the kind
  barbu.DATA_ANG = D(2003, 2, 28);
  barbu.DATA_LICH = D(2003, 4, 1);
  PersRow ene = Row("ENE", "1", 1000);
  ene.PRENUME = "ANA";
  PersRow ene2 = Row("ENE", "2", 1000);
  ene2.PRENUME = "ADI";
  for (const PersRow& r : {zamfir, albu, barbu, ene, ene2}) Add(r);

  struct Line {
    std::string nume;
    std::string prenume;
    Date date;
    std::string categoria;
  };
  auto lines = [&](HealthList list) {
    std::vector<Line> result;
    for (const HealthListRow& row : ReadHealthList(*session_, list)) {
      result.push_back({row.nume, row.prenume, row.date, row.categoria});
    }
    return result;
  };
  const auto entering = lines(HealthList::kEntering);
  ASSERT_EQ(entering.size(), 2u);
  EXPECT_EQ(entering[0].nume, "ALBU");
  EXPECT_EQ(entering[0].date, D(2003, 3, 1));
  EXPECT_EQ(entering[0].categoria, " CP contract partial ");
  EXPECT_EQ(entering[1].nume, "ZAMFIR");
  EXPECT_EQ(entering[1].categoria, " S - Salariat ");
  const auto leaving = lines(HealthList::kLeaving);
  ASSERT_EQ(leaving.size(), 1u);
  EXPECT_EQ(leaving[0].date, D(2003, 3, 15));
  const auto nominal = lines(HealthList::kNominal);
  ASSERT_EQ(nominal.size(), 5u);
  const char* const kOrder[][2] = {
      {"ALBU", "ION"}, {"BARBU", "ION"}, {"ENE", "ADI"}, {"ENE", "ANA"}, {"ZAMFIR", "ION"}};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(nominal[i].nume, kOrder[i][0]);
    EXPECT_EQ(nominal[i].prenume, kOrder[i][1]);
    EXPECT_TRUE(nominal[i].date.IsEmpty());
  }
  EXPECT_EQ(nominal[1].categoria, " CIC ");
}

}  // namespace
}  // namespace traveno::declarations
