#include "personnel/ui/dependants_windows.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/errors.h"
#include "core/numbers.h"
#include "core/text.h"
#include "personnel/coefficients.h"
#include "personnel/grid_line.h"
#include "personnel/ui/window_helpers.h"
#include "ui/data_grid.h"
#include "ui/qt_prompter.h"
#include "ui/record_navigator.h"
#include "ui/window_base.h"

namespace traveno::personnel_ui {
namespace {

using personnel::DependantEditMode;

QString TwoDecimals(double value) {
  return QString::fromStdString(FormatNumber(value, NumberMask::kTwoDecimals));
}

}  // namespace

DependantEditor::DependantEditor(params::Session& session, Prompter& prompter,
                                 DependantEditMode mode, const PintRow* shown, QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompter_(prompter),
      mode_(mode),
      name_(new QLineEdit(this)),
      first_name_(new QLineEdit(this)),
      code_(new QLineEdit(this)),
      relationship_(new QComboBox(this)),
      invalidity_(new QComboBox(this)),
      coefficient_(BoldLabel(QString(), this)),
      delete_panel_(BoldLabel("Sigur doriti sa stergeti aceasta persoana ?", this)),
      confirm_(new QPushButton("&Confirmare", this)) {
  setObjectName("FEPint");
  setWindowTitle(mode == DependantEditMode::kAdd      ? "Adaugarea unei persoane in intretinere"
                 : mode == DependantEditMode::kModify ? "Modificare date persoana in intretinere"
                                                      : "Stergere persoana in intretinere");
  name_->setObjectName("ENume");
  name_->setMaxLength(20);
  ForceUpperCase(name_);
  first_name_->setObjectName("EPrenume");
  first_name_->setMaxLength(50);
  ForceUpperCase(first_name_);
  code_->setObjectName("ECNP");
  code_->setMaxLength(15);
  relationship_->setObjectName("CBCalitate");
  for (int i = 0; i < 4; ++i) {
    relationship_->addItem(QString::fromStdString(personnel::RelationshipLabel(i)));
  }
  invalidity_->setObjectName("CBInvaliditate");
  for (int i = 0; i < 3; ++i) {
    invalidity_->addItem(QString::fromStdString(personnel::InvalidityLabel(i)));
  }
  ui::EnterMovesTo(relationship_);
  ui::EnterMovesTo(invalidity_);
  coefficient_->setObjectName("LCoef");
  ui::SizeToChars(name_, 20);
  ui::SizeToChars(first_name_, 30);
  ui::SizeToChars(code_, 15);

  auto* form = new QFormLayout;
  form->addRow("Nume", name_);
  form->addRow("Prenume", first_name_);
  form->addRow("Cod Numeric personal", code_);
  form->addRow("Calitate", relationship_);
  form->addRow("Invaliditate", invalidity_);
  form->addRow(" Coef.", coefficient_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  delete_panel_->setObjectName("PStergere");
  delete_panel_->setStyleSheet("color: red");
  delete_panel_->setVisible(mode == DependantEditMode::kDelete);
  layout->addWidget(delete_panel_);
  layout->addLayout(ConfirmAbandonRow(this, confirm_, &abandon_));
  confirm_->setDefault(true);

  if (shown != nullptr && mode != DependantEditMode::kAdd) {
    const personnel::DependantInput input = personnel::DependantInputFromRow(*shown);
    name_->setText(QString::fromStdString(input.Nume));
    first_name_->setText(QString::fromStdString(input.Prenume));
    code_->setText(QString::fromStdString(input.CodNumPers));
    relationship_->setCurrentIndex(std::clamp(input.Calitate, 0, 3));
    invalidity_->setCurrentIndex(std::clamp(input.Invaliditate, 0, 2));
  }
  const bool enabled = mode != DependantEditMode::kDelete;
  for (QWidget* input :
       std::initializer_list<QWidget*>{name_, first_name_, code_, relationship_, invalidity_}) {
    input->setEnabled(enabled);
  }
  connect(relationship_, &QComboBox::currentIndexChanged, this, &DependantEditor::ShowCoefficient);
  connect(invalidity_, &QComboBox::currentIndexChanged, this, &DependantEditor::ShowCoefficient);
  connect(confirm_, &QPushButton::clicked, this, &DependantEditor::BConfirmareClick);
}

void DependantEditor::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ShowCoefficient();
  code_at_opening_ = UpperTrim(code_->text().toStdString());
  if (name_->isEnabled()) {
    name_->setFocus();
  } else {
    abandon_->setFocus();
  }
}

void DependantEditor::ShowCoefficient() {
  const double single =
      personnel::DependantsCoefficient(session_, personnel::CoefficientKind::kSingle, PersRow{},
                                       relationship_->currentIndex(), invalidity_->currentIndex());
  coefficient_->setText(TwoDecimals(single));
}

personnel::DependantInput DependantEditor::Input() const {
  return {name_->text().toStdString(), first_name_->text().toStdString(),
          code_->text().toStdString(), relationship_->currentIndex(), invalidity_->currentIndex()};
}

void DependantEditor::BConfirmareClick() {
  const personnel::DependantInput input = Input();
  if (personnel::ConfirmDependant(session_, mode_, input, code_at_opening_, prompter_)) {
    accept();
    return;
  }
  // The focus goes where the refusal points.
  if (Trim(input.Nume).empty()) {
    name_->setFocus();
  } else if (Trim(input.Prenume).empty()) {
    first_name_->setFocus();
  } else if (Trim(input.CodNumPers).empty()) {
    code_->setFocus();
  } else if (!(personnel::SingleCoefficient(input.Calitate, input.Invaliditate,
                                            session_.parameters().general) > 0)) {
    abandon_->setFocus();
  } else {
    code_->setFocus();
  }
}

DependantsWindow::DependantsWindow(params::Session& session, Prompter& prompter,
                                   std::int64_t employee_nr, bool month_open, QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompter_(prompter),
      list_(personnel::OpenDependantsList(session, employee_nr)),
      month_open_(month_open),
      grid_(new ui::DataGrid(this)),
      employee_(BoldLabel(QString(), this)),
      month_(BoldLabel(QString(), this)),
      base_(new QLineEdit(this)),
      total_(BoldLabel(QString(), this)),
      add_(new QPushButton("&Adaugare", this)),
      modify_(new QPushButton("&Modificare", this)),
      delete_(new QPushButton("&Stergere", this)) {
  setObjectName("FPint");
  setWindowTitle("Persoane in intretinere");
  resize(860, 440);
  const std::optional<PersRow> employee = personnel::FindLine(session_, employee_nr);
  if (employee) {
    employee_->setText(
        QString::fromStdString("Angajat: " + employee->NUME + " " + employee->PRENUME));
  }
  const Date month = session_.working_month();
  month_->setText(QString::fromStdString("Luna: " + std::string(MonthName(MonthOf(month))) + " / " +
                                         std::to_string(YearOf(month))));
  employee_->setObjectName("LAngajat");
  month_->setObjectName("LLuna");

  // Names as wide as they usually are.
  static constexpr ui::GridColumn kColumns[] = {{"Nume", "Nume", 16},
                                                {"Prenume", "Prenume", 16},
                                                {"CODNUMPERS", "Cod numeric personal", 13},
                                                {"Calitate", "Calitate", 11},
                                                {"Invaliditate", "Invaliditate", 11},
                                                {"Coef", "Coef.", 5}};
  grid_->SetColumns(kColumns);
  model_.setColumnCount(static_cast<int>(std::size(kColumns)));
  grid_->SetSourceModel(&model_);
  grid_->set_prompter(&prompter_);
  grid_->set_export_title("Persoane in intretinere");
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);

  auto* navigator = new ui::RecordNavigator(grid_, [this] {
    const PintRow* current = Current();
    Reload(current ? std::optional(current->Nr) : std::nullopt);
  });

  auto* coefficients = new QHBoxLayout;
  auto* base_caption = new QLabel("&Coef. baza", this);
  base_caption->setBuddy(base_);
  base_->setObjectName("ECoefBaza");
  base_->setMaximumWidth(90);
  base_->setReadOnly(!month_open_);
  ShowTypedNumber(base_, list_.base);
  total_->setObjectName("LCoefTotal");
  coefficients->addWidget(base_caption);
  coefficients->addWidget(base_);
  coefficients->addSpacing(24);
  coefficients->addWidget(new QLabel(" Coef. Total", this));
  coefficients->addWidget(total_);
  coefficients->addStretch();

  auto* exit = new QPushButton("&Iesire", this);
  add_->setObjectName("BAdaugare");
  modify_->setObjectName("BModificare");
  delete_->setObjectName("BStergere");
  exit->setObjectName("BIesire");
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {add_, modify_, delete_, exit}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }

  auto* layout = new QVBoxLayout(this);
  auto* labels = new QHBoxLayout;
  labels->addWidget(employee_);
  labels->addStretch();
  labels->addWidget(month_);
  layout->addLayout(labels);
  layout->addWidget(grid_, 1);
  layout->addWidget(navigator);
  layout->addLayout(coefficients);
  layout->addLayout(buttons);

  connect(add_, &QPushButton::clicked, this, &DependantsWindow::BAdaugareClick);
  connect(modify_, &QPushButton::clicked, this, &DependantsWindow::BModificareClick);
  connect(delete_, &QPushButton::clicked, this, &DependantsWindow::BStergereClick);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  connect(grid_, &QAbstractItemView::doubleClicked, this, &DependantsWindow::BModificareClick);
  connect(base_, &QLineEdit::textEdited, this, &DependantsWindow::ShowTotal);
  ui::BindRecordKeys(
      grid_, this, [this] { BAdaugareClick(); }, [this] { BModificareClick(); },
      [this] { BStergereClick(); });
  Reload();
  grid_->setFocus();
}

const PintRow* DependantsWindow::Current() const {
  const QModelIndex index = grid_->currentIndex();
  if (!index.isValid()) return nullptr;
  const int row = grid_->filter_model()->mapToSource(index).row();
  if (row < 0 || row >= static_cast<int>(rows_.size())) return nullptr;
  return &rows_[static_cast<std::size_t>(row)];
}

void DependantsWindow::Reload(std::optional<std::int64_t> select) {
  rows_ = personnel::ListDependants(session_, list_.iid);
  model_.removeRows(0, model_.rowCount());
  int selected = 0;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const PintRow& row = rows_[i];
    model_.appendRow(
        {ui::TextItem(QString::fromStdString(row.Nume)),
         ui::TextItem(QString::fromStdString(row.Prenume)),
         ui::TextItem(QString::fromStdString(row.CODNUMPERS)),
         ui::TextItem(QString::fromStdString(personnel::RelationshipLabel(row.Calitate))),
         ui::TextItem(QString::fromStdString(personnel::InvalidityLabel(row.Invaliditate))),
         ui::NumberItem(row.Coef, TwoDecimals(row.Coef))});
    if (select && row.Nr == *select) selected = static_cast<int>(i);
  }
  grid_->FitColumns();
  const int shown = grid_->model()->rowCount();
  if (shown > 0) {
    grid_->setCurrentIndex(grid_->model()->index(std::min(selected, shown - 1), 0));
  }
  add_->setEnabled(month_open_);
  modify_->setEnabled(month_open_ && !rows_.empty());
  delete_->setEnabled(month_open_ && !rows_.empty());
  ShowTotal();
}

void DependantsWindow::ShowTotal() {
  list_.base = TypedNumber(base_).value_or(list_.base);
  total_->setText(TwoDecimals(personnel::DependantsTotal(session_, list_)));
}

void DependantsWindow::Edit(DependantEditMode mode) {
  if (!month_open_) return;
  const PintRow* current = Current();
  if (mode != DependantEditMode::kAdd && current == nullptr) return;
  const std::optional<std::int64_t> nr =
      mode == DependantEditMode::kAdd ? std::nullopt : std::optional(current->Nr);
  DependantEditor editor(session_, prompter_, mode, current, this);
  if (editor.exec() != QDialog::Accepted) {
    grid_->setFocus();
    return;
  }
  try {
    if (mode == DependantEditMode::kDelete) {
      personnel::DeleteDependant(session_, *nr);
      Reload();
    } else {
      const std::optional<PersRow> employee = personnel::FindLine(session_, list_.employee_nr);
      if (!employee) throw Error(personnel::kLineMissing);
      Reload(personnel::SaveDependant(session_, *employee, editor.Input(), nr));
    }
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
    Reload();
  }
  grid_->setFocus();
}

void DependantsWindow::BAdaugareClick() { Edit(DependantEditMode::kAdd); }
void DependantsWindow::BModificareClick() { Edit(DependantEditMode::kModify); }
void DependantsWindow::BStergereClick() { Edit(DependantEditMode::kDelete); }

void DependantsWindow::done(int result) {
  if (!closed_) {
    closed_ = true;
    list_.base = TypedNumber(base_).value_or(list_.base);
    try {
      personnel::CloseDependantsList(session_, list_, prompter_);
    } catch (const Error& error) {
      prompter_.Message(MessageKind::kError, error.what());
    }
  }
  QDialog::done(result);
}

}  // namespace traveno::personnel_ui
