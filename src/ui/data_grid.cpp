#include "ui/data_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>

#include "core/errors.h"
#include "ui/qt_prompter.h"
#include "ui/xlsx_export.h"

namespace traveno::ui {

void ColumnFilterModel::SetColumnFilter(int column, const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) {
    filters_.remove(column);
  } else {
    filters_.insert(column, trimmed);
  }
  invalidateFilter();
}

void ColumnFilterModel::ClearFilters() {
  filters_.clear();
  invalidateFilter();
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

DataGrid::DataGrid(QWidget* parent) : QTableView(parent), filter_model_(new ColumnFilterModel(this)) {
  setModel(filter_model_);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setAlternatingRowColors(true);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

DataGrid::~DataGrid() = default;

void DataGrid::SetSourceModel(QAbstractItemModel* model) {
  filter_model_->ClearFilters();
  filter_model_->setSourceModel(model);
  if (model != nullptr && filter_model_->rowCount() > 0) {
    setCurrentIndex(filter_model_->index(0, 0));
  }
}

Prompter& DataGrid::prompter() {
  if (prompter_ != nullptr) return *prompter_;
  if (!own_prompter_) own_prompter_ = std::make_unique<QtPrompter>(this);
  return *own_prompter_;
}

void DataGrid::Find() {
  const int column = currentIndex().isValid() ? currentIndex().column() : 0;
  const QString title = filter_model_->headerData(column, Qt::Horizontal).toString();
  const auto text = prompter().AskText("Cautare", "Cauta in coloana \"" + title.toStdString() + "\":",
                                       last_find_.toStdString());
  if (!text || text->empty()) return;
  last_find_ = QString::fromStdString(*text);
  if (!FindNext(column, last_find_)) {
    prompter().Message(MessageKind::kWarning,
                       "Nu am gasit \"" + last_find_.toStdString() + "\" !");
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
  const QString title = filter_model_->headerData(column, Qt::Horizontal).toString();
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
    path = QFileDialog::getSaveFileName(this, "Export in fisier Excel", suggested,
                                        "Fisiere Excel (*.xlsx)");
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
                .arg(filter_model_->headerData(currentIndex().column(), Qt::Horizontal).toString())
                .arg(currentIndex().row() + 1);
  }
  const auto& filters = filter_model_->filters();
  for (auto it = filters.cbegin(); it != filters.cend(); ++it) {
    text += QStringLiteral("\nFiltru %1: %2")
                .arg(filter_model_->headerData(it.key(), Qt::Horizontal).toString(), it.value());
  }
  return text;
}

void DataGrid::ShowInformation() {
  prompter().Message(MessageKind::kInformation, InformationText().toStdString());
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
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
