#include "trends/ui/trend_window.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/text.h"
#include "reports/report_common.h"
#include "trends/ui/trend_chart.h"
#include "ui/data_grid.h"
#include "ui/date_editors.h"
#include "ui/document_painter.h"
#include "ui/file_dialogs.h"
#include "ui/print_preview.h"
#include "ui/window_base.h"

namespace traveno::trends_ui {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString Whole(long double value) { return Q(reports::Amount(value)); }

const ui::GridColumn kColumns[] = {
    {"Luna", "Luna", 17},
    {"Permanenti", "Permanenti", 0},
    {"ContractPartial", "Contract partial", 0},
    {"TotalBrut", "Total salarii brute", 0},
    {"TotalDePlata", "Total de plata", 0},
    {"ContributiiAngajati", "Contributii angajati", 0},
    {"TaxeFirma", "Taxe firma", 0},
    {"Impozit", "Impozit salarii", 0},
    {"CostTotal", "Cost total salarii", 0},
};

}  // namespace

TrendWindow::TrendWindow(params::Session& session, Prompter& prompter, TrendWindowOptions options,
                         QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompter_(prompter),
      options_(std::move(options)),
      from_(new ui::MonthYearEdit(this)),
      to_(new ui::MonthYearEdit(this)),
      department_label_(new QLabel("&Departament:", this)),
      department_(new QComboBox(this)),
      chart_choice_(new QComboBox(this)),
      notice_(new QLabel(this)),
      view_(new QChartView(this)),
      grid_(new ui::DataGrid(this)),
      model_(new QStandardItemModel(this)) {
  setObjectName("FEvolutie");
  setWindowTitle("Evolutie");
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);

  const trends::TrendInterval interval = trends::DefaultTrendInterval(session_.working_month());
  from_->setObjectName("EDeLa");
  to_->setObjectName("EPanaLa");
  from_->SetMonth(interval.from);
  to_->SetMonth(interval.to);
  department_->setObjectName("CBDepartament");
  chart_choice_->setObjectName("CBGrafic");
  chart_choice_->addItems({kAmountsChoice, kHeadcountChoice});
  notice_->setObjectName("LMesaj");
  notice_->setStyleSheet("color: #a00000; font-weight: bold");
  view_->setObjectName("GGrafic");
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setMinimumHeight(300);
  view_->setFocusPolicy(Qt::NoFocus);
  grid_->setObjectName("DBEvolutie");
  grid_->set_prompter(&prompter_);
  grid_->set_export_title("Evolutie");
  grid_->SetColumns(kColumns);
  grid_->SetSourceModel(model_);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->horizontalHeader()->setStretchLastSection(false);

  auto* from_label = new QLabel("De la &luna:", this);
  from_label->setBuddy(from_);
  auto* to_label = new QLabel("&Pana la luna:", this);
  to_label->setBuddy(to_);
  department_label_->setBuddy(department_);
  auto* chart_label = new QLabel("&Grafic:", this);
  chart_label->setBuddy(chart_choice_);
  auto* choices = new QHBoxLayout;
  choices->addWidget(from_label);
  choices->addWidget(from_);
  choices->addSpacing(12);
  choices->addWidget(to_label);
  choices->addWidget(to_);
  choices->addSpacing(12);
  choices->addWidget(department_label_);
  choices->addWidget(department_);
  choices->addSpacing(12);
  choices->addWidget(chart_label);
  choices->addWidget(chart_choice_);
  choices->addSpacing(12);
  choices->addWidget(notice_, 1);

  auto* print = new QPushButton("&Tiparire", this);
  auto* png = new QPushButton("Salvare P&NG", this);
  auto* pdf = new QPushButton("Salvare PD&F", this);
  auto* exit = new QPushButton("&Iesire", this);
  print->setObjectName("BTiparire");
  png->setObjectName("BSalvarePng");
  pdf->setObjectName("BSalvarePdf");
  exit->setObjectName("BIesire");
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {print, png, pdf}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  buttons->addStretch();
  exit->setAutoDefault(false);
  buttons->addWidget(exit);
  connect(print, &QPushButton::clicked, this, &TrendWindow::Print);
  connect(png, &QPushButton::clicked, this, &TrendWindow::SavePng);
  connect(pdf, &QPushButton::clicked, this, &TrendWindow::SavePdf);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(choices);
  layout->addWidget(view_, 3);
  layout->addWidget(grid_, 2);
  layout->addLayout(buttons);

  connect(from_, &QDateEdit::dateChanged, this, [this] { Reload(); });
  connect(to_, &QDateEdit::dateChanged, this, [this] { Reload(); });
  connect(department_, &QComboBox::currentIndexChanged, this, [this] {
    if (!filling_) ShowChart();
  });
  connect(chart_choice_, &QComboBox::currentIndexChanged, this, [this] { ShowChart(); });

  options_.department = UpperTrim(options_.department);
  Reload();
  resize(1200, 760);
  ui::OpenMaximised(this);
  from_->setFocus();
}

TrendWindow::~TrendWindow() = default;

std::string TrendWindow::Department() const {
  return department_->currentData().toString().toStdString();
}

void TrendWindow::Reload() {
  const std::string shown = department_->count() > 0 ? Department() : options_.department;
  try {
    trend_ = trends::CompanyTrend(session_, from_->Month(), to_->Month());
    notice_->clear();
  } catch (const StoreError&) {
    throw;
  } catch (const Error& refusal) {
    // A reversed or overlong interval while the months are typed: said
    // beside the boxes, the chart stays empty until it is right.
    trend_ = trends::Trend{};
    trend_.from = from_->Month();
    trend_.to = to_->Month();
    notice_->setText(Q(refusal.what()));
  }
  filling_ = true;
  department_->clear();
  department_->addItem(kWholeCompanyChoice, QString());
  for (const trends::DepartmentTrend& d : trend_.departments) {
    department_->addItem(Q(d.code + (d.name.empty() || d.name == d.code ? "" : " - " + d.name)),
                         Q(d.code));
  }
  const int index = department_->findData(Q(shown));
  department_->setCurrentIndex(index >= 0 ? index : 0);
  const bool has_departments = !trend_.departments.empty();
  department_->setVisible(has_departments);
  department_label_->setVisible(has_departments);
  filling_ = false;
  ShowChart();
}

void TrendWindow::ShowChart() {
  const std::string department = Department();
  chart_ = chart_choice_->currentIndex() == 1 ? trends::HeadcountChart(trend_, department)
                                              : trends::AmountsChart(trend_, department);
  BuiltChart built = MakeChart(chart_);
  ShowValuesOnHover(built, chart_, view_, [this](std::size_t month) { ShowMonth(month); });
  QChart* old = view_->chart();
  view_->setChart(built.chart);
  delete old;

  model_->removeRows(0, model_->rowCount());
  const std::vector<trends::TrendFigures>* figures = trends::FiguresOf(trend_, department);
  for (std::size_t i = 0; figures != nullptr && i < figures->size(); ++i) {
    const trends::TrendFigures& f = (*figures)[i];
    QList<QStandardItem*> row = {ui::TextItem(Q(reports::MonthSlashYear(trend_.months[i]))),
                                 ui::NumberItem(f.permanent, Whole(f.permanent)),
                                 ui::NumberItem(f.partial, Whole(f.partial))};
    for (trends::TrendAmount amount : trends::kTrendAmounts) {
      const long double value = trends::AmountOf(f, amount);
      row.append(ui::NumberItem(static_cast<double>(value), Whole(value)));
    }
    model_->appendRow(row);
  }
  grid_->FitColumns();
}

void TrendWindow::ShowMonth(std::size_t month) {
  if (month < static_cast<std::size_t>(grid_->model()->rowCount())) {
    grid_->setCurrentIndex(grid_->model()->index(static_cast<int>(month), 0));
  }
}

QString TrendWindow::Hover(std::size_t series, std::size_t month) {
  ShowMonth(month);
  return Q(trends::HoverText(chart_, series, month));
}

QString TrendWindow::ChooseFile(const QString& suggested, const QString& filter) {
  const QString file = options_.choose_file
                           ? options_.choose_file(suggested, filter)
                           : ui::AskSaveFileName(this, "Salvare", suggested, filter);
  if (file.isEmpty()) return file;
  // A picture or a PDF never goes over a database or a settings file.
  if (const auto refusal = ProgramFileRefusal(session_.store().data_folder(), file.toStdString())) {
    prompter_.Message(MessageKind::kError, *refusal);
    return {};
  }
  return file;
}

void TrendWindow::Print() {
  const reports::Report report = PrintedTrend(trend_, Department(), reports::PrintStamp::Now());
  if (options_.show_report) {
    options_.show_report(report);
  } else {
    ui::PreviewOptions preview;
    preview.data_folder = session_.store().data_folder();
    ui::ShowPreview(report, prompter_, this, std::move(preview));
  }
}

void TrendWindow::SavePng() {
  const QString file = ChooseFile(Q("Evolutie_" + trend_.company + ".png"), "Imagini PNG (*.png)");
  if (file.isEmpty()) return;
  try {
    WriteChartPng(chart_, file.toStdString());
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
  }
}

void TrendWindow::SavePdf() {
  const QString file = ChooseFile(Q("Evolutie_" + trend_.company + ".pdf"), "Fisiere PDF (*.pdf)");
  if (file.isEmpty()) return;
  try {
    ui::WritePdf(reports::Prepare(PrintedTrend(trend_, Department(), reports::PrintStamp::Now())),
                 file.toStdString());
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
  }
}

}  // namespace traveno::trends_ui
