// The grid of the payroll statement: eleven columns (A to K) of four lines,
// shared by the column headings, each employee's block, the group footers and
// the summary rows, so that a figure and its sums always print in the same
// place. A cell holds one value on the right, or a small count on its left
// and an amount on its right.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "core/store/records.h"
#include "engine/calculated_fields.h"
#include "reports/page_composer.h"
#include "reports/report_common.h"

namespace traveno::reports::statement {

// The summed figures of the statement, in the order of the grid.
enum Field : std::size_t {
  kTimp,
  kTarifar,
  kRealizat,
  kSalInc,
  kTimpSpl,
  kValTimpS,
  kZileCo,
  kSumaZileCo,
  kVals1,
  kVals2,
  kVals3,
  kVals4,
  kTimpNoapte,
  kSumaTNoapte,
  kAlteSumeSiAlteSporuri,
  kPrVa,
  kDifBrut,
  kCM1L,
  kZileFP,
  kPrime,
  kFondSalariu,
  kZileCM,
  kCM2L,
  kZileCIC,
  kCIC,
  kSumeExcept,
  kBrut,
  kSanatate,
  kPensie,
  kSomaj,
  kVenitNet,
  kChProf,
  kDedPers,
  kDedPersSupli,
  kTotDrept,
  kImpozit,
  kAvans,
  kRetineri,
  kAvansCO,
  kPrimeIncasate,
  kPopriri,
  kGarantii,
  kAlteRet,
  kRestPl,
  kFieldCount
};

using Values = std::array<long double, kFieldCount>;

// The figures of one row (a blank time value counts as 0).
Values RowValues(const PersRow& row, const engine::ReportFigures& figures);

// Captions that follow the company parameters.
struct GridCaptions {
  std::array<BonusColumn, 4> bonuses;
  std::string pension;  // "Pensie 9,5 %" or "CIAS 9,5 %"
  DeductionCaptions deductions;
};

// What a block of four lines prints besides its figures.
struct BlockTexts {
  // Column A: for an employee the running number, names, function, MARCA,
  // the piece-work mark or hours a day and the coefficient; for a sum row a
  // caption on its first line.
  std::string number;
  std::string name;      // line 1
  std::string function;  // line 2
  std::string marca;     // line 3, left
  std::string kind;      // line 4, left
  std::string coef;      // line 4, right
  std::string caption;   // a sum row's caption, over the whole column A
  std::array<std::string, 4> bonus_percent;
  bool tarifar_blank = false;   // the row's time value is blank
  bool realizat_blank = false;  // not a permanent row
  std::string signature;        // column K, line 4
};

// The widest texts the grid will print, from which its columns are sized:
// every figure of the rows given and of every sum of them (a sum is never
// wider than the sum of its terms' magnitudes), and the texts of column A.
class WidestFigures {
 public:
  WidestFigures();
  // A row's figures and its texts.
  void Add(const Values& values, const BlockTexts& texts);

  // The text of the widest figure of a field.
  std::string Figure(Field field) const;
  const std::string& number() const { return number_; }
  const std::string& marca() const { return marca_; }
  const std::string& kind() const { return kind_; }
  const std::string& coef() const { return coef_; }
  const std::string& bonus_percent(int bonus) const { return bonus_percent_[bonus]; }

 private:
  Values magnitude_;
  std::array<bool, kFieldCount> negative_;
  std::array<bool, kFieldCount> fraction_;
  std::string number_, marca_, kind_, coef_;
  std::array<std::string, 4> bonus_percent_;
  std::array<double, 8> widths_{};  // of the texts above, in their order
};

// The text a figure prints as: a count "#,##0.##", the piece-work result
// "%.0n", an amount "#,##0", each followed by a blank.
std::string FigureText(Field field, long double value);

class Grid {
 public:
  // Columns of their usual widths and figures of the usual size.
  explicit Grid(const PageSetup& setup);
  // Columns sized so that the widest figures fit, each beside its
  // neighbour with a clear gap: a column that needs more than its usual
  // width takes it from the others' spare room; when the page is too
  // narrow for every figure, the figures are set smaller until it is not.
  Grid(const PageSetup& setup, const WidestFigures& widest);

  static constexpr double kLineHeight = 3.1;
  static constexpr double kBlockHeight = 4 * kLineHeight + 1.2;
  static constexpr int kColumns = 11;
  // The usual size of the figures, in points.
  static constexpr float kFigureSize = 6.5f;

  double left() const { return left_; }
  double right() const { return x_[kColumns]; }
  double column_x(int column) const { return x_[column]; }
  const Font& figure_font() const { return figure_font_; }

  // The four lines of column headings in boxes, `top` mm down the band.
  void PutHeadings(Band& band, double top, const GridCaptions& captions) const;
  // A block of four lines: the figures in their cells and the block's texts.
  // A zero time value prints blank in a sum row; the figures of an unused
  // bonus never print.
  void PutBlock(Band& band, double top, const Values& values, const BlockTexts& texts,
                const GridCaptions& captions) const;

 private:
  void Place(const std::array<double, kColumns>& widths);
  Rect Cell(int column, int line, double top) const;
  Rect LeftPart(int column, int line, double top) const;
  Rect RightPart(int column, int line, double top) const;

  double left_;
  std::array<double, kColumns + 1> x_;
  // Where the small left-hand figure of each cell ends, from the cell's
  // left edge (inside its padding).
  std::array<std::array<double, 4>, kColumns> split_{};
  // The width of column A's running number.
  double number_width_;
  Font figure_font_{kFigureSize};
};

}  // namespace traveno::reports::statement
