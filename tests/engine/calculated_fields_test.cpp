#include "engine/calculated_fields.h"

#include <gtest/gtest.h>

#include "engine/engine_fixtures.h"

namespace traveno::engine {
namespace {

using testing::Month2003;
using testing::Permanent;

TEST(ReportFiguresTest, TimeValueSalaryFundAndUnemploymentBase) {
  MonthParameters p = Month2003();
  p.company.Ex_Firma.Grupa = "DA";
  PersRow row = Permanent(4000000, 92);
  row.BRUT = 3000000;
  row.CIC = 100000;
  row.CM2L = 200000;
  row.SumeExcept = 5000;
  row.ALTE_SUME = 1;
  row.SPORURI = 2;
  ReportFigures f = ComputeReportFigures(row, p);
  EXPECT_EQ(f.Tarifar, 2000000);
  EXPECT_EQ(f.FondSalariu, 2705000);
  EXPECT_EQ(f.FondSomajFirma, 2705000);
  EXPECT_EQ(f.AlteSumeSiAlteSporuri, 3);

  row.ACORD = "d";  // piece-work shows no time value
  row.Pensionar = 1;
  f = ComputeReportFigures(row, p);
  EXPECT_FALSE(f.Tarifar);
  EXPECT_EQ(f.FondSalariu, 2705000);
  EXPECT_FALSE(f.FondSomajFirma);  // a permanent pensioner has none

  p.company.Ex_Firma.Grupa = "";  // only "DA" takes the exempt sums in
  row.Pensionar = 0;
  EXPECT_EQ(ComputeReportFigures(row, p).FondSomajFirma, 2700000);

  row.TIP = "2";
  row.Ore_Zi = 4;
  row.TIMP = 46;
  f = ComputeReportFigures(row, p);
  EXPECT_EQ(f.Tarifar, 2000000);  // 46 of a 92-hour norm
  EXPECT_EQ(f.FondSalariu, 3000000);
  EXPECT_EQ(f.FondSomajFirma, 0);  // no BifaSom
  row.Ore_Zi = 0;
  EXPECT_EQ(ComputeReportFigures(row, p).Tarifar, 0);
}

TEST(NominalFiguresTest, DaysAndBases) {
  MonthParameters p = Month2003();
  p.general.SomajAng = 1;
  p.general.SomajCol = 0.5;
  p.company.Ex_Pensie.Grupa = "DA";
  p.company.Ex_Firma.Grupa = "NU";
  PersRow row = Permanent(4000000, 164);  // 20.5 days of 8 hours round to 20
  row.ZILE_CO = 2;
  row.ZILE_CM = 3;
  row.ZILE_CIC = 1;
  row.BRUT = 3000000;
  row.CM1L = 10;
  row.CM2L = 20;
  row.CIC = 30;
  row.SumeExcept = 1000;
  row.SOMAJ = 30000;
  NominalFigures f = ComputeNominalFigures(row, p);
  EXPECT_EQ(f.ZileNorm, 22);
  EXPECT_EQ(f.ZilePrest, 4);
  EXPECT_EQ(f.TotalZile, 26);
  EXPECT_EQ(f.Baza2, 3001000);
  EXPECT_EQ(f.BazaCAS, 3000000 - 60);
  EXPECT_EQ(f.BazaSomaj, 3000000);
  EXPECT_EQ(f.TotalPrest, 60);
  EXPECT_EQ(f.BASS, 50);

  p.general.SomajAng = 0;  // a zero rate gives no base, not an infinity
  EXPECT_EQ(ComputeNominalFigures(row, p).BazaSomaj, 0);

  row.TIP = "2";
  row.Ore_Zi = 4;
  row.TIMP = 82;
  f = ComputeNominalFigures(row, p);
  EXPECT_EQ(f.ZileNorm, 2 + 20);  // 82 hours of 4 a day: 20.5 rounds to 20
  EXPECT_FALSE(f.Baza2);          // no ALT_VENIT and no Domiciliu_ext
  EXPECT_FALSE(f.BazaCAS);
  EXPECT_FALSE(f.BazaSomaj);
  row.Domiciliu_ext = "1";
  f = ComputeNominalFigures(row, p);
  EXPECT_EQ(f.BazaSomaj, 6000000);
  EXPECT_FALSE(f.BazaCAS);
  p.general.SomajCol = 0;
  EXPECT_EQ(ComputeNominalFigures(row, p).BazaSomaj, 0);
}

TEST(CalculatedTextsTest, CategoryDependantsAndDepartments) {
  EXPECT_EQ(Categoria("1", 0, 20), " CIC ");
  EXPECT_EQ(Categoria("1", 168, 0), " S - Salariat ");
  EXPECT_EQ(Categoria("2", 10, 3), " CP contract partial ");
  EXPECT_EQ(Kalitate(1, DependantView::kPayGrid), "Copii <= 2");
  EXPECT_EQ(Kalitate(2, DependantView::kReports), "Copil");
  EXPECT_EQ(Kalitate(-1, DependantView::kReports), "");
  EXPECT_EQ(Ynvaliditate(0, DependantView::kPayGrid), "Fara handicap");
  EXPECT_EQ(Ynvaliditate(0, DependantView::kReports), "");
  EXPECT_EQ(Ynvaliditate(2, DependantView::kReports), "Inv. grad II");
  EXPECT_EQ(DepartmentName(" dep_central "), "CENTRAL");
  EXPECT_EQ(BrutCalc(1000, 100, 10), 890);
}

}  // namespace
}  // namespace traveno::engine
