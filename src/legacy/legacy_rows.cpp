#include "legacy/legacy_rows.h"

#include <cmath>
#include <limits>

#include "core/errors.h"

namespace traveno::legacy {
namespace {

struct Column {
  std::size_t legacy;
  std::size_t field;
};

[[noreturn]] void Refuse(const ParadoxTable& table, int record, const ParadoxField& field,
                         const std::string& reason) {
  throw Error("Tabelul " + table.file().string() + " nu poate fi preluat: inregistrarea " +
              std::to_string(record + 1) + ", campul " + field.name + ": " + reason);
}

std::int64_t WholeNumber(const ParadoxValue& value, std::int64_t low, std::int64_t high,
                         const std::function<void(const std::string&)>& refuse) {
  std::int64_t number = 0;
  if (const auto* whole = std::get_if<std::int64_t>(&value)) {
    number = *whole;
  } else if (const auto* real = std::get_if<double>(&value)) {
    if (std::trunc(*real) != *real || std::fabs(*real) > 9e15) refuse("nu este un numar intreg");
    number = static_cast<std::int64_t>(*real);
  } else {
    refuse("nu este un numar");
  }
  if (number < low || number > high) refuse("numarul este in afara domeniului");
  return number;
}

template <typename Row>
FieldValue Convert(const ParadoxTable& table, int record, const ParadoxField& legacy,
                   const FieldDef& field, const ParadoxValue& value) {
  auto refuse = [&](const std::string& reason) { Refuse(table, record, legacy, reason); };
  switch (field.kind) {
    case FieldKind::kText: {
      const auto* text = std::get_if<std::string>(&value);
      if (text == nullptr) refuse("se astepta un text");
      if (CharacterCount(*text) > static_cast<std::size_t>(field.width)) {
        refuse("textul depaseste " + std::to_string(field.width) + " caractere");
      }
      return *text;
    }
    case FieldKind::kDate: {
      const auto* date = std::get_if<Date>(&value);
      if (date == nullptr) refuse("se astepta o data");
      return *date;
    }
    case FieldKind::kInt16:
      return WholeNumber(value, -32768, 32767, refuse);
    case FieldKind::kInt32:
    case FieldKind::kAutoInc:
      return WholeNumber(value, std::numeric_limits<std::int32_t>::min(),
                         std::numeric_limits<std::int32_t>::max(), refuse);
    case FieldKind::kDouble:
      if (const auto* whole = std::get_if<std::int64_t>(&value)) {
        return static_cast<double>(*whole);
      }
      if (const auto* real = std::get_if<double>(&value)) return *real;
      refuse("se astepta un numar");
    case FieldKind::kBlob: {
      const auto* blob = std::get_if<Blob>(&value);
      if (blob == nullptr) refuse("se astepta o poza");
      return *blob;
    }
  }
  refuse("tip necunoscut");
}

}  // namespace

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (unsigned char c : utf8) count += (c & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

template <typename Row>
std::vector<Row> ReadRows(
    ParadoxTable& table, const std::function<void(Row&, const std::vector<ParadoxValue>&)>& extra) {
  std::vector<Column> columns;
  const auto fields = FieldsOf<Row>();
  for (std::size_t i = 0; i < table.fields().size(); ++i) {
    const auto field = FindField<Row>(table.fields()[i].name);
    if (!field) continue;
    if (!IsReadableType(table.fields()[i].type)) {
      throw Error("Tabelul " + table.file().string() + " nu poate fi preluat: campul " +
                  table.fields()[i].name + " are un tip necunoscut");
    }
    columns.push_back({i, *field});
  }
  std::vector<Row> rows;
  rows.reserve(static_cast<std::size_t>(table.record_count()));
  std::vector<ParadoxValue> values;
  for (int record = 0; record < table.record_count(); ++record) {
    table.ReadRecord(record, values);
    Row row{};
    for (const Column& column : columns) {
      const ParadoxValue& value = values[column.legacy];
      if (std::holds_alternative<std::monostate>(value)) continue;
      SetField(
          row, column.field,
          Convert<Row>(table, record, table.fields()[column.legacy], fields[column.field], value));
    }
    if (extra) extra(row, values);
    rows.push_back(std::move(row));
  }
  return rows;
}

template std::vector<FirmeRow> ReadRows(
    ParadoxTable&, const std::function<void(FirmeRow&, const std::vector<ParadoxValue>&)>&);
template std::vector<ParaRow> ReadRows(
    ParadoxTable&, const std::function<void(ParaRow&, const std::vector<ParadoxValue>&)>&);
template std::vector<ImpoRow> ReadRows(
    ParadoxTable&, const std::function<void(ImpoRow&, const std::vector<ParadoxValue>&)>&);
template std::vector<PersRow> ReadRows(
    ParadoxTable&, const std::function<void(PersRow&, const std::vector<ParadoxValue>&)>&);
template std::vector<PintRow> ReadRows(
    ParadoxTable&, const std::function<void(PintRow&, const std::vector<ParadoxValue>&)>&);
template std::vector<ParFRow> ReadRows(
    ParadoxTable&, const std::function<void(ParFRow&, const std::vector<ParadoxValue>&)>&);
template std::vector<PozeRow> ReadRows(
    ParadoxTable&, const std::function<void(PozeRow&, const std::vector<ParadoxValue>&)>&);

}  // namespace traveno::legacy
