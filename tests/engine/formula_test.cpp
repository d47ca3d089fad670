#include "engine/formula.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/tax_table.h"

namespace traveno::engine {
namespace {

TEST(EvalueazaExpresieTest, ArithmeticAndItsQuirks) {
  struct Case {
    const char* text;
    long double value;
  };
  const Case kCases[] = {
      {"10-2-3", 5},
      {"2+3*4", 14},
      {"(2+3)*4", 20},
      {"1,5*2", 3},
      {"2500000*10/100", 250000},
      {"7/0", 7},  // a division by zero keeps the left operand
      {"(1000001+0)/2", 500000.5L},
      {"5+", 5},  // an operator at the end has nothing after it
      {"5*", 0},  // ... but a product reads a missing factor as 0
      {"", 0},
      {"   ", 0},
      {"SALINC", 0},  // a bare word
      {"5.5", 0},     // the period is not the decimal separator
      {"2 + 3", 0},   // a blank is not part of the language
      {"(2+3", 5},    // the closing parenthesis is not checked
      {"12,25", 12.25L},
  };
  for (const Case& c : kCases) {
    EXPECT_NEAR(static_cast<double>(EvalueazaExpresie(c.text)), static_cast<double>(c.value), 1e-9)
        << c.text;
  }
}

TEST(SubstitutionTest, ReplacesEachQuotedNameInTurn) {
  const std::string formula = "(\"TARIFAR\"+\"VAL_TIMP_S\")/2";
  ASSERT_EQ(NumarCampuri(formula), 2);
  EXPECT_EQ(CampulK(formula, 1), "TARIFAR");
  EXPECT_EQ(CampulK(formula, 2), "VAL_TIMP_S");
  EXPECT_EQ(CampulK(formula, 3), "");
  std::string text = InlocuiesteCampul("", formula, 2, 1, "1000001");
  text = InlocuiesteCampul(text, formula, 2, 2, "0");
  EXPECT_EQ(text, "(1000001+0)/2");
  EXPECT_EQ(EvalueazaExpresie(text), 500000.5L);
  EXPECT_EQ(NumarCampuri("10"), 0);
}

PersRow RowWithSalary(double salinc) {
  PersRow row;
  row.SALINC = salinc;
  return row;
}

TEST(CompiledFormulaTest, ReadsFieldsAndVariables) {
  const PersRow row = RowWithSalary(2500000);
  FormulaVariables variables;
  variables.tarifar = 1000001;
  EXPECT_EQ(CompiledFormula("\"SALINC\"*10/100").Evaluate(row, variables), 250000);
  EXPECT_EQ(CompiledFormula("\"salinc\"*10/100").Evaluate(row, variables), 250000);
  EXPECT_EQ(CompiledFormula("(\"TARIFAR\"+\"VAL_TIMP_S\")/2").Evaluate(row, variables), 500000.5L);
  EXPECT_EQ(CompiledFormula("\"SALINC\"/0").Evaluate(row, variables), 2500000);
}

TEST(CompiledFormulaTest, FormulasWithoutNamesOrWithUnknownCharactersGiveZero) {
  const PersRow row = RowWithSalary(2500000);
  const FormulaVariables variables;
  for (const char* text :
       {"10", "SALINC", "", "\"SALINC\"*12%", "\"SALINC\"*12.5", "\"SALINC\"*10/100\""}) {
    EXPECT_EQ(CompiledFormula(text).Evaluate(row, variables), 0) << text;
  }
  // A name the row does not have reads 0.
  EXPECT_EQ(CompiledFormula("\"NOSUCH\"+5").Evaluate(row, variables), 5);
}

TEST(CompiledFormulaTest, BonusValuesComeFromVariablesOrFromTheRow) {
  PersRow row;
  row.vals1 = 700;
  FormulaVariables variables;
  variables.vals[0] = 300;
  const CompiledFormula formula("\"VALS1\"*2");
  EXPECT_EQ(formula.Evaluate(row, variables), 600);
  variables.vals_from_row = true;
  EXPECT_EQ(formula.Evaluate(row, variables), 1400);
}

TEST(CompiledFormulaTest, ValuesAreReadAsTheirFifteenDigitText) {
  // 144 * 4 000 000 / 184 is written 3130434,7826087 in the formula text.
  FormulaVariables variables;
  variables.tarifar = 144.0L * 4000000 / 184;
  const long double value = CompiledFormula("\"TARIFAR\"*1").Evaluate(PersRow{}, variables);
  EXPECT_NEAR(static_cast<double>(value), 3130434.7826087, 1e-9);
  // The value itself is 3 130 434.78260869...: 4.3e-9 away.
  EXPECT_GT(std::fabs(static_cast<double>(value - variables.tarifar)), 4e-9);
}

// Each name is replaced by its value's text, and the text is evaluated.
TEST(CompiledFormulaTest, AgreesWithTheTextSubstitution) {
  PersRow row;
  row.SALINC = 3333333;
  row.PRIME = 125000.5;
  row.VAL_TIMP_S = 17;
  FormulaVariables variables;
  variables.tarifar = 2222222.2222222;
  variables.realizat = 1500000;
  struct Case {
    const char* text;
    long double value;
  };
  const Case kCases[] = {
      {"\"SALINC\"*10/100+\"PRIME\"", 333333.3L + 125000.5L},
      {"(\"TARIFAR\"+\"VAL_TIMP_S\")/3*\"REALIZAT\"/1000000", 2222239.2222222L / 3 * 1.5L},
      {"\"SALINC\"-\"REALIZAT\"-\"PRIME\"", 1708332.5L},
      {"((\"SALINC\"))*0,075", 249999.975L},
      {"\"SALINC\"\"PRIME\"", 3333333125000.5L},  // two names side by side read as one number
      {"1\"PRIME\"", 1125000.5L},
  };
  for (const Case& c : kCases) {
    const long double value = CompiledFormula(c.text).Evaluate(row, variables);
    EXPECT_NEAR(static_cast<double>(value), static_cast<double>(c.value),
                1e-9 * std::fabs(static_cast<double>(c.value)))
        << c.text;
  }
}

// The value read without writing the text must be the value the text gives.
TEST(AsFormulaReadsItTest, MatchesReadingTheWrittenText) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> exponent(-6, 15.5);
  std::uniform_real_distribution<double> mantissa(1, 10);
  for (int i = 0; i < 200000; ++i) {
    const long double value =
        static_cast<long double>(mantissa(random)) * std::pow(10.0L, exponent(random)) / 7;
    const std::string text = ShortNumberText(value);
    if (text.find('E') != std::string::npos) continue;  // outside the formula grammar
    ASSERT_EQ(AsFormulaReadsIt(value), EvalueazaExpresie(text)) << text;
    ASSERT_EQ(AsFormulaReadsIt(-value), -EvalueazaExpresie(text)) << text;
  }
  EXPECT_EQ(AsFormulaReadsIt(1e20L), 1e20L);
  EXPECT_EQ(AsFormulaReadsIt(2500000), 2500000);
}

}  // namespace
}  // namespace traveno::engine
