// Parentheses opened one in another: the evaluator and the check stop at a
// bound with the program's message, whatever the depth, instead of running
// out of stack.
#include <gtest/gtest.h>

#include <string>

#include "engine/formula.h"
#include "engine/formula_check.h"

namespace traveno::engine {
namespace {

std::string Nested(int depth, const std::string& inside) {
  return std::string(static_cast<std::size_t>(depth), '(') + inside +
         std::string(static_cast<std::size_t>(depth), ')');
}

TEST(FormulaDepthTest, TheEvaluatorStopsPastTheBound) {
  EXPECT_EQ(EvalueazaExpresie(Nested(kMaxFormulaDepth, "2*3")), 6);
  EXPECT_THROW(EvalueazaExpresie(Nested(kMaxFormulaDepth + 1, "2*3")), FormulaTooDeep);
  // A million levels, the depth that once ran out of stack.
  EXPECT_THROW(EvalueazaExpresie(std::string(1000000, '(') + "1"), FormulaTooDeep);

  PersRow row;
  row.SALINC = 1000;
  const CompiledFormula fits("\"SALINC\"*" + Nested(kMaxFormulaDepth - 1, "2"));
  EXPECT_EQ(fits.Evaluate(row, {}), 2000);
  const CompiledFormula deep("\"SALINC\"*" + std::string(1000000, '(') + "2");
  EXPECT_THROW(deep.Evaluate(row, {}), FormulaTooDeep);
}

TEST(FormulaDepthTest, TheCheckRefusesPastTheBoundBeforeAnyOtherFault) {
  const auto fields = AcceptedFormulaFields(FormulaKind::kBonus, 1);
  EXPECT_EQ(ValideazaFormula("\"SALINC\"*" + Nested(kMaxFormulaDepth + 1, "2"), fields,
                             FormulaKind::kBonus),
            std::string(kFormulaTooDeep));
  EXPECT_EQ(ValideazaFormula(std::string(1000000, '('), fields, FormulaKind::kBonus),
            std::string(kFormulaTooDeep));
  EXPECT_EQ(ValideazaFormula("\"SALINC\"*" + Nested(3, "2"), fields, FormulaKind::kBonus),
            std::nullopt);
}

}  // namespace
}  // namespace traveno::engine
