// Plain structs for one row of each stored table, generated from the field
// lists, with access to their fields by name (names matched without regard
// to case, as the program has always compared them).
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/date.h"
#include "core/store/field_lists.h"

namespace traveno {

enum class FieldKind { kAutoInc, kDate, kInt16, kInt32, kDouble, kText, kBlob };

struct FieldDef {
  const char* name;
  FieldKind kind;
  int width;  // characters, texts only
};

using Blob = std::vector<unsigned char>;
// A field's value: integers (auto-increment, int16, int32), doubles, texts,
// dates and blobs.
using FieldValue = std::variant<std::int64_t, double, std::string, Date, Blob>;

namespace field_types {
using AutoInc = std::int64_t;
using Date = ::traveno::Date;
using Int16 = int;
using Int32 = int;
using Double = double;
using Text = std::string;
using Blob = ::traveno::Blob;
}  // namespace field_types

#define TRAVENO_DECLARE_MEMBER(name, kind, width) field_types::kind name{};

struct FirmeRow {
  TRAVENO_FIRME_FIELDS(TRAVENO_DECLARE_MEMBER)
};
struct ParaRow {
  TRAVENO_PARA_FIELDS(TRAVENO_DECLARE_MEMBER)
};
struct ImpoRow {
  TRAVENO_IMPO_FIELDS(TRAVENO_DECLARE_MEMBER)
};
struct PersRow {
  TRAVENO_PERS_FIELDS(TRAVENO_DECLARE_MEMBER)
};
struct PintRow {
  TRAVENO_PINT_FIELDS(TRAVENO_DECLARE_MEMBER)
};
struct ParFRow {
  TRAVENO_PARF_FIELDS(TRAVENO_DECLARE_MEMBER)
};
struct PozeRow {
  TRAVENO_POZE_FIELDS(TRAVENO_DECLARE_MEMBER)
};

#undef TRAVENO_DECLARE_MEMBER

// The typed path to a row's fields: RowFields<Row>::ForEach(f) calls
// f(index, member) for every field in physical order, `member` a pointer to
// the data member of the field's own type (std::int64_t, int, double,
// std::string, Date, Blob). Reading and binding whole rows go through it, so
// that no value passes through the generic FieldValue.
template <typename Row>
struct RowFields;

#define TRAVENO_VISIT_MEMBER(name, kind, width) f(index++, &RowType::name);
#define TRAVENO_DEFINE_ROW_FIELDS(RowName, FIELDS) \
  template <>                                      \
  struct RowFields<RowName> {                      \
    using RowType = RowName;                       \
    template <typename F>                          \
    static void ForEach(F&& f) {                   \
      std::size_t index = 0;                       \
      FIELDS(TRAVENO_VISIT_MEMBER)                 \
    }                                              \
  };

TRAVENO_DEFINE_ROW_FIELDS(FirmeRow, TRAVENO_FIRME_FIELDS)
TRAVENO_DEFINE_ROW_FIELDS(ParaRow, TRAVENO_PARA_FIELDS)
TRAVENO_DEFINE_ROW_FIELDS(ImpoRow, TRAVENO_IMPO_FIELDS)
TRAVENO_DEFINE_ROW_FIELDS(PersRow, TRAVENO_PERS_FIELDS)
TRAVENO_DEFINE_ROW_FIELDS(PintRow, TRAVENO_PINT_FIELDS)
TRAVENO_DEFINE_ROW_FIELDS(ParFRow, TRAVENO_PARF_FIELDS)
TRAVENO_DEFINE_ROW_FIELDS(PozeRow, TRAVENO_POZE_FIELDS)

#undef TRAVENO_DEFINE_ROW_FIELDS
#undef TRAVENO_VISIT_MEMBER

// A set of a row's fields: one bit per field, in physical order.
inline constexpr std::size_t kMaxRowFields = 128;
using FieldMask = std::bitset<kMaxRowFields>;

// The fields of `after` that differ from `before`.
template <typename Row>
FieldMask ChangedFields(const Row& before, const Row& after) {
  FieldMask changed;
  RowFields<Row>::ForEach([&](std::size_t index, auto member) {
    if (!(before.*member == after.*member)) changed.set(index);
  });
  return changed;
}

// The fields of a row type in physical order.
template <typename Row>
std::span<const FieldDef> FieldsOf();

// The index of a field by name, without regard to case; empty when the row
// has no such field.
template <typename Row>
std::optional<std::size_t> FindField(std::string_view name);

// The value of the field at `index` (an index given by FindField or FieldsOf).
template <typename Row>
FieldValue GetField(const Row& row, std::size_t index);

// Sets the field at `index`. The value is converted to the field's kind
// (numbers between integers and doubles; integers are truncated toward zero);
// a text is held to the field's width. Throws std::invalid_argument when the
// value cannot be given to that kind (a text for a number, a number for a date).
template <typename Row>
void SetField(Row& row, std::size_t index, const FieldValue& value);

// An integer as a field of kind kInt16 or kInt32 holds it; throws
// std::invalid_argument (as SetField does) when it is out of the kind's range.
int CheckedInteger(std::int64_t value, const FieldDef& def);

}  // namespace traveno
