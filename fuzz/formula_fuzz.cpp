// The formula validator and evaluator on any text: the first byte chooses the
// formula kind, the bonus and the editor's months; the rest is the formula as
// typed. Nothing may crash, read out of bounds or overflow undefined.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/store/records.h"
#include "engine/formula.h"
#include "engine/formula_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  using namespace traveno::engine;
  const std::uint8_t choice = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const FormulaKind kind = (choice & 1) != 0 ? FormulaKind::kHolidayPay : FormulaKind::kBonus;
  const int bonus = 1 + ((choice >> 1) & 3);
  const double months = (choice >> 3) & 15;

  const auto fields = AcceptedFormulaFields(kind, bonus);
  (void)ValideazaFormula(text, fields, kind, months);
  (void)EvalueazaExpresie(text);

  const int count = NumarCampuri(text);
  std::string substituted;
  for (int k = 1; k <= count && k <= 8; ++k) {
    (void)CampulK(text, k);
    substituted = InlocuiesteCampul(substituted, text, count, k, "12,5");
  }
  (void)EvalueazaExpresie(substituted);

  traveno::PersRow row;
  row.SALINC = 4000000;
  row.TIMP = 168;
  row.CoefInd = 1.5;
  FormulaVariables variables;
  variables.tarifar = 23809.5;
  variables.realizat = 100;
  const CompiledFormula compiled(text);
  (void)compiled.Evaluate(row, variables);
  return 0;
}
