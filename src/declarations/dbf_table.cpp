#include "declarations/dbf_table.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/text.h"
#include "core/windows1250.h"

namespace traveno::declarations {
namespace {

constexpr char kHeaderTerminator = 0x0D;
constexpr char kEndOfFile = 0x1A;
constexpr int kNameBytes = 11;
constexpr int kMaxFields = (0xFFFF - 33) / 32;

void PutUint16(std::string& out, int value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutUint32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

std::uint32_t GetUint(std::string_view bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  }
  return value;
}

// A whole number written in the text (blanks around it allowed), or nothing.
std::optional<int> WholeNumber(std::string_view text) {
  const std::string trimmed = Trim(text);
  int value = 0;
  const char* end = trimmed.data() + trimmed.size();
  const auto [stop, error] = std::from_chars(trimmed.data(), end, value);
  if (trimmed.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

DbfField ParseItem(const std::string& item, int& flags) {
  DbfField field;
  const std::size_t blank = item.find(' ');
  if (blank == std::string::npos) {
    field.name = item;
    flags |= kDbfItemWithoutBlank;
    return field;
  }
  field.name = item.substr(0, blank);
  const std::string type_part = item.substr(blank + 1);
  const char type = type_part.empty() ? '\0' : type_part.front();
  switch (type) {
    case 'D':
      field.type = 'D';
      field.width = 8;
      return field;
    case 'L':
      field.type = 'L';
      field.width = 1;
      return field;
    case 'C':
    case 'N':
    case 'F':
      field.type = type;
      break;
    default:
      flags |= kDbfUnknownType;
      return field;
  }
  const std::string size = ReplaceAll(ReplaceAll(type_part.substr(1), "(", ""), ")", "");
  const std::size_t comma = size.find(',');
  field.width = WholeNumber(size.substr(0, comma)).value_or(10);
  if (type != 'C' && comma != std::string::npos) {
    field.decimals = WholeNumber(size.substr(comma + 1)).value_or(0);
  }
  const bool width_fits = field.width >= 1 && field.width <= 254;
  const bool decimals_fit =
      field.decimals >= 0 && field.decimals <= 15 && field.decimals < field.width;
  if (!width_fits || !decimals_fit) {
    flags |= kDbfWidthOutOfRange;
    field.width = 10;
    field.decimals = 0;
  }
  return field;
}

std::string CannotReadMessage(const std::filesystem::path& path) {
  return "Nu pot citi fisierul " + path.string() + " !";
}

std::string NotDbaseMessage(const std::filesystem::path& path) {
  return "Fisierul " + path.string() + " nu este o tabela dBASE III !";
}

std::string FieldText(const DbfField& field) {
  std::string text = field.name + " " + field.type + "(" + std::to_string(field.width);
  if (field.decimals != 0) text += "," + std::to_string(field.decimals);
  return text + ")";
}

// Writes a whole number of at most 15 digits (which a double holds exactly)
// with the given decimals, as FixedText would, backwards from `end`; returns
// where the text begins. Records hold mostly such numbers.
char* WholeFixedText(double value, int decimals, char* end) {
  char* p = end;
  if (decimals > 0) {
    p -= decimals;
    std::memset(p, '0', static_cast<std::size_t>(decimals));
    *--p = '.';
  }
  auto rest = static_cast<std::uint64_t>(std::fabs(value));
  do {
    *--p = static_cast<char>('0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  if (value < 0) *--p = '-';
  return p;
}

bool IsSmallWhole(double value) { return std::fabs(value) < 1e15 && std::trunc(value) == value; }

// The number with the given decimals and "." as point; a negative zero loses its sign.
std::string FixedText(double value, int decimals) {
  // As printf's "%.*f" writes it (to_chars is exact, as printf is).
  char buffer[400];
  const std::to_chars_result written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text;
  if (written.ec == std::errc()) {
    text.assign(buffer, written.ptr);
  } else {
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    text = buffer;
  }
  if (text.front() == '-' && text.find_first_of("123456789") == std::string::npos) text.erase(0, 1);
  return text;
}

}  // namespace

DbfLayout ParseDbfSpec(std::string_view spec) {
  DbfLayout layout;
  std::string rest = ToUpperAscii(Trim(spec));
  while (!rest.empty()) {
    std::size_t comma = rest.find(',');
    const std::size_t open = rest.find('(');
    const std::size_t close = rest.find(')');
    if (comma != std::string::npos && open != std::string::npos && close != std::string::npos &&
        open < comma && comma < close) {
      const int second = PosN(",", rest, 2);
      comma = second == 0 ? std::string::npos : static_cast<std::size_t>(second - 1);
    }
    std::string item;
    if (comma == std::string::npos) {
      item = Trim(rest);
      rest.clear();
    } else {
      item = Trim(rest.substr(0, comma));
      rest.erase(0, comma + 1);
    }
    DbfField field = ParseItem(item, layout.flags);
    field.offset = layout.record_length;
    layout.record_length += field.width;
    layout.fields.push_back(std::move(field));
  }
  if (static_cast<int>(layout.fields.size()) > kMaxFields || layout.record_length > 0xFFFF) {
    throw Error("Structura tabelei dBASE este prea mare: " + std::to_string(layout.fields.size()) +
                " campuri, " + std::to_string(layout.record_length) + " octeti pe inregistrare !");
  }
  return layout;
}

std::string DbfHeader(const DbfLayout& layout, Date created, std::uint32_t record_count) {
  std::string header;
  header.reserve(static_cast<std::size_t>(layout.header_length()));
  header.push_back(3);
  header.push_back(static_cast<char>(created.year() % 100));
  header.push_back(static_cast<char>(created.month()));
  header.push_back(static_cast<char>(created.day()));
  PutUint32(header, record_count);
  PutUint16(header, layout.header_length());
  PutUint16(header, layout.record_length);
  header.append(20, '\0');
  for (const DbfField& field : layout.fields) {
    std::string name = ToWindows1250(field.name).substr(0, kNameBytes);
    name.resize(kNameBytes, '\0');
    header += name;
    header.push_back(field.type);
    PutUint16(header, field.offset);
    header.append(2, '\0');
    header.push_back(static_cast<char>(field.width));
    header.push_back(static_cast<char>(field.decimals));
    header.append(14, '\0');
  }
  header.push_back(kHeaderTerminator);
  return header;
}

int CreateDbfTable(const std::filesystem::path& path, std::string_view spec, Date today) {
  int flags = 0;
  DbfTable::Create(path, spec, today, flags).Save();
  return flags;
}

DbfRecord::DbfRecord(const DbfTable& table)
    : table_(&table), bytes_(static_cast<std::size_t>(table.record_length_), ' ') {}

const DbfField& DbfRecord::FieldOf(std::string_view name, std::string_view types) const {
  // Records are mostly filled in the order of their fields: the field after
  // the one set last is tried before the names are looked up.
  const DbfField* field = nullptr;
  if (next_field_ < table_->fields_.size() &&
      EqualsIgnoreCase(table_->fields_[next_field_].name, name)) {
    field = &table_->fields_[table_->first_of_name_[next_field_]];
  } else {
    field = table_->Find(name);
  }
  if (field == nullptr) {
    throw Error("Campul " + std::string(name) + " nu exista in tabela " +
                table_->path().filename().string() + " !");
  }
  if (types.find(field->type) == std::string_view::npos) {
    throw Error("Campul " + FieldText(*field) + " nu poate primi aceasta valoare !");
  }
  next_field_ = static_cast<std::size_t>(field - table_->fields_.data()) + 1;
  return *field;
}

void DbfRecord::Put(const DbfField& field, std::string_view value) {
  bytes_.replace(static_cast<std::size_t>(field.offset), static_cast<std::size_t>(field.width),
                 value);
}

DbfRecord& DbfRecord::SetText(std::string_view name, std::string_view text) {
  const DbfField& field = FieldOf(name, "C");
  std::string value = ToWindows1250(text);
  value.resize(static_cast<std::size_t>(field.width), ' ');
  Put(field, value);
  return *this;
}

DbfRecord& DbfRecord::SetNumber(std::string_view name, double value) {
  const DbfField& field = FieldOf(name, "NF");
  if (!std::isfinite(value)) {
    throw Error("Campul " + FieldText(field) + " nu poate primi o valoare nedefinita !");
  }
  // Right-aligned: blanks, then the text (plain ASCII, a byte a character).
  char buffer[32];
  char* const end = buffer + sizeof buffer;
  std::string general;
  std::string_view text;
  if (IsSmallWhole(value) && field.decimals < 15) {
    const char* begin = WholeFixedText(value, field.decimals, end);
    text = std::string_view(begin, static_cast<std::size_t>(end - begin));
  } else {
    general = FixedText(value, field.decimals);
    text = general;
  }
  if (static_cast<int>(text.size()) > field.width) {
    throw Error("Valoarea " + std::string(text) + " nu incape in campul " + FieldText(field) +
                " !");
  }
  char* const place = bytes_.data() + field.offset;
  const std::size_t blanks = static_cast<std::size_t>(field.width) - text.size();
  std::memset(place, ' ', blanks);
  std::memcpy(place + blanks, text.data(), text.size());
  return *this;
}

DbfRecord& DbfRecord::SetDate(std::string_view name, Date value) {
  const DbfField& field = FieldOf(name, "D");
  if (value.IsEmpty()) {
    Put(field, std::string(8, ' '));
    return *this;
  }
  if (value.year() < 1 || value.year() > 9999) {
    throw Error("Campul " + FieldText(field) + " nu poate primi data " + value.ToText() + " !");
  }
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", value.year(), value.month(), value.day());
  Put(field, text);
  return *this;
}

DbfRecord& DbfRecord::SetLogical(std::string_view name, bool value) {
  Put(FieldOf(name, "L"), value ? "T" : "F");
  return *this;
}

DbfTable DbfTable::Open(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw Error(CannotReadMessage(path));
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) throw Error(CannotReadMessage(path));
  if (bytes.size() < 33 || bytes[0] != 3) throw Error(NotDbaseMessage(path));

  DbfTable table;
  table.path_ = path;
  const std::uint32_t count = GetUint(bytes, 4, 4);
  const std::size_t header_length = GetUint(bytes, 8, 2);
  table.record_length_ = static_cast<int>(GetUint(bytes, 10, 2));
  if (header_length < 33 || header_length > bytes.size()) throw Error(NotDbaseMessage(path));

  int offset = 1;
  for (std::size_t at = 32; at < header_length && bytes[at] != kHeaderTerminator; at += 32) {
    if (at + 32 > header_length) throw Error(NotDbaseMessage(path));
    DbfField field;
    const std::string_view name(bytes.data() + at, kNameBytes);
    field.name = FromWindows1250(name.substr(0, name.find('\0')));
    field.type = bytes[at + 11];
    field.offset = offset;
    field.width = static_cast<unsigned char>(bytes[at + 16]);
    field.decimals = static_cast<unsigned char>(bytes[at + 17]);
    offset += field.width;
    const auto named = table.by_name_.emplace(ToUpperAscii(field.name), table.fields_.size());
    table.first_of_name_.push_back(named.first->second);
    table.fields_.push_back(std::move(field));
  }
  const std::size_t records_length = static_cast<std::size_t>(count) * table.record_length_;
  if (offset != table.record_length_ || header_length + records_length > bytes.size()) {
    throw Error(NotDbaseMessage(path));
  }
  table.header_ = bytes.substr(0, header_length);
  table.records_ = bytes.substr(header_length, records_length);
  table.record_count_ = count;
  return table;
}

DbfTable DbfTable::Create(const std::filesystem::path& path, std::string_view spec, Date today,
                          int& flags) {
  const DbfLayout layout = ParseDbfSpec(spec);
  flags = layout.flags;
  DbfTable table;
  table.path_ = path;
  table.header_ = DbfHeader(layout, today, 0);
  table.record_length_ = layout.record_length;
  // The fields as a reader of the file finds them: names cut to 11 characters.
  for (DbfField field : layout.fields) {
    field.name = field.name.substr(0, kNameBytes);
    const auto named = table.by_name_.emplace(field.name, table.fields_.size());
    table.first_of_name_.push_back(named.first->second);
    table.fields_.push_back(std::move(field));
  }
  return table;
}

const DbfField* DbfTable::Find(std::string_view name) const {
  const auto found = by_name_.find(ToUpperAscii(name));
  return found == by_name_.end() ? nullptr : &fields_[found->second];
}

void DbfTable::Append(const DbfRecord& record) {
  if (record.table_ != this)
    throw Error("Inregistrarea nu apartine tabelei " + path_.string() + " !");
  records_ += record.bytes();
  ++record_count_;
}

void DbfTable::Save() const {
  std::string content = header_;
  std::string count;
  PutUint32(count, record_count_);
  content.replace(4, 4, count);
  content.reserve(content.size() + records_.size() + 1);
  content += records_;
  content.push_back(kEndOfFile);
  WriteFileAtomically(path_, content);
}

}  // namespace traveno::declarations
