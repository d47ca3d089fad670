#include "engine/pers_fields.h"

#include <array>
#include <cstdint>

#include "core/numbers.h"

namespace traveno::engine {
namespace {

struct NumericAccess {
  double PersRow::*real = nullptr;
  int PersRow::*integer = nullptr;
  std::int64_t PersRow::*counter = nullptr;
  std::string PersRow::*text = nullptr;
  Date PersRow::*date = nullptr;
};

NumericAccess AccessOf(double PersRow::*m) { return {.real = m}; }
NumericAccess AccessOf(int PersRow::*m) { return {.integer = m}; }
NumericAccess AccessOf(std::int64_t PersRow::*m) { return {.counter = m}; }
NumericAccess AccessOf(std::string PersRow::*m) { return {.text = m}; }
NumericAccess AccessOf(Date PersRow::*m) { return {.date = m}; }

#define TRAVENO_NUMERIC_ACCESS(name, kind, width) AccessOf(&PersRow::name),

const auto& Accessors() {
  static const auto kAccess = std::to_array({TRAVENO_PERS_FIELDS(TRAVENO_NUMERIC_ACCESS)});
  return kAccess;
}

#undef TRAVENO_NUMERIC_ACCESS

}  // namespace

long double PersNumber(const PersRow& row, std::size_t index) {
  const auto& accessors = Accessors();
  if (index >= accessors.size()) return 0;
  const NumericAccess& a = accessors[index];
  if (a.real != nullptr) return row.*a.real;
  if (a.integer != nullptr) return row.*a.integer;
  if (a.counter != nullptr) return static_cast<long double>(row.*a.counter);
  if (a.date != nullptr) return (row.*a.date).serial();
  if (a.text != nullptr) return ParseNumber(row.*a.text, 0);
  return 0;
}

std::optional<std::size_t> PersFieldIndex(std::string_view name) {
  return FindField<PersRow>(name);
}

}  // namespace traveno::engine
