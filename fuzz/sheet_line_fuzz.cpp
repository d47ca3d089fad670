// The reader of the fiscal-sheet files on any bytes: the file is split into
// lines and every line into fields, each read as text, box, date and
// coefficient. Nothing may crash, read out of bounds or overflow undefined.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "legacy/fiscal_sheet_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace traveno::legacy;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const std::string& text : SplitSheetLines(bytes)) {
    SheetLine line(text);
    for (int i = 0; i < 90; ++i) {
      const std::string_view field = line.NextField();
      (void)SheetTextToUtf8(Unmark(field));
      (void)IsTicked(field);
      (void)SheetDate(field);
      (void)SheetCoefficient(field);
    }
  }
  return 0;
}
