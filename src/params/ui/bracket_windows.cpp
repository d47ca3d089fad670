#include "params/ui/bracket_windows.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/numbers.h"
#include "params/brackets.h"
#include "params/ui/tax_calculator.h"
#include "ui/data_grid.h"
#include "ui/record_navigator.h"
#include "ui/window_base.h"

namespace traveno::params_ui {
namespace {

QString AmountText(double value) {
  return QString::fromStdString(FormatNumber(value, NumberMask::kUpToTwoDecimals));
}

// The amounts run to hundreds of millions of lei; the percentage is short.
constexpr int kAmountChars = 16;
constexpr int kPercentChars = 6;

const char* ThresholdCaption(bool annual) {
  return annual ? "Venit anual impozabil" : "Venit lunar impozabil";
}

}  // namespace

BracketDialog::BracketDialog(Mode mode, bool annual, const ImpoRow& row, Apply apply,
                             Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      apply_(std::move(apply)),
      prompter_(prompter),
      p_venit_(new QLineEdit(this)),
      v_const_(new QLineEdit(this)),
      v_proc_(new QLineEdit(this)),
      confirm_(new QPushButton("&Confirmare", this)) {
  setObjectName("FEImpo");
  setWindowTitle(mode == Mode::kAdd      ? "Adaug transe de venit impozabil si cote de impozit"
                 : mode == Mode::kModify ? "Modific transe de venit impozabil si cote de impozit"
                                         : "Sterg transe de venit impozabil si cote de impozit");
  p_venit_->setObjectName("EP_Venit");
  v_const_->setObjectName("EV_Const");
  v_proc_->setObjectName("EV_Proc");
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  form->addRow(ThresholdCaption(annual), p_venit_);
  form->addRow("Valoare impozit fix", v_const_);
  form->addRow("+procent", v_proc_);
  layout->addLayout(form);
  for (QLineEdit* edit : {p_venit_, v_const_, v_proc_}) {
    edit->setAlignment(Qt::AlignRight);
    ui::SizeToChars(edit, edit == v_proc_ ? kPercentChars : kAmountChars);
  }
  const ImpoRow shown = mode == Mode::kAdd ? ImpoRow{} : row;
  p_venit_->setText(QString::fromStdString(FloatToText(shown.P_Venit)));
  v_const_->setText(QString::fromStdString(FloatToText(shown.V_Const)));
  v_proc_->setText(QString::fromStdString(FloatToText(shown.V_Proc)));
  if (mode == Mode::kDelete) {
    for (QLineEdit* edit : {p_venit_, v_const_, v_proc_}) edit->setEnabled(false);
    layout->addWidget(new QLabel("Sigur doriti sa stergeti ?", this));
  }
  auto* buttons = new QHBoxLayout;
  confirm_->setObjectName("BConfirmare");
  auto* abandon = new QPushButton("&Abandon", this);
  abandon->setObjectName("BAbandon");
  buttons->addStretch();
  buttons->addWidget(confirm_);
  buttons->addWidget(abandon);
  layout->addLayout(buttons);
  connect(confirm_, &QPushButton::clicked, this, &BracketDialog::BConfirmareClick);
  connect(abandon, &QPushButton::clicked, this, &QDialog::reject);
}

void BracketDialog::BConfirmareClick() {
  const auto p_venit = TryParseNumber(p_venit_->text().toStdString());
  const auto v_const = TryParseNumber(v_const_->text().toStdString());
  const auto v_proc = TryParseNumber(v_proc_->text().toStdString());
  QLineEdit* bad = !p_venit ? p_venit_ : !v_const ? v_const_ : !v_proc ? v_proc_ : nullptr;
  if (bad != nullptr) {
    prompter_.Message(MessageKind::kWarning,
                      "'" + bad->text().toStdString() + "' nu este un numar valid !");
    bad->setFocus();
    return;
  }
  if (!apply_(*p_venit, *v_const, *v_proc)) {
    p_venit_->setFocus();
    return;
  }
  accept();
}

BracketWindow::BracketWindow(params::Session& session, bool annual, Prompter& prompter,
                             QWidget* parent)
    : QDialog(parent),
      session_(session),
      annual_(annual),
      prompter_(prompter),
      grid_(new ui::DataGrid(this)),
      add_(new QPushButton("&Adaug", this)),
      modify_(new QPushButton("&Modific", this)),
      delete_(new QPushButton("&Sterg", this)),
      check_(new QPushButton("&Verific", this)),
      apply_(new QPushButton("A&plic", this)) {
  setObjectName(annual ? "FImpoAn" : "FImpo");
  setWindowTitle(annual ? "Impozitar anual" : "Impozitar");
  resize(720, 480);
  ui::OpenMaximised(this);
  auto* layout = new QVBoxLayout(this);
  const Date month = session_.working_month();
  auto* heading = new QLabel(
      annual ? QString("Transe de impozitare pe anul  %1").arg(month.year())
             : QString::fromStdString("Transe de impozitare pe luna  " + MonthText(month)),
      this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  layout->addWidget(heading);
  model_.setHorizontalHeaderLabels({"P_Venit", "V_Const", "V_Proc"});
  const ui::GridColumn columns[] = {{"P_Venit", ThresholdCaption(annual), kAmountChars},
                                    {"V_Const", "Valoare impozit fix", kAmountChars},
                                    {"V_Proc", "+procent", kPercentChars}};
  grid_->SetColumns(columns);
  grid_->SetSourceModel(&model_);
  grid_->set_prompter(&prompter_);
  grid_->set_export_title(annual ? "Impozitar anual" : "Impozitar");
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  layout->addWidget(grid_, 1);
  layout->addWidget(new ui::RecordNavigator(
      grid_,
      [this] {
        const auto current = CurrentRow();
        Reload(current ? std::optional<double>(current->P_Venit) : std::nullopt);
      },
      this));
  auto* apply = apply_;
  list_ = new QPushButton("&Lista", this);
  list_->setObjectName("BLista");
  auto* list = list_;
  auto* exit = new QPushButton("&Iesire", this);
  exit->setObjectName("BIesire");
  viewer_ = reports_ui::PreviewViewer(prompter_, this, session_.store().data_folder());
  connect(list_, &QPushButton::clicked, this,
          [this] { reports_ui::PrintBrackets(session_, annual_, viewer_); });
  auto* buttons = new QHBoxLayout;
  add_->setObjectName("BAdaug");
  modify_->setObjectName("BModific");
  delete_->setObjectName("BSterg");
  check_->setObjectName("BVerific");
  apply_->setObjectName("BAplic");
  for (QPushButton* b : {add_, modify_, delete_, apply, check_, list, exit}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  layout->addLayout(buttons);
  connect(add_, &QPushButton::clicked, this, [this] { Open(BracketDialog::Mode::kAdd); });
  connect(modify_, &QPushButton::clicked, this, [this] { Open(BracketDialog::Mode::kModify); });
  connect(delete_, &QPushButton::clicked, this, [this] { Open(BracketDialog::Mode::kDelete); });
  connect(grid_, &QAbstractItemView::doubleClicked, this,
          [this] { Open(BracketDialog::Mode::kModify); });
  connect(check_, &QPushButton::clicked, this, [this] {
    const std::string result =
        params::CheckBrackets(session_.db(), session_.working_month(), annual_);
    const bool right = result.rfind("Totul este in regula", 0) == 0;
    prompter_.Message(right ? MessageKind::kInformation : MessageKind::kWarning, result);
  });
  connect(apply_, &QPushButton::clicked, this, [this] {
    TaxCalculator calculator(params::BracketTable(session_.db(), session_.working_month(), annual_),
                             this);
    calculator.setWindowTitle("Aplic transe de venit impozabil si cote de impozit");
    calculator.exec();
  });
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  Reload();
}

void BracketWindow::Reload(std::optional<double> select_threshold) {
  rows_ = params::ListBrackets(session_.db(), session_.working_month(), annual_);
  model_.removeRows(0, model_.rowCount());
  int select = 0;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const ImpoRow& row = rows_[i];
    QList<QStandardItem*> items;
    for (double value : {row.P_Venit, row.V_Const, row.V_Proc}) {
      items << ui::NumberItem(value, AmountText(value));
    }
    model_.appendRow(items);
    if (select_threshold && row.P_Venit == *select_threshold) select = static_cast<int>(i);
  }
  const bool any = !rows_.empty();
  modify_->setEnabled(any);
  delete_->setEnabled(any);
  if (any) grid_->setCurrentIndex(grid_->model()->index(select, 0));
}

std::optional<ImpoRow> BracketWindow::CurrentRow() const {
  const QModelIndex index = grid_->currentIndex();
  if (!index.isValid()) return std::nullopt;
  const QModelIndex source = grid_->filter_model()->mapToSource(index);
  if (source.row() < 0 || source.row() >= static_cast<int>(rows_.size())) return std::nullopt;
  return rows_[source.row()];
}

void BracketWindow::Open(BracketDialog::Mode mode) {
  const std::optional<ImpoRow> current = CurrentRow();
  if (mode != BracketDialog::Mode::kAdd && !current) return;
  const ImpoRow row = current.value_or(ImpoRow{});
  Database& db = session_.db();
  const Date month = session_.working_month();
  double written = row.P_Venit;
  auto apply = [&](double p_venit, double v_const, double v_proc) {
    written = p_venit;
    switch (mode) {
      case BracketDialog::Mode::kAdd:
        return params::AddBracket(db, month, annual_, p_venit, v_const, v_proc, prompter_);
      case BracketDialog::Mode::kModify:
        return params::ModifyBracket(db, month, annual_, row.Nr, p_venit, v_const, v_proc,
                                     prompter_);
      case BracketDialog::Mode::kDelete:
        return params::DeleteBracket(db, month, annual_, row.Nr, prompter_);
    }
    return false;
  };
  BracketDialog dialog(mode, annual_, row, apply, prompter_, this);
  if (dialog.exec() == QDialog::Accepted) Reload(written);
}

}  // namespace traveno::params_ui
