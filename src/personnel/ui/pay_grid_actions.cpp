// The buttons, pop-up entries and keys of the pay grid: the windows they
// open and the bulk operations they run, each through its service; the grid
// then shows the lines and totals as stored.

#include "core/errors.h"
#include "params/departments.h"
#include "personnel/checks.h"
#include "personnel/grid_line.h"
#include "personnel/leave_form.h"
#include "personnel/pay_grid.h"
#include "personnel/ui/dependants_windows.h"
#include "personnel/ui/employee_window.h"
#include "personnel/ui/index_window.h"
#include "personnel/ui/leave_windows.h"
#include "personnel/ui/list_window.h"
#include "personnel/ui/pay_grid_model.h"
#include "personnel/ui/pay_grid_window.h"
#include "trends/ui/comparison_window.h"
#include "trends/ui/trend_window.h"
#include "ui/data_grid.h"
#include "ui/file_dialogs.h"

namespace traveno::personnel_ui {

using personnel::EmployeeEditMode;

void PayGridWindow::EditEmployee(EmployeeEditMode mode) {
  if (!month_open_) return;
  const PersRow* current = CurrentLine();
  if (mode != EmployeeEditMode::kAdd && current == nullptr) return;
  const std::optional<PersRow> line = current != nullptr ? std::optional(*current) : std::nullopt;
  EmployeeWindow window(session_, prompter_, mode, CurrentTip(), department_,
                        mode == EmployeeEditMode::kAdd ? nullptr : &*line, this);
  if (window.exec() != QDialog::Accepted) {
    FocusGrid();
    return;
  }
  std::optional<std::int64_t> select;
  try {
    const std::int64_t nr = personnel::SaveEmployee(
        session_, mode, window.Input(), CurrentTip(),
        mode == EmployeeEditMode::kAdd ? std::nullopt : std::optional(line->Nr));
    if (mode != EmployeeEditMode::kDelete) select = nr;
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
  }
  LoadLines(select);
  FocusGrid();
}

void PayGridWindow::BAdaugareClick() { EditEmployee(EmployeeEditMode::kAdd); }
void PayGridWindow::BModificareClick() { EditEmployee(EmployeeEditMode::kModify); }
void PayGridWindow::BStergereClick() { EditEmployee(EmployeeEditMode::kDelete); }

void PayGridWindow::BIntretinereClick() {
  const PersRow* line = CurrentLine();
  if (line == nullptr || !personnel::DependantsOffered(CurrentTip(), line)) return;
  const std::int64_t nr = line->Nr;
  try {
    DependantsWindow window(session_, prompter_, nr, month_open_, this);
    window.exec();
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
  }
  RefreshLine(nr);
  FocusGrid();
}

void PayGridWindow::BIstoricClick() {
  const PersRow* line = CurrentLine();
  if (line == nullptr) return;
  personnel::PersonHistoryView view;
  {
    WaitScope wait(progress_, "Istoric", "Va rog asteptati....");
    view = personnel::HistoryOfPerson(session_, line->IID);
  }
  if (!view.rows.empty()) {
    HistoryWindow window(session_, view, this);
    window.exec();
  }
  FocusGrid();
}

void PayGridWindow::CalculCM(int months) {
  const PersRow* line = CurrentLine();
  if (line == nullptr || !month_open_ || !personnel::DependantsOffered(CurrentTip(), line)) return;
  const std::int64_t nr = line->Nr;
  try {
    std::optional<personnel::MedicalLeaveForm> form;
    {
      WaitScope wait(progress_, "Calcul Concedii Medicale", "Va rog asteptati....");
      form.emplace(session_, nr, months);
    }
    MedicalLeaveWindow window(*form, this);
    if (window.exec() == QDialog::Accepted) form->Apply();
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
  }
  RefreshLine(nr);
  FocusGrid();
}

void PayGridWindow::BRefreshClick() { Recalculate(); }

void PayGridWindow::BEvolutieClick() {
  trends_ui::TrendWindowOptions options;
  options.department = department_.value_or("");
  trends_ui::TrendWindow window(session_, prompter_, std::move(options), this);
  window.exec();
  FocusGrid();
}

void PayGridWindow::BComparatieClick() {
  trends_ui::ComparisonWindow window(
      session_, prompter_,
      [this](const trends::ComparedLine& line) {
        if (ShowLine(line.nr)) return true;
        prompter_.Message(MessageKind::kWarning,
                          "Linia nu este in departamentul ales: deschideti statul de salarii pe "
                          "toata firma !");
        return false;
      },
      this);
  window.exec();
  FocusGrid();
}

bool PayGridWindow::ShowLine(std::int64_t nr) {
  if (!opened_) {
    show_on_open_ = nr;
    return true;
  }
  for (int page : {kPermanentPage, kPartialPage}) {
    if (model(page)->RowOfNr(nr) < 0) continue;
    pages_->setCurrentIndex(page);
    if (!SelectLine(nr)) return false;
    FocusGrid();
    return true;
  }
  return false;
}

void PayGridWindow::Indexare() {
  if (!month_open_ || !index_->isEnabled()) return;
  const personnel::IndexQuestion question = personnel::IndexationQuestion(session_);
  if (!prompter_.AskYesNo(question.text)) return;
  IndexWindow window(prompter_, this);
  if (window.exec() != QDialog::Accepted) {
    FocusGrid();
    return;
  }
  try {
    personnel::ApplyIndexation(session_, window.percent(), window.sign(), window.unit(), Scope(),
                               progress_);
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
  }
  LoadLines();
  FocusGrid();
}

void PayGridWindow::Reangajare() {
  if (!month_open_ || !rehire_->isEnabled()) return;
  RunRehireList(session_, prompter_, CurrentTip(), department_, this);
  LoadLines();
  FocusGrid();
}

void PayGridWindow::VerificareTimp() {
  ListWindow window(TimeCheckContent(personnel::CheckTime(session_, Scope())), prompter_, this);
  window.exec();
  FocusGrid();
}

void PayGridWindow::VerificareCNP() {
  ListWindow window(CodeCheckContent(personnel::CheckCodes(session_, Scope())), prompter_, this);
  window.exec();
  FocusGrid();
}

void PayGridWindow::VerificareCoeficienti() {
  ListWindow window(CoefficientCheckContent(personnel::CheckCoefficients(session_, Scope())),
                    prompter_, this);
  window.exec();
  FocusGrid();
}

void PayGridWindow::CumulareDateCas() {
  const QString start = QString::fromStdString(
      session_.store().CompanyFolderOf(session_.company()).parent_path().string());
  const QString file =
      choose_import_ ? choose_import_(start)
                     : ui::AskOpenFileName(this, "Cumulare date CAS", start, "Fisierele (*.db)");
  if (file.isEmpty()) return;
  try {
    personnel::ImportEmployees(session_, file.toStdString(), progress_);
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
    LoadLines();
    return;
  }
  params::CountDepartments(session_);
  accept();
}

void PayGridWindow::CompletareColoana() {
  // Only an editable column of an open month, on a page with lines.
  ui::DataGrid* shown = grid(CurrentPage());
  const QModelIndex index = shown->currentIndex();
  if (!index.isValid() || !(index.flags() & Qt::ItemIsEditable)) return;
  PayGridModel* shown_model = model(CurrentPage());
  const personnel::GridColumn& column =
      shown_model
          ->columns()[static_cast<std::size_t>(shown->filter_model()->mapToSource(index).column())];
  if (!personnel::CanFillColumn(session_, column.field)) return;
  const std::optional<double> value = personnel::AskFillValue(prompter_, column.caption);
  if (!value) return;
  const std::optional<std::int64_t> remembered =
      CurrentLine() ? std::optional(CurrentLine()->Nr) : std::nullopt;
  personnel::FillResult result;
  shown->setUpdatesEnabled(false);
  try {
    result =
        personnel::FillColumn(session_, column.field, column.caption, *value, Scope(), progress_);
  } catch (const Error& error) {
    prompter_.Message(MessageKind::kError, error.what());
  }
  shown->setUpdatesEnabled(true);
  LoadLines(remembered);
  for (const std::string& notice : result.notices) prompter_.Message(MessageKind::kWarning, notice);
  FocusGrid();
}

}  // namespace traveno::personnel_ui
