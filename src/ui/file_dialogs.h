// The program's file dialogs: Qt's own dialog on every desktop, in the
// program's Romanian. The desktop's dialog (or Qt's dialog left to the
// machine's language) showed "plain text document" as a file's type, the
// dates with English month names and a sidebar too narrow for its places.
// Here every file dialog
//   - is Qt's own, with the Romanian texts of its buttons and captions;
//   - names a file's type in the program's words ("Fisier text", "Tabela
//     dBASE", "Document PDF");
//   - writes the dates as the program does (dd.mm.yyyy hh:mm) and the sizes in
//     KB with its separators, without touching the locale the program reads
//     numbers with;
//   - opens wide enough for its sidebar's places to be read whole.
#pragma once

#include <QFileDialog>
#include <QString>

class QFileInfo;
class QWidget;

namespace traveno::ui {

// The save dialog: `proposed` is the path offered (its folder and name);
// `filter` in Qt's form ("Fisiere PDF (*.pdf)"). Empty when cancelled.
QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                        const QString& filter, QFileDialog::Options options = {});

// The open dialog for an existing file, starting in `folder`. Empty when
// cancelled.
QString AskOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                        const QString& filter);

// The dialog choosing an existing folder, starting in `folder`. Empty when
// cancelled.
QString AskFolder(QWidget* parent, const QString& caption, const QString& folder = {});

// Sets up a dialog its caller builds (file mode, filters, selection) as the
// dialogs above are; call it before the caller's own settings.
void PrepareFileDialog(QFileDialog& dialog);

// The type the dialogs show for a file or a folder.
QString FileTypeText(const QFileInfo& info);

}  // namespace traveno::ui
