#include "tests/support/paradox_writer.h"

#include <iconv.h>

#include <cstring>
#include <fstream>
#include <set>
#include <stdexcept>

#include "core/store/schema.h"

extern "C" {
#include <paradox.h>
}

namespace traveno::testing {
namespace {

constexpr std::int64_t kParadoxDayOfZeroDate = 693594;

std::string ToCodePage(const std::string& utf8, int code_page) {
  iconv_t cd = iconv_open(("CP" + std::to_string(code_page)).c_str(), "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("code page");
  std::string out(utf8.size() + 1, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t in_left = utf8.size();
  char* o = out.data();
  std::size_t out_left = out.size();
  const auto rc = iconv(cd, &in, &in_left, &o, &out_left);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) throw std::runtime_error("text not in code page: " + utf8);
  out.resize(out.size() - out_left);
  return out;
}

void PutLittleEndian(unsigned char* at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

// The blob file: a header block, then blocks of 4 KB.
class BlobFile {
 public:
  BlobFile() : bytes_(4096, 0) {}

  // Stores a picture and returns the field's last 10 bytes.
  std::vector<unsigned char> Add(const Blob& picture) {
    const std::uint32_t size = static_cast<std::uint32_t>(picture.size()) + 8;
    std::vector<unsigned char> pointer(10, 0);
    if (picture.size() > 100) {
      const std::size_t block = bytes_.size();
      const std::size_t chunks = (9 + size + 4095) / 4096;
      bytes_.resize(block + chunks * 4096, 0);
      bytes_[block] = 2;
      PutLittleEndian(&bytes_[block + 1], static_cast<std::uint32_t>(chunks), 2);
      PutLittleEndian(&bytes_[block + 3], size, 4);
      PutLittleEndian(&bytes_[block + 7], 1, 2);
      PutLittleEndian(&bytes_[block + 9 + 4], static_cast<std::uint32_t>(picture.size()), 4);
      std::memcpy(&bytes_[block + 17], picture.data(), picture.size());
      PutLittleEndian(pointer.data(), static_cast<std::uint32_t>(block) | 0xffu, 4);
    } else {
      if (shared_block_ == 0 || shared_used_ + size + 16 > 4096 || shared_count_ == 64) {
        shared_block_ = bytes_.size();
        bytes_.resize(shared_block_ + 4096, 0);
        bytes_[shared_block_] = 3;
        PutLittleEndian(&bytes_[shared_block_ + 1], 1, 2);
        shared_used_ = 336;  // after the heading and the 64 entries
        shared_count_ = 0;
      }
      const std::size_t start = shared_block_ + shared_used_;
      PutLittleEndian(&bytes_[start + 4], static_cast<std::uint32_t>(picture.size()), 4);
      std::memcpy(&bytes_[start + 8], picture.data(), picture.size());
      const std::size_t units = (size + 15) / 16;
      unsigned char* entry = &bytes_[shared_block_ + 12 + shared_count_ * 5];
      entry[0] = static_cast<unsigned char>(shared_used_ / 16);
      entry[1] = static_cast<unsigned char>(units);
      PutLittleEndian(entry + 2, 1, 2);
      entry[4] = static_cast<unsigned char>(size - (units - 1) * 16);
      PutLittleEndian(pointer.data(), static_cast<std::uint32_t>(shared_block_ | shared_count_), 4);
      shared_used_ += units * 16;
      ++shared_count_;
    }
    PutLittleEndian(pointer.data() + 4, size, 4);
    PutLittleEndian(pointer.data() + 8, 1, 2);
    return pointer;
  }

  void Write(const std::filesystem::path& file) const {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes_.data()),
              static_cast<std::streamsize>(bytes_.size()));
  }

 private:
  std::vector<unsigned char> bytes_;
  std::size_t shared_block_ = 0;
  std::size_t shared_used_ = 0;
  std::size_t shared_count_ = 0;
};

}  // namespace

void WriteParadoxTable(const std::filesystem::path& file, const std::vector<PxField>& fields,
                       const std::vector<PxRecord>& records, int code_page) {
  PX_boot();
  pxdoc_t* doc = PX_new();
  auto* definitions =
      static_cast<pxfield_t*>(doc->malloc(doc, fields.size() * sizeof(pxfield_t), "fields"));
  std::vector<int> offsets;
  int record_size = 0;
  bool has_pictures = false;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    definitions[i].px_fname = PX_strdup(doc, fields[i].name.c_str());
    definitions[i].px_ftype = static_cast<char>(fields[i].type);
    definitions[i].px_flen = fields[i].length;
    definitions[i].px_fdc = 0;
    offsets.push_back(record_size);
    record_size += fields[i].length;
    has_pictures = has_pictures || fields[i].type == pxfGraphic;
  }
  std::filesystem::remove(file);
  if (PX_create_file(doc, definitions, static_cast<int>(fields.size()), file.c_str(),
                     pxfFileTypIndexDB) < 0) {
    PX_delete(doc);
    throw std::runtime_error("cannot create " + file.string());
  }
  BlobFile blobs;
  std::vector<char> data(static_cast<std::size_t>(record_size));
  for (const PxRecord& record : records) {
    std::fill(data.begin(), data.end(), 0);
    for (std::size_t i = 0; i < fields.size() && i < record.size(); ++i) {
      char* at = data.data() + offsets[i];
      const int length = fields[i].length;
      const PxValue& value = record[i];
      if (std::holds_alternative<std::monostate>(value)) continue;
      switch (fields[i].type) {
        case pxfAlpha: {
          const std::string bytes = ToCodePage(std::get<std::string>(value), code_page);
          if (static_cast<int>(bytes.size()) > length) throw std::runtime_error("too long");
          std::memcpy(at, bytes.data(), bytes.size());
          break;
        }
        case pxfShort:
          PX_put_data_short(doc, at, length, static_cast<short>(std::get<std::int64_t>(value)));
          break;
        case pxfLong:
        case pxfAutoInc:
          PX_put_data_long(doc, at, length, static_cast<int>(std::get<std::int64_t>(value)));
          break;
        case pxfDate:
          PX_put_data_long(
              doc, at, length,
              static_cast<int>(std::get<Date>(value).serial() + kParadoxDayOfZeroDate));
          break;
        case pxfNumber:
        case pxfCurrency:
          PX_put_data_double(doc, at, length, std::get<double>(value));
          break;
        case pxfLogical:
          PX_put_data_byte(doc, at, length, std::get<std::int64_t>(value) != 0 ? 1 : 0);
          break;
        case pxfGraphic: {
          const auto pointer = blobs.Add(std::get<Blob>(value));
          std::memcpy(at + length - 10, pointer.data(), 10);
          break;
        }
        default:
          throw std::runtime_error("field type not written");
      }
    }
    if (PX_put_record(doc, data.data()) < 0) throw std::runtime_error("cannot write a record");
  }
  PX_close(doc);
  PX_delete(doc);
  // pxlib declares its own code page; the earlier versions declared the table's.
  std::fstream patch(file, std::ios::binary | std::ios::in | std::ios::out);
  unsigned char page[2];
  PutLittleEndian(page, static_cast<std::uint32_t>(code_page), 2);
  patch.seekp(0x6A);
  patch.write(reinterpret_cast<const char*>(page), 2);
  if (has_pictures) {
    std::filesystem::path blob_file = file;
    blobs.Write(blob_file.replace_extension(".mb"));
  }
}

std::vector<PxField> ParadoxFieldsOf(std::span<const FieldDef> fields) {
  std::vector<PxField> result;
  for (const FieldDef& field : fields) {
    switch (field.kind) {
      case FieldKind::kAutoInc:
        result.push_back({field.name, pxfAutoInc, 4});
        break;
      case FieldKind::kDate:
        result.push_back({field.name, pxfDate, 4});
        break;
      case FieldKind::kInt16:
        result.push_back({field.name, pxfShort, 2});
        break;
      case FieldKind::kInt32:
        result.push_back({field.name, pxfLong, 4});
        break;
      case FieldKind::kDouble:
        result.push_back({field.name, pxfNumber, 8});
        break;
      case FieldKind::kText:
        result.push_back({field.name, pxfAlpha, field.width});
        break;
      case FieldKind::kBlob:
        result.push_back({field.name, pxfGraphic, 10});
        break;
    }
  }
  return result;
}

std::vector<PxField> PersFieldsBefore(int step) {
  static const std::vector<std::pair<int, std::vector<std::string>>> kAddedBy = {
      {1,
       {"EMAIL", "fisa_rectif", "fisa_regul", "Domiciliu_ext", "pr_va", "Spor1", "spor2", "spor3",
        "spor4", "Dif_Brut"}},
      {2, {"CoefInd1"}},
      {3, {"SumeExcept"}},
      {4, {"Brut1", "vals1", "vals2", "vals3", "vals4"}},
      {5, {"BifaSom", "Ch_Prof"}},
      {6, {"PlatitOra"}},
      {8, {"ProcImpo", "Ore_Zi"}},
      {9, {"Pensionar"}},
      {10, {"NORMA"}},
  };
  std::set<std::string> absent;
  for (const auto& [added_by, names] : kAddedBy) {
    if (added_by >= step) absent.insert(names.begin(), names.end());
  }
  std::vector<PxField> fields;
  for (const PxField& field : ParadoxFieldsOf(PersTable().fields)) {
    if (!absent.contains(field.name)) fields.push_back(field);
  }
  if (step <= 1) fields.push_back({"Regularizare", pxfNumber, 8});
  return fields;
}

}  // namespace traveno::testing
