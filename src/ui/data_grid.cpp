#include "ui/data_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStandardItem>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "core/errors.h"
#include "ui/file_dialogs.h"
#include "ui/qt_prompter.h"
#include "ui/xlsx_export.h"

namespace traveno::ui {

namespace {

// The widest a column grows by its content: a long text is read in the
// information window or the export, not by widening the grid past reason.
constexpr int kMaxColumnChars = 48;

}  // namespace

QStandardItem* TextItem(const QString& text) {
  auto* item = new QStandardItem(text);
  item->setEditable(false);
  return item;
}

QStandardItem* NumberItem(double value, const QString& shown) {
  auto* item = new QStandardItem(shown);
  item->setData(value, kValueRole);
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  item->setEditable(false);
  return item;
}

void ColumnFilterModel::SetColumnFilter(int column, const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) {
    filters_.remove(column);
  } else {
    filters_.insert(column, trimmed);
  }
  invalidateFilter();
  emit headerDataChanged(Qt::Horizontal, column, column);
}

void ColumnFilterModel::ClearFilters() {
  const bool any = !filters_.isEmpty();
  filters_.clear();
  invalidateFilter();
  if (any && columnCount() > 0) emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void ColumnFilterModel::SetCaptions(const QStringList& captions) {
  captions_ = captions;
  if (columnCount() > 0) emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QString ColumnFilterModel::Caption(int column) const {
  if (column >= 0 && column < captions_.size()) return captions_[column];
  return QSortFilterProxyModel::headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

QVariant ColumnFilterModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) {
    return QSortFilterProxyModel::headerData(section, orientation, role);
  }
  const bool filtered = filters_.contains(section);
  switch (role) {
    case kCaptionRole:
      return Caption(section);
    case Qt::DisplayRole:
      // The filter mark: the filter's text beside the caption.
      return filtered ? Caption(section) + " [" + filters_.value(section) + "]" : Caption(section);
    case Qt::ToolTipRole:
      if (filtered) return "Filtru (F8): " + filters_.value(section);
      break;
    case Qt::FontRole:
      if (filtered) {
        QFont font = QSortFilterProxyModel::headerData(section, orientation, role).value<QFont>();
        font.setBold(true);
        font.setUnderline(true);
        return font;
      }
      break;
    default:
      break;
  }
  return QSortFilterProxyModel::headerData(section, orientation, role);
}

bool ColumnFilterModel::filterAcceptsRow(int source_row, const QModelIndex& source_parent) const {
  for (auto it = filters_.cbegin(); it != filters_.cend(); ++it) {
    const QModelIndex index = sourceModel()->index(source_row, it.key(), source_parent);
    if (!index.data(Qt::DisplayRole).toString().contains(it.value(), Qt::CaseInsensitive)) {
      return false;
    }
  }
  return true;
}

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent), filter_model_(new ColumnFilterModel(this)) {
  setModel(filter_model_);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setAlternatingRowColors(true);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setStretchLastSection(true);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  connect(filter_model_, &QAbstractItemModel::modelReset, this, &DataGrid::ScheduleFit);
  connect(filter_model_, &QAbstractItemModel::layoutChanged, this, &DataGrid::ScheduleFit);
  connect(filter_model_, &QAbstractItemModel::rowsInserted, this, &DataGrid::ScheduleFit);
  connect(filter_model_, &QAbstractItemModel::headerDataChanged, this, &DataGrid::ScheduleFit);
}

DataGrid::~DataGrid() = default;

void DataGrid::SetSourceModel(QAbstractItemModel* model) {
  filter_model_->ClearFilters();
  filter_model_->setSourceModel(model);
  if (model != nullptr && filter_model_->rowCount() > 0) {
    setCurrentIndex(filter_model_->index(0, 0));
  }
  FitColumns();
}

void DataGrid::SetColumns(std::span<const GridColumn> columns) {
  columns_.assign(columns.begin(), columns.end());
  QStringList captions;
  for (const GridColumn& column : columns_) captions << QString::fromUtf8(column.caption);
  filter_model_->SetCaptions(captions);
  FitColumns();
}

void DataGrid::ScheduleFit() {
  if (fit_scheduled_) return;
  fit_scheduled_ = true;
  QTimer::singleShot(0, this, [this] {
    fit_scheduled_ = false;
    FitColumns();
  });
}

void DataGrid::FitColumns() {
  const int columns = filter_model_->columnCount();
  if (columns == 0) return;
  const QFontMetrics metrics(font());
  const int char_width = metrics.averageCharWidth();
  const int padding = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 12;
  const int widest = char_width * kMaxColumnChars + padding;
  for (int c = 0; c < columns; ++c) {
    // The caption as the header draws it, with room for the sort arrow.
    const QString caption = filter_model_->headerData(c, Qt::Horizontal).toString();
    QFont header_font = horizontalHeader()->font();
    if (filter_model_->filters().contains(c)) header_font.setBold(true);
    const int caption_width = QFontMetrics(header_font).horizontalAdvance(caption) + padding + 8;
    int width = std::max(caption_width, sizeHintForColumn(c));
    if (c < static_cast<int>(columns_.size()) && columns_[c].width > 0) {
      // Upper-case text is wider than the average character.
      width = std::max(width, columns_[c].width * char_width * 6 / 5 + padding);
    }
    horizontalHeader()->resizeSection(c, std::min(width, widest));
  }
}

void DataGrid::keyboardSearch(const QString& search) {
  if (keyboard_search_) QTableView::keyboardSearch(search);
}

void DataGrid::showEvent(QShowEvent* event) {
  QTableView::showEvent(event);
  FitColumns();
}

Prompter& DataGrid::prompter() {
  if (prompter_ != nullptr) return *prompter_;
  if (!own_prompter_) own_prompter_ = std::make_unique<QtPrompter>(this);
  return *own_prompter_;
}

void DataGrid::Find() {
  const int column = currentIndex().isValid() ? currentIndex().column() : 0;
  const QString title = filter_model_->Caption(column);
  const auto text = prompter().AskText(
      "Cautare", "Cauta in coloana \"" + title.toStdString() + "\":", last_find_.toStdString());
  if (!text || text->empty()) return;
  last_find_ = QString::fromStdString(*text);
  if (!FindNext(column, last_find_)) {
    prompter().Message(MessageKind::kWarning, "Nu am gasit \"" + last_find_.toStdString() + "\" !");
  }
}

bool DataGrid::FindNext(int column, const QString& text) {
  const int rows = filter_model_->rowCount();
  if (rows == 0 || column < 0 || column >= filter_model_->columnCount()) return false;
  const int start = currentIndex().isValid() ? currentIndex().row() : -1;
  for (int step = 1; step <= rows; ++step) {
    const int row = (start + step) % rows;
    const QModelIndex index = filter_model_->index(row, column);
    if (index.data(Qt::DisplayRole).toString().contains(text, Qt::CaseInsensitive)) {
      setCurrentIndex(index);
      scrollTo(index);
      return true;
    }
  }
  return false;
}

void DataGrid::AskColumnFilter() {
  const int column = currentIndex().isValid() ? currentIndex().column() : 0;
  if (column >= filter_model_->columnCount()) return;
  const QString title = filter_model_->Caption(column);
  const auto text =
      prompter().AskText("Filtrare", "Filtru pe coloana \"" + title.toStdString() + "\":",
                         filter_model_->ColumnFilter(column).toStdString());
  if (!text) return;
  filter_model_->SetColumnFilter(column, QString::fromStdString(*text));
  if (filter_model_->rowCount() > 0) setCurrentIndex(filter_model_->index(0, column));
}

void DataGrid::CopyToClipboard() {
  QApplication::clipboard()->setText(ModelAsTabText(*filter_model_));
}

bool DataGrid::ExportSpreadsheet() {
  const QString suggested = QDir::home().filePath(export_title_ + ".xlsx");
  QString path;
  if (choose_export_path_) {
    path = choose_export_path_(suggested);
  } else {
    path = AskSaveFileName(this, "Export in fisier Excel", suggested, "Fisiere Excel (*.xlsx)");
  }
  if (path.isEmpty()) return false;
  if (!path.endsWith(".xlsx", Qt::CaseInsensitive)) path += ".xlsx";
  try {
    ExportToXlsx(*filter_model_, path, export_title_);
  } catch (const Error& error) {
    prompter().Message(MessageKind::kError, error.what());
    return false;
  }
  prompter().Message(MessageKind::kInformation,
                     "Datele au fost exportate in fisierul\r\n" + path.toStdString());
  return true;
}

QString DataGrid::InformationText() const {
  const QAbstractItemModel* source = filter_model_->sourceModel();
  QString text = QStringLiteral("Linii afisate: %1\nLinii in total: %2\nColoane: %3")
                     .arg(filter_model_->rowCount())
                     .arg(source ? source->rowCount() : 0)
                     .arg(filter_model_->columnCount());
  if (currentIndex().isValid()) {
    text += QStringLiteral("\nColoana curenta: %1\nLinia curenta: %2")
                .arg(filter_model_->Caption(currentIndex().column()))
                .arg(currentIndex().row() + 1);
  }
  const auto& filters = filter_model_->filters();
  for (auto it = filters.cbegin(); it != filters.cend(); ++it) {
    text += QStringLiteral("\nFiltru %1: %2").arg(filter_model_->Caption(it.key()), it.value());
  }
  return text;
}

void DataGrid::ShowInformation() {
  prompter().Message(MessageKind::kInformation, InformationText().toStdString());
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods =
      event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (mods == Qt::NoModifier && event->key() == Qt::Key_F7) {
    Find();
  } else if (mods == Qt::NoModifier && event->key() == Qt::Key_F8) {
    AskColumnFilter();
  } else if (mods == Qt::ShiftModifier && event->key() == Qt::Key_F11) {
    CopyToClipboard();
  } else if (mods == Qt::ShiftModifier && event->key() == Qt::Key_F12) {
    ExportSpreadsheet();
  } else if (mods == Qt::ShiftModifier && event->key() == Qt::Key_F4) {
    ShowInformation();
  } else {
    QTableView::keyPressEvent(event);
    return;
  }
  event->accept();
}

}  // namespace traveno::ui
