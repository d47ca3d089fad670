// What the pay grid shows of the working month: the columns of each page
// (their captions, which of them the company's parameters show, which the
// user may type into, how their values are written and read back), the
// heading, the shading of cells, the buttons that follow the current line,
// and the figures under the grid, kept current line by line so that posting
// one line never walks the month.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/records.h"
#include "engine/month_parameters.h"
#include "params/session.h"
#include "personnel/pay_grid.h"

namespace traveno::personnel {

// How a column's values are written.
enum class GridFormat {
  kText,         // as stored
  kWhole,        // whole numbers (category, employee number, norm, day counts)
  kAmount,       // lei: "#," to read (nothing for 0), plain digits to edit
  kQuantity,     // time, days, hours per day: up to two decimals
  kCoefficient,  // "#,##0.##" to read and to edit
};

struct GridColumn {
  std::string field;  // the Pers field, as the data model spells it
  std::string caption;
  bool visible = true;
  bool editable = false;  // in the grid's editable set (the month's state aside)
  GridFormat format = GridFormat::kText;
};

// The page of kind `tip` ("1" permanent, "2" partial contract): its columns
// in order. The bonus columns follow the company's bonus modes and names,
// the deduction columns take the company's captions when they are not
// blank; the department column is visible only when `show_department`.
std::vector<GridColumn> GridColumns(const engine::CompanyParameters& company, std::string_view tip,
                                    bool show_department);

// The columns of the history window for rows of kind `tip`: the year (An)
// and month (Luna2) of each row, then the page's columns, none editable.
std::vector<GridColumn> HistoryColumns(const engine::CompanyParameters& company,
                                       std::string_view tip);

// The department column is shown only when the company has more than one
// department and no single one is chosen.
bool ShowsDepartmentColumn(const params::Session& session,
                           const std::optional<std::string>& department);

// " FIRMA : " + the employer's name, a line break, " " + month name + " / "
// + year, and " departamentul: " + code when one of several departments is
// chosen. StoreError on failure.
std::string GridHeading(params::Session& session, const std::optional<std::string>& department);

// A cell's value as the grid shows it and as its editor starts.
std::string GridCellText(const PersRow& row, const GridColumn& column);

// The cells of many lines under the same columns (a month listed whole):
// each column's field is found once, not once for every cell.
// Text(row, i) is GridCellText(row, columns[i]).
class GridCellTexts {
 public:
  // The columns are held by reference: they must outlive this.
  explicit GridCellTexts(const std::vector<GridColumn>& columns);
  std::string Text(const PersRow& row, std::size_t column) const;

 private:
  const std::vector<GridColumn>& columns_;
  std::vector<std::optional<std::size_t>> fields_;
};
std::string GridEditText(const PersRow& row, const GridColumn& column);
// The value typed into a cell of `column`, ready for the line's posting;
// empty when the text is not a value of the column's kind (a number for a
// numeric column, a whole number for a whole column). Blanks are ignored; a
// blank numeric cell is 0.
std::optional<FieldValue> ParseGridInput(const GridColumn& column, std::string_view text);

// The shade of a cell: the grid's own colour for a column the user may type
// into, the read-only face for the others, and the marks of the name
// (piece-work, hourly pay) and of the daily norm (6 or 7 hours, anything but
// 6, 7 or 8).
enum class CellShade {
  kEditable,
  kReadOnly,
  kInformation,  // Ore / Zi, and the name of a piece-work line
  kHourlyPaid,   // the name of a line paid by the hour
  kShortNorm,    // NORMA 6 or 7
  kWrongNorm,    // NORMA other than 6, 7 or 8
};
CellShade GridCellShade(const PersRow& row, const GridColumn& column);

// Whether the dependants and the medical-leave calculation are offered for
// the current line of the page of kind `tip` (no line: nothing to offer):
// always on the permanent page, and on the partial-contract page only for
// a line marked "Angajat cu functie de baza".
bool DependantsOffered(std::string_view tip, const PersRow* line);

// The realised amounts of the lines shown, by kind: the only figure under the
// grid that the running totals do not carry.
struct GridLineSums {
  long double realizat_p = 0;
  long double realizat_c = 0;
  void Add(const PersRow& line) { Add(line.TIP, line.REALIZAT); }
  void Add(std::string_view tip, double realizat);
  void Remove(const PersRow& line);
};
GridLineSums SumGridLines(std::span<const PersRow> lines);

// The figures under the grid from the session's running totals and funds
// and the realised sums of the lines shown.
GridTotals GridTotalsOf(params::Session& session, const GridLineSums& sums);

}  // namespace traveno::personnel
