// Progressive income-tax bracket tables (the monthly table of a month and the
// annual table of a year) and the tax calculator that turns any one of gross,
// net and tax into the other two.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace traveno::engine {

// One bracket: the threshold, the tax due on an income equal to it, and the
// percentage applied to what exceeds it.
struct TaxBracket {
  double P_Venit = 0;
  double V_Const = 0;
  double V_Proc = 0;
};

// A period's brackets in ascending P_Venit order.
using TaxTable = std::vector<TaxBracket>;

// The tax due on an amount by a month's bracket table: the last bracket whose
// threshold is strictly below the amount applies; at or below the first
// threshold the first bracket applies; above the last, the last. The result
// is RoundEven(V_Proc / 100 * (amount - P_Venit) + V_Const). An empty table
// gives 0. Never fails.
long double ImpozitLunar(std::span<const TaxBracket> table, long double amount);
// The same over a year's annual table.
long double ImpozitAnual(std::span<const TaxBracket> table, long double amount);

// The consistency check of a table: the first row's figures start the chain;
// every later V_Const must equal exactly (P_Venit - previous P_Venit) *
// previous V_Proc / 100 + previous V_Const (in double precision). Returns the
// warning naming the first wrong row (1-based) and its correct value, or
// "Totul este in regula. " when every row agrees (an empty table included).
std::string VerificaTabel(std::span<const TaxBracket> table);

// The three figures of the tax calculator.
struct TaxFigures {
  long double gross = 0;  // "Suma bruta"
  long double net = 0;    // "Suma neta"
  long double tax = 0;    // "Impozit"
};

// A gross typed: its tax by the table and gross - tax. A gross that is not
// greater than 0 gives all zeros.
TaxFigures TaxFromGross(std::span<const TaxBracket> table, long double gross);
// A tax typed: the gross that bears it and the net. A tax that is not greater
// than 0 gives all zeros. Empty when the bracket reached has a 0 % rate (the
// gross cannot be found) or the table is empty.
std::optional<TaxFigures> TaxFromTax(std::span<const TaxBracket> table, long double tax);
// A net typed: the tax and the gross that leave it. A net that is not greater
// than 0 gives all zeros. Empty when the bracket reached has a 100 % rate or
// the table is empty.
std::optional<TaxFigures> TaxFromNet(std::span<const TaxBracket> table, long double net);

// A number as the program writes it in messages and formulas: the shortest
// form with up to 15 significant digits, decimal comma, no thousands
// separator ("1091000", "12,5", "3130434,7826087").
std::string ShortNumberText(long double value);

}  // namespace traveno::engine
