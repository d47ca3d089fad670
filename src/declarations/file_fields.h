// The field conventions of the yearly e-filing text files, which the import
// of fiscal-sheet files reads back: "," between fields, texts between "#"
// marks, "#X#" for a set box, numbers in their shortest form with "." and
// dates as dd/mm/yyyy; plus the text helpers the layouts apply to the stored
// values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"

namespace traveno::declarations {

// The digits of a text in order; "0" when it has none.
std::string DigitsOnly(std::string_view text);
// Whether a text holds at least one digit.
bool HasDigit(std::string_view text);
// The text without its first character when that is "R" (the VAT prefix of a
// fiscal code), else unchanged.
std::string StripR(std::string_view text);

// "#" + value + "#", the value as it is ("##" when empty).
std::string TextField(std::string_view value);
// "#X#" when set, "##" otherwise.
std::string MarkField(bool set);
// A number in the shortest general form with up to 15 significant digits,
// "." as decimal separator and no grouping (1234567, 0.5, 1.25; a negative
// zero as "0"). Throws Error for a value that is not finite, which never
// reaches a file.
std::string NumberField(double value);
// "dd/mm/yyyy"; empty for the empty date.
std::string DateField(Date date);

// One line of fields joined by ",", ended by CR LF when written.
class FieldLine {
 public:
  FieldLine& Add(std::string field) {
    fields_.push_back(std::move(field));
    return *this;
  }
  FieldLine& AddText(std::string_view value) { return Add(TextField(value)); }
  FieldLine& AddMark(bool set) { return Add(MarkField(set)); }
  FieldLine& AddNumber(double value) { return Add(NumberField(value)); }
  FieldLine& AddEmpty() { return Add(std::string()); }

  // The fields joined by ","; with `trailing_comma` every field, the last
  // included, is followed by ",".
  std::string Join(bool trailing_comma = false) const;

 private:
  std::vector<std::string> fields_;
};

}  // namespace traveno::declarations
