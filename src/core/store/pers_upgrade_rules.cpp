#include "core/store/pers_upgrade_rules.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "core/text.h"

namespace traveno {
namespace {

bool HasField(std::span<const std::string> names, std::string_view field) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& name) { return EqualsIgnoreCase(name, field); });
}

ParFRow Parameter(Date month, const char* name, double value, const char* group) {
  ParFRow row;
  row.Luna = month;
  row.Den = name;
  row.Val = value;
  row.Grupa = group;
  return row;
}

// The months of the rows, and those that hold a row named `name`.
std::set<Date> MonthsWithout(std::span<const ParFRow> rows, std::string_view name) {
  std::set<Date> months;
  std::set<Date> with_name;
  for (const ParFRow& row : rows) {
    months.insert(row.Luna);
    if (EqualsIgnoreCase(row.Den, name)) with_name.insert(row.Luna);
  }
  for (Date month : with_name) months.erase(month);
  return months;
}

}  // namespace

bool PersUpgrades::Any() const {
  return v5_2_0 || v5_2_3 || v5_2_6 || v5_2_8 || v5_2_8_5 || v5_2_8_9 || v5_4_0_3 || v5_4_1_0 ||
         v5_4_1_2;
}

PersUpgrades DecidePersUpgrades(std::span<const std::string> names) {
  auto has = [&](std::string_view field) { return HasField(names, field); };
  PersUpgrades upgrades;
  upgrades.v5_2_0 = names.size() < 75 && !has("EMAIL");
  upgrades.v5_2_3 = !has("CoefInd1");
  upgrades.v5_2_6 = !has("SumeExcept");
  upgrades.v5_2_8 = !has("Brut1") || !has("vals1");
  upgrades.v5_2_8_5 = !has("BifaSom") || !has("Ch_Prof");
  upgrades.v5_2_8_9 = !has("PlatitOra");
  upgrades.v5_4_0_3 = !has("ProcImpo") && !has("Ore_Zi");
  upgrades.v5_4_1_0 = !has("Pensionar");
  upgrades.v5_4_1_2 = !has("NORMA");
  return upgrades;
}

void ApplyPersUpgrades(const PersUpgrades& upgrades, PersRow& row, const DroppedPersValues& dropped,
                       double chelt_prof) {
  if (upgrades.v5_2_0) {
    row.Spor1 = row.ALTESPORP;
    row.ALTESPORP = 0;
    row.Dif_Brut = dropped.Regularizare;
    row.spor2 = row.spor3 = row.spor4 = 0;
    row.pr_va = 0;
    row.EMAIL.clear();
    row.fisa_rectif = "0";
    row.fisa_regul = row.TIP == "1" ? "0" : "3";
    row.Domiciliu_ext = "0";
  }
  if (upgrades.v5_2_3) row.CoefInd1 = row.CoefInd;
  if (upgrades.v5_2_6) row.SumeExcept = 0;
  if (upgrades.v5_2_8) {
    row.Brut1 = row.BRUT;
    row.vals1 = row.vals2 = row.vals3 = row.vals4 = 0;
  }
  if (upgrades.v5_2_8_5) {
    row.BifaSom = 0;
    row.Ch_Prof = chelt_prof;
  }
  if (upgrades.v5_2_8_9) row.PlatitOra = 0;
  if (upgrades.v5_4_0_3) {
    row.ProcImpo = 100;
    if (row.TIP == "2") {
      // Partial contracts kept their daily hours in the deduction coefficient.
      row.Ore_Zi = row.CoefInd1;
      row.CoefInd1 = 0;
      row.CoefInd = 0;
    }
  }
  if (upgrades.v5_4_1_0) row.Pensionar = 0;
  if (upgrades.v5_4_1_2) row.NORMA = 8;
}

std::vector<ParFRow> ParFRowsAddedByUpgrades(const PersUpgrades& upgrades,
                                             std::span<const ParFRow> existing) {
  std::vector<ParFRow> added;
  if (upgrades.v5_2_0) {
    for (Date month : MonthsWithout(existing, "InitPr_va")) {
      added.push_back(Parameter(month, "InitPr_va", 1, ""));
      added.push_back(Parameter(month, "Spor1_Den", 0, "Procentual"));
      added.push_back(Parameter(month, "Spor2_Den", 0, ""));
      added.push_back(Parameter(month, "Spor3_Den", 0, ""));
      added.push_back(Parameter(month, "Spor4_Den", 0, ""));
      added.push_back(Parameter(month, "Spor1_Apl", 2, ""));
      added.push_back(Parameter(month, "Spor2_Apl", 4, ""));
      added.push_back(Parameter(month, "Spor3_Apl", 4, ""));
      added.push_back(Parameter(month, "Spor4_Apl", 4, ""));
    }
  }
  if (upgrades.v5_2_6) {
    for (Date month : MonthsWithout(existing, "Ex_Pensie")) {
      added.push_back(Parameter(month, "Ex_Pensie", 100, "DA"));
      added.push_back(Parameter(month, "Ex_Sanatate", 100, "DA"));
      added.push_back(Parameter(month, "Ex_Impozit", 100, "DA"));
      added.push_back(Parameter(month, "SumeExcept", 1, ""));
    }
  }
  return added;
}

int CloseMonthsBeforeLast(const PersUpgrades& upgrades, std::vector<ParFRow>& rows) {
  if (!upgrades.v5_2_8_5 || rows.empty()) return 0;
  Date last = rows.front().Luna;
  for (const ParFRow& row : rows) last = std::max(last, row.Luna);
  int changed = 0;
  for (ParFRow& row : rows) {
    if (EqualsIgnoreCase(row.Den, "Deschisa") && row.Luna < last && row.Val != 1) {
      row.Val = 1;
      ++changed;
    }
  }
  return changed;
}

}  // namespace traveno
