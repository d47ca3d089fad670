// How wide a text is drawn, known without a renderer: the documents size
// their columns from the widest value they print, so that every figure is
// legible in its own place instead of being squeezed or running into its
// neighbour.
//
// The renderers draw with the DejaVu faces, without kerning or ligatures, so
// a text's width is the sum of its characters' advances: the advances of the
// printable ASCII characters are kept here (Sans and Sans Bold exactly,
// which every document uses; the other faces from their own advances where
// they are fixed, as near as matters otherwise). A Romanian letter with a
// diacritic is as wide as its base letter; another character counts as wide
// as an "O".
#pragma once

#include <string_view>
#include <vector>

#include "reports/document.h"

namespace traveno::reports {

// Millimetres in one point.
inline constexpr double kMillimetresPerPoint = 25.4 / 72;

// The width of `text` (UTF-8) drawn in `font`, in millimetres, blanks
// included.
double TextWidth(std::string_view text, const Font& font);

// The width of the text's ink: without its leading and trailing blanks.
double InkWidth(std::string_view text, const Font& font);

// The widths of columns sharing `total` millimetres: every column at least
// its `needed` width, the rest shared in proportion to the `preferred`
// widths (a column that needs more than its share keeps what it needs and
// the others share what remains). Empty when the needs alone exceed the
// total. Both vectors have one entry per column.
std::vector<double> FitWidths(const std::vector<double>& preferred,
                              const std::vector<double>& needed, double total);

}  // namespace traveno::reports
