// The personal-code window ("Verificare Cod Numeric Personal"): checks a
// typed code, finds a missing control digit, or the digits that can stand
// for one unknown "?" digit. The answer is the personal-code service's.
#pragma once

#include <QDialog>

#include "core/prompter.h"

class QLineEdit;
class QPushButton;

namespace traveno::personnel_ui {

class CodeCheckWindow : public QDialog {
  Q_OBJECT

 public:
  explicit CodeCheckWindow(Prompter& prompter, QWidget* parent = nullptr);

  QLineEdit* code() const { return code_; }
  QPushButton* check_button() const { return check_; }

  // "&Verificare": trims the field, writes it back and shows the answer.
  void BVerificareClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Prompter& prompter_;
  QLineEdit* code_;
  QPushButton* check_;
};

}  // namespace traveno::personnel_ui
