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

  // The running totals hold the stored lines of the month: their gross, exempt
  // sums, advances, net, leave amounts and days and the head count, summed
  // here by kind.
  void ExpectTotalsCurrent() {
    long double brut[2] = {0, 0}, sume[2] = {0, 0}, avansuri[2] = {0, 0}, rest[2] = {0, 0},
                cm1[2] = {0, 0}, cm2[2] = {0, 0}, cic[2] = {0, 0};
    int permanent = 0;
    int days = 0;
    for (const PersRow& row : Employees(session_->working_month())) {
      const int k = row.TIP == "1" ? 0 : 1;
      permanent += k == 0;
      brut[k] += row.BRUT;
      sume[k] += row.SumeExcept;
      avansuri[k] += static_cast<long double>(row.AVANS) + row.PRIME_INCASATE + row.AVANS_CO;
      rest[k] += row.RESTPL;
      cm1[k] += row.CM1L;
      cm2[k] += row.CM2L;
      cic[k] += row.CIC;
      days += row.ZILE_CM;
    }
    const engine::CompanyTotals& t = session_->totals();
    const std::pair<const char*, std::pair<long double, long double>> kSums[] = {
        {"BrutP", {t.BrutP, brut[0]}},
        {"BrutC", {t.BrutC, brut[1]}},
        {"SumeExceptP", {t.SumeExceptP, sume[0]}},
        {"SumeExceptC", {t.SumeExceptC, sume[1]}},
        {"AvansuriP", {t.AvansuriP, avansuri[0]}},
        {"AvansuriC", {t.AvansuriC, avansuri[1]}},
        {"RestPlP", {t.RestPlP, rest[0]}},
        {"RestPlC", {t.RestPlC, rest[1]}},
        {"CM1LP", {t.CM1LP, cm1[0]}},
        {"CM1LC", {t.CM1LC, cm1[1]}},
        {"CM2LP", {t.CM2LP, cm2[0]}},
        {"CM2LC", {t.CM2LC, cm2[1]}},
        {"CICP", {t.CICP, cic[0]}},
        {"CICC", {t.CICC, cic[1]}},
        {"NrAngajati", {t.NrAngajati, permanent}},
        {"ZileCM", {t.ZileCM, days}},
    };
    for (const auto& [name, values] : kSums) {
      EXPECT_NEAR(static_cast<double>(values.first), static_cast<double>(values.second), 1e-6)
          << name;
    }
  }

  void CloseMonth() {
    params::WriteCompany(db(), session_->working_month(), "Deschisa", 1);
    session_->LoadParameters();
  }
};

}  // namespace traveno::personnel::testing
