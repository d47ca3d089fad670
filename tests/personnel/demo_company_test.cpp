#include "personnel/demo_company.h"

#include "core/errors.h"
#include "engine/company_totals.h"
#include "personnel/checks.h"
#include "personnel/pay_grid.h"
#include "tests/params/fixture.h"

namespace traveno::personnel {
namespace {

class DemoCompanyTest : public params::testing::StoreFixture {};

TEST_F(DemoCompanyTest, TotalsMatchTheLinesAndASecondRecalculationChangesNothing) {
  EXPECT_EQ(CreateDemoCompany(*session_, prompter_, progress_), 20);
  EXPECT_EQ(session_->company(), "DEMO");
  EXPECT_EQ(session_->working_month(), params::testing::D(2003, 1));
  EXPECT_EQ(session_->department_count(), 2);

  const std::vector<PersRow> first = Employees(session_->working_month());
  ASSERT_EQ(first.size(), 20u);
  long double brut = 0, rest = 0;
  int permanent = 0;
  for (const PersRow& line : first) {
    brut += line.BRUT;
    rest += line.RESTPL;
    if (line.TIP == "1") ++permanent;
    EXPECT_GT(line.BRUT, 0) << line.NUME;
  }
  EXPECT_EQ(session_->totals().BrutP + session_->totals().BrutC, brut);
  EXPECT_EQ(session_->totals().RestPlP + session_->totals().RestPlC, rest);
  EXPECT_EQ(session_->totals().NrAngajati, permanent);

  RecalculateCompany(*session_, progress_);
  const std::vector<PersRow> second = Employees(session_->working_month());
  ASSERT_EQ(second.size(), first.size());
  for (std::size_t i = 0; i < first.size(); ++i) {
    const auto fields = FieldsOf<PersRow>();
    for (std::size_t f = 0; f < fields.size(); ++f) {
      EXPECT_EQ(GetField(first[i], f), GetField(second[i], f))
          << first[i].NUME << " " << fields[f].name;
    }
  }
  EXPECT_TRUE(CheckCodes(*session_, {"1", {}}).findings.empty());
  EXPECT_TRUE(CheckTime(*session_, {"1", {}}).findings.empty());
  EXPECT_TRUE(CheckCoefficients(*session_, {"1", {}}).findings.empty());
  EXPECT_THROW(CreateDemoCompany(*session_, prompter_, progress_), Error);
}

// The demo's parameters carried to a company of 620 permanent employees, none
// of them disabled: the law asks for 4 % of them, so the supplement to the
// disabled persons' fund is 25 minimum wages (620 x 4 % = 24.8 persons), not
// the hundreds of wages a share of 75 % made of it.
TEST_F(DemoCompanyTest, TheDisabledPersonsSupplementOfALargeCompanyIsTheUsualShare) {
  CreateDemoCompany(*session_, prompter_, progress_);
  engine::CompanyTotals totals = session_->totals();
  totals.NrAngajati = 620;
  totals.NrHandicap = 0;
  const engine::CompanyFunds funds = engine::ComputeCompanyFunds(totals, session_->parameters());
  EXPECT_EQ(funds.FondHandicapSuplimentar, 25 * 2500000.0L);
}

}  // namespace
}  // namespace traveno::personnel
