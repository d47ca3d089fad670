// "Declaratii CAS": the declarant of the social-insurance declaration; in
// print mode "&Confirmare" previews the nominal and then the summary
// declaration, in file mode it writes A11 and A12 as text or dBASE files.
#pragma once

#include <QDialog>

#include "core/prompter.h"
#include "declarations/ui/declaration_hooks.h"
#include "params/session.h"

class QLineEdit;
class QPushButton;

namespace traveno::ui {
class DateEdit;
}

namespace traveno::declarations_ui {

// Stored by no one: which button opened the window.
enum class DeclarationMode { kPrint, kFiles };

class CasDeclarationWindow : public QDialog {
  Q_OBJECT

 public:
  CasDeclarationWindow(params::Session& session, DeclarationMode mode, Prompter& prompter,
                       ProgressReporter& progress, DeclarationHooks hooks,
                       QWidget* parent = nullptr);

  QLineEdit* number() const { return number_; }
  ui::DateEdit* date() const { return date_; }
  QLineEdit* nume() const { return nume_; }
  QLineEdit* prenume() const { return prenume_; }
  QLineEdit* functie() const { return functie_; }
  QLineEdit* judet() const { return judet_; }
  QPushButton* confirm_button() const { return confirm_; }

 private:
  void BConfirmareClick();
  void Run();

  params::Session& session_;
  DeclarationMode mode_;
  Prompter& prompter_;
  ProgressReporter& progress_;
  DeclarationHooks hooks_;
  QLineEdit* number_;
  ui::DateEdit* date_;
  QLineEdit* nume_;
  QLineEdit* prenume_;
  QLineEdit* functie_;
  QLineEdit* judet_;
  QPushButton* confirm_;
};

}  // namespace traveno::declarations_ui
