#include "engine/tax_table.h"

#include <charconv>
#include <cmath>

#include "core/numbers.h"

namespace traveno::engine {
namespace {

// The bracket that applies to an amount: the walk stops at the first row
// whose threshold is not below the amount and steps back one row.
std::size_t BracketOf(std::span<const TaxBracket> table, long double amount) {
  std::size_t i = 0;
  while (i < table.size()) {
    if (amount > static_cast<long double>(table[i].P_Venit)) {
      ++i;
    } else {
      return i == 0 ? 0 : i - 1;
    }
  }
  return table.size() - 1;
}

}  // namespace

long double ImpozitLunar(std::span<const TaxBracket> table, long double amount) {
  if (table.empty()) return 0;
  const TaxBracket& row = table[BracketOf(table, amount)];
  return RoundEven(static_cast<long double>(row.V_Proc) / 100 *
                       (amount - static_cast<long double>(row.P_Venit)) +
                   static_cast<long double>(row.V_Const));
}

long double ImpozitAnual(std::span<const TaxBracket> table, long double amount) {
  return ImpozitLunar(table, amount);
}

std::string VerificaTabel(std::span<const TaxBracket> table) {
  if (!table.empty()) {
    double previous_threshold = table[0].P_Venit;
    double previous_fixed = table[0].V_Const;
    double previous_rate = table[0].V_Proc / 100;
    for (std::size_t i = 1; i < table.size(); ++i) {
      const double expected =
          (table[i].P_Venit - previous_threshold) * previous_rate + previous_fixed;
      if (table[i].V_Const != expected) {
        return "Valoarea nu concorda in linia '" + std::to_string(i + 1) + "'" +
               " Corect este " + "\r\n" + "'" + ShortNumberText(expected);
      }
      previous_threshold = table[i].P_Venit;
      previous_fixed = table[i].V_Const;
      previous_rate = table[i].V_Proc / 100;
    }
  }
  return "Totul este in regula. ";
}

TaxFigures TaxFromGross(std::span<const TaxBracket> table, long double gross) {
  if (!(gross > 0)) return {};
  const long double tax = ImpozitLunar(table, gross);
  return {gross, gross - tax, tax};
}

std::optional<TaxFigures> TaxFromTax(std::span<const TaxBracket> table, long double tax) {
  if (!(tax > 0)) return TaxFigures{};
  if (table.empty()) return std::nullopt;
  std::size_t i = 0;
  while (i < table.size() && tax > static_cast<long double>(table[i].V_Const)) ++i;
  i = i == table.size() ? table.size() - 1 : (i == 0 ? 0 : i - 1);
  const TaxBracket& row = table[i];
  const long double rate = static_cast<long double>(row.V_Proc) / 100;
  if (rate == 0) return std::nullopt;
  const long double gross = RoundEven(
      (tax - static_cast<long double>(row.V_Const) + rate * row.P_Venit) / rate);
  return TaxFigures{gross, gross - tax, tax};
}

std::optional<TaxFigures> TaxFromNet(std::span<const TaxBracket> table, long double net) {
  if (!(net > 0)) return TaxFigures{};
  if (table.empty()) return std::nullopt;
  std::size_t i = 0;
  while (i < table.size() &&
         net > static_cast<long double>(table[i].P_Venit) - table[i].V_Const) {
    ++i;
  }
  i = i == table.size() ? table.size() - 1 : (i == 0 ? 0 : i - 1);
  const TaxBracket& row = table[i];
  const long double rate = static_cast<long double>(row.V_Proc) / 100;
  if (rate == 1) return std::nullopt;
  const long double tax = RoundEven(
      (rate * (net - static_cast<long double>(row.P_Venit)) + row.V_Const) / (1 - rate));
  return TaxFigures{net + tax, net, tax};
}

std::string ShortNumberText(long double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                              std::chars_format::general, 15);
  std::string text(buffer, result.ptr);
  for (char& c : text) {
    if (c == '.') c = ',';
    if (c == 'e') c = 'E';
  }
  if (text == "-0") text = "0";
  return text;
}

}  // namespace traveno::engine
