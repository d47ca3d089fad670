// The program's data grid: a table view over any item model, with the keys
// every grid of the program offers:
//   F7         find a text in the current column, from the line below the
//              current one, wrapping round at the end;
//   F8         filter the lines by the current column (lines whose cell holds
//              the text, without regard to case); an empty text removes the
//              column's filter; the filters of several columns all apply;
//   Shift+F11  copy the shown lines, with the column titles, to the clipboard;
//   Shift+F12  export the shown lines to a spreadsheet (.xlsx) file;
//   Shift+F4   the information window: lines shown and in all, columns,
//              the current column and the filters in force.
// Questions and messages go through a Prompter, and the export file is asked
// through a chooser, so that both can be answered by a script.
#pragma once

#include <QMap>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <functional>
#include <memory>

#include "core/prompter.h"

namespace traveno::ui {

// Keeps the lines whose cells hold every column's filter text.
class ColumnFilterModel : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

  // An empty text removes the column's filter.
  void SetColumnFilter(int column, const QString& text);
  void ClearFilters();
  QString ColumnFilter(int column) const { return filters_.value(column); }
  const QMap<int, QString>& filters() const { return filters_; }

 protected:
  bool filterAcceptsRow(int source_row, const QModelIndex& source_parent) const override;

 private:
  QMap<int, QString> filters_;
};

class DataGrid : public QTableView {
  Q_OBJECT

 public:
  // Chooses the file of an export, given a suggested name; empty cancels.
  using ExportPathChooser = std::function<QString(const QString& suggested)>;

  explicit DataGrid(QWidget* parent = nullptr);
  ~DataGrid() override;

  // Shows a model through the grid's filter; the grid does not own it.
  void SetSourceModel(QAbstractItemModel* model);
  ColumnFilterModel* filter_model() const { return filter_model_; }

  // Questions and messages; by default message boxes over the grid.
  void set_prompter(Prompter* prompter) { prompter_ = prompter; }
  void set_export_path_chooser(ExportPathChooser chooser) { choose_export_path_ = std::move(chooser); }
  // The worksheet name and suggested file name of an export.
  void set_export_title(const QString& title) { export_title_ = title; }

  // F7: asks the text and moves to the next line that holds it; a warning
  // when none does.
  void Find();
  // Moves to the next line (after the current one, wrapping round) whose cell
  // of `column` holds `text`; false when none does.
  bool FindNext(int column, const QString& text);
  // F8 on the current column.
  void AskColumnFilter();
  // Shift+F11.
  void CopyToClipboard();
  // Shift+F12: asks the file, writes it and tells where. False when cancelled.
  bool ExportSpreadsheet();
  // Shift+F4.
  void ShowInformation();
  QString InformationText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Prompter& prompter();

  ColumnFilterModel* filter_model_;
  Prompter* prompter_ = nullptr;
  std::unique_ptr<Prompter> own_prompter_;
  ExportPathChooser choose_export_path_;
  QString export_title_ = QStringLiteral("Date");
  QString last_find_;
};

}  // namespace traveno::ui
