// What the engine reads of earlier months: a person's stored monthly rows and
// the company parameters of those months. The store implements it over the
// company's tables; tests and the command line use MemoryPastRows.
#pragma once

#include <map>
#include <unordered_map>
#include <optional>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "core/store/records.h"
#include "engine/month_parameters.h"

namespace traveno::engine {

class PastRowsSource {
 public:
  virtual ~PastRowsSource() = default;

  // The stored rows of person `iid` whose LUNA lies from `from` to `to`
  // (both included), in month order; empty when there is none (also when
  // `from` is after `to`). Store failures are thrown as StoreError.
  virtual std::vector<PersRow> RowsOf(int iid, Date from, Date to) const = 0;

  // The Val of the company parameter `name` (compared exactly) of `month`;
  // empty when that month has no row of that name.
  virtual std::optional<double> CompanyValueOf(Date month, std::string_view name) const = 0;
};

// Rows and parameter rows held in memory.
class MemoryPastRows : public PastRowsSource {
 public:
  void AddRow(const PersRow& row) { rows_[row.IID].push_back(row); }
  // Replaces the company parameter rows of `month` (its first day).
  void SetCompanyRows(Date month, std::vector<ParameterRow> rows) {
    company_[FirstOfMonth(month)] = std::move(rows);
  }

  std::vector<PersRow> RowsOf(int iid, Date from, Date to) const override;
  std::optional<double> CompanyValueOf(Date month, std::string_view name) const override;

 private:
  std::unordered_map<int, std::vector<PersRow>> rows_;  // by IID
  std::map<Date, std::vector<ParameterRow>> company_;
};

}  // namespace traveno::engine
