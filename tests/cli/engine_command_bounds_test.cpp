// The commands of the engine given values no calculation should take: a
// formula nested past the bound, amounts past their range. A message and a
// failing status, never a crash nor an infinite figure.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "cli/engine_commands.h"
#include "engine/formula.h"
#include "tests/support/cli_program.h"

namespace traveno::cli {
namespace {

TEST(DeepFormulaCommandTest, CalcRefusesAFormulaNestedAMillionDeep) {
  const nlohmann::json month = {
      {"month", "2003-03-01"},
      {"company",
       {{"TimpLuna", 184},
        {"Spor1_Apl", 5},
        {"Spor1_Form", "\"SALINC\"*" + std::string(1000000, '(') + "1"}}},
      {"rows", {{{"IID", 1}, {"tip", "1"}, {"SALINC", 5000000}, {"TIMP", 184}}}}};
  EXPECT_THROW(CalculateMonthDocument(month.dump()), engine::FormulaTooDeep);
}

TEST(DeepFormulaCommandTest, FormulaEvalTellsTheBound) {
  const auto result = traveno::testing::RunProgram(
      {"formula", "eval", "\"SALINC\"*" + std::string(100000, '(') + "1", "SALINC=1"});
  EXPECT_NE(result.status, 0);
  EXPECT_NE(result.err.find(engine::kFormulaTooDeep), std::string::npos) << result.err;
  const auto check = traveno::testing::RunProgram(
      {"formula", "check", "--kind", "bonus", "--bonus", "1", std::string(100000, '(')});
  EXPECT_NE(check.status, 0);
  EXPECT_NE(check.out.find(engine::kFormulaTooDeep), std::string::npos) << check.out;
}

TEST(EngineCommandBoundsTest, CalcRefusesInputsPastTheirRanges) {
  struct Case {
    const char* what;
    nlohmann::json month;
  };
  const nlohmann::json row = {{"IID", 1}, {"tip", "1"}, {"SALINC", 5000000}, {"TIMP", 184}};
  nlohmann::json huge_salary = {{"month", "2003-03-01"}, {"rows", {row}}};
  huge_salary["rows"][0]["SALINC"] = 1e308;
  nlohmann::json days = {{"month", "2003-03-01"}, {"rows", {row}}};
  days["rows"][0]["ZILE_CM"] = 2.7;
  const Case kCases[] = {
      {"a salary of 1e308", huge_salary},
      {"medical days 2,7", days},
      {"a rate of 1000 %",
       {{"month", "2003-03-01"}, {"general", {{"CAS", 1000}}}, {"rows", {row}}}},
      {"a bracket at 150 %",
       {{"month", "2003-03-01"}, {"brackets", {{0, 0, 150}}}, {"rows", {row}}}},
  };
  for (const Case& c : kCases) {
    EXPECT_THROW(CalculateMonthDocument(c.month.dump()), std::invalid_argument) << c.what;
  }
}

}  // namespace
}  // namespace traveno::cli
