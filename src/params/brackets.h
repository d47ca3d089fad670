// The income-tax bracket tables as the bracket windows edit them: the monthly
// table of the working month (Impo) and the annual table of the working year
// (Impo_an, stored under 1 January). Store failures are thrown as StoreError.
#pragma once

#include <cstdint>
#include <vector>

#include "core/prompter.h"
#include "core/store/records.h"
#include "core/store/sqlite.h"
#include "engine/tax_table.h"

namespace traveno::params {

// The period's rows in threshold order: the month's (monthly) or those of
// January to December of the month's year (annual).
std::vector<ImpoRow> ListBrackets(Database& db, Date month, bool annual);

// Every change is one transaction; the threshold and the fixed amount must be
// amounts from 0 to kMaxAmount and the percentage 0..100, else ValueRefused
// is thrown and nothing is written.
//
// Adds a bracket to the period. A threshold the period already has is refused
// with "Barem deja existent pe luna specificata" (annual: "... pe anul
// specificat"; information) and false. For the monthly table, when the latest
// month of the whole table is not the working month, the warning
// "Modificarile impozitarului nu se vor reflecta pe lunile urmatoare !" is
// shown before writing.
bool AddBracket(Database& db, Date month, bool annual, double p_venit, double v_const,
                double v_proc, Prompter& prompter);
// Changes the bracket of row `nr` of the period (a changed threshold is tested
// as AddBracket does). False when refused or when the period has no such row
// ("Transa cu numarul N nu exista in perioada aleasa !", warning).
bool ModifyBracket(Database& db, Date month, bool annual, std::int64_t nr, double p_venit,
                   double v_const, double v_proc, Prompter& prompter);
// Deletes the bracket of row `nr` of the period (the monthly warning as
// above). False when the period has no such row (the same warning).
bool DeleteBracket(Database& db, Date month, bool annual, std::int64_t nr, Prompter& prompter);
// The period's table as the tax calculator reads it (ListBrackets' order).
engine::TaxTable BracketTable(Database& db, Date month, bool annual);
// The check of the period's table ("Totul este in regula. " or the warning
// naming the first wrong line).
std::string CheckBrackets(Database& db, Date month, bool annual);

}  // namespace traveno::params
