#include "engine/past_rows.h"

#include <algorithm>

namespace traveno::engine {

std::vector<PersRow> MemoryPastRows::RowsOf(int iid, Date from, Date to) const {
  std::vector<PersRow> found;
  auto person = rows_.find(iid);
  if (person == rows_.end()) return found;
  for (const PersRow& row : person->second) {
    if (row.LUNA >= from && row.LUNA <= to) found.push_back(row);
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const PersRow& a, const PersRow& b) { return a.LUNA < b.LUNA; });
  return found;
}

std::optional<double> MemoryPastRows::CompanyValueOf(Date month, std::string_view name) const {
  auto it = company_.find(FirstOfMonth(month));
  if (it == company_.end()) return std::nullopt;
  for (const ParameterRow& row : it->second) {
    if (row.Den == name) return row.Val;
  }
  return std::nullopt;
}

}  // namespace traveno::engine
