// The fixed-width text lines of the monthly declaration files: fields side
// by side without separators, numbers right-aligned and texts left-aligned
// in their widths, a value longer than its width written whole, each line
// ended by CR LF and the file written in Windows-1250.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace traveno::declarations {

// A number in general form: up to 15 significant digits, no grouping, the
// given decimal separator ("1234567", "12,5"). Throws Error for a value
// that is not finite.
std::string GeneralNumber(long double value, char decimal_separator);

// A number with a fixed count of decimals, no grouping, the given decimal
// separator ("0.00": "12.50"); rounded half away from zero.
std::string FixedDecimals(long double value, int decimals, char decimal_separator);

class FixedWidthLine {
 public:
  explicit FixedWidthLine(char decimal_separator = ',') : separator_(decimal_separator) {}

  // A number in general form, right-aligned.
  FixedWidthLine& Number(long double value, int width);
  // A text right-aligned (blank-padded on the left).
  FixedWidthLine& Right(std::string_view text, int width);
  // A text left-aligned (blank-padded on the right).
  FixedWidthLine& Left(std::string_view text, int width);
  // Blanks.
  FixedWidthLine& Blank(int width);
  // A text as it is.
  FixedWidthLine& Raw(std::string_view text);

  const std::string& text() const { return text_; }

 private:
  char separator_;
  std::string text_;
};

// The lines, each followed by CR LF, in Windows-1250, written as the whole
// file at `path` through a temporary file. Throws OsError.
void WriteTextLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

}  // namespace traveno::declarations
