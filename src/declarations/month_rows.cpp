#include "declarations/month_rows.h"

#include "core/store/row_io.h"

namespace traveno::declarations {

std::vector<PersRow> ReadMonthRows(Database& db, Date month, MonthRowOrder order) {
  switch (order) {
    case MonthRowOrder::kDepartmentKindCategoryMarca:
      return QueryRows<PersRow>(db,
                                "SELECT * FROM firma.Pers WHERE LUNA = ? "
                                "ORDER BY Depart, TIP, CATEGORIE, MARCA, Nr",
                                month);
    case MonthRowOrder::kKind:
      return QueryRows<PersRow>(db, "SELECT * FROM firma.Pers WHERE LUNA = ? ORDER BY TIP, Nr",
                                month);
  }
  return {};
}

MonthSpan SpanOf(Date month) { return {FirstOfMonth(month), LastOfMonth(month)}; }

}  // namespace traveno::declarations
