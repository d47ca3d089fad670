// Reading the 2002 fiscal-sheet text files ("Rep_2002.txt", "FF1_2002.txt",
// "FF2_2002.txt", "Ded_2002.txt") back: lines, fields, the "#" marks of texts
// and boxes, dates and coefficients, exactly as the files have always been
// read. Nothing here fails on a malformed line: a field that is missing is
// empty, a date that is not one is reported as such, a coefficient that does
// not convert is 0.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"

namespace traveno::legacy {

// The lines of a file's bytes: a line ends at a CR, or at an LF that does
// not directly follow a CR (so CR LF ends one line); the last line counts
// with or without its end; CR and LF never enter a line. A file that ends
// with a line end has no empty line after it.
std::vector<std::string> SplitSheetLines(std::string_view bytes);

// The fields of one line, taken in turn: a field runs to the next ",", or
// to the end of the line when none follows; taking it drops the text up to
// and including its ",". Past the end every field is empty.
class SheetLine {
 public:
  explicit SheetLine(std::string_view line) : rest_(line) {}
  std::string_view NextField();
  // Drops `count` fields.
  void Skip(int count);

 private:
  std::string_view rest_;
  bool ended_ = false;
};

// A field without its marks: a field holding a "#" anywhere loses its first
// and last characters ("#ION#" gives "ION", "##" the empty text, a lone "#"
// the empty text); a field without "#" is unchanged.
std::string_view Unmark(std::string_view field);
// A box is ticked when its unmarked text is "X" (either case).
bool IsTicked(std::string_view field);
// A date: the empty text is the empty date 30.12.1899; otherwise the day is
// characters 1-2, the month 4-5 and the year 7-10 of the unmarked text.
// Nothing when those are not a date of the calendar (a text too short, not
// digits, 31.02).
std::optional<Date> SheetDate(std::string_view field);
// A coefficient: the empty text is 0; otherwise every "." becomes the
// decimal comma and the text is read as a decimal number ("1.5" gives 1.5);
// a text that does not read as one ("1.5.2", "abc") gives 0.
double SheetCoefficient(std::string_view field);

// The file's text (Windows-1250) in UTF-8; a byte the code page leaves
// undefined becomes "?".
std::string SheetTextToUtf8(std::string_view bytes);

}  // namespace traveno::legacy
