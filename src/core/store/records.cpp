#include "core/store/records.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <unordered_map>

#include "core/text.h"

namespace traveno {
namespace {

template <typename Row>
using MemberPointer = std::variant<std::int64_t Row::*, int Row::*, double Row::*,
                                   std::string Row::*, Date Row::*, Blob Row::*>;

template <typename Row>
struct FieldAccess {
  FieldDef def;
  MemberPointer<Row> member;
};

#define TRAVENO_ACCESS(name, kind, width) \
  FieldAccess<RowType>{{#name, FieldKind::k##kind, width}, &RowType::name},

template <typename Row>
struct Table;

#define TRAVENO_DEFINE_TABLE(RowName, FIELDS)                                             \
  template <>                                                                             \
  struct Table<RowName> {                                                                 \
    using RowType = RowName;                                                              \
    static const auto& Access() {                                                         \
      static const auto kAccess = std::to_array({FIELDS(TRAVENO_ACCESS)});                \
      return kAccess;                                                                     \
    }                                                                                     \
    static const auto& Defs() {                                                           \
      static const auto kDefs = [] {                                                      \
        std::array<FieldDef, std::tuple_size_v<std::decay_t<decltype(Access())>>> defs{}; \
        for (std::size_t i = 0; i < defs.size(); ++i) defs[i] = Access()[i].def;          \
        return defs;                                                                      \
      }();                                                                                \
      return kDefs;                                                                       \
    }                                                                                     \
  };

TRAVENO_DEFINE_TABLE(FirmeRow, TRAVENO_FIRME_FIELDS)
TRAVENO_DEFINE_TABLE(ParaRow, TRAVENO_PARA_FIELDS)
TRAVENO_DEFINE_TABLE(ImpoRow, TRAVENO_IMPO_FIELDS)
TRAVENO_DEFINE_TABLE(PersRow, TRAVENO_PERS_FIELDS)
TRAVENO_DEFINE_TABLE(PintRow, TRAVENO_PINT_FIELDS)
TRAVENO_DEFINE_TABLE(ParFRow, TRAVENO_PARF_FIELDS)
TRAVENO_DEFINE_TABLE(PozeRow, TRAVENO_POZE_FIELDS)

#undef TRAVENO_DEFINE_TABLE
#undef TRAVENO_ACCESS

[[noreturn]] void WrongKind(const FieldDef& def) {
  throw std::invalid_argument(std::string("Valoare incorecta pentru campul ") + def.name + " !");
}

std::int64_t ToInteger(const FieldValue& value, const FieldDef& def) {
  if (const auto* i = std::get_if<std::int64_t>(&value)) return *i;
  if (const auto* d = std::get_if<double>(&value)) {
    if (!std::isfinite(*d)) WrongKind(def);
    return static_cast<std::int64_t>(std::trunc(*d));
  }
  WrongKind(def);
}

double ToDouble(const FieldValue& value, const FieldDef& def) {
  if (const auto* d = std::get_if<double>(&value)) return *d;
  if (const auto* i = std::get_if<std::int64_t>(&value)) return static_cast<double>(*i);
  WrongKind(def);
}

}  // namespace

int CheckedInteger(std::int64_t value, const FieldDef& def) {
  const std::int64_t limit = def.kind == FieldKind::kInt16 ? 32767 : 2147483647;
  if (value > limit || value < -limit - 1) WrongKind(def);
  return static_cast<int>(value);
}

template <typename Row>
std::span<const FieldDef> FieldsOf() {
  const auto& defs = Table<Row>::Defs();
  return {defs.data(), defs.size()};
}

template <typename Row>
std::optional<std::size_t> FindField(std::string_view name) {
  // By the names in capitals, made once per row type: a name is looked up
  // for every cell a grid shows. The first of two names that differ only in
  // case wins, as in a search in order.
  static const std::unordered_map<std::string, std::size_t> by_name = [] {
    std::unordered_map<std::string, std::size_t> names;
    const auto& defs = Table<Row>::Defs();
    for (std::size_t i = 0; i < defs.size(); ++i) names.emplace(ToUpperAscii(defs[i].name), i);
    return names;
  }();
  const auto found = by_name.find(ToUpperAscii(name));
  if (found == by_name.end()) return std::nullopt;
  return found->second;
}

template <typename Row>
FieldValue GetField(const Row& row, std::size_t index) {
  const auto& access = Table<Row>::Access().at(index);
  return std::visit(
      [&](auto member) -> FieldValue {
        using Member = std::decay_t<decltype(row.*member)>;
        if constexpr (std::is_same_v<Member, int>) {
          return static_cast<std::int64_t>(row.*member);
        } else {
          return row.*member;
        }
      },
      access.member);
}

template <typename Row>
void SetField(Row& row, std::size_t index, const FieldValue& value) {
  const auto& access = Table<Row>::Access().at(index);
  const FieldDef& def = access.def;
  std::visit(
      [&](auto member) {
        using Member = std::decay_t<decltype(row.*member)>;
        if constexpr (std::is_same_v<Member, std::int64_t>) {
          row.*member = ToInteger(value, def);
        } else if constexpr (std::is_same_v<Member, int>) {
          row.*member = CheckedInteger(ToInteger(value, def), def);
        } else if constexpr (std::is_same_v<Member, double>) {
          row.*member = ToDouble(value, def);
        } else if constexpr (std::is_same_v<Member, std::string>) {
          const auto* text = std::get_if<std::string>(&value);
          if (text == nullptr) WrongKind(def);
          row.*member = Truncate(*text, static_cast<std::size_t>(def.width));
        } else if constexpr (std::is_same_v<Member, Date>) {
          const auto* date = std::get_if<Date>(&value);
          if (date == nullptr) WrongKind(def);
          row.*member = *date;
        } else {
          const auto* blob = std::get_if<Blob>(&value);
          if (blob == nullptr) WrongKind(def);
          row.*member = *blob;
        }
      },
      access.member);
}

#define TRAVENO_INSTANTIATE(Row)                                        \
  template std::span<const FieldDef> FieldsOf<Row>();                   \
  template std::optional<std::size_t> FindField<Row>(std::string_view); \
  template FieldValue GetField<Row>(const Row&, std::size_t);           \
  template void SetField<Row>(Row&, std::size_t, const FieldValue&);

TRAVENO_INSTANTIATE(FirmeRow)
TRAVENO_INSTANTIATE(ParaRow)
TRAVENO_INSTANTIATE(ImpoRow)
TRAVENO_INSTANTIATE(PersRow)
TRAVENO_INSTANTIATE(PintRow)
TRAVENO_INSTANTIATE(ParFRow)
TRAVENO_INSTANTIATE(PozeRow)

#undef TRAVENO_INSTANTIATE

}  // namespace traveno
