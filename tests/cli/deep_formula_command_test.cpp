// A formula nested past the bound, given to the commands that take formulas
// as input: a message and a failing status, never a crash.
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

}  // namespace
}  // namespace traveno::cli
