// A stored field's value as a grid cell shows it: texts as they are, whole
// numbers plainly, amounts in their shortest form, dates as dd.mm.yyyy.
#pragma once

#include <QString>
#include <variant>

#include "core/numbers.h"
#include "core/store/records.h"

namespace traveno::ui {

inline QString FieldText(const FieldValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return QString::fromStdString(*text);
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return QString::number(*whole);
  if (const auto* real = std::get_if<double>(&value)) {
    return QString::fromStdString(FloatToText(*real));
  }
  if (const auto* date = std::get_if<Date>(&value)) return QString::fromStdString(date->ToText());
  return {};  // pictures have no text
}

}  // namespace traveno::ui
