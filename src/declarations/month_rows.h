// The employee rows of a month in the orders the monthly declarations walk
// them, read from the open company of the store.
#pragma once

#include <vector>

#include "core/date.h"
#include "core/store/records.h"
#include "core/store/sqlite.h"

namespace traveno::declarations {

enum class MonthRowOrder {
  // Department, kind, category, employee number: the social-insurance lists.
  kDepartmentKindCategoryMarca,
  // Kind ("1" first), then the order the rows were made in: the
  // unemployment lists.
  kKind,
};

// Every Pers row of `month`. Joins the caller's transaction; throws StoreError.
std::vector<PersRow> ReadMonthRows(Database& db, Date month, MonthRowOrder order);

// The first and last day of the month of `month`.
struct MonthSpan {
  Date first;
  Date last;
};
MonthSpan SpanOf(Date month);

}  // namespace traveno::declarations
