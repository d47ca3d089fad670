// Writes Paradox tables as the earlier versions left them, for the tests and
// the benchmark of the import: the table through pxlib, the pictures of a
// graphic field into the table's ".mb" file, texts in the declared code page.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "core/date.h"
#include "core/store/records.h"

namespace traveno::testing {

struct PxField {
  std::string name;
  int type;  // a legacy::ParadoxType
  int length;
};

// Blank, a whole number, a number, a text (UTF-8), a date or a picture.
using PxValue = std::variant<std::monostate, std::int64_t, double, std::string, Date, Blob>;
using PxRecord = std::vector<PxValue>;

// Writes the table; pictures larger than 100 bytes get a block of their own
// in the blob file, smaller ones share one. Throws std::runtime_error.
void WriteParadoxTable(const std::filesystem::path& file, const std::vector<PxField>& fields,
                       const std::vector<PxRecord>& records, int code_page = 1250);

// The fields of a stored table of the program as Paradox fields.
std::vector<PxField> ParadoxFieldsOf(std::span<const FieldDef> fields);

// The employee table of the layout that the upgrade `step` (1 for 5.2.0 ...
// 10 for 5.4.1.2, 11 for none) was the first to change: the fields of that
// step and the later ones are absent; before step 1 the table also has the
// old "Regularizare".
std::vector<PxField> PersFieldsBefore(int step);

}  // namespace traveno::testing
