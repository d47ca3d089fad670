#include "reports/ui/holiday_advance_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "core/numbers.h"
#include "reports/report_common.h"
#include "ui/data_grid.h"
#include "ui/record_navigator.h"
#include "ui/window_base.h"

namespace traveno::reports_ui {
namespace {

const char* const kColumns[] = {"Tiparire", "Departament", "Categorie",      "Marca",   "Nume",
                                "Prenume",  "Functie",     "Sal. incadrare", "Avans CO"};
constexpr int kMarkColumn = 0;

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

HolidayAdvanceWindow::HolidayAdvanceWindow(params::Session& session,
                                           std::vector<reports::HolidayAdvanceLine> lines,
                                           ReportViewer viewer, std::optional<int> current_iid,
                                           QWidget* parent)
    : QDialog(parent), session_(session), lines_(std::move(lines)), viewer_(std::move(viewer)) {
  setObjectName("FAvansCo");
  setWindowTitle("Avans Concediu");
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  resize(900, 600);
  auto* layout = new QVBoxLayout(this);

  heading_ = new QLabel(this);
  heading_->setObjectName("LFirma");
  heading_->setText(Text(" FIRMA : " + reports::EmployerName(session) + "\n " +
                         MonthText(session.working_month())));
  QFont bold = heading_->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.15);
  heading_->setFont(bold);
  layout->addWidget(heading_);

  auto* middle = new QHBoxLayout;
  model_.setColumnCount(static_cast<int>(std::size(kColumns)));
  for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c) {
    model_.setHeaderData(c, Qt::Horizontal, QString::fromLatin1(kColumns[c]));
  }
  for (const reports::HolidayAdvanceLine& line : lines_) {
    QList<QStandardItem*> items = {
        new QStandardItem(),
        new QStandardItem(Text(line.Depart)),
        new QStandardItem(QString::number(line.Categorie)),
        new QStandardItem(QString::number(line.Marca)),
        new QStandardItem(Text(line.Nume)),
        new QStandardItem(Text(line.Prenume)),
        new QStandardItem(Text(line.Functie)),
        new QStandardItem(Text(FormatNumber(line.SalInc, NumberMask::kInteger))),
        new QStandardItem(Text(FormatNumber(line.Avans_Co, NumberMask::kInteger)))};
    for (int c : {2, 3, 7, 8}) items[c]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QStandardItem* item : items) item->setEditable(false);
    model_.appendRow(items);
  }
  grid_ = new ui::DataGrid(this);
  grid_->setObjectName("GridAvansCo");
  grid_->SetSourceModel(&model_);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->installEventFilter(this);
  auto* grid_column = new QVBoxLayout;
  grid_column->addWidget(new ui::RecordNavigator(grid_, {}, this));
  grid_column->addWidget(grid_, 1);
  middle->addLayout(grid_column, 1);

  auto* side = new QFormLayout;
  nume_ = new QLabel(this);
  prenume_ = new QLabel(this);
  marca_ = new QLabel(this);
  functia_ = new QLabel(this);
  side->addRow("Nume", nume_);
  side->addRow("Prenume", prenume_);
  side->addRow("Marca", marca_);
  side->addRow("Functia", functia_);
  auto* side_panel = new QWidget(this);
  side_panel->setLayout(side);
  side_panel->setMinimumWidth(240);
  middle->addWidget(side_panel);
  layout->addLayout(middle, 1);

  auto* buttons = new QHBoxLayout;
  print_ = new QPushButton("&Tiparire", this);
  print_->setObjectName("BTiparire");
  print_->setAutoDefault(false);
  auto* exit = new QPushButton("&Iesire", this);
  exit->setObjectName("BIesire");
  exit->setAutoDefault(false);
  buttons->addStretch();
  buttons->addWidget(print_);
  buttons->addWidget(exit);
  layout->addLayout(buttons);
  status_ = new QStatusBar(this);
  status_->setSizeGripEnabled(false);
  layout->addWidget(status_);

  connect(print_, &QPushButton::clicked, this, &HolidayAdvanceWindow::Print);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  // A double click begins with a click, which has toggled the row already:
  // toggling again on the double click would undo it.
  connect(grid_, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
    Toggle(grid_->filter_model()->mapToSource(index).row());
  });
  connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this] { RefreshDetails(); });

  int start = 0;
  for (std::size_t i = 0; current_iid && i < lines_.size(); ++i) {
    if (lines_[i].IID == *current_iid) {
      start = static_cast<int>(i);
      break;
    }
  }
  for (int i = 0; i < static_cast<int>(lines_.size()); ++i) ShowLine(i);
  Go(start);
  RefreshDetails();
  grid_->setFocus();
}

int HolidayAdvanceWindow::current_line() const {
  const QModelIndex index = grid_->filter_model()->mapToSource(grid_->currentIndex());
  return index.isValid() ? index.row() : -1;
}

void HolidayAdvanceWindow::Go(int line) {
  if (lines_.empty()) return;
  line = std::clamp(line, 0, static_cast<int>(lines_.size()) - 1);
  const QModelIndex index = grid_->filter_model()->mapFromSource(model_.index(line, 4));
  if (index.isValid()) grid_->setCurrentIndex(index);
}

void HolidayAdvanceWindow::Toggle(int line) {
  if (line < 0 || line >= static_cast<int>(lines_.size())) return;
  lines_[line].Listare = !lines_[line].Listare;
  ShowLine(line);
  RefreshDetails();
}

void HolidayAdvanceWindow::ShowLine(int line) {
  const bool marked = lines_[line].Listare;
  model_.item(line, kMarkColumn)->setText(marked ? "DA" : "");
  for (int c = 0; c < model_.columnCount(); ++c) {
    QStandardItem* item = model_.item(line, c);
    item->setData(marked ? QVariant(palette().color(QPalette::Highlight).lighter(160)) : QVariant(),
                  Qt::BackgroundRole);
  }
}

void HolidayAdvanceWindow::RefreshDetails() {
  const int line = current_line();
  const bool any = line >= 0 && line < static_cast<int>(lines_.size());
  nume_->setText(any ? Text(lines_[line].Nume) : QString());
  prenume_->setText(any ? Text(lines_[line].Prenume) : QString());
  marca_->setText(any ? QString::number(lines_[line].Marca) : QString());
  functia_->setText(any ? Text(lines_[line].Functie) : QString());
  int marked = 0;
  for (const reports::HolidayAdvanceLine& l : lines_) marked += l.Listare ? 1 : 0;
  status_->showMessage(QStringLiteral("Randuri: %1   Marcate pentru tiparire: %2   "
                                      "(clic, dublu clic sau Enter marcheaza randul)")
                           .arg(lines_.size())
                           .arg(marked));
}

void HolidayAdvanceWindow::Print() {
  if (lines_.empty()) return;
  viewer_(reports::HolidayAdvanceStatement(reports::DocumentContext{session_}, lines_));
}

bool HolidayAdvanceWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        key->modifiers() == Qt::NoModifier) {
      Toggle(current_line());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void OpenHolidayAdvance(params::Session& session, const ReportViewer& viewer, QWidget* parent,
                        std::optional<int> current_iid) {
  HolidayAdvanceWindow window(session, reports::HolidayAdvanceLines(session), viewer, current_iid,
                              parent);
  ui::OpenMaximised(&window);
  window.exec();
}

}  // namespace traveno::reports_ui
