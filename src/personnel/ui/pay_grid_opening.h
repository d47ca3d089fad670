// "&Salarii": the checks of the departments that run before the pay grid
// opens, then the grid on the working month. Employees without a department
// are shown first (or silently given the only department); with several
// departments the user chooses one, or the whole company.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/prompter.h"
#include "params/session.h"

class QWidget;

namespace traveno::personnel_ui {

// The department the grid opens on: empty for the whole company; nothing
// when the chooser was abandoned (the grid does not open).
std::optional<std::optional<std::string>> ChooseGridDepartment(params::Session& session,
                                                               QWidget* parent);

// Runs the department checks and, unless abandoned, shows the pay grid.
// Returns whether the grid was shown.
bool OpenPayGrid(params::Session& session, Prompter& prompter, ProgressReporter& progress,
                 QWidget* parent);

// Shows the pay grid of the whole company on the line with `nr` (after the
// check of the employees without a department), as a window that lists a
// line opens it.
void OpenPayGridOnLine(params::Session& session, Prompter& prompter, ProgressReporter& progress,
                       std::int64_t nr, QWidget* parent);

}  // namespace traveno::personnel_ui
