// The formula editors: of a named bonus (`FFormulaSpor`, with "Cu procent")
// and of the holiday pay (`FFormulaCO`, with the number of earlier months).
// The memo takes at most 60 characters; a double click or Enter on a field
// of the list appends it between double quotes. Checking goes through
// ValideazaFormula, confirming through ConfirmBonusFormula or
// ConfirmHolidayPayFormula; a closed month disables "&Confirmare".
#pragma once

#include <QDialog>

#include "core/prompter.h"
#include "params/session.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace traveno::params_ui {

class FormulaEditor : public QDialog {
  Q_OBJECT

 public:
  // `bonus` 0..3 edits that bonus's formula; -1 the holiday pay's.
  FormulaEditor(params::Session& session, int bonus, Prompter& prompter, QWidget* parent = nullptr);

  QPlainTextEdit* memo() const { return memo_; }
  QListWidget* fields() const { return fields_; }
  QLabel* counter() const { return counter_; }
  QCheckBox* with_percent() const { return with_percent_; }
  QLineEdit* months() const { return months_; }
  QPushButton* check_button() const { return check_; }
  QPushButton* confirm_button() const { return confirm_; }
  bool confirmed() const { return confirmed_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void TextChanged();
  void AppendField();
  // Shows the first fault of the memo's formula; true when there is none.
  bool Check();
  void BVerificareClick();
  void BConfirmareClick();

  params::Session& session_;
  int bonus_;
  Prompter& prompter_;
  QPlainTextEdit* memo_;
  QListWidget* fields_;
  QLabel* counter_;
  QCheckBox* with_percent_ = nullptr;
  QLineEdit* months_ = nullptr;
  QPushButton* check_;
  QPushButton* confirm_;
  bool confirmed_ = false;
};

}  // namespace traveno::params_ui
