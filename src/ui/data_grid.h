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
//
// What every grid gets by itself: captions from the grid's column table
// (SetColumns) rather than the stored field names, columns as wide as their
// caption, their content and the field's width, a filter mark in the caption
// of every filtered column ("Nume [POP]", in bold), and exports in which
// numbers stay numbers (the spreadsheet can sum them) under the captions.
//
// How a window fills a grid:
//   constexpr GridColumn kColumns[] = {
//       {"P_Venit", "Venit lunar impozabil", 14}, {"V_Proc", "+procent", 6}};
//   grid->SetColumns(kColumns);
//   model.appendRow({TextItem(name), NumberItem(amount, AmountText(amount))});
//   grid->SetSourceModel(&model);   // or FitColumns() after refilling it
// A cell that shows a formatted amount ("2 100 000") is made by NumberItem so
// that the export writes the number, not the text.
#pragma once

#include <QMap>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "core/prompter.h"

class QStandardItem;

namespace traveno::ui {

// One column of a grid: the stored field it shows, the caption it is shown
// under and the field's width in characters (0: as wide as the content).
struct GridColumn {
  const char* field;
  const char* caption;
  int width = 0;
};

// The number behind a cell whose text is formatted; exports write it.
inline constexpr int kValueRole = Qt::UserRole + 100;
// A column's caption without the filter mark (header data).
inline constexpr int kCaptionRole = Qt::UserRole + 101;

// A cell showing a text.
QStandardItem* TextItem(const QString& text);
// A right-aligned cell showing `shown` for the number `value`.
QStandardItem* NumberItem(double value, const QString& shown);

// Keeps the lines whose cells hold every column's filter text, and shows the
// grid's captions with the mark of the filtered columns.
class ColumnFilterModel : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

  // An empty text removes the column's filter.
  void SetColumnFilter(int column, const QString& text);
  void ClearFilters();
  QString ColumnFilter(int column) const { return filters_.value(column); }
  const QMap<int, QString>& filters() const { return filters_; }

  // The captions of the columns, in order; a column past the list keeps the
  // source model's header.
  void SetCaptions(const QStringList& captions);
  // The caption of a column, without the filter mark.
  QString Caption(int column) const;

  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 protected:
  bool filterAcceptsRow(int source_row, const QModelIndex& source_parent) const override;

 private:
  QMap<int, QString> filters_;
  QStringList captions_;
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
  // The grid's column table: captions and field widths.
  void SetColumns(std::span<const GridColumn> columns);
  const std::vector<GridColumn>& columns() const { return columns_; }
  // Sizes every column to its caption, its content and its field's width.
  // Runs by itself when the rows change; a window may call it after a refill.
  void FitColumns();
  ColumnFilterModel* filter_model() const { return filter_model_; }

  // Questions and messages; by default message boxes over the grid.
  void set_prompter(Prompter* prompter) { prompter_ = prompter; }
  void set_export_path_chooser(ExportPathChooser chooser) {
    choose_export_path_ = std::move(chooser);
  }
  // The worksheet name and suggested file name of an export.
  void set_export_title(const QString& title) { export_title_ = title; }
  // Whether letters typed on a cell that takes no typing move to the next
  // line whose cell starts with them (the default of a list). A grid whose
  // cells are typed into turns it off: a figure typed into a read-only cell
  // would otherwise move the current line, and the next Enter open the
  // wrong person.
  void set_keyboard_search(bool on) { keyboard_search_ = on; }

  void keyboardSearch(const QString& search) override;

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
  void showEvent(QShowEvent* event) override;

 private:
  Prompter& prompter();
  void ScheduleFit();

  ColumnFilterModel* filter_model_;
  Prompter* prompter_ = nullptr;
  std::unique_ptr<Prompter> own_prompter_;
  ExportPathChooser choose_export_path_;
  QString export_title_ = QStringLiteral("Date");
  QString last_find_;
  std::vector<GridColumn> columns_;
  bool fit_scheduled_ = false;
  bool keyboard_search_ = true;
};

}  // namespace traveno::ui
