#include "cli/engine_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace traveno::cli {
namespace {

using nlohmann::json;

json Month(json rows) {
  return {{"month", "2003-03-01"},
          {"general",
           {{"SomajAng", 1}, {"SanatateAng", 6.5}, {"Pensie", 9.5}, {"DedBaza", 1800000},
            {"CheltProf", 270000}, {"CoefMax", 3}, {"SalMedEc", 6962000}}},
          {"company",
           {{"TimpLuna", 184}, {"TimpZile", 0}, {"ProcOreSupli", 100}, {"Spor1_Apl", 4},
            {"Spor2_Apl", 4}, {"Spor3_Apl", 4}, {"Spor4_Apl", 4}}},
          {"brackets", {{0, 0, 18}, {2100000, 378000, 23}, {5200000, 1091000, 28}}},
          {"rows", rows}};
}

json Employee(double salinc) {
  return {{"IID", 1},        {"tip", "1"},           {"SALINC", salinc},
          {"TIMP", 184},     {"CoefInd1", 1},        {"ProcImpo", 100},
          {"NORMA", 8},      {"DATA_ANG", "2001-01-01"}};
}

TEST(CalcCommandTest, FirstWorkedExample) {
  const json out = json::parse(CalculateMonthDocument(Month({Employee(5000000)}).dump()));
  const json& row = out["rows"][0];
  EXPECT_EQ(row["BRUT"], 5000000);
  EXPECT_EQ(row["IMPOZIT"], 374400);
  EXPECT_EQ(row["RESTPL"], 3775600);
  EXPECT_EQ(row["LUNA"], "2003-03-01");
  EXPECT_EQ(row["DATA_LICH"], "1899-12-30");
  EXPECT_EQ(row["Tarifar"], 5000000);
  EXPECT_EQ(row["BazaSomaj"], 5000000);
  EXPECT_EQ(out["totals"]["BrutP"], 5000000);
  EXPECT_EQ(out["totals"]["NrAngajati"], 1);
  EXPECT_EQ(out["funds"]["FondSomaj"], 175000);  // 3.5 % missing-row rate
  EXPECT_EQ(out["NumarMediuSalariati"], 1);
}

TEST(CalcCommandTest, CompanyParametersAsNumberTextOrBoth) {
  json month = Month({Employee(5000000)});
  month["rows"][0]["SumeExcept"] = 1000000;
  month["company"]["Ex_Impozit"] = {{"Val", 0}, {"Grupa", "NU"}};
  month["company"]["Ex_Pensie"] = 0;
  month["company"]["Ex_Sanatate"] = 0;
  month["company"]["Ex_Firma"] = "NU";
  const json out = json::parse(CalculateMonthDocument(month.dump()));
  EXPECT_EQ(out["rows"][0]["TOTDREPT"], 2080000);  // the exempt sum stays untaxed
  EXPECT_EQ(out["rows"][0]["RESTPL"], 3775600 + 1000000);
  EXPECT_EQ(out["funds"]["BazaSomajFirma"], 5000000);
}

TEST(CalcCommandTest, HolidayAverageReadsHistoryAndItsMonthsParameters) {
  json month = Month({Employee(4000000)});
  month["rows"][0]["ZILE_CO"] = 5;
  month["company"]["CO_Form"] = "\"TARIFAR\"";
  month["company"]["LuniCO"] = 1;
  month["history"] = {{{"IID", 1}, {"LUNA", "2003-02-01"}, {"SALINC", 8500000}, {"TIMP", 160}}};
  month["company_by_month"] = {{"2003-02-01", {{"TimpLuna", 160}}}};
  const json out = json::parse(CalculateMonthDocument(month.dump()));
  EXPECT_EQ(out["rows"][0]["SUMA_ZILE_CO"], 2000000);  // 8 500 000 / 21.25 * 5
}

TEST(CalcCommandTest, BadInputNamesTheField) {
  struct Case {
    std::string input;
    std::string names;
  };
  const Case kCases[] = {
      {"{bad", "not valid JSON"},
      {"[]", "input"},
      {R"({"rows": []})", "month"},
      {R"({"month": "2003-02-30"})", "month"},
      {R"({"month": "2003-03-01", "general": {"Pensie": "9.5"}})", "general.Pensie"},
      {R"({"month": "2003-03-01", "company": {"TimpLuna": [1]}})", "company.TimpLuna"},
      {R"({"month": "2003-03-01", "brackets": [[0, 0]]})", "brackets[0]"},
      {R"({"month": "2003-03-01", "rows": [{"SALINC": "abc"}]})", "rows[0].SALINC"},
      {R"({"month": "2003-03-01", "rows": [{"TIP": 1}]})", "rows[0].TIP"},
      {R"({"month": "2003-03-01", "rows": [{"DATA_ANG": "01.01.2003"}]})", "rows[0].DATA_ANG"},
      {R"({"month": "2003-03-01", "rows": [{"NOSUCH": 1}]})", "rows[0].NOSUCH"},
      {R"({"month": "2003-03-01", "history": [{"ZILE_CM": 1e9}]})", "history[0].ZILE_CM"},
  };
  for (const Case& c : kCases) {
    try {
      CalculateMonthDocument(c.input);
      ADD_FAILURE() << "accepted " << c.input;
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find(c.names), std::string::npos) << e.what();
    }
  }
}

struct CommandResult {
  std::string out;
  std::string err;
  int exit_code;
};

CommandResult RunCommand(std::vector<std::string> args) {
  CliContext context;
  std::ostringstream out;
  std::ostringstream err;
  context.out = &out;
  context.err = &err;
  CLI::App app;
  app.require_subcommand(1);
  RegisterEngineCommands(app, context);
  std::reverse(args.begin(), args.end());
  app.parse(args);
  return {out.str(), err.str(), context.exit_code};
}

TEST(FormulaCommandTest, CheckPrintsTheFirstMessageOrTheConfirmation) {
  CommandResult r = RunCommand({"formula", "check", "\"SalInc\"*10/100"});
  EXPECT_EQ(r.out, "Formula este corecta !\n");
  EXPECT_EQ(r.exit_code, 0);
  r = RunCommand({"formula", "check", "\"SALINC\"*12%"});
  EXPECT_EQ(r.out,
            "Caracterul  \" % \" nu este permis! \nFolositi operatorul \"/\" pentru procent \"\n");
  EXPECT_EQ(r.exit_code, 1);
  r = RunCommand({"formula", "check", "--kind", "co", "--months", "0", "\"BRUT\""});
  EXPECT_EQ(r.exit_code, 1);
  r = RunCommand({"formula", "check", "--bonus", "3", "\"VALS2\"*2"});
  EXPECT_EQ(r.exit_code, 0);
}

TEST(FormulaCommandTest, EvalSubstitutesTheGivenValues) {
  CommandResult r =
      RunCommand({"formula", "eval", "(\"TARIFAR\"+\"VAL_TIMP_S\")/2", "TARIFAR=1000001", "VAL_TIMP_S=0"});
  EXPECT_EQ(r.out, "500000.5\n");
  r = RunCommand({"formula", "eval", "\"SALINC\"*10/100", "salinc=2500000"});
  EXPECT_EQ(r.out, "250000\n");
  r = RunCommand({"formula", "eval", "\"SALINC\"", "NOSUCH=1"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "");
}

TEST(TaxCommandTest, AnyOneFigureGivesTheOtherTwo) {
  const std::string path = ::testing::TempDir() + "/brackets.json";
  std::ofstream(path) << R"({"brackets": [[0, 0, 18], [2100000, 378000, 23]],
                            "annual_brackets": [[0, 0, 10]]})";
  CommandResult r = RunCommand({"tax", "--gross", "1000000", "--brackets", path});
  EXPECT_EQ(r.out, "Suma bruta: 1000000\nSuma neta: 820000\nImpozit: 180000\n");
  r = RunCommand({"tax", "--net", "820000", "--brackets", path});
  EXPECT_EQ(r.out, "Suma bruta: 1000000\nSuma neta: 820000\nImpozit: 180000\n");
  r = RunCommand({"tax", "--tax", "100000", "--annual", "--brackets", path});
  EXPECT_EQ(r.out, "Suma bruta: 1000000\nSuma neta: 900000\nImpozit: 100000\n");
  r = RunCommand({"tax", "--gross", "1", "--net", "2", "--brackets", path});
  EXPECT_EQ(r.exit_code, 1);
  r = RunCommand({"tax", "--gross", "1", "--brackets", path + ".missing"});
  EXPECT_EQ(r.exit_code, 1);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace traveno::cli
