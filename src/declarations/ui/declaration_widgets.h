// The pieces the declaration windows share: upper-case boxes, amount boxes,
// the "&Confirmare" / "&Abandon" row and the writing of the electronic files
// one after the other through the save dialog.
#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/prompter.h"
#include "declarations/ui/declaration_hooks.h"

class QDialog;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace traveno::declarations_ui {

// Keeps what is typed in the box in upper case, the cursor where it was.
void ForceUpperCase(QLineEdit* box);

// A box for an amount, right-aligned; read-only boxes show computed figures.
QLineEdit* AmountBox(QWidget* parent, const QString& name, bool read_only = false);
// "#,##0.##".
void ShowAmount(QLineEdit* box, double value);
// The amount typed, grouping blanks allowed; not a number (NaN) when the text
// is none, which the services refuse with the box's caption.
double ReadAmount(const QLineEdit* box);

struct ConfirmAbandon {
  QHBoxLayout* layout;
  QPushButton* confirm;
  QPushButton* abandon;  // closes the window (as Escape does)
};
ConfirmAbandon MakeConfirmAbandon(QDialog* dialog);

// One electronic file: the name it is proposed under and how it is written.
struct FileToWrite {
  std::string proposed_name;
  std::function<void(const std::filesystem::path& path)> write;
};

// Offers each file in turn in the save dialog, the first in `first_folder`,
// the next ones in the folder of the file chosen before; a cancelled dialog
// skips its file. Each chosen file is written under the wait window
// "Asteptati va rog...." / "Salvez in " + path.
void SaveFilesInTurn(QWidget* parent, const DeclarationHooks& hooks, ProgressReporter& progress,
                     const std::filesystem::path& first_folder,
                     const std::vector<FileToWrite>& files);

}  // namespace traveno::declarations_ui
