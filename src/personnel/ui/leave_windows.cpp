#include "personnel/ui/leave_windows.h"

#include <QButtonGroup>
#include <QChartView>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "core/numbers.h"
#include "core/text.h"
#include "personnel/grid_view.h"
#include "personnel/ui/pay_grid_model.h"
#include "personnel/ui/window_helpers.h"
#include "trends/chart_data.h"
#include "trends/ui/trend_chart.h"
#include "ui/data_grid.h"
#include "ui/record_navigator.h"
#include "ui/window_base.h"

namespace traveno::personnel_ui {
namespace {

using engine::LeaveKind;

QString Whole(long double value) { return QString::fromStdString(FormatN(value, 0) + " "); }

const std::pair<LeaveKind, const char*> kKinds[] = {
    {LeaveKind::kOccupational, "100 % ( Boli profesionale )"},
    {LeaveKind::kChildCare, "85 %  ( CIC )"},
    {LeaveKind::kOrdinary, "75 %  ( Boala obisnuita )"},
    {LeaveKind::kMaternity, "85 %  ( Maternitate )"},
    {LeaveKind::kSpecial, "100 % ( Boli speciale )"},
    {LeaveKind::kOrdinaryLong, "85 %  ( Boala obisnuita vch.>5 ani )"},
};

QSpinBox* DayBox(const char* name, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(0, 999);
  return box;
}

QLabel* AmountLabel(const char* name, QWidget* parent) {
  auto* label = BoldLabel(QString(), parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setMinimumWidth(110);
  return label;
}

// The amount per day is worked out, not typed; Enter on a kind brings the
// focus to it, so it is a read-only box that shows the focus.
QLineEdit* PerDayBox(QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName("ISCMpeZi");
  box->setReadOnly(true);
  box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  box->setMinimumWidth(110);
  QFont bold = box->font();
  bold.setBold(true);
  box->setFont(bold);
  return box;
}

}  // namespace

MedicalLeaveWindow::MedicalLeaveWindow(personnel::MedicalLeaveForm& form, QWidget* parent)
    : QDialog(parent),
      form_(form),
      kind_group_(new QButtonGroup(this)),
      media_(new QLineEdit(this)),
      per_day_(PerDayBox(this)),
      leave_days_(DayBox("ISZileCM", this)),
      unpaid_(DayBox("ISCMNePlatite", this)),
      company_days_(DayBox("ISZileCml1", this)),
      state_days_(DayBox("ISZileCml2", this)),
      cic_days_(DayBox("ISZileCIC", this)),
      company_amount_(AmountLabel("ISCml1", this)),
      state_amount_(AmountLabel("ISCml2", this)),
      cic_amount_(AmountLabel("ISCIC", this)),
      average_caption_(new QLabel(this)),
      average_value_(new QLabel(this)),
      confirm_(new QPushButton("Adaugare la &CM existente", this)) {
  setObjectName("FCalculCM");
  const personnel::LeaveProposal& opening = form_.opening();
  setWindowTitle(QString::fromStdString(opening.title));
  const PersRow& line = form_.line();
  const QString months = QString::number(opening.average.months);

  auto* person = new QGroupBox(this);
  auto* person_layout = new QGridLayout(person);
  person_layout->addWidget(
      BoldLabel(QString::fromStdString(" Nume: " + Trim(line.NUME + " " + line.PRENUME)), this), 0,
      0, 1, 2);
  person_layout->addWidget(new QLabel(QString::fromStdString(" Functie: " + line.FUNCTIE), this), 1,
                           0, 1, 2);
  person_layout->addWidget(
      new QLabel(" Suma baza de calcul pe anterioarele " + months + " luni: ", this), 2, 0);
  auto* sum = new QLabel(Whole(opening.average.sum), this);
  sum->setObjectName("LSuma");
  sum->setAlignment(Qt::AlignRight);
  person_layout->addWidget(sum, 2, 1);
  average_caption_->setObjectName("LMediaCaption");
  average_caption_->setText(" Media baza de calcul pe anterioarele " + months + " luni: ");
  average_value_->setObjectName("LMedia");
  average_value_->setText(Whole(opening.average.average));
  average_value_->setAlignment(Qt::AlignRight);
  if (opening.fewer_months) {
    // Fewer months were on file than asked for.
    average_caption_->setStyleSheet("color: red; font-weight: bold");
  }
  person_layout->addWidget(average_caption_, 3, 0);
  person_layout->addWidget(average_value_, 3, 1);
  person_layout->addWidget(new QLabel(" Zile baza de calcul: ", this), 4, 0);
  auto* days = new QLabel(
      QString::fromStdString(FloatToText(static_cast<double>(opening.average.days))), this);
  days->setObjectName("LZile");
  days->setAlignment(Qt::AlignRight);
  person_layout->addWidget(days, 4, 1);

  auto* media_row = new QFormLayout;
  media_->setObjectName("ISMedia");
  ShowTypedNumber(media_, static_cast<double>(form_.media()));
  media_row->addRow("Media baza de calcul pe anterioarele 6 luni: ", media_);

  auto* kinds = new QGroupBox(this);
  auto* kinds_layout = new QVBoxLayout(kinds);
  for (const auto& [kind, caption] : kKinds) {
    auto* button = new QRadioButton(caption, this);
    kind_group_->addButton(button);
    kinds_[kind] = button;
    kinds_layout->addWidget(button);
    button->installEventFilter(this);
    if (form_.kind() == kind) button->setChecked(true);
    connect(button, &QRadioButton::toggled, this, [this, kind](bool on) {
      if (!on) return;
      form_.SetKind(kind);
      ShowSplit();
    });
  }
  media_->installEventFilter(this);

  auto* figures = new QGridLayout;
  int row = 0;
  figures->addWidget(new QLabel("Suma pe zi de concediu medical: ", this), row, 0, 1, 2);
  figures->addWidget(per_day_, row++, 2);
  figures->addWidget(new QLabel("Zile concediu medical (lucratoare): ", this), row, 0, 1, 2);
  figures->addWidget(leave_days_, row++, 2);
  figures->addWidget(new QLabel("Ne platite", this), row, 0);
  figures->addWidget(unpaid_, row++, 1);
  figures->addWidget(new QLabel("Platite de firma:", this), row, 0);
  figures->addWidget(company_days_, row, 1);
  figures->addWidget(new QLabel("CM Firma:", this), row, 2);
  figures->addWidget(company_amount_, row++, 3);
  figures->addWidget(new QLabel("Platite de stat:", this), row, 0);
  figures->addWidget(state_days_, row, 1);
  figures->addWidget(new QLabel("CM Stat: ", this), row, 2);
  figures->addWidget(state_amount_, row++, 3);
  figures->addWidget(new QLabel("Zile CIC:", this), row, 0);
  figures->addWidget(cic_days_, row, 1);
  figures->addWidget(new QLabel("CIC: ", this), row, 2);
  figures->addWidget(cic_amount_, row++, 3);

  auto* middle = new QHBoxLayout;
  middle->addWidget(kinds);
  middle->addLayout(figures, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(person);
  layout->addLayout(media_row);
  layout->addLayout(middle);
  layout->addLayout(ConfirmAbandonRow(this, confirm_));
  confirm_->setAutoDefault(false);

  connect(media_, &QLineEdit::textEdited, this, [this] {
    form_.SetMedia(TypedNumber(media_).value_or(0));
    ShowAmounts();
  });
  connect(leave_days_, &QSpinBox::valueChanged, this, [this](int value) {
    form_.SetLeaveDays(value);
    ShowSplit();
  });
  connect(unpaid_, &QSpinBox::valueChanged, this,
          [this](int value) { form_.SetUnpaidDays(value); });
  connect(company_days_, &QSpinBox::valueChanged, this, [this](int value) {
    form_.SetCompanyDays(value);
    ShowAmounts();
  });
  connect(state_days_, &QSpinBox::valueChanged, this, [this](int value) {
    form_.SetStateDays(value);
    ShowAmounts();
  });
  connect(cic_days_, &QSpinBox::valueChanged, this, [this](int value) {
    form_.SetCicDays(value);
    ShowAmounts();
  });
  connect(confirm_, &QPushButton::clicked, this, &QDialog::accept);
  ShowSplit();
}

void MedicalLeaveWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  media_->setFocus();
  media_->selectAll();
}

void MedicalLeaveWindow::ShowSplit() {
  const engine::LeaveSplit& split = form_.split();
  const std::pair<QSpinBox*, int> kDays[] = {{unpaid_, split.unpaid_days},
                                             {company_days_, split.company_days},
                                             {state_days_, split.state_days},
                                             {cic_days_, split.cic_days}};
  for (const auto& [box, value] : kDays) {
    const QSignalBlocker quiet(box);
    box->setValue(value);
  }
  ShowAmounts();
}

void MedicalLeaveWindow::ShowAmounts() {
  const engine::LeaveSplit& split = form_.split();
  per_day_->setText(QString::fromStdString(FormatN(split.per_day, 2) + " "));
  company_amount_->setText(Whole(split.company_amount));
  state_amount_->setText(Whole(split.state_amount));
  cic_amount_->setText(Whole(split.cic_amount));
}

bool MedicalLeaveWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      // Enter on a kind moves to the amount per day; Enter in the average to
      // the first kind.
      if (watched == media_) {
        kinds_.at(LeaveKind::kOccupational)->setFocus();
        return true;
      }
      if (qobject_cast<QRadioButton*>(watched) != nullptr) {
        static_cast<QRadioButton*>(watched)->setChecked(true);
        per_day_->setFocus();
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

HistoryWindow::HistoryWindow(params::Session& session, const personnel::PersonHistoryView& view,
                             QWidget* parent)
    : QDialog(parent),
      grid_(new ui::DataGrid(this)),
      model_(new PayGridModel(this)),
      sum_(new QLabel(this)),
      average_(new QLabel(this)),
      name_(BoldLabel(QString(), this)),
      function_(new QLabel(this)) {
  setObjectName("FIstoric");
  setWindowTitle("Istoric angajat");
  const QString months = QString::number(view.average.months);
  sum_->setObjectName("LSuma");
  sum_->setText(" Suma baza de calcul pe ultimele " + months + " luni " + Whole(view.average.sum));
  average_->setObjectName("LMedia");
  average_->setText(" Media baza de calcul pe ultimele " + months + " luni " +
                    Whole(view.average.average));
  const std::size_t shown_row =
      view.working_row.value_or(view.rows.empty() ? 0 : view.rows.size() - 1);
  const PersRow* person = view.rows.empty() ? nullptr : &view.rows[shown_row];
  if (person != nullptr) {
    name_->setText(QString::fromStdString(" Nume: " + Trim(person->NUME + " " + person->PRENUME)));
    function_->setText(QString::fromStdString(" Functie: " + person->FUNCTIE));
  }
  name_->setObjectName("LNume");
  function_->setObjectName("LFunctie");

  // One layout for permanent employees, one for partial-contract employees.
  const std::string tip = person != nullptr ? person->TIP : "1";
  std::vector<personnel::GridColumn> columns =
      personnel::HistoryColumns(session.parameters().company, tip);
  model_->Reset(columns, view.rows, false);
  grid_->SetSourceModel(model_);
  grid_->set_export_title("Istoric angajat");
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  for (std::size_t c = 0; c < columns.size(); ++c) {
    grid_->setColumnHidden(static_cast<int>(c), !columns[c].visible);
  }
  if (person != nullptr)
    grid_->setCurrentIndex(grid_->model()->index(static_cast<int>(shown_row), 0));

  auto* navigator = new QHBoxLayout;
  navigator->addWidget(new ui::RecordNavigator(grid_, {}, this));
  navigator->addStretch();
  auto* exit = new QPushButton("&Iesire", this);
  exit->setObjectName("BIesire");
  exit->setAutoDefault(false);
  navigator->addWidget(exit);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  auto* top = new QGridLayout;
  top->addWidget(name_, 0, 0);
  top->addWidget(sum_, 0, 1);
  top->addWidget(function_, 1, 0);
  top->addWidget(average_, 1, 1);
  layout->addLayout(top);
  // The person's gross, net to pay and tax of every month, beside the grid.
  chart_ = new QChartView(this);
  chart_->setObjectName("GIstoric");
  chart_->setRenderHint(QPainter::Antialiasing);
  chart_->setFocusPolicy(Qt::NoFocus);
  chart_->setMinimumWidth(360);
  const std::string name = person != nullptr ? Trim(person->NUME + " " + person->PRENUME) : "";
  const trends::ChartData history = trends::PersonChart(view.rows, name);
  const trends_ui::BuiltChart built = trends_ui::MakeChart(history);
  trends_ui::ShowValuesOnHover(built, history, chart_);
  chart_->setChart(built.chart);
  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(grid_);
  split->addWidget(chart_);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  split->setChildrenCollapsible(false);
  layout->addWidget(split, 1);
  layout->addLayout(navigator);
  resize(1000, 560);
  ui::OpenMaximised(this);
  grid_->setFocus();
}

}  // namespace traveno::personnel_ui
