#include "params/ui/department_windows.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "core/system_info.h"
#include "core/text.h"
#include "ui/data_grid.h"
#include "ui/field_text.h"
#include "ui/qt_prompter.h"
#include "ui/record_navigator.h"
#include "ui/window_base.h"

namespace traveno::params_ui {
namespace {

// Keeps what is typed in upper case without moving the cursor.
void ForceUpperCase(QLineEdit* edit) {
  QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
    const QString upper = text.toUpper();
    if (upper == text) return;
    const int cursor = edit->cursorPosition();
    edit->setText(upper);
    edit->setCursorPosition(cursor);
  });
}

QHBoxLayout* ConfirmAbandon(QDialog* dialog, QPushButton* confirm) {
  confirm->setObjectName("BConfirmare");
  auto* abandon = new QPushButton("&Abandon", dialog);
  abandon->setObjectName("BAbandon");
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(confirm);
  row->addWidget(abandon);
  QObject::connect(abandon, &QPushButton::clicked, dialog, &QDialog::reject);
  return row;
}

params::DepartmentChooser WindowChooser(QWidget* parent, bool warning) {
  return [parent, warning](const std::vector<std::string>& lines, const std::string& label) {
    return DepartmentChooserDialog::Choose(lines, label, warning, parent);
  };
}

}  // namespace

DepartmentChooserDialog::DepartmentChooserDialog(const std::vector<std::string>& lines,
                                                 const std::string& label, bool warning,
                                                 QWidget* parent)
    : QDialog(parent),
      list_(new QComboBox(this)),
      label_(new QLabel(ui::DisplayText(label), this)),
      confirm_(new QPushButton("&Confirmare", this)) {
  setObjectName("FAlegDep");
  setWindowTitle("Alegere Departament");
  list_->setObjectName("CBDepartament");
  for (const std::string& line : lines) list_->addItem(QString::fromStdString(line));
  list_->setCurrentIndex(lines.empty() ? -1 : 0);
  list_->installEventFilter(this);
  label_->setObjectName("LEticheta");
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  auto* picture = new QLabel(this);
  picture->setObjectName("IAvertizare");
  picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
  picture->setVisible(warning);
  top->addWidget(picture);
  top->addWidget(label_, 1);
  layout->addLayout(top);
  layout->addWidget(list_);
  layout->addLayout(ConfirmAbandon(this, confirm_));
  connect(confirm_, &QPushButton::clicked, this, &QDialog::accept);
}

std::string DepartmentChooserDialog::ChosenLine() const {
  return list_->currentText().toStdString();
}

std::optional<std::string> DepartmentChooserDialog::Choose(const std::vector<std::string>& lines,
                                                           const std::string& label, bool warning,
                                                           QWidget* parent) {
  DepartmentChooserDialog dialog(lines, label, warning, parent);
  if (dialog.exec() != QDialog::Accepted || dialog.list_->currentIndex() < 0) return std::nullopt;
  return dialog.ChosenLine();
}

bool DepartmentChooserDialog::eventFilter(QObject* watched, QEvent* event) {
  // Enter in the list moves on to the next control.
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      focusNextChild();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

DepartmentEditor::DepartmentEditor(Mode mode, const params::Department& shown, Apply apply,
                                   QWidget* parent)
    : QDialog(parent),
      apply_(std::move(apply)),
      code_(new QLineEdit(this)),
      name_(new QLineEdit(this)),
      confirm_(new QPushButton("&Confirmare", this)) {
  setObjectName("FEDepart");
  setWindowTitle(mode == Mode::kAdd      ? "Adaugare Departament"
                 : mode == Mode::kModify ? "Modificare Departament"
                                         : "Stergere Departament");
  code_->setObjectName("ECod");
  name_->setObjectName("EDenumire");
  code_->setMaxLength(8);
  name_->setMaxLength(30);
  ui::SizeToChars(code_, 8);
  ui::SizeToChars(name_, 30);
  ForceUpperCase(code_);
  ForceUpperCase(name_);
  if (mode != Mode::kAdd) {
    code_->setText(QString::fromStdString(shown.code));
    name_->setText(QString::fromStdString(shown.name));
  }
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  form->addRow("Cod departament: ", code_);
  form->addRow("Denumire: ", name_);
  layout->addLayout(form);
  if (mode == Mode::kDelete) {
    code_->setEnabled(false);
    name_->setEnabled(false);
    layout->addWidget(new QLabel("Sigur doriti sa stergeti departamentul ?", this));
  }
  layout->addLayout(ConfirmAbandon(this, confirm_));
  confirm_->setDefault(true);
  connect(confirm_, &QPushButton::clicked, this, [this] {
    if (apply_(code_->text().toStdString(), name_->text().toStdString())) {
      accept();
    } else if (code_->isEnabled()) {
      code_->setFocus();
    }
  });
}

void DepartmentEditor::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (code_->isEnabled()) code_->setFocus();
}

DepartmentWindow::DepartmentWindow(params::Session& session, Prompter& prompter,
                                   ProgressReporter& progress, QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompter_(prompter),
      progress_(progress),
      chooser_(WindowChooser(this, true)),
      grid_(new ui::DataGrid(this)),
      add_(new QPushButton("&Adaugare", this)),
      modify_(new QPushButton("&Modificare", this)),
      delete_(new QPushButton("&Stergere", this)) {
  setObjectName("FDepart");
  setWindowTitle("Configurare Departamente");
  resize(560, 400);
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel("Configurare departamente  ", this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  layout->addWidget(heading);
  model_.setHorizontalHeaderLabels({"Cod departament", "Denumire departament"});
  static constexpr ui::GridColumn kColumns[] = {{"Den", "Cod departament", 8},
                                                {"Grupa", "Denumire departament", 30}};
  grid_->SetColumns(kColumns);
  grid_->SetSourceModel(&model_);
  grid_->set_prompter(&prompter_);
  grid_->set_export_title("Departamente");
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  layout->addWidget(grid_, 1);

  navigator_ = new ui::RecordNavigator(grid_, {}, this);
  layout->addWidget(navigator_);

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
  layout->addLayout(buttons);
  connect(add_, &QPushButton::clicked, this, &DepartmentWindow::BAdaugareClick);
  connect(modify_, &QPushButton::clicked, this, &DepartmentWindow::BModificareClick);
  connect(delete_, &QPushButton::clicked, this, &DepartmentWindow::BStergereClick);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  // The keys of the pop-up menu work on the grid as well.
  ui::BindRecordKeys(
      grid_, this, [this] { BAdaugareClick(); }, [this] { BModificareClick(); },
      [this] { BStergereClick(); });
  Reload();
}

void DepartmentWindow::Reload(const std::string& code) {
  params::CountDepartments(session_);
  departments_ = params::ListDepartments(session_);
  model_.removeRows(0, model_.rowCount());
  int select = static_cast<int>(departments_.size()) - 1;
  for (std::size_t i = 0; i < departments_.size(); ++i) {
    const params::Department& department = departments_[i];
    model_.appendRow({new QStandardItem(QString::fromStdString(department.code)),
                      new QStandardItem(QString::fromStdString(department.name))});
    if (!code.empty() && department.code == code) select = static_cast<int>(i);
  }
  modify_->setEnabled(!departments_.empty());
  // The month keeps at least one department.
  delete_->setEnabled(departments_.size() > 1);
  MoveTo(select);
}

void DepartmentWindow::MoveTo(int row) { navigator_->MoveTo(row); }

std::optional<params::Department> DepartmentWindow::Current() const {
  const QModelIndex index = grid_->currentIndex();
  if (!index.isValid()) return std::nullopt;
  const int row = grid_->filter_model()->mapToSource(index).row();
  if (row < 0 || row >= static_cast<int>(departments_.size())) return std::nullopt;
  return departments_[row];
}

std::string DepartmentWindow::CurrentCode() const {
  const auto current = Current();
  return current ? current->code : std::string();
}

void DepartmentWindow::BAdaugareClick() {
  std::string added;
  DepartmentEditor editor(
      DepartmentEditor::Mode::kAdd, {},
      [&](const std::string& code, const std::string& name) {
        added = UpperTrim(code);
        return params::AddDepartment(session_, code, name, prompter_);
      },
      this);
  if (editor.exec() == QDialog::Accepted) Reload(added);
}

void DepartmentWindow::BModificareClick() {
  const auto current = Current();
  if (!current) return;
  std::string changed = current->code;
  DepartmentEditor editor(
      DepartmentEditor::Mode::kModify, *current,
      [&](const std::string& code, const std::string& name) {
        changed = UpperTrim(code);
        return params::ModifyDepartment(session_, current->nr, code, name, prompter_, progress_);
      },
      this);
  if (editor.exec() == QDialog::Accepted) Reload(changed);
}

void DepartmentWindow::BStergereClick() {
  const auto current = Current();
  if (!current || departments_.size() < 2) return;
  DepartmentEditor editor(
      DepartmentEditor::Mode::kDelete, *current,
      [&](const std::string&, const std::string&) {
        // Abandoning the chooser of where the employees go closes the
        // editor too: nothing is deleted or moved.
        params::DeleteDepartment(session_, current->code, chooser_, progress_);
        return true;
      },
      this);
  editor.exec();
  Reload();
}

void DepartmentWindow::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction("&Adaugare", QKeySequence(Qt::Key_Insert), this,
                 &DepartmentWindow::BAdaugareClick);
  menu.addAction("&Modificare", QKeySequence(Qt::Key_Return), this,
                 &DepartmentWindow::BModificareClick)
      ->setEnabled(modify_->isEnabled());
  menu.addAction("&Stergere", QKeySequence(Qt::Key_Delete), this, &DepartmentWindow::BStergereClick)
      ->setEnabled(delete_->isEnabled());
  menu.exec(event->globalPos());
}

EmployeesWithoutDepartmentWindow::EmployeesWithoutDepartmentWindow(params::Session& session,
                                                                   QWidget* parent)
    : QDialog(parent),
      session_(session),
      chooser_(WindowChooser(this, true)),
      grid_(new ui::DataGrid(this)),
      choose_(new QPushButton("&Alegere departament", this)) {
  setObjectName("FPersFaraDep");
  setWindowTitle(QString(kApplicationTitle) + " - Verificare departament");
  resize(720, 400);
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel("Persoane fara departament", this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  layout->addWidget(heading);
  model_.setHorizontalHeaderLabels(
      {"MARCA", "CATEGORIE", "TIP", "NUME", "PRENUME", "CODNUMPERS", "FUNCTIE"});
  static constexpr ui::GridColumn kColumns[] = {
      {"MARCA", "Marca", 6},     {"CATEGORIE", "Categorie", 10}, {"TIP", "Tip", 3},
      {"NUME", "Nume", 20},      {"PRENUME", "Prenume", 20},     {"CODNUMPERS", "CNP", 13},
      {"FUNCTIE", "Functie", 20}};
  grid_->SetColumns(kColumns);
  grid_->SetSourceModel(&model_);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  layout->addWidget(grid_, 1);
  auto* exit = new QPushButton("&Iesire", this);
  choose_->setObjectName("BAlegere");
  exit->setObjectName("BIesire");
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {choose_, exit}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  layout->addLayout(buttons);
  connect(choose_, &QPushButton::clicked, this, &EmployeesWithoutDepartmentWindow::BAlegereClick);
  // A double click or Enter on the grid chooses as well.
  connect(grid_, &QAbstractItemView::activated, this,
          &EmployeesWithoutDepartmentWindow::BAlegereClick);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  Reload();
}

void EmployeesWithoutDepartmentWindow::Reload() {
  rows_ = params::EmployeesWithoutDepartment(session_);
  model_.removeRows(0, model_.rowCount());
  static const char* const kColumns[] = {"MARCA",   "CATEGORIE",  "TIP",    "NUME",
                                         "PRENUME", "CODNUMPERS", "FUNCTIE"};
  for (const PersRow& row : rows_) {
    QList<QStandardItem*> items;
    for (const char* column : kColumns) {
      const auto field = FindField<PersRow>(column);
      items << new QStandardItem(field ? ui::FieldText(GetField(row, *field)) : QString());
    }
    model_.appendRow(items);
  }
  choose_->setEnabled(!rows_.empty());
  if (!rows_.empty()) grid_->setCurrentIndex(grid_->model()->index(0, 0));
}

void EmployeesWithoutDepartmentWindow::BAlegereClick() {
  const QModelIndex index = grid_->currentIndex();
  if (!index.isValid()) return;
  const int row = grid_->filter_model()->mapToSource(index).row();
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  const PersRow& person = rows_[row];
  const auto line =
      chooser_(params::DepartmentChooserLines(params::ListDepartments(session_)),
               "Alegeti departametul pentru persoana \n\r" + person.NUME + "  " + person.PRENUME);
  if (!line) return;
  params::AssignDepartment(session_, person.Nr, params::ChosenDepartmentCode(*line));
  if (!params::VerifyDepartments(session_)) {
    accept();
    return;
  }
  Reload();
}

}  // namespace traveno::params_ui
