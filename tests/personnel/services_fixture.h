// A company opened on March 2003 with the helpers the personnel service
// tests share.
#pragma once

#include "params/parameter_store.h"
#include "personnel/employees.h"
#include "personnel/pay_grid.h"
#include "tests/params/fixture.h"

namespace traveno::personnel::testing {

using params::testing::D;

class ServicesFixture : public params::testing::StoreFixture {
 protected:
  void SetUp() override { Open("FIRMA", D(2003, 3)); }

  // Saves a new employee through the employee service.
  PersRow Hire(const std::string& nume, std::string_view tip = "1", double salinc = 5000000,
               double timp = 184) {
    EmployeeInput input = NewEmployeeInput(tip);
    input.Nume = nume;
    input.Prenume = "ION";
    input.SalInc = salinc;
    input.Timp = timp;
    input.Ore_Zi = tip == "2" ? 4 : 0;
    input.Data_Ang = D(2001, 1, 1);
    const std::int64_t nr = SaveEmployee(*session_, EmployeeEditMode::kAdd, input, tip);
    return Line(nr);
  }

  PersRow Line(std::int64_t nr) {
    auto rows = QueryRows<PersRow>(db(), "SELECT * FROM firma.Pers WHERE Nr = ?", nr);
    EXPECT_EQ(rows.size(), 1u);
    return rows.empty() ? PersRow{} : rows.front();
  }

  // The totals of the stored lines, summed afresh.
  engine::CompanyTotals SummedTotals() {
    engine::CompanyTotals totals;
    for (const PersRow& row : Employees(session_->working_month())) {
      engine::AddRowToTotals(totals, row, session_->parameters());
    }
    return totals;
  }

  void ExpectTotalsCurrent() {
    const auto expected = engine::NamedTotals(SummedTotals());
    const auto actual = engine::NamedTotals(session_->totals());
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_NEAR(static_cast<double>(actual[i].second), static_cast<double>(expected[i].second),
                  1e-6)
          << expected[i].first;
    }
  }

  void CloseMonth() {
    params::WriteCompany(db(), session_->working_month(), "Deschisa", 1);
    session_->LoadParameters();
  }
};

}  // namespace traveno::personnel::testing
