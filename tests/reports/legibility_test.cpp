// The documents of a company of 2 000 employees: every figure and every sum
// legible in its own place, at its full width and clear of its neighbours.
#include "tests/reports/legibility.h"

#include <gtest/gtest.h>

#include "core/store/sqlite.h"
#include "reports/advance_statements.h"
#include "reports/pay_slips.h"
#include "reports/payroll_statement.h"
#include "reports/recapitulation.h"
#include "reports/situations_and_lists.h"
#include "tests/reports/documents_fixture.h"

namespace traveno::reports {
namespace {

using testing::LegibilityFaults;

class LegibilityTest : public testing::DocumentsFixture {
 protected:
  static constexpr int kEmployees = 2000;

  void SetUp() override {
    DocumentsFixture::SetUp();
    SetCompany("TimpLuna", 168);
    SetCompany("TimpZile", 0);
    for (int n = 1; n <= 4; ++n) {
      SetCompany("Spor" + std::to_string(n) + "_Apl", n);
      SetCompanyText("Spor" + std::to_string(n) + "_Den", "Spor " + std::to_string(n));
    }
    AddDepartment("PRODUCT");
    // Well-paid employees with every figure at its month's high end: sums
    // of tens of billions of lei, as a company of this size reaches.
    Transaction tx(db());
    for (int i = 0; i < kEmployees; ++i) {
      const bool partial = i % 5 == 4;
      PersRow r = Employee("ANGAJAT" + std::to_string(i), partial ? "2" : "1",
                           i % 2 ? "CENTRAL" : "PRODUCT");
      const double k = 1 + (i % 9) / 8.0;
      r.SALINC = 12e6 * k;
      r.TIMP = partial ? 84 : 168;
      r.Ore_Zi = partial ? 4 : 0;
      r.ALT_VENIT = partial ? 1 : 0;
      r.Domiciliu_ext = partial ? "1" : "0";
      r.REALIZAT = 9e6 * k;
      r.TIMP_SPL = 40;
      r.VAL_TIMP_S = 3e6 * k;
      r.ZILE_CO = 21;
      r.SUMA_ZILE_CO = 4e6 * k;
      r.Spor1 = 25;
      r.spor2 = 12.5;
      r.spor3 = 100;
      r.spor4 = 7.25;
      r.vals1 = r.vals2 = r.vals3 = r.vals4 = 2e6 * k;
      r.TIMP_NOAPTE = 168;
      r.SUMA_T_NOAPTE = 2e6 * k;
      r.ALTE_SUME = r.SPORURI = 1e6 * k;
      r.pr_va = 3e6 * k;
      r.Dif_Brut = -1e6 * k;
      r.CM1L = 2e6 * k;
      r.ZILE_FP = r.ZILE_CM = r.ZILE_CIC = 21;
      r.PRIME = 5e6 * k;
      r.CM2L = r.CIC = 3e6 * k;
      r.SumeExcept = 2e6 * k;
      r.BRUT = 20e6 * k;
      r.SANATATE = 1.3e6 * k;
      r.PENSIE = 1.9e6 * k;
      r.SOMAJ = 0.2e6 * k;
      r.VENIT_NET = 16e6 * k;
      r.Ch_Prof = 0.27e6;
      r.DED_PERS = 1.8e6;
      r.DED_PERS_SUPLI = 0.9e6;
      r.TOTDREPT = 14e6 * k;
      r.IMPOZIT = 5e6 * k;
      r.AVANS = 6e6 * k;
      r.RETINERI = r.PRIME_INCASATE = r.POPRIRI = r.GARANTII = r.ALTE_RET = 1e6 * k;
      r.AVANS_CO = 4e6 * k;
      r.RESTPL = 10e6 * k;
      r.CoefInd = 2.5;
      Add(r);
    }
    tx.Commit();
  }

  // Every fault of every page, with the page's number.
  static std::vector<std::string> Faults(const std::optional<Report>& report) {
    EXPECT_TRUE(report);
    std::vector<std::string> faults;
    if (!report) return faults;
    const Document document = Prepare(*report);
    for (std::size_t i = 0; i < document.pages.size(); ++i) {
      for (const std::string& fault : LegibilityFaults(document.pages[i])) {
        faults.push_back(document.title + ", pagina " + std::to_string(i + 1) + ": " + fault);
      }
    }
    return faults;
  }
};

TEST_F(LegibilityTest, EveryFigureOfEveryDocumentIsLegibleInItsOwnPlace) {
  std::vector<HolidayAdvanceLine> holiday = HolidayAdvanceLines(*session_);
  for (HolidayAdvanceLine& line : holiday) line.Listare = true;
  const std::optional<Report> reports[] = {
      PayrollStatement(Context()),
      Recapitulation(Context()),
      AdvanceStatement(Context()),
      AdvanceSlips(Context()),
      HolidayAdvanceStatement(Context(), holiday),
      PaySlips(Context()),
      MedicalLeaveSituation(Context(), month()),
      HolidaySituation(Context(), month()),
  };
  for (const std::optional<Report>& report : reports) {
    const std::vector<std::string> faults = Faults(report);
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults, the first: " << faults.front();
  }
  // The other layout of the pay slips: two employees side by side.
  SetCompany("TipFluturasi", 1);
  const std::vector<std::string> faults = Faults(PaySlips(Context()));
  EXPECT_TRUE(faults.empty()) << faults.size() << " faults, the first: " << faults.front();
}

}  // namespace
}  // namespace traveno::reports
