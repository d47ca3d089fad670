#include "ui/romanian_texts.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstring>

namespace traveno::ui {
namespace {

struct QtText {
  const char* context;
  const char* source;
  const char* romanian;
};

// Qt's standard texts the user meets: the buttons of message boxes and
// dialogs, the file dialog, the context menus of edit boxes and scroll bars.
const QtText kQtTexts[] = {
    {"QPlatformTheme", "OK", "OK"},
    {"QPlatformTheme", "Save", "Salvare"},
    {"QPlatformTheme", "Save All", "Salvare toate"},
    {"QPlatformTheme", "Open", "Deschidere"},
    {"QPlatformTheme", "&Yes", "&Da"},
    {"QPlatformTheme", "Yes to &All", "Da la t&oate"},
    {"QPlatformTheme", "&No", "&Nu"},
    {"QPlatformTheme", "N&o to All", "Nu la t&oate"},
    {"QPlatformTheme", "Abort", "Abandon"},
    {"QPlatformTheme", "Retry", "Reincercare"},
    {"QPlatformTheme", "Ignore", "Ignorare"},
    {"QPlatformTheme", "Close", "Inchidere"},
    {"QPlatformTheme", "Cancel", "Anulare"},
    {"QPlatformTheme", "Discard", "Renuntare"},
    {"QPlatformTheme", "Help", "Ajutor"},
    {"QPlatformTheme", "Apply", "Aplicare"},
    {"QPlatformTheme", "Reset", "Reinitializare"},
    {"QPlatformTheme", "Restore Defaults", "Valori implicite"},
    {"QMessageBox", "Show Details...", "Detalii..."},
    {"QMessageBox", "Hide Details...", "Ascunde detaliile..."},
    {"QFileDialog", "Look in:", "Cauta in:"},
    {"QFileDialog", "File &name:", "&Nume fisier:"},
    {"QFileDialog", "Files of type:", "Fisiere de tipul:"},
    {"QFileDialog", "&Open", "&Deschidere"},
    {"QFileDialog", "&Save", "&Salvare"},
    {"QFileDialog", "&Choose", "&Alege"},
    {"QFileDialog", "Open", "Deschidere"},
    {"QFileDialog", "Save", "Salvare"},
    {"QFileDialog", "Save As", "Salvare ca"},
    {"QFileDialog", "Find Directory", "Alegere director"},
    {"QFileDialog", "Directory:", "Director:"},
    {"QFileDialog", "Directories", "Directoare"},
    {"QFileDialog", "Back", "Inapoi"},
    {"QFileDialog", "Go back", "Inapoi"},
    {"QFileDialog", "Forward", "Inainte"},
    {"QFileDialog", "Go forward", "Inainte"},
    {"QFileDialog", "Parent Directory", "Directorul parinte"},
    {"QFileDialog", "Go to the parent directory", "Directorul parinte"},
    {"QFileDialog", "Create New Folder", "Director nou"},
    {"QFileDialog", "Create a New Folder", "Director nou"},
    {"QFileDialog", "List View", "Lista"},
    {"QFileDialog", "Change to list view mode", "Afisare ca lista"},
    {"QFileDialog", "Detail View", "Detalii"},
    {"QFileDialog", "Change to detail view mode", "Afisare cu detalii"},
    {"QFileDialog", "Sidebar", "Locuri"},
    {"QFileDialog", "Files", "Fisiere"},
    {"QFileDialog", "Recent Places", "Locuri recente"},
    {"QFileDialog", "&Rename", "&Redenumire"},
    {"QFileDialog", "&Delete", "&Stergere"},
    {"QFileDialog", "Show &hidden files", "Arata fisierele &ascunse"},
    {"QFileDialog", "&New Folder", "Director &nou"},
    {"QFileDialog", "New Folder", "Director nou"},
    {"QFileDialog", "Remove", "Eliminare"},
    {"QFileDialog", "%1 already exists.\nDo you want to replace it?",
     "%1 exista deja.\nDoriti sa il inlocuiti?"},
    {"QFileDialog", "%1\nFile not found.\nPlease verify the correct file name was given.",
     "%1\nFisierul nu a fost gasit.\nVerificati numele fisierului."},
    {"QFileDialog", "%1\nDirectory not found.\nPlease verify the correct directory name was given.",
     "%1\nDirectorul nu a fost gasit.\nVerificati numele directorului."},
    {"QFileDialog", "'%1' is write protected.\nDo you want to delete it anyway?",
     "'%1' este protejat la scriere.\nDoriti totusi sa il stergeti?"},
    {"QFileDialog", "Are you sure you want to delete '%1'?", "Sigur doriti sa stergeti '%1'?"},
    {"QFileDialog", "Could not delete directory.", "Directorul nu poate fi sters."},
    {"QFileDialog", "All Files (*)", "Toate fisierele (*)"},
    {"QFileDialog", "Folder", "Director"},
    {"QFileDialog", "File", "Fisier"},
    {"QFileDialog", "Unknown", "Necunoscut"},
    {"QFileSystemModel", "Name", "Nume"},
    {"QFileSystemModel", "Size", "Marime"},
    {"QFileSystemModel", "Type", "Tip"},
    {"QFileSystemModel", "Date Modified", "Data modificarii"},
    {"QFileSystemModel", "Computer", "Calculator"},
    {"QFileSystemModel", "Folder", "Director"},
    {"QFileSystemModel", "Directory", "Director"},
    {"QFileSystemModel", "Drive", "Unitate"},
    {"QFileSystemModel", "Unknown", "Necunoscut"},
    {"QLineEdit", "&Undo", "&Anulare"},
    {"QLineEdit", "&Redo", "&Refacere"},
    {"QLineEdit", "Cu&t", "&Decupare"},
    {"QLineEdit", "&Copy", "&Copiere"},
    {"QLineEdit", "&Paste", "&Lipire"},
    {"QLineEdit", "Delete", "Stergere"},
    {"QLineEdit", "Select All", "Selectare totala"},
    {"QWidgetTextControl", "&Undo", "&Anulare"},
    {"QWidgetTextControl", "&Redo", "&Refacere"},
    {"QWidgetTextControl", "Cu&t", "&Decupare"},
    {"QWidgetTextControl", "&Copy", "&Copiere"},
    {"QWidgetTextControl", "Copy &Link Location", "Copiere &legatura"},
    {"QWidgetTextControl", "&Paste", "&Lipire"},
    {"QWidgetTextControl", "Delete", "Stergere"},
    {"QWidgetTextControl", "Select All", "Selectare totala"},
    {"QAbstractSpinBox", "&Select All", "&Selectare totala"},
    {"QAbstractSpinBox", "&Step up", "&Creste"},
    {"QAbstractSpinBox", "Step &down", "&Scade"},
    {"QScrollBar", "Scroll here", "Deruleaza aici"},
    {"QScrollBar", "Left edge", "Marginea stanga"},
    {"QScrollBar", "Top", "Sus"},
    {"QScrollBar", "Right edge", "Marginea dreapta"},
    {"QScrollBar", "Bottom", "Jos"},
    {"QScrollBar", "Page left", "O pagina la stanga"},
    {"QScrollBar", "Page up", "O pagina in sus"},
    {"QScrollBar", "Page right", "O pagina la dreapta"},
    {"QScrollBar", "Page down", "O pagina in jos"},
    {"QScrollBar", "Scroll left", "Deruleaza la stanga"},
    {"QScrollBar", "Scroll up", "Deruleaza in sus"},
    {"QScrollBar", "Scroll right", "Deruleaza la dreapta"},
    {"QScrollBar", "Scroll down", "Deruleaza in jos"},
    // The names of the keys beside the entries of the pop-up menus, as the
    // program writes them in its captions ("Ins", "Enter", "Del", "Esc").
    {"QShortcut", "Return", "Enter"},
    {"QShortcut", "Enter", "Enter"},
    {"QShortcut", "Ins", "Ins"},
    {"QShortcut", "Del", "Del"},
    {"QShortcut", "Esc", "Esc"},
    {"QShortcut", "Backspace", "Backspace"},
    {"QShortcut", "Space", "Spatiu"},
    {"QShortcut", "Tab", "Tab"},
    {"QShortcut", "Home", "Home"},
    {"QShortcut", "End", "End"},
    {"QShortcut", "PgUp", "PgUp"},
    {"QShortcut", "PgDown", "PgDn"},
    {"QShortcut", "Left", "Stanga"},
    {"QShortcut", "Right", "Dreapta"},
    {"QShortcut", "Up", "Sus"},
    {"QShortcut", "Down", "Jos"},
    {"QShortcut", "Ctrl", "Ctrl"},
    {"QShortcut", "Shift", "Shift"},
    {"QShortcut", "Alt", "Alt"},
    {"QShortcut", "Meta", "Meta"},
    // The type of a folder in the file dialogs.
    {"QAbstractFileIconProvider", "Folder", "Director"},
    {"QAbstractFileIconProvider", "Drive", "Unitate"},
};

// The program's texts, asked before Qt's own translation.
class ProgramQtTranslator : public QTranslator {
 public:
  using QTranslator::QTranslator;

  QString translate(const char* context, const char* source, const char*, int) const override {
    return RomanianQtText(context, source);
  }
  bool isEmpty() const override { return false; }
};

}  // namespace

QString RomanianQtText(const char* context, const char* source) {
  if (context == nullptr || source == nullptr) return {};
  for (const QtText& text : kQtTexts) {
    if (std::strcmp(text.context, context) == 0 && std::strcmp(text.source, source) == 0) {
      return QString::fromUtf8(text.romanian);
    }
  }
  return {};
}

bool InstallRomanianTexts(QCoreApplication& application) {
  // Qt's own translation covers what the program's table does not; the
  // translator installed last is asked first.
  auto* qt_texts = new QTranslator(&application);
  const bool found = qt_texts->load(QStringLiteral("qtbase_ro"),
                                    QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (found) {
    QCoreApplication::installTranslator(qt_texts);
  } else {
    delete qt_texts;
  }
  QCoreApplication::installTranslator(new ProgramQtTranslator(&application));
  return found;
}

QString WeekdayName(const QDate& date) {
  static const char* const kNames[] = {"Luni",   "Marti",   "Miercuri", "Joi",
                                       "Vineri", "Sambata", "Duminica"};
  const int day = date.dayOfWeek();  // 1 is Monday
  return day >= 1 && day <= 7 ? QString::fromLatin1(kNames[day - 1]) : QString();
}

}  // namespace traveno::ui
