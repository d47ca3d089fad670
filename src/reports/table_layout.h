// The columns of a list document: a row of boxed headings and rows of cells,
// each cell's text in its column's box with the column's alignment. Column
// widths are shares of the page's content width, so one table serves both
// orientations; a column given the widest value it prints (a total) is
// widened to hold it, taking the room from the other columns' spare width,
// and when the page cannot hold every such value the table's font is made
// smaller until it can.
#pragma once

#include <string>
#include <vector>

#include "reports/page_composer.h"

namespace traveno::reports {

struct TableColumn {
  double share;  // the column's part of the width (any unit; they are summed)
  Align align = Align::kLeft;
  std::string heading;
  // The widest text the column prints (its total, the largest amount), or
  // empty when its texts may be condensed to fit.
  std::string widest = {};
};

class Table {
 public:
  Table(const PageSetup& setup, std::vector<TableColumn> columns, Font font = Font{8},
        double row_height = 4.6);

  double row_height() const { return row_height_; }
  const Font& font() const { return font_; }
  double left() const { return x_.front(); }
  double right() const { return x_.back(); }
  double x(std::size_t column) const { return x_[column]; }
  double width(std::size_t column) const { return x_[column + 1] - x_[column]; }
  std::size_t size() const { return columns_.size(); }

  // The headings in a framed row.
  Band Headings() const;
  // A row of cells (missing cells stay empty); a left-aligned text runs on
  // over the empty cells that follow it. `bold` for totals.
  Band Row(const std::vector<std::string>& cells, bool bold = false) const;
  // A text over the whole width (group headers and footers).
  Band Line(const std::string& text, bool bold = true) const;

 private:
  std::vector<TableColumn> columns_;
  std::vector<double> x_;
  Font font_;
  double row_height_;
};

}  // namespace traveno::reports
