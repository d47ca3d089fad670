// The windows of the yearly e-filing files: "Transmitere electronica" with
// its year list (`TFTransm`), and the choice of the text or dBASE form
// (`TFTransmEl`), which the CAS and unemployment declarations use too. The
// files are written by the e-filing service; each is offered in turn in a
// save dialog, and a cancelled dialog skips its file.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "core/date.h"
#include "core/prompter.h"
#include "declarations/efiling_files.h"

class QComboBox;
class QPushButton;
class QRadioButton;

namespace traveno::params {
class Session;
}

namespace traveno::declarations_ui {

// The save dialog of a declaration file: filter "Fisierele(*.txt,*.dbf)",
// starting in `folder` with the `proposed` name, captioned in Romanian. The
// chosen path, or empty when cancelled.
QString AskDeclarationPath(QWidget* parent, const QString& caption, const QString& folder,
                           const QString& proposed);

// `TFTransmEl`: "Transmitere sub forma de fisier DBF" or "... TXT  ".
class TransmitFormWindow : public QDialog {
  Q_OBJECT

 public:
  explicit TransmitFormWindow(QWidget* parent = nullptr);

  declarations::FilingForm form() const;
  QRadioButton* dbf_choice() const { return dbf_; }
  QRadioButton* txt_choice() const { return txt_; }
  QPushButton* confirm_button() const { return confirm_; }

 private:
  QRadioButton* dbf_;
  QRadioButton* txt_;
  QPushButton* confirm_;
};

// What the window asks outside itself; tests answer instead of a person.
struct TransmitHooks {
  // The form of the files of 2002 and later; empty when abandoned. Default:
  // TransmitFormWindow.
  std::function<std::optional<declarations::FilingForm>(QWidget*)> choose_form;
  // The save dialog: a path, or empty when cancelled. Default: the desktop's
  // save dialog with the filter of the declaration files.
  std::function<QString(QWidget*, const QString& folder, const QString& proposed)> choose_path;
  // Today's date for the dBASE headers. Default: the clock.
  std::function<Date()> today;
};

// `TFTransm`: caption "Transmitere electronica", heading "Specificati anul".
class TransmitWindow : public QDialog {
  Q_OBJECT

 public:
  TransmitWindow(params::Session& session, Prompter& prompter, ProgressReporter& progress,
                 TransmitHooks hooks = {}, QWidget* parent = nullptr);

  QComboBox* years() const { return years_; }
  QPushButton* confirm_button() const { return confirm_; }

  // "&Confirmare": writes the chosen year's files; the window closes in every case.
  void BConfirmareClick();

 private:
  void WriteFiles(int year, declarations::FilingForm form);

  params::Session& session_;
  Prompter& prompter_;
  ProgressReporter& progress_;
  TransmitHooks hooks_;
  QComboBox* years_;
  QPushButton* confirm_;
};

}  // namespace traveno::declarations_ui
