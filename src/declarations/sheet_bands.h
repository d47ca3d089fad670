// The bands the printed fiscal sheets are made of, on an A4 page in portrait:
// section headings, captions with framed values, mark boxes, rows of twelve
// monthly values and table rows. Values are written as the printed documents
// write them: a text after one blank, an amount followed by one blank.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "reports/page_composer.h"

namespace traveno::declarations::sheet {

inline constexpr double kLeft = 10;
inline constexpr double kWidth = 190;
inline constexpr double kRight = kLeft + kWidth;
inline constexpr double kRowHeight = 6;

reports::Font Normal();
reports::Font Bold();

// The three lines of a sheet's title, centred.
reports::Band Title(const std::string& title, const std::string& subtitle, int year);
// A section heading on a grey strip.
reports::Band Heading(const std::string& text);
// A line of text (a statement, a sub-heading).
reports::Band Text(const std::string& text, const reports::Font& font, double x = kLeft);
// An empty strip.
reports::Band Gap(double height);

// A caption and its framed value.
struct Field {
  std::string caption;
  std::string value;
  double caption_width;
  double value_width;
  reports::Align align = reports::Align::kLeft;
};
// Fields side by side from the left edge.
reports::Band Fields(const std::vector<Field>& fields);
// A box marked "X" (or empty) followed by its caption.
reports::Band Mark(bool set, const std::string& caption, double x = kLeft);
// Several marks on one line, each box and caption `step` mm apart.
reports::Band Marks(const std::vector<std::pair<std::string, bool>>& marks, double step);

// Twelve monthly values under the months' short names: a caption column of
// `caption_width` mm, then twelve framed cells.
inline constexpr double kMonthCaptionWidth = 70;
reports::Band MonthNames();
reports::Band MonthValues(const std::string& caption, const std::array<std::string, 12>& values);

// A table row: cells of the given widths from the left edge, framed; the
// first is left-aligned, the others right-aligned; a "\n" in a cell puts its
// two parts one under the other. `bold` for headings and totals.
reports::Band TableRow(const std::vector<std::string>& cells, const std::vector<double>& widths,
                       bool bold = false, double height = kRowHeight);

// The text of a value: one blank, then the value; empty stays empty.
std::string Value(const std::string& text);
// An amount "#,##0" followed by a blank.
std::string Amount(long double value);

// The closing statement and the employer's signature.
void Closing(reports::PageComposer& composer);

// The months' names, "Ianuarie" .. "Decembrie".
const char* MonthName(int month);

}  // namespace traveno::declarations::sheet
