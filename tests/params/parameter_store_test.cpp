#include "params/parameter_store.h"

#include "tests/params/fixture.h"

namespace traveno::params::testing {
namespace {

class ParameterStoreTest : public StoreFixture {};

TEST_F(ParameterStoreTest, NewCompanyFirstMonthStoresItsDefaults) {
  Open("ALFA", D(2003, 1));
  const Date month = D(2003, 1);
  struct Case {
    const char* name;
    double value;
  };
  const Case kNumbers[] = {
      {"TimpZile", 0},     {"TimpLuna", 184}, {"Spor1_Apl", 2},     {"Spor2_Apl", 4},
      {"Spor4_Apl", 4},    {"ProcImpo", 1},   {"Timp", 1},          {"Ex_Pensie", 100},
      {"TipFluturasi", 2}, {"Deschisa", 0},   {"ComisionCM", 0.75}, {"DEP_CENTRAL", 0},
  };
  for (const Case& c : kNumbers) EXPECT_EQ(ReadCompany(db(), month, c.name), c.value) << c.name;
  EXPECT_EQ(ReadCompanyText(db(), month, "Spor1_Den"), "Procentual");
  EXPECT_EQ(ReadCompanyText(db(), month, "Ex_Firma"), "DA");
  EXPECT_EQ(ReadCompanyText(db(), month, "Ex_Impozit"), "DA");
  // Not written for a new company.
  for (const char* absent : {"LuniCO", "CO_Form", "Den_Retineri"}) {
    EXPECT_FALSE(db().QueryInt("SELECT 1 FROM firma.ParF WHERE Den = ?", absent)) << absent;
  }
  EXPECT_EQ(session_->department_count(), 1);
  EXPECT_EQ(session_->parameters().company.TimpZile, 0);
  EXPECT_EQ(session_->last_month(), month);
}

TEST_F(ParameterStoreTest, FirstMonthWithoutGeneralParametersGetsTheNewMonthValues) {
  Open("ALFA", D(2003, 1));
  const auto& general = session_->parameters().general;
  EXPECT_EQ(general.CAS, 24.5);
  EXPECT_EQ(general.DedBaza, 1800000);
  EXPECT_EQ(general.CheltProf, 270000);
  EXPECT_EQ(general.AltePers, 0.5);
  EXPECT_EQ(general.LimCIC, 1000000000000.0);
  EXPECT_EQ(general.VERIFPINT, 1);
  EXPECT_EQ(ReadGeneral(db(), D(2003, 1), "SomajCol"), 1);
}

TEST_F(ParameterStoreTest, MissingRowsReadTheirMissingRowValues) {
  Open("ALFA", D(2003, 1));
  const Date month = D(2003, 1);
  db().Run("DELETE FROM firma.ParF WHERE Den IN ('TimpZile', 'Ex_Pensie', 'ProcImpo')");
  db().Run("DELETE FROM main.Para WHERE Den IN ('CAS', 'SomajCol')");
  EXPECT_EQ(ReadCompany(db(), month, "TimpZile"), 1);
  EXPECT_EQ(ReadCompany(db(), month, "Ex_Pensie"), 100);
  EXPECT_EQ(ReadCompany(db(), month, "ProcImpo"), 0);
  EXPECT_EQ(ReadCompanyText(db(), month, "ZileLibere"), "");
  EXPECT_EQ(ReadGeneral(db(), month, "CAS"), 25.5);
  EXPECT_EQ(ReadGeneral(db(), month, "SomajCol"), 0);
  const auto company = LoadCompanyParameters(db(), month);
  EXPECT_EQ(company.TimpZile, 1);
  EXPECT_EQ(company.Ex_Pensie.Val, 100);
}

TEST_F(ParameterStoreTest, GeneralNamesIgnoreCaseCompanyNamesDoNot) {
  Open("ALFA", D(2003, 1));
  const Date month = D(2003, 1);
  EXPECT_EQ(ReadGeneral(db(), month, "dedbaza"), 1800000);
  WriteGeneral(db(), month, "DEDBAZA", 2000000);
  EXPECT_EQ(
      db().QueryInt("SELECT count(*) FROM main.Para WHERE Luna = ? AND Den LIKE 'dedbaza'", month),
      1);
  EXPECT_EQ(ReadGeneral(db(), month, "DedBaza"), 2000000);
  // A company name in another case is another parameter.
  EXPECT_EQ(ReadCompany(db(), month, "timpluna"), 0);
}

TEST_F(ParameterStoreTest, WritersTouchOnlyTheirColumnAndAppendMissingRows) {
  Open("ALFA", D(2003, 1));
  const Date month = D(2003, 1);
  WriteCompany(db(), month, "Ex_Impozit", 40);
  EXPECT_EQ(ReadCompanyText(db(), month, "Ex_Impozit"), "DA");
  WriteCompanyText(db(), month, "Ex_Impozit", "NU");
  EXPECT_EQ(ReadCompany(db(), month, "Ex_Impozit"), 40);
  WriteCompanyText(db(), month, "NouText", "abc");
  EXPECT_EQ(ReadCompanyText(db(), month, "NouText"), "abc");
  EXPECT_EQ(ReadCompany(db(), month, "NouText"), 0);
}

TEST_F(ParameterStoreTest, SaveCompanyLeavesHealthFiguresAndDepartmentsAlone) {
  Open("ALFA", D(2003, 1));
  const Date month = D(2003, 1);
  WriteCompany(db(), month, "RestSanA", 77);
  engine::CompanyParameters values = LoadCompanyParameters(db(), month);
  values.RestSanA = 5;
  values.SDAsig = 12;
  values.ZileLibere = ",1,2";
  values.departments.push_back({"DEP_FANTOMA", 0, ""});
  SaveCompanyParameters(db(), month, values);
  EXPECT_EQ(ReadCompany(db(), month, "RestSanA"), 77);
  EXPECT_EQ(ReadCompany(db(), month, "SDAsig"), 12);
  EXPECT_EQ(ReadCompanyText(db(), month, "ZileLibere"), ",1,2");
  EXPECT_FALSE(db().QueryInt("SELECT 1 FROM firma.ParF WHERE Den = 'DEP_FANTOMA'"));
  // A second save edits the rows in place.
  const auto before = db().QueryInt("SELECT count(*) FROM firma.ParF");
  SaveCompanyParameters(db(), month, values);
  EXPECT_EQ(db().QueryInt("SELECT count(*) FROM firma.ParF"), before);
}

}  // namespace
}  // namespace traveno::params::testing
