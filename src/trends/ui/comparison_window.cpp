#include "trends/ui/comparison_window.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "core/errors.h"
#include "reports/report_common.h"
#include "ui/data_grid.h"
#include "ui/window_base.h"

namespace traveno::trends_ui {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

const ui::GridColumn kColumns[] = {
    {"Situatie", "Situatie", 0},
    {"MARCA", "Marca", 6},
    {"NUME", "Nume", 14},
    {"PRENUME", "Prenume", 12},
    {"TIP", "Tip", 3},
    {"Depart", "Departament", 8},
    {"BrutAnterior", "Brut anterior", 0},
    {"BRUT", "Brut", 0},
    {"RestAnterior", "Rest plata anterior", 0},
    {"RESTPL", "Rest plata", 0},
    {"ImpozitAnterior", "Impozit anterior", 0},
    {"IMPOZIT", "Impozit", 0},
    {"Modificari", "Date modificate", 40},
};

const ui::GridColumn kInputColumns[] = {
    {"Coloana", "Coloana", 24},
    {"Anterior", "Luna anterioara", 16},
    {"Curent", "Luna de lucru", 16},
};

QStandardItem* Amount(long double value, bool present, bool bold) {
  QStandardItem* item = present
                            ? ui::NumberItem(static_cast<double>(value), Q(reports::Amount(value)))
                            : ui::TextItem(QString());
  if (bold) {
    QFont font = item->font();
    font.setBold(true);
    item->setFont(font);
  }
  return item;
}

}  // namespace

ComparisonWindow::ComparisonWindow(params::Session& session, Prompter& prompter,
                                   LineOpener open_line, QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompter_(prompter),
      open_line_(std::move(open_line)),
      heading_(new QLabel(this)),
      threshold_(new QDoubleSpinBox(this)),
      grid_(new ui::DataGrid(this)),
      model_(new QStandardItemModel(this)),
      inputs_grid_(new ui::DataGrid(this)),
      inputs_model_(new QStandardItemModel(this)) {
  setObjectName("FComparatie");
  setWindowTitle("Comparatie cu luna anterioara");
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);

  heading_->setObjectName("LAntet");
  QFont heading_font = heading_->font();
  heading_font.setBold(true);
  heading_->setFont(heading_font);
  threshold_->setObjectName("EPrag");
  QLocale comma(QLocale::Romanian, QLocale::Romania);
  comma.setNumberOptions(QLocale::OmitGroupSeparator);
  threshold_->setLocale(comma);
  threshold_->setRange(0, trends::kMaxThreshold);
  threshold_->setDecimals(2);
  threshold_->setSuffix(" %");
  threshold_->setValue(trends::kDefaultThreshold);
  threshold_->setKeyboardTracking(false);
  auto* threshold_label = new QLabel("&Prag de modificare:", this);
  threshold_label->setBuddy(threshold_);

  grid_->setObjectName("DBComparatie");
  grid_->set_prompter(&prompter_);
  grid_->set_export_title("Comparatie cu luna anterioara");
  grid_->SetColumns(kColumns);
  grid_->SetSourceModel(model_);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  inputs_grid_->setObjectName("DBModificari");
  inputs_grid_->set_prompter(&prompter_);
  inputs_grid_->set_export_title("Date modificate");
  inputs_grid_->SetColumns(kInputColumns);
  inputs_grid_->SetSourceModel(inputs_model_);
  inputs_grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  inputs_grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  inputs_grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  inputs_grid_->setMaximumHeight(220);

  // Enter (either key) and a double click open the line in the pay grid.
  auto* open = new QAction("Deschide linia in statul de salarii", this);
  open->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
  open->setShortcutContext(Qt::WidgetShortcut);
  connect(open, &QAction::triggered, this, &ComparisonWindow::OpenCurrentLine);
  grid_->addAction(open);
  connect(grid_, &QAbstractItemView::doubleClicked, this, &ComparisonWindow::OpenCurrentLine);
  connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &ComparisonWindow::ShowInputs);
  connect(threshold_, &QDoubleSpinBox::valueChanged, this, [this] { Reload(); });

  auto* top = new QHBoxLayout;
  top->addWidget(heading_, 1);
  top->addWidget(threshold_label);
  top->addWidget(threshold_);
  auto* exit = new QPushButton("&Iesire", this);
  exit->setObjectName("BIesire");
  exit->setAutoDefault(false);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  auto* bottom = new QHBoxLayout;
  auto* inputs_label = new QLabel("Datele modificate ale liniei curente:", this);
  bottom->addWidget(inputs_label);
  bottom->addStretch();
  bottom->addWidget(exit);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(top);
  layout->addWidget(grid_, 1);
  layout->addLayout(bottom);
  layout->addWidget(inputs_grid_);

  Reload();
  resize(1200, 760);
  ui::OpenMaximised(this);
  grid_->setFocus();
}

ComparisonWindow::~ComparisonWindow() = default;

const trends::ComparedLine* ComparisonWindow::CurrentLine() const {
  const QModelIndex index = grid_->currentIndex();
  if (!index.isValid()) return nullptr;
  const int row = grid_->filter_model()->mapToSource(index).row();
  if (row < 0 || row >= static_cast<int>(comparison_.lines.size())) return nullptr;
  return &comparison_.lines[static_cast<std::size_t>(row)];
}

void ComparisonWindow::Reload() {
  // The line shown stays current when it is still listed.
  std::optional<std::pair<std::int64_t, std::int64_t>> kept;
  if (const trends::ComparedLine* line = CurrentLine()) kept.emplace(line->nr, line->previous_nr);
  comparison_ = trends::CompareWithPreviousMonth(session_, threshold_->value());
  heading_->setText(Q(" " + reports::MonthSlashYear(comparison_.month) + " comparata cu " +
                      reports::MonthSlashYear(comparison_.previous) +
                      "      Angajati noi: " + std::to_string(comparison_.joined) +
                      "   Plecati: " + std::to_string(comparison_.left) +
                      "   Modificati: " + std::to_string(comparison_.changed)));
  model_->removeRows(0, model_->rowCount());
  int current = 0;
  for (std::size_t i = 0; i < comparison_.lines.size(); ++i) {
    const trends::ComparedLine& line = comparison_.lines[i];
    const bool before = line.kind != trends::ComparisonKind::kJoined;
    const bool after = line.kind != trends::ComparisonKind::kLeft;
    QString changes;
    for (const trends::InputChange& input : line.inputs) {
      if (!changes.isEmpty()) changes += "; ";
      changes += Q(input.caption);
    }
    model_->appendRow(
        {ui::TextItem(trends::KindCaption(line.kind)),
         ui::NumberItem(line.marca, QString::number(line.marca)), ui::TextItem(Q(line.nume)),
         ui::TextItem(Q(line.prenume)), ui::TextItem(Q(line.tip)), ui::TextItem(Q(line.depart)),
         Amount(line.before[0], before, false), Amount(line.after[0], after, line.over[0]),
         Amount(line.before[1], before, false), Amount(line.after[1], after, line.over[1]),
         Amount(line.before[2], before, false), Amount(line.after[2], after, line.over[2]),
         ui::TextItem(changes)});
    if (kept && line.nr == kept->first && line.previous_nr == kept->second) {
      current = static_cast<int>(i);
    }
  }
  grid_->FitColumns();
  if (grid_->model()->rowCount() > 0) {
    grid_->setCurrentIndex(grid_->filter_model()->mapFromSource(model_->index(current, 0)));
  }
  ShowInputs();
}

void ComparisonWindow::ShowInputs() {
  inputs_model_->removeRows(0, inputs_model_->rowCount());
  if (const trends::ComparedLine* line = CurrentLine()) {
    for (const trends::InputChange& input : line->inputs) {
      inputs_model_->appendRow({ui::TextItem(Q(input.caption)), ui::TextItem(Q(input.before)),
                                ui::TextItem(Q(input.after))});
    }
  }
  inputs_grid_->FitColumns();
}

void ComparisonWindow::OpenCurrentLine() {
  const trends::ComparedLine* line = CurrentLine();
  if (line == nullptr || !open_line_) return;
  if (line->nr == 0) {
    prompter_.Message(MessageKind::kWarning, kLineNotInMonth);
    return;
  }
  const trends::ComparedLine chosen = *line;
  if (open_line_(chosen)) {
    accept();
    return;
  }
  // The grid may have changed the line: compare again.
  Reload();
  grid_->setFocus();
}

}  // namespace traveno::trends_ui
