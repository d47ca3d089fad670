#include "declarations/month_rows.h"

#include "core/store/row_io.h"

namespace traveno::declarations {

std::vector<PersRow> ReadMonthRows(Database& db, Date month, MonthRowOrder order) {
  switch (order) {
    case MonthRowOrder::kDepartmentKindCategoryMarca:
      return QueryManyRows<PersRow>(db, "FROM firma.Pers WHERE LUNA = ?",
                                    "Depart, TIP, CATEGORIE, MARCA, Nr", month);
    case MonthRowOrder::kKind:
      return QueryManyRows<PersRow>(db, "FROM firma.Pers WHERE LUNA = ?", "TIP, Nr", month);
  }
  return {};
}

MonthSpan SpanOf(Date month) { return {FirstOfMonth(month), LastOfMonth(month)}; }

}  // namespace traveno::declarations
