// Rows whose every field holds a value that no other field of the row holds,
// made from the table's field list, for the tests of the operations that copy,
// zero or sum fields: a dropped or swapped field then shows as a wrong value.
#pragma once

#include <cstdio>
#include <set>
#include <string>
#include <variant>

#include "core/date.h"
#include "core/store/records.h"

namespace traveno::testing {

// A row of `Row` with a distinct value in every field: a whole number, an
// amount, a text or a date made from the field's position and `seed` (1 to 9),
// so that rows of different seeds differ in every field too. Auto-increment
// fields stay 0. Texts fit the field's width; a one-character text field gets
// a letter of its own.
template <typename Row>
Row DistinctRow(int seed) {
  Row row{};
  const auto fields = FieldsOf<Row>();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    switch (fields[i].kind) {
      case FieldKind::kAutoInc:
      case FieldKind::kBlob:
        break;
      case FieldKind::kInt16:
      case FieldKind::kInt32:
        SetField(row, i, FieldValue(std::int64_t{100 * seed + n}));
        break;
      case FieldKind::kDouble:
        SetField(row, i, FieldValue(10000.0 * seed + 100.0 * n));
        break;
      case FieldKind::kDate:
        SetField(row, i, FieldValue(Date::FromYmd(1900 + n, seed, 1 + seed)));
        break;
      case FieldKind::kText:
        if (fields[i].width == 1) {
          SetField(row, i, FieldValue(std::string(1, static_cast<char>('A' + (n + seed) % 26))));
        } else {
          SetField(row, i, FieldValue(std::to_string(seed) + "F" + std::to_string(n)));
        }
        break;
    }
  }
  return row;
}

// A field's value as text, for the messages of failed checks.
inline std::string FieldText(const FieldValue& value) {
  if (const auto* number = std::get_if<std::int64_t>(&value)) return std::to_string(*number);
  if (const auto* amount = std::get_if<double>(&value)) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", *amount);
    return text;
  }
  if (const auto* text = std::get_if<std::string>(&value)) return "\"" + *text + "\"";
  if (const auto* date = std::get_if<Date>(&value)) return date->ToText();
  return "<blob>";
}

// One bit of a pattern that gives each of several two-valued fields its own
// sequence over the rows of seeds 1, 2 and 3: with `code` 1 to 7 different for
// each field, any two of them differ in some row, and each is set in some row.
inline bool PatternBit(int code, int seed) { return ((code >> (seed - 1)) & 1) != 0; }

// A Pers row of seed 1, 2 or 3 with distinct values that the services accept:
// hours, days, percentages and coefficients in their ranges, codes from their
// lists, a hiring date before and a leaving date long after the months of the
// tests. The two-valued flags follow PatternBit, so three rows of seeds 1 to 3
// tell any two flags apart. TIP is "1"; the caller sets the kind it needs.
inline PersRow PlausiblePersRow(int seed) {
  PersRow row = DistinctRow<PersRow>(seed);
  row.TIP = "1";
  row.TIMP = 100 + seed;
  row.TIMP_SPL = 20 + seed;
  row.TIMP_NOAPTE = 30 + seed;
  row.ZILE_CO = 1 + seed;
  row.ZILE_FP = 5 + seed;
  row.ZILE_CM = 9 + seed;
  row.ZILE_CIC = 13 + seed;
  row.Spor1 = 60 + seed;
  row.spor2 = 64 + seed;
  row.spor3 = 68 + seed;
  row.spor4 = 72 + seed;
  row.ProcImpo = 40 + seed;
  row.CoefInd = 1.25 + seed / 10.0;
  row.CoefInd1 = 2.25 + seed / 10.0;
  row.Ore_Zi = 4 + seed / 4.0;
  row.NORMA = 5 + seed;
  row.CATEGORIE = 10 + seed;
  row.MARCA = 500 + seed;
  row.IID = 300 + seed;
  row.Depart = "SECTIA" + std::to_string(seed);
  row.DATA_NAS = Date::FromYmd(1970 + seed, 3, 15);
  row.DATA_ANG = Date::FromYmd(2000, seed, 1);
  row.DATA_LICH = Date::FromYmd(2010, seed, 28);
  row.INVALIDITATE = PatternBit(1, seed);
  row.ALT_VENIT = PatternBit(2, seed);
  row.BifaSom = PatternBit(3, seed);
  row.PlatitOra = PatternBit(4, seed);
  row.Pensionar = PatternBit(5, seed);
  row.ACORD = PatternBit(1, seed) ? "D" : "";
  row.Domiciliu_ext = PatternBit(2, seed) ? "1" : "0";
  row.fisa_rectif = PatternBit(3, seed) ? "1" : "0";
  row.fisa_regul = PatternBit(4, seed) ? "1" : "0";
  return row;
}

// The fields of a Pers row that the pay calculation writes, whatever they
// held before.
inline const std::set<std::string>& CalculatedPersFields() {
  static const std::set<std::string> fields = {
      "VAL_TIMP_S", "SUMA_T_NOAPTE", "SUMA_ZILE_CO", "vals1",          "vals2",
      "vals3",      "vals4",         "BRUT",         "Brut1",          "PENSIE",
      "SOMAJ",      "SANATATE",      "DED_PERS",     "DED_PERS_SUPLI", "Ch_Prof",
      "VENIT_NET",  "TOTDREPT",      "IMPOZIT",      "RESTPL"};
  return fields;
}

}  // namespace traveno::testing
