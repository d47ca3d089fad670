#include "legacy/paradox_table.h"

#include <iconv.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "core/errors.h"
#include "core/text.h"
#include "legacy/paradox_header.h"

extern "C" {
#include <paradox.h>
}

namespace traveno::legacy {
namespace fs = std::filesystem;
namespace {

// Paradox counts days from 1 January of year 1 (day 1); the program from 30.12.1899.
constexpr std::int64_t kParadoxDayOfZeroDate = 693594;
constexpr std::int64_t kLastParadoxDay = 3652059;  // 31.12.9999

std::uint32_t LittleEndian32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

bool AllZero(const char* data, int length) {
  for (int i = 0; i < length; ++i) {
    if (data[i] != 0) return false;
  }
  return true;
}

void CollectError(pxdoc_t*, int, const char* message, void* data) {
  auto* last = static_cast<std::string*>(data);
  if (last->empty()) *last = message != nullptr ? message : "";
}

}  // namespace

struct ParadoxTable::Handles {
  pxdoc_t* doc = nullptr;
  // Opened for reading only: the tables of an earlier version may lie on a
  // medium or in a folder the user may only read.
  FILE* file = nullptr;
  iconv_t to_utf8 = reinterpret_cast<iconv_t>(-1);
  std::string last_error;
  ~Handles() {
    if (doc != nullptr) {
      PX_close(doc);
      PX_delete(doc);
    }
    if (file != nullptr) std::fclose(file);
    if (to_utf8 != reinterpret_cast<iconv_t>(-1)) iconv_close(to_utf8);
  }
};

bool IsReadableType(int type) {
  switch (static_cast<ParadoxType>(type)) {
    case ParadoxType::kAlpha:
    case ParadoxType::kDate:
    case ParadoxType::kShort:
    case ParadoxType::kLong:
    case ParadoxType::kCurrency:
    case ParadoxType::kNumber:
    case ParadoxType::kLogical:
    case ParadoxType::kGraphic:
    case ParadoxType::kAutoInc:
      return true;
    default:
      return false;
  }
}

void ParadoxTable::Fail(const std::string& reason) const {
  throw Error("Tabelul " + file_.string() + " nu poate fi citit: " + reason);
}

ParadoxTable::ParadoxTable(const fs::path& file, int default_code_page)
    : file_(file), handles_(std::make_unique<Handles>()) {
  static const bool booted = [] {
    PX_boot();
    return true;
  }();
  (void)booted;
  std::error_code error;
  const auto size = fs::file_size(file_, error);
  if (error) Fail("fisierul lipseste sau nu poate fi deschis");
  // The library's own texts are collected, never shown: the refusals name the fault.
  handles_->doc = PX_new3(CollectError, nullptr, nullptr, nullptr, &handles_->last_error);
  if (handles_->doc == nullptr) Fail("memorie insuficienta");
  handles_->file = std::fopen(file_.c_str(), "rb");
  if (handles_->file == nullptr) Fail("fisierul lipseste sau nu poate fi deschis");
  // The library is handed only a table whose header and block chain hold.
  ParadoxHeader checked;
  try {
    checked = CheckParadoxHeader(handles_->file, size);
  } catch (const ParadoxDamage& damage) {
    Fail(damage.what());
  }
  std::rewind(handles_->file);
  if (PX_open_fp(handles_->doc, handles_->file) < 0) Fail("antetul este deteriorat");
  const pxhead_t* head = handles_->doc->px_head;
  if (head->px_recordsize != checked.record_size || head->px_numrecords != checked.record_count ||
      head->px_numfields != static_cast<int>(checked.fields.size()) ||
      head->px_maxtablesize * 1024 != checked.block_size) {
    Fail("antetul este deteriorat");
  }
  record_size_ = head->px_recordsize;
  record_count_ = head->px_numrecords;
  int offset = 0;
  for (int i = 0; i < head->px_numfields; ++i) {
    const pxfield_t& field = head->px_fields[i];
    fields_.push_back(
        {field.px_fname != nullptr ? field.px_fname : "", field.px_ftype, field.px_flen});
    offsets_.push_back(offset);
    if (field.px_flen <= 0) Fail("campul " + fields_.back().name + " are o lungime invalida");
    offset += field.px_flen;
  }
  if (offset != record_size_ || record_count_ < 0) Fail("marimea inregistrarii este deteriorata");
  code_page_ = head->px_doscodepage > 0 ? head->px_doscodepage : default_code_page;
  const std::string charset = "CP" + std::to_string(code_page_);
  handles_->to_utf8 = iconv_open("UTF-8", charset.c_str());
  if (handles_->to_utf8 == reinterpret_cast<iconv_t>(-1)) {
    Fail("pagina de cod " + std::to_string(code_page_) + " nu este cunoscuta");
  }
  record_.resize(static_cast<std::size_t>(record_size_));
}

ParadoxTable::~ParadoxTable() = default;

std::optional<std::size_t> ParadoxTable::FindField(std::string_view name) const {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (EqualsIgnoreCase(fields_[i].name, name)) return i;
  }
  return std::nullopt;
}

std::vector<std::string> ParadoxTable::FieldNames() const {
  std::vector<std::string> names;
  for (const ParadoxField& field : fields_) names.push_back(field.name);
  return names;
}

std::string ParadoxTable::ToUtf8(std::string_view bytes, int record, const ParadoxField& field) {
  std::string out(bytes.size() * 4, '\0');
  char* in_ptr = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  char* out_ptr = out.data();
  std::size_t out_left = out.size();
  iconv(handles_->to_utf8, nullptr, nullptr, nullptr, nullptr);
  if (iconv(handles_->to_utf8, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<size_t>(-1)) {
    Fail("inregistrarea " + std::to_string(record + 1) + ", campul " + field.name +
         ": textul nu este in pagina de cod " + std::to_string(code_page_));
  }
  out.resize(out.size() - out_left);
  return out;
}

Blob ParadoxTable::ReadPicture(const char* data, int length, int record) {
  auto fail = [&](const std::string& reason) {
    Fail("inregistrarea " + std::to_string(record + 1) + ", poza: " + reason);
  };
  const int leader = length - 10;
  if (leader < 0) fail("campul este prea scurt");
  const auto* pointer = reinterpret_cast<const unsigned char*>(data + leader);
  const std::uint32_t offset = LittleEndian32(pointer);
  const std::uint32_t size = LittleEndian32(pointer + 4);
  if (size == 0) return {};
  // A picture is stored after 8 bytes of its own heading, counted in its size.
  if (size <= 8) fail("marime invalida");
  const std::size_t picture_size = size - 8;
  if (picture_size <= static_cast<std::size_t>(leader)) {
    return Blob(reinterpret_cast<const unsigned char*>(data),
                reinterpret_cast<const unsigned char*>(data) + picture_size);
  }
  if (!blob_file_) {
    const auto blob_path = FindTableFile(file_.parent_path(), file_.stem().string() + ".mb");
    if (!blob_path) fail("fisierul .mb lipseste");
    std::ifstream in(*blob_path, std::ios::binary);
    if (!in) fail("fisierul .mb nu poate fi deschis");
    blob_file_.emplace(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  const std::vector<unsigned char>& mb = *blob_file_;
  const std::size_t block = offset & 0xffffff00u;
  const std::size_t index = offset & 0xffu;
  if (block == 0 || block + 12 > mb.size()) fail("adresa din fisierul .mb este invalida");
  std::size_t start = 0;
  if (mb[block] == 2) {  // a block of one picture
    if (index != 0xff || LittleEndian32(&mb[block + 3]) != size) fail("blocul .mb nu corespunde");
    start = block + 9 + 8;
  } else if (mb[block] == 3) {  // a block shared by small pictures
    const std::size_t entry = block + 12 + index * 5;
    if (index >= 64 || entry + 5 > mb.size()) fail("adresa din fisierul .mb este invalida");
    if ((static_cast<std::size_t>(mb[entry + 1]) - 1) * 16 + mb[entry + 4] != size) {
      fail("blocul .mb nu corespunde");
    }
    start = block + static_cast<std::size_t>(mb[entry]) * 16 + 8;
  } else {
    fail("blocul .mb nu contine o poza");
  }
  if (start + picture_size > mb.size()) fail("poza depaseste fisierul .mb");
  return Blob(mb.begin() + static_cast<std::ptrdiff_t>(start),
              mb.begin() + static_cast<std::ptrdiff_t>(start + picture_size));
}

ParadoxValue ParadoxTable::Decode(const ParadoxField& field, const char* data, int record) {
  pxdoc_t* doc = handles_->doc;
  char* bytes = const_cast<char*>(data);
  if (AllZero(data, field.length)) return std::monostate{};
  auto bad = [&](const std::string& what) {
    Fail("inregistrarea " + std::to_string(record + 1) + ", campul " + field.name + ": " + what);
  };
  switch (static_cast<ParadoxType>(field.type)) {
    case ParadoxType::kAlpha: {
      const std::size_t length = strnlen(data, static_cast<std::size_t>(field.length));
      return ToUtf8(std::string_view(data, length), record, field);
    }
    case ParadoxType::kShort: {
      short value = 0;
      PX_get_data_short(doc, bytes, field.length, &value);
      return static_cast<std::int64_t>(value);
    }
    case ParadoxType::kLong:
    case ParadoxType::kAutoInc: {
      long value = 0;
      PX_get_data_long(doc, bytes, field.length, &value);
      return static_cast<std::int64_t>(value);
    }
    case ParadoxType::kDate: {
      long days = 0;
      PX_get_data_long(doc, bytes, field.length, &days);
      if (days < 1 || days > kLastParadoxDay) bad("data invalida");
      return Date::FromSerial(static_cast<std::int32_t>(days - kParadoxDayOfZeroDate));
    }
    case ParadoxType::kNumber:
    case ParadoxType::kCurrency: {
      double value = 0;
      PX_get_data_double(doc, bytes, field.length, &value);
      if (!std::isfinite(value)) bad("numar invalid");
      return value;
    }
    case ParadoxType::kLogical: {
      char value = 0;
      PX_get_data_byte(doc, bytes, field.length, &value);
      return static_cast<std::int64_t>(value != 0 ? 1 : 0);
    }
    case ParadoxType::kGraphic:
      return ReadPicture(data, field.length, record);
    default:
      return std::monostate{};
  }
}

void ParadoxTable::ReadRecord(int index, std::vector<ParadoxValue>& values) {
  if (index < 0 || index >= record_count_)
    Fail("inregistrarea " + std::to_string(index + 1) + " lipseste");
  handles_->last_error.clear();
  if (PX_get_record(handles_->doc, index, record_.data()) == nullptr) {
    Fail("inregistrarea " + std::to_string(index + 1) + " este deteriorata");
  }
  values.resize(fields_.size());
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    values[i] = Decode(fields_[i], record_.data() + offsets_[i], index);
  }
}

std::optional<fs::path> FindTableFile(const fs::path& folder, std::string_view name) {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (entry.is_regular_file(error) && EqualsIgnoreCase(entry.path().filename().string(), name)) {
      return entry.path();
    }
  }
  return std::nullopt;
}

}  // namespace traveno::legacy
