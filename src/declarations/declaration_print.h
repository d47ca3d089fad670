// What the printed declarations share: the number texts of their pages (a
// text value is preceded by one blank, an amount followed by one), headings
// broken into lines that fit their boxes, labelled boxes, and the
// declaration's number-and-date line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "reports/page_composer.h"

namespace traveno::declarations::print {

using reports::Align;
using reports::Band;
using reports::Font;
using reports::Rect;

// "#,##0" followed by a blank.
std::string Whole(long double value);
// "#," followed by a blank; nothing at all for 0.
std::string Grouped(long double value);
// "#,##0.00".
std::string TwoDecimals(long double value);
// "#,##0.##" followed by a blank.
std::string UpToTwoDecimals(long double value);
// A text value preceded by one blank; empty stays empty.
std::string Value(std::string_view text);

// Everything of `from` put into `into`, moved down by `dy`.
void Append(Band& into, const Band& from, double dy);

// The text broken at blanks into lines that fit `width` millimetres in the
// font (by an average letter width; the renderer condenses what is still
// wider). A word longer than a line stands alone on its line.
std::vector<std::string> Wrap(std::string_view text, double width, const Font& font);
// The height of one line of the font, in millimetres.
double LineHeight(const Font& font);

// The text wrapped into the box, its lines centred as a block vertically.
void WrappedText(Band& band, const Rect& box, std::string_view text, const Font& font,
                 Align align = Align::kCenter);
// A framed box holding the wrapped text.
void HeadingCell(Band& band, const Rect& box, std::string_view text, const Font& font);
// A framed box holding a value.
void ValueBox(Band& band, const Rect& box, std::string_view text, const Font& font,
              Align align = Align::kLeft);

// "Nr. <number> din ziua <dd>,luna: <mm>,anul: <yyyy>" (blanks for an empty date).
std::string NumberAndDateLine(std::string_view number, Date date);
// "dd.mm.yyyy" (a declaration date has no time of day); empty for the
// empty date.
std::string DateText(Date date);

// The trade-register number as printed: county / number / year.
std::string RegComText(std::string_view county, std::string_view number, std::string_view year);

}  // namespace traveno::declarations::print
