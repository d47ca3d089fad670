// The spreadsheet export of a grid: one worksheet with the column titles in
// bold on the first row and one row per grid line below. Numbers stay numbers
// (the spreadsheet can sum them); every other value is written as its text.
#pragma once

#include <QAbstractItemModel>
#include <QString>

namespace traveno::ui {

// Writes the rows and columns of `model` (as they are shown: a filtered model
// exports only what passes the filter) to an .xlsx file at `path`, replacing
// it. Throws Error with the text the user reads when the file cannot be
// written.
void ExportToXlsx(const QAbstractItemModel& model, const QString& path,
                  const QString& sheet_name);

// The grid as text for the clipboard: the column titles, then one line per
// row, cells separated by tabs and lines ended by CR LF, as spreadsheets
// paste them.
QString ModelAsTabText(const QAbstractItemModel& model);

}  // namespace traveno::ui
