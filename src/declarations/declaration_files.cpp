#include "declarations/declaration_files.h"

#include <cmath>

#include "core/text.h"

namespace traveno::declarations {

std::string SavingText(const std::filesystem::path& path) { return "Salvez in " + path.string(); }

bool TakesDbfRecords(const std::filesystem::path& path) {
  return EqualsIgnoreCase(path.filename().extension().string(), ".dbf");
}

std::optional<DbfTable> CreateTableForRecords(const std::filesystem::path& path,
                                              std::string_view spec, Date today) {
  if (CreateDbfTable(path, spec, today) != 0 || !TakesDbfRecords(path)) return std::nullopt;
  return DbfTable::Open(path);
}

Date MonthAfter(Date month) { return AddMonths(FirstOfMonth(month), 1); }

std::optional<Date> PayDate(Date month, double zi_lichidare) {
  if (!(zi_lichidare >= 1 && zi_lichidare < 32)) return std::nullopt;
  const Date next = MonthAfter(month);
  return Date::TryFromYmd(next.year(), next.month(), static_cast<int>(std::trunc(zi_lichidare)));
}

}  // namespace traveno::declarations
