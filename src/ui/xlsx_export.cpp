#include "ui/xlsx_export.h"

#include <xlsxwriter.h>

#include <QByteArray>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>

#include "core/errors.h"
#include "ui/data_grid.h"

namespace traveno::ui {
namespace {

bool IsNumber(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
      return true;
    default:
      return false;
  }
}

// A worksheet name may not hold []:*?/\ and is at most 31 characters.
QString SafeSheetName(const QString& name) {
  QString result;
  for (const QChar c : name) {
    if (QStringLiteral("[]:*?/\\").contains(c)) continue;
    result.append(c);
  }
  result = result.trimmed().left(31);
  return result.isEmpty() ? QStringLiteral("Date") : result;
}

// A column's heading: the grid's caption without its filter mark.
QString Heading(const QAbstractItemModel& model, int column) {
  const QVariant caption = model.headerData(column, Qt::Horizontal, kCaptionRole);
  if (caption.isValid()) return caption.toString();
  return model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

// The number a cell stands for: the value behind a formatted amount, else a
// value the model holds as a number; empty for every other cell.
std::optional<double> CellNumber(const QModelIndex& index) {
  const QVariant value = index.data(kValueRole);
  if (value.isValid() && IsNumber(value)) return value.toDouble();
  const QVariant edit = index.data(Qt::EditRole);
  if (edit.isValid() && IsNumber(edit)) return edit.toDouble();
  return std::nullopt;
}

}  // namespace

void ExportToXlsx(const QAbstractItemModel& model, const QString& path, const QString& sheet_name) {
  // Written beside the final file and renamed over it, so that a failure
  // never leaves half a spreadsheet under the final name.
  const QString partial = path + ".partial";
  const QByteArray file_name = partial.toLocal8Bit();
  lxw_workbook* workbook = workbook_new(file_name.constData());
  if (workbook == nullptr) {
    throw Error("Nu pot crea fisierul " + path.toStdString() + " !");
  }
  const QByteArray sheet = SafeSheetName(sheet_name).toUtf8();
  lxw_worksheet* worksheet = workbook_add_worksheet(workbook, sheet.constData());
  lxw_format* bold = workbook_add_format(workbook);
  format_set_bold(bold);

  const int columns = model.columnCount();
  const int rows = model.rowCount();
  for (int c = 0; c < columns; ++c) {
    const QByteArray title = Heading(model, c).toUtf8();
    worksheet_write_string(worksheet, 0, static_cast<lxw_col_t>(c), title.constData(), bold);
  }
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      const QModelIndex index = model.index(r, c);
      const auto row = static_cast<lxw_row_t>(r + 1);
      const auto col = static_cast<lxw_col_t>(c);
      if (const auto number = CellNumber(index)) {
        // Inf and NaN are no figures: the cell stays empty.
        if (std::isfinite(*number)) worksheet_write_number(worksheet, row, col, *number, nullptr);
        continue;
      }
      const QString shown = index.data(Qt::DisplayRole).toString();
      if (shown.isEmpty()) continue;
      const QByteArray text = shown.toUtf8();
      worksheet_write_string(worksheet, row, col, text.constData(), nullptr);
    }
  }
  const lxw_error status = workbook_close(workbook);
  std::error_code failed;
  if (status == LXW_NO_ERROR) {
    std::filesystem::rename(file_name.constData(), path.toLocal8Bit().constData(), failed);
  }
  if (status != LXW_NO_ERROR || failed) {
    std::error_code ignored;
    std::filesystem::remove(file_name.constData(), ignored);
    throw Error("Nu pot scrie fisierul " + path.toStdString() + " !\r\n" +
                (status != LXW_NO_ERROR ? std::string(lxw_strerror(status)) : failed.message()));
  }
}

QString ModelAsTabText(const QAbstractItemModel& model) {
  QString text;
  const int columns = model.columnCount();
  for (int c = 0; c < columns; ++c) {
    if (c > 0) text += '\t';
    text += Heading(model, c);
  }
  text += QStringLiteral("\r\n");
  for (int r = 0; r < model.rowCount(); ++r) {
    for (int c = 0; c < columns; ++c) {
      if (c > 0) text += '\t';
      // A formatted amount is pasted as its number, which spreadsheets sum.
      const QModelIndex index = model.index(r, c);
      const QVariant value = index.data(kValueRole);
      QString cell = value.isValid() && IsNumber(value) ? QString::number(value.toDouble(), 'g', 15)
                                                        : index.data(Qt::DisplayRole).toString();
      cell.replace('\t', ' ');
      cell.replace('\n', ' ');
      cell.remove('\r');
      text += cell;
    }
    text += QStringLiteral("\r\n");
  }
  return text;
}

}  // namespace traveno::ui
