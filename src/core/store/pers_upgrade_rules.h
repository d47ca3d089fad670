// The upgrades that older employee and company-parameter tables still need,
// decided by the fields the employee table has, and the values those upgrades
// give what the older layouts lacked. The program's own store and the import
// of data kept by earlier versions apply the same rules, so a row reaches the
// current layout with the same values whichever way it comes.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/store/records.h"

namespace traveno {

// Each upgrade is needed when the employee table lacks what it added; the
// labels are the versions that introduced them.
struct PersUpgrades {
  bool v5_2_0 = false;    // fewer than 75 fields and no EMAIL: the named bonuses
  bool v5_2_3 = false;    // no CoefInd1
  bool v5_2_6 = false;    // no SumeExcept
  bool v5_2_8 = false;    // no Brut1 or no vals1
  bool v5_2_8_5 = false;  // no BifaSom or no Ch_Prof
  bool v5_2_8_9 = false;  // no PlatitOra
  bool v5_4_0_3 = false;  // neither ProcImpo nor Ore_Zi
  bool v5_4_1_0 = false;  // no Pensionar
  bool v5_4_1_2 = false;  // no NORMA

  bool Any() const;
};

// Decides the upgrades from the names of an employee table's fields
// (compared without regard to case).
PersUpgrades DecidePersUpgrades(std::span<const std::string> field_names);

// What an older row held in a field that the current layout dropped: the
// regularisation, which became the gross difference.
struct DroppedPersValues {
  double Regularizare = 0;
};

// Gives a row read from an older layout (the fields it lacked hold a new
// row's values) the values of the needed upgrades, in their order: the other
// bonus percent becomes the first named bonus and the regularisation the gross
// difference (the sheet marks "0", the regularising mark "3" for a partial
// contract); CoefInd1 takes CoefInd; Brut1 takes BRUT; Ch_Prof takes
// `chelt_prof`, the month's professional-expenses parameter; a partial
// contract's CoefInd1 (its daily hours in those versions) moves to Ore_Zi and
// both coefficients become 0, ProcImpo 100; NORMA 8.
void ApplyPersUpgrades(const PersUpgrades& upgrades, PersRow& row, const DroppedPersValues& dropped,
                       double chelt_prof);

// The company parameter rows the upgrades add to `existing` (the company's
// rows of every month): for each month without "InitPr_va" the named-bonus
// rows (5.2.0); for each month without "Ex_Pensie" the exempt-sum rows
// (5.2.6). The rows come without Nr.
std::vector<ParFRow> ParFRowsAddedByUpgrades(const PersUpgrades& upgrades,
                                             std::span<const ParFRow> existing);

// 5.2.8.5 closes every month before the company's last one: each "Deschisa"
// row earlier than the greatest month of `rows` gets the value 1. Returns
// how many rows changed.
int CloseMonthsBeforeLast(const PersUpgrades& upgrades, std::vector<ParFRow>& rows);

}  // namespace traveno
