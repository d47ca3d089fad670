// Reading one Paradox table of the earlier versions: its fields and its
// records, with text converted from the table's code page to UTF-8 and the
// pictures of graphic fields read from the table's blob file (".mb").
// A table that cannot be trusted (damaged header, cut short, a record that
// cannot be read, a picture outside its blob file) is refused with an Error
// naming the table; nothing of it is returned half-read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/date.h"
#include "core/store/records.h"

namespace traveno::legacy {

// Paradox field types as stored in the table header.
enum class ParadoxType : int {
  kAlpha = 0x01,
  kDate = 0x02,
  kShort = 0x03,
  kLong = 0x04,
  kCurrency = 0x05,
  kNumber = 0x06,
  kLogical = 0x09,
  kMemo = 0x0C,
  kBlob = 0x0D,
  kGraphic = 0x10,
  kAutoInc = 0x16,
};

struct ParadoxField {
  std::string name;
  int type = 0;  // a ParadoxType, or another type this reader does not read
  int length = 0;
};

// A field's value: blank, a whole number, a number, a text (UTF-8), a date, or
// a picture.
using ParadoxValue = std::variant<std::monostate, std::int64_t, double, std::string, Date, Blob>;

// Whether this reader reads values of the type (the others read as blank).
bool IsReadableType(int type);

class ParadoxTable {
 public:
  // Opens a table file. `default_code_page` serves when the table declares
  // none. Throws Error naming the file when it cannot be opened or read, its
  // header is damaged, or it is shorter than its header says.
  explicit ParadoxTable(const std::filesystem::path& file, int default_code_page = 1250);
  ~ParadoxTable();
  ParadoxTable(const ParadoxTable&) = delete;
  ParadoxTable& operator=(const ParadoxTable&) = delete;

  const std::filesystem::path& file() const { return file_; }
  const std::vector<ParadoxField>& fields() const { return fields_; }
  int record_count() const { return record_count_; }
  int code_page() const { return code_page_; }
  // The index of a field by name, without regard to case.
  std::optional<std::size_t> FindField(std::string_view name) const;
  std::vector<std::string> FieldNames() const;

  // Reads record `index` (0 .. record_count - 1): one value per field, blank
  // where the field's bytes are all zero. Throws Error naming the table and
  // the record when it cannot be read or holds a value that is not one (a
  // number that is not finite, a date outside the calendar, a text the code
  // page does not convert, a picture outside the blob file).
  void ReadRecord(int index, std::vector<ParadoxValue>& values);

 private:
  struct Handles;
  [[noreturn]] void Fail(const std::string& reason) const;
  ParadoxValue Decode(const ParadoxField& field, const char* data, int record);
  Blob ReadPicture(const char* data, int length, int record);
  std::string ToUtf8(std::string_view bytes, int record, const ParadoxField& field);

  std::filesystem::path file_;
  std::unique_ptr<Handles> handles_;
  std::vector<ParadoxField> fields_;
  std::vector<int> offsets_;
  int record_size_ = 0;
  int record_count_ = 0;
  int code_page_ = 1250;
  std::vector<char> record_;
  std::optional<std::vector<unsigned char>> blob_file_;
};

// The file of a table in a folder, its name compared without regard to case
// (tables were written as "pers.db", "Pers.db" or "PERS.DB"); empty when none.
std::optional<std::filesystem::path> FindTableFile(const std::filesystem::path& folder,
                                                   std::string_view name);

}  // namespace traveno::legacy
