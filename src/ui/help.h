// The program's help (F1 and "&Ajutor [F1]"): one HTML page installed with the
// program, with a section per window whose id is the window's form name
// ("FMain", "FImpo"), opened with the desktop's default browser at the section
// of the window in hand.
#pragma once

#include <QString>
#include <QUrl>

#include "core/prompter.h"

namespace traveno::ui {

// The help's first page: share/traveno/help/index.html of the installation,
// else help/index.html beside the executable, else the copy in the source
// tree of a program run from its build folder. Empty when none exists.
QString HelpIndexPath();

// The address of the help at a window's section; the page's top for an empty
// topic. Empty when the help is missing.
QUrl HelpUrl(const QString& topic);

// Opens the help at `topic`; the warning "Fisierul de ajutor nu poate fi
// deschis !" when it is missing or cannot be opened.
void OpenHelp(Prompter& prompter, const QString& topic = {});

// F1: the help at the section of the window in hand, the warning in a message
// box over that window.
void OpenHelpOfWindowInHand();

}  // namespace traveno::ui
