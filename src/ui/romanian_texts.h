// The program is Romanian whatever the machine's locale: the texts of Qt's own
// buttons and dialogs (OK / Cancel, the file dialog, the context menus of the
// edit boxes) and the names of the days of the week, written like the rest of
// the program's texts, without diacritics.
#pragma once

#include <QString>

class QCoreApplication;
class QDate;

namespace traveno::ui {

// Installs the Romanian texts of Qt's standard buttons and dialogs: Qt's own
// Romanian translation (qtbase_ro) when the installation has one, under the
// program's texts for the buttons and dialogs it shows most. Returns whether
// qtbase_ro was found.
bool InstallRomanianTexts(QCoreApplication& application);

// The program's text for one of Qt's standard texts (its translation context
// and source text, as Qt's own code asks for them); empty when the program has
// none.
QString RomanianQtText(const char* context, const char* source);

// The full name of the day of the week: "Luni" .. "Duminica".
QString WeekdayName(const QDate& date);

}  // namespace traveno::ui
