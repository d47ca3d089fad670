#include "engine/month_parameters.h"

#include <gtest/gtest.h>

namespace traveno::engine {
namespace {

TEST(MonthParametersTest, MissingRowsGiveTheirMissingRowValues) {
  const GeneralParameters g = BuildGeneralParameters({});
  EXPECT_EQ(g.SomajAng, 1);
  EXPECT_EQ(g.SomajCol, 0);
  EXPECT_EQ(g.CAS, 25.5);
  EXPECT_EQ(g.DedBaza, 1600000);
  EXPECT_EQ(g.AltePers, 0.2);
  EXPECT_EQ(g.SalMedEc, 5299736);
  const CompanyParameters c = BuildCompanyParameters({});
  EXPECT_EQ(c.TimpZile, 1);  // days, unlike a new company's 0
  EXPECT_EQ(c.TimpLuna, 184);
  EXPECT_EQ(c.Ex_Pensie.Val, 100);
  EXPECT_EQ(c.Ex_Impozit.Val, 100);
  EXPECT_EQ(c.Ex_Firma.Grupa, "");
  EXPECT_EQ(c.spor[0].Apl, 0);
  EXPECT_EQ(c.Prime, 1);
  EXPECT_EQ(c.ProcImpo, 0);
  EXPECT_EQ(c.CO_Form, "");
}

TEST(MonthParametersTest, GeneralNamesIgnoreCaseCompanyNamesDoNot) {
  const std::vector<ParameterRow> general = {{"somajang", 0.5, ""}, {"SOMAJANG", 9, ""}};
  EXPECT_EQ(BuildGeneralParameters(general).SomajAng, 0.5);  // the first row counts
  const std::vector<ParameterRow> company = {{"timpluna", 21, ""}, {"TimpLuna", 168, ""},
                                             {"Spor2_Apl", 5, ""},
                                             {"Spor2_Form", 0, "\"SALINC\"/10"},
                                             {"Spor_Perm3", 1, ""},
                                             {"Ex_Impozit", 50, "NU"},
                                             {"DEP_CENTRAL", 0, ""},
                                             {"DEP_VANZARI", 0, ""}};
  const CompanyParameters c = BuildCompanyParameters(company);
  EXPECT_EQ(c.TimpLuna, 168);
  EXPECT_EQ(c.spor[1].Apl, 5);
  EXPECT_EQ(c.spor[1].Form, "\"SALINC\"/10");
  EXPECT_EQ(c.spor[2].Perm, 1);
  EXPECT_EQ(c.Ex_Impozit.Val, 50);
  EXPECT_EQ(c.Ex_Impozit.Grupa, "NU");
  ASSERT_EQ(c.departments.size(), 2u);
  EXPECT_EQ(c.departments[1].Den, "DEP_VANZARI");
}

TEST(MonthParametersTest, RowsWriteBackWhatWasRead) {
  CompanyParameters c;
  c.TimpLuna = 176;
  c.ZileLibere = ",1,2";
  c.spor[3].Den = "Vechime";
  c.Ex_Firma.Grupa = "DA";
  c.departments.push_back({"DEP_CENTRAL", 0, ""});
  const std::vector<ParameterRow> rows = CompanyParameterRows(c);
  const CompanyParameters again = BuildCompanyParameters(rows);
  EXPECT_EQ(again.TimpLuna, 176);
  EXPECT_EQ(again.ZileLibere, ",1,2");
  EXPECT_EQ(again.spor[3].Den, "Vechime");
  EXPECT_EQ(again.Ex_Firma.Grupa, "DA");
  EXPECT_EQ(again.departments.size(), 1u);
  EXPECT_EQ(rows.size(), CompanyParameterNames().size() + 1);
  EXPECT_EQ(GeneralParameterRows(GeneralParameters{}).size(), GeneralParameterNames().size());
}

TEST(MonthParametersTest, FlagsAreCheckedUnlessNU) {
  EXPECT_TRUE(IsFlagChecked("DA"));
  EXPECT_TRUE(IsFlagChecked(""));
  EXPECT_FALSE(IsFlagChecked("nu "));
}

}  // namespace
}  // namespace traveno::engine
