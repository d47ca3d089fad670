#include "personnel/ui/pay_grid_model.h"

#include <QApplication>
#include <QColor>
#include <QLineEdit>
#include <QPalette>

#include "core/text.h"

namespace traveno::personnel_ui {
namespace {

QColor ShadeColour(personnel::CellShade shade) {
  const QPalette palette = QApplication::palette();
  switch (shade) {
    case personnel::CellShade::kEditable:
      return palette.color(QPalette::Base);
    case personnel::CellShade::kReadOnly:
      return palette.color(QPalette::Midlight);
    case personnel::CellShade::kInformation:
      return palette.color(QPalette::ToolTipBase);
    case personnel::CellShade::kHourlyPaid:
      return QColor(255, 213, 213);
    case personnel::CellShade::kShortNorm:
      return QColor(82, 220, 206);
    case personnel::CellShade::kWrongNorm:
      return QColor(Qt::red);
  }
  return {};
}

bool IsNumeric(personnel::GridFormat format) { return format != personnel::GridFormat::kText; }

}  // namespace

PayGridModel::PayGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void PayGridModel::Reset(std::vector<personnel::GridColumn> columns, std::vector<PersRow> lines,
                         bool editable) {
  beginResetModel();
  columns_ = std::move(columns);
  lines_ = std::move(lines);
  editable_ = editable;
  endResetModel();
}

const PersRow* PayGridModel::LineAt(int row) const {
  if (row < 0 || row >= static_cast<int>(lines_.size())) return nullptr;
  return &lines_[static_cast<std::size_t>(row)];
}

int PayGridModel::RowOfNr(std::int64_t nr) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].Nr == nr) return static_cast<int>(i);
  }
  return -1;
}

int PayGridModel::ColumnOf(std::string_view field) const {
  const std::string wanted = UpperTrim(field);
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (UpperTrim(columns_[i].field) == wanted) return static_cast<int>(i);
  }
  return -1;
}

void PayGridModel::ReplaceLine(int row, PersRow line) {
  if (LineAt(row) == nullptr) return;
  lines_[static_cast<std::size_t>(row)] = std::move(line);
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int PayGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

int PayGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant PayGridModel::data(const QModelIndex& index, int role) const {
  const PersRow* line = LineAt(index.row());
  if (line == nullptr || index.column() < 0 || index.column() >= columnCount()) return {};
  const personnel::GridColumn& column = columns_[static_cast<std::size_t>(index.column())];
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(personnel::GridCellText(*line, column));
    case Qt::EditRole:
      return QString::fromStdString(personnel::GridEditText(*line, column));
    case Qt::BackgroundRole:
      return ShadeColour(personnel::GridCellShade(*line, column));
    case kMaxLengthRole: {
      const auto field = FindField<PersRow>(column.field);
      const int width = field ? FieldsOf<PersRow>()[*field].width : 0;
      return column.format == personnel::GridFormat::kText && width > 0 ? width : 32;
    }
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignVCenter |
                                 (IsNumeric(column.format) ? Qt::AlignRight : Qt::AlignLeft));
    default:
      return {};
  }
}

QVariant PayGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (section < 0 || section >= columnCount()) return {};
  return QString::fromStdString(columns_[static_cast<std::size_t>(section)].caption);
}

Qt::ItemFlags PayGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (editable_ && columns_[static_cast<std::size_t>(index.column())].editable) {
    result |= Qt::ItemIsEditable;
  }
  return result;
}

bool PayGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || !poster_) return false;
  const int row = index.row();
  const personnel::GridColumn& column = columns_[static_cast<std::size_t>(index.column())];
  const QString text = value.toString();
  const std::optional<FieldValue> typed = personnel::ParseGridInput(column, text.toStdString());
  if (!typed) {
    if (refusal_) refusal_(column, text);
    return false;
  }
  const PersRow line = lines_[static_cast<std::size_t>(row)];
  const auto field = FindField<PersRow>(column.field);
  if (field && GetField(line, *field) == *typed) return true;  // nothing changed
  std::optional<PersRow> posted = poster_(line, column, *typed);
  if (!posted) return false;
  // The poster may have shown a message meanwhile; the line is still ours.
  const int now = RowOfNr(line.Nr);
  if (now >= 0) ReplaceLine(now, std::move(*posted));
  return true;
}

QWidget* PayGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    QPalette palette = line->palette();
    palette.setColor(QPalette::Base, QColor(Qt::cyan));
    line->setPalette(palette);
    line->setAutoFillBackground(true);
    line->setMaxLength(index.data(PayGridModel::kMaxLengthRole).toInt());
  }
  return editor;
}

void PayGridDelegate::ShowTextOnNextEdit(const QModelIndex& index, const QString& text) {
  pending_index_ = index;
  pending_text_ = text;
}

void PayGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  auto* line = qobject_cast<QLineEdit*>(editor);
  if (line == nullptr || !pending_index_.isValid() || index != pending_index_) {
    QStyledItemDelegate::setEditorData(editor, index);
    return;
  }
  line->setText(pending_text_);
  line->selectAll();
  // Shown once: the next editing starts from the cell's value again.
  auto* self = const_cast<PayGridDelegate*>(this);
  self->pending_index_ = QPersistentModelIndex();
  self->pending_text_.clear();
}

}  // namespace traveno::personnel_ui
