// Whether a grid shows its columns under words the user reads or under the
// names of the stored fields behind them ("CodNumPers", "Data_Ang", "IID").
#pragma once

#include <QAbstractItemModel>
#include <QRegularExpression>
#include <QTableView>
#include <string>
#include <vector>

namespace traveno::testing {

// A stored field's name rather than a caption: a "_" in it, a capital inside
// a word ("CodNumPers", "NumeA") or a run of capitals with no blank ("IID",
// "CAT", "CODNUMPERS"; "CNP" is the code's own abbreviation).
inline bool IsFieldName(const QString& caption) {
  static const QRegularExpression kInnerCapital("[a-z][A-Z]|[A-Z]{2}[a-z]");
  static const QRegularExpression kCapitals("^[A-Z0-9]{3,}$");
  const QString text = caption.trimmed();
  if (text.contains('_') || kInnerCapital.match(text).hasMatch()) return true;
  return kCapitals.match(text).hasMatch() && text != "CNP";
}

// The captions of the grid's shown columns that are field names.
inline std::vector<std::string> FieldNameCaptions(const QTableView& grid) {
  std::vector<std::string> found;
  const QAbstractItemModel* model = grid.model();
  for (int c = 0; c < model->columnCount(); ++c) {
    if (grid.isColumnHidden(c)) continue;
    const QString caption = model->headerData(c, Qt::Horizontal).toString();
    if (IsFieldName(caption)) found.push_back(caption.toStdString());
  }
  return found;
}

}  // namespace traveno::testing
