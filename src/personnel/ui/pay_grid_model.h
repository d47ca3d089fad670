// The model of one page of the pay grid: the month's lines of one kind, held
// once, shown through the columns of the grid view service. A cell takes
// typing only when its column is in the editable set and the month is open;
// a typed value is handed to the poster, which posts the line through the
// single-line service and gives back the line as stored. Nothing here
// computes: texts, parsing and shades are the service's.
#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <functional>
#include <optional>
#include <vector>

#include "core/store/records.h"
#include "personnel/grid_view.h"

namespace traveno::personnel_ui {

class PayGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Posts `value` typed into `column` of `line`; returns the line as stored
  // after, or nothing when the posting was refused (the poster told the
  // user why; the line stays as it was).
  using Poster = std::function<std::optional<PersRow>(
      const PersRow& line, const personnel::GridColumn& column, const FieldValue& value)>;
  // Tells the user that `text` is not a value of `column`.
  using Refusal = std::function<void(const personnel::GridColumn& column, const QString& text)>;

  // The longest text a cell's editor takes.
  static constexpr int kMaxLengthRole = Qt::UserRole + 1;

  explicit PayGridModel(QObject* parent = nullptr);

  void set_poster(Poster poster) { poster_ = std::move(poster); }
  void set_refusal(Refusal refusal) { refusal_ = std::move(refusal); }

  // Shows `lines` through `columns`; `editable` is false for a closed month.
  void Reset(std::vector<personnel::GridColumn> columns, std::vector<PersRow> lines, bool editable);
  void SetEditable(bool editable) { editable_ = editable; }
  bool editable() const { return editable_; }

  const std::vector<PersRow>& lines() const { return lines_; }
  const std::vector<personnel::GridColumn>& columns() const { return columns_; }
  // The line shown at `row`; null outside the lines.
  const PersRow* LineAt(int row) const;
  // The row of the line with `nr`; -1 when not shown.
  int RowOfNr(std::int64_t nr) const;
  // The column of a field (compared without regard to case); -1 when none.
  int ColumnOf(std::string_view field) const;
  // Puts the stored line back at `row` (its every cell may have changed).
  void ReplaceLine(int row, PersRow line);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // The typed text (EditRole) of a cell: refused when it is not a value of
  // the column, nothing posted when it equals the stored value.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

 private:
  std::vector<personnel::GridColumn> columns_;
  std::vector<PersRow> lines_;
  bool editable_ = false;
  Poster poster_;
  Refusal refusal_;
};

// The editor of a pay grid cell: the field's width, drawn on aqua while
// the line is being edited.
class PayGridDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // The next editor opened on `index` shows `text`, selected, in place of the
  // cell's value (a refused value, to be put right).
  void ShowTextOnNextEdit(const QModelIndex& index, const QString& text);

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;

 private:
  QPersistentModelIndex pending_index_;
  QString pending_text_;
};

}  // namespace traveno::personnel_ui
