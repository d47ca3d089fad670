#include "ui/xlsx_export.h"

#include <xlsxwriter.h>

#include <QByteArray>
#include <string>

#include "core/errors.h"

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

}  // namespace

void ExportToXlsx(const QAbstractItemModel& model, const QString& path,
                  const QString& sheet_name) {
  const QByteArray file_name = path.toLocal8Bit();
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
    const QByteArray title = model.headerData(c, Qt::Horizontal).toString().toUtf8();
    worksheet_write_string(worksheet, 0, static_cast<lxw_col_t>(c), title.constData(), bold);
  }
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      const QVariant value = model.index(r, c).data(Qt::EditRole);
      const auto row = static_cast<lxw_row_t>(r + 1);
      const auto col = static_cast<lxw_col_t>(c);
      if (!value.isValid() || value.isNull()) continue;
      if (IsNumber(value)) {
        worksheet_write_number(worksheet, row, col, value.toDouble(), nullptr);
      } else {
        const QByteArray text = model.index(r, c).data(Qt::DisplayRole).toString().toUtf8();
        worksheet_write_string(worksheet, row, col, text.constData(), nullptr);
      }
    }
  }
  const lxw_error status = workbook_close(workbook);
  if (status != LXW_NO_ERROR) {
    throw Error("Nu pot scrie fisierul " + path.toStdString() + " !\r\n" +
                lxw_strerror(status));
  }
}

QString ModelAsTabText(const QAbstractItemModel& model) {
  QString text;
  const int columns = model.columnCount();
  for (int c = 0; c < columns; ++c) {
    if (c > 0) text += '\t';
    text += model.headerData(c, Qt::Horizontal).toString();
  }
  text += QStringLiteral("\r\n");
  for (int r = 0; r < model.rowCount(); ++r) {
    for (int c = 0; c < columns; ++c) {
      if (c > 0) text += '\t';
      QString cell = model.index(r, c).data(Qt::DisplayRole).toString();
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
