#include "legacy/paradox_header.h"

#include <algorithm>
#include <set>

#include "core/text.h"

namespace traveno::legacy {
namespace {

// The fixed part of every header, and the part data tables of version 4 and
// later add after it.
constexpr std::size_t kCommonHeaderSize = 0x58;
constexpr std::size_t kDataHeaderSize = 0x78;
// A data block starts with the numbers of the next and the previous block and
// the size of its records less one record.
constexpr int kBlockHeadSize = 6;
// The library reads a field name up to this many characters.
constexpr std::size_t kLongestFieldName = 299;
// The encryption word of tables of version 4 and later that keep their
// password mark further on.
constexpr std::uint32_t kEncryptionElsewhere = 0xFF00FF00u;

[[noreturn]] void Damaged(const std::string& reason) { throw ParadoxDamage(reason); }

[[noreturn]] void BadHeader() { Damaged("antetul este deteriorat"); }

std::uint16_t Word(const std::vector<unsigned char>& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t LongWord(const std::vector<unsigned char>& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void ReadAt(std::FILE* file, std::uintmax_t offset, std::size_t count, unsigned char* into) {
  if (fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0 ||
      std::fread(into, 1, count, file) != count) {
    Damaged("fisierul nu poate fi citit");
  }
}

// The bytes a field of a type takes in a record (the header keeps the number
// of decimals of a BCD number in its size), or 0 when the type is none of
// Paradox's or the size does not fit it.
int FieldLength(int type, int size) {
  switch (type) {
    case 0x01:  // alpha
    case 0x18:  // bytes
      return size;
    case 0x02:  // date
    case 0x04:  // long integer
    case 0x14:  // time
    case 0x16:  // auto-increment
      return size == 4 ? 4 : 0;
    case 0x03:  // short integer
      return size == 2 ? 2 : 0;
    case 0x05:  // currency
    case 0x06:  // number
    case 0x15:  // timestamp
      return size == 8 ? 8 : 0;
    case 0x09:  // logical
      return size == 1 ? 1 : 0;
    case 0x0C:  // memo
    case 0x0D:  // blob
    case 0x0E:  // formatted memo
    case 0x0F:  // OLE
    case 0x10:  // graphic
      return size >= 10 ? size : 0;
    case 0x17:  // BCD
      return size <= 32 ? 17 : 0;
    default:
      return 0;
  }
}

// The field descriptions that follow the fixed header, as the library reads
// them: types and sizes, a pointer to the table name, one pointer per field
// name, the table name, then the field names, each ended by a zero byte.
std::vector<ParadoxHeaderField> ReadFields(const std::vector<unsigned char>& head, std::size_t at,
                                           int count, int version_id, int record_size) {
  if (count < 1 || count > 255) BadHeader();
  std::vector<ParadoxHeaderField> fields(static_cast<std::size_t>(count));
  int total = 0;
  for (ParadoxHeaderField& field : fields) {
    if (at + 2 > head.size()) BadHeader();
    field.type = head[at];
    field.length = FieldLength(head[at], head[at + 1]);
    if (field.length <= 0) BadHeader();
    total += field.length;
    at += 2;
  }
  if (total != record_size) BadHeader();
  at += 4 + 4 * static_cast<std::size_t>(count) + (version_id == 12 ? 261 : 79);
  for (ParadoxHeaderField& field : fields) {
    std::size_t end = at;
    while (end < head.size() && head[end] != 0 && end - at < kLongestFieldName) ++end;
    if (end >= head.size() || head[end] != 0) BadHeader();
    field.name.assign(reinterpret_cast<const char*>(head.data() + at), end - at);
    // A name is printable text, and names the field alone.
    if (field.name.empty() || !std::all_of(field.name.begin(), field.name.end(), [](char c) {
          return static_cast<unsigned char>(c) >= 0x20 && c != 0x7F;
        })) {
      BadHeader();
    }
    for (const ParadoxHeaderField& other : fields) {
      if (&other == &field) break;
      if (EqualsIgnoreCase(other.name, field.name)) BadHeader();
    }
    at = end + 1;
  }
  return fields;
}

}  // namespace

ParadoxHeader CheckParadoxHeader(std::FILE* file, std::uintmax_t size) {
  if (size < kCommonHeaderSize) BadHeader();
  std::vector<unsigned char> head(kCommonHeaderSize);
  ReadAt(file, 0, head.size(), head.data());

  ParadoxHeader header;
  header.record_size = Word(head, 0x00);
  header.header_size = Word(head, 0x02);
  header.file_type = head[0x04];
  header.block_size = head[0x05] * 1024;
  header.record_count = static_cast<std::int32_t>(LongWord(head, 0x06));
  header.file_blocks = Word(head, 0x0C);
  const int first_block = Word(head, 0x0E);
  const int last_block = Word(head, 0x10);
  const int field_count = static_cast<std::int16_t>(Word(head, 0x21));
  const std::uint32_t encryption = LongWord(head, 0x25);
  header.version_id = head[0x39];

  // Only data tables (with or without a primary key) are read; the other
  // kinds of Paradox files are indexes.
  if (header.file_type > 8) BadHeader();
  if (header.file_type != 0 && header.file_type != 2) Damaged("nu este un tabel de date");
  if (header.version_id < 3 || header.version_id > 12) BadHeader();
  const bool data_header = header.version_id >= 5;
  if (header.block_size < 1024 || header.block_size > 32 * 1024) BadHeader();
  if (header.record_size < 1 || header.record_size + kBlockHeadSize > header.block_size) {
    BadHeader();
  }
  if (header.record_count < 0) BadHeader();
  const std::size_t fixed = data_header ? kDataHeaderSize : kCommonHeaderSize;
  // The library reads the sizes and block numbers as signed words.
  if (static_cast<std::size_t>(header.header_size) < fixed || header.header_size > 0x7FFF ||
      header.file_blocks > 0x7FFF) {
    BadHeader();
  }
  if (static_cast<std::uintmax_t>(header.header_size) > size) Damaged("fisierul este trunchiat");

  head.resize(static_cast<std::size_t>(header.header_size));
  ReadAt(file, kCommonHeaderSize, head.size() - kCommonHeaderSize, head.data() + kCommonHeaderSize);
  if (encryption == kEncryptionElsewhere) {
    // Without the part that holds it the library would read a password mark
    // that is not there.
    if (!data_header) BadHeader();
    if (LongWord(head, 0x5C) != 0) Damaged("tabelul este protejat prin parola");
  } else if (encryption != 0) {
    Damaged("tabelul este protejat prin parola");
  }
  if (data_header) header.code_page = Word(head, 0x6A);
  header.fields = ReadFields(head, fixed, field_count, header.version_id, header.record_size);

  // A table cut short would yield its missing records as zeros.
  const std::uintmax_t needed = static_cast<std::uintmax_t>(header.header_size) +
                                static_cast<std::uintmax_t>(header.file_blocks) *
                                    static_cast<std::uintmax_t>(header.block_size);
  if (size < needed) Damaged("fisierul este trunchiat");

  // The chain of data blocks, walked as the library walks it.
  std::set<int> seen;
  std::int64_t records = 0;
  int previous = 0;
  for (int block = first_block; block != 0;) {
    if (block > header.file_blocks || !seen.insert(block).second) {
      Damaged("legaturile dintre blocurile de date sunt deteriorate");
    }
    unsigned char head_of_block[kBlockHeadSize];
    ReadAt(file,
           static_cast<std::uintmax_t>(header.header_size) +
               static_cast<std::uintmax_t>(block - 1) * header.block_size,
           kBlockHeadSize, head_of_block);
    const int next = head_of_block[0] | head_of_block[1] << 8;
    const int back = head_of_block[2] | head_of_block[3] << 8;
    // The size of the block's records less one record: a full block of one
    // record holds 0, an empty one minus a record.
    const int used =
        static_cast<std::int16_t>(head_of_block[4] | head_of_block[5] << 8) + header.record_size;
    if (back != previous || used < 0 || used % header.record_size != 0 ||
        used > header.block_size - kBlockHeadSize) {
      Damaged("legaturile dintre blocurile de date sunt deteriorate");
    }
    records += used / header.record_size;
    previous = block;
    block = next;
  }
  if (first_block != 0 && previous != last_block) {
    Damaged("legaturile dintre blocurile de date sunt deteriorate");
  }
  if (records != header.record_count) {
    Damaged("numarul inregistrarilor din antet nu corespunde blocurilor de date");
  }
  return header;
}

}  // namespace traveno::legacy
