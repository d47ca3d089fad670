// The choice of the folder that holds the 2002 fiscal-sheet files
// (`TFAlegeFolder`): "Cale:" as typed, "..." to pick a file of the folder,
// "&Confirm" runs the import of the working company, "&Anulez" closes.
#pragma once

#include <QDialog>
#include <functional>

#include "core/prompter.h"

class QLineEdit;

namespace traveno::params {
class Session;
}

namespace traveno::legacy_ui {

class SheetFolderWindow : public QDialog {
  Q_OBJECT

 public:
  // Picks a file in the open dialog from a start folder; empty when cancelled.
  using FileChooser = std::function<QString(QWidget* parent, const QString& start_folder)>;

  SheetFolderWindow(params::Session& session, Prompter& prompter, ProgressReporter& progress,
                    QWidget* parent = nullptr, FileChooser choose_file = nullptr);

  QLineEdit* path_edit() const { return path_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ChooseFile();
  void Confirm();

  params::Session& session_;
  Prompter& prompter_;
  ProgressReporter& progress_;
  FileChooser choose_file_;
  QLineEdit* path_;
  QString last_folder_;
};

}  // namespace traveno::legacy_ui
