#include "declarations/fixed_width_line.h"

#include <cmath>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/windows1250.h"
#include "declarations/file_fields.h"

namespace traveno::declarations {

std::string GeneralNumber(long double value, char decimal_separator) {
  std::string text = NumberField(static_cast<double>(value));
  for (char& c : text) {
    if (c == '.') c = decimal_separator;
  }
  return text;
}

std::string FixedDecimals(long double value, int decimals, char decimal_separator) {
  if (!std::isfinite(value)) throw Error("Valoare numerica nedefinita in fisier !");
  std::string text = ReplaceAll(FormatN(value, decimals), " ", "");
  for (char& c : text) {
    if (c == ',') c = decimal_separator;
  }
  return text;
}

FixedWidthLine& FixedWidthLine::Number(long double value, int width) {
  return Right(GeneralNumber(value, separator_), width);
}

FixedWidthLine& FixedWidthLine::Right(std::string_view text, int width) {
  text_ += PadLeft(text, width);
  return *this;
}

FixedWidthLine& FixedWidthLine::Left(std::string_view text, int width) {
  text_ += PadRight(text, width);
  return *this;
}

FixedWidthLine& FixedWidthLine::Blank(int width) {
  text_.append(static_cast<std::size_t>(width), ' ');
  return *this;
}

FixedWidthLine& FixedWidthLine::Raw(std::string_view text) {
  text_ += text;
  return *this;
}

void WriteTextLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
  std::string content;
  for (const std::string& line : lines) {
    content += ToWindows1250(line);
    content += "\r\n";
  }
  WriteFileAtomically(path, content);
}

}  // namespace traveno::declarations
