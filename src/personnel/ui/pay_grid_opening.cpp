#include "personnel/ui/pay_grid_opening.h"

#include "params/departments.h"
#include "params/ui/department_windows.h"
#include "personnel/ui/pay_grid_window.h"

namespace traveno::personnel_ui {

std::optional<std::optional<std::string>> ChooseGridDepartment(params::Session& session,
                                                               QWidget* parent) {
  if (params::VerifyDepartments(session)) {
    params_ui::EmployeesWithoutDepartmentWindow window(session, parent);
    window.exec();
  }
  // With fewer than two departments the grid shows the whole company: every
  // employee belongs to the one department, if any.
  if (params::CountDepartments(session) < 2) return std::optional<std::string>();
  std::vector<std::string> lines = params::DepartmentChooserLines(params::ListDepartments(session));
  lines.emplace_back(params::kWholeCompanyLine);
  const std::optional<std::string> chosen =
      params_ui::DepartmentChooserDialog::Choose(lines, "Alegere departament", false, parent);
  if (!chosen) return std::nullopt;
  if (*chosen == params::kWholeCompanyLine) return std::optional<std::string>();
  return std::optional(params::ChosenDepartmentCode(*chosen));
}

bool OpenPayGrid(params::Session& session, Prompter& prompter, ProgressReporter& progress,
                 QWidget* parent) {
  const auto department = ChooseGridDepartment(session, parent);
  if (!department) return false;
  PayGridWindow window(session, prompter, progress, *department, parent);
  window.exec();
  return true;
}

void OpenPayGridOnLine(params::Session& session, Prompter& prompter, ProgressReporter& progress,
                       std::int64_t nr, QWidget* parent) {
  if (params::VerifyDepartments(session)) {
    params_ui::EmployeesWithoutDepartmentWindow window(session, parent);
    window.exec();
  }
  PayGridWindow window(session, prompter, progress, std::nullopt, parent);
  window.ShowLine(nr);
  window.exec();
}

}  // namespace traveno::personnel_ui
