// The program's help (F1 and "&Ajutor [F1]"): HTML pages installed with the
// program, opened with the desktop's default browser.
#pragma once

#include <QString>

#include "core/prompter.h"

namespace traveno::ui {

// The help's first page: share/traveno/help/index.html of the installation,
// else help/index.html beside the executable, else the copy in the source
// tree of a program run from its build folder. Empty when none exists.
QString HelpIndexPath();

// Opens the help; a warning when it is missing or cannot be opened.
void OpenHelp(Prompter& prompter);

}  // namespace traveno::ui
