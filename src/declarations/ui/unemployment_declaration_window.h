// "Declaratie Somaj": the amounts the insured and the employer paid, the
// spread of a shortfall over the insured, the arrears of earlier months and
// the declarant; "&Confirmare" stores them for the month and then previews
// the nominal and the summary declaration (print mode) or writes A1 and A2
// (file mode).
#pragma once

#include <QDialog>
#include <optional>

#include "core/prompter.h"
#include "declarations/declaration_header.h"
#include "declarations/insured_payment.h"
#include "declarations/ui/cas_declaration_window.h"
#include "declarations/ui/declaration_hooks.h"
#include "declarations/unemployment_declaration.h"
#include "params/session.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace traveno::ui {
class DateEdit;
}

namespace traveno::declarations_ui {

class UnemploymentDeclarationWindow : public QDialog {
  Q_OBJECT

 public:
  UnemploymentDeclarationWindow(params::Session& session, DeclarationMode mode, Prompter& prompter,
                                ProgressReporter& progress, DeclarationHooks hooks,
                                QWidget* parent = nullptr);

  // Recalculates the month and fills the window; false (the message shown)
  // when the month's rows cannot be read. Call it before showing the window.
  bool Prepare();

  QLineEdit* number() const { return number_; }
  ui::DateEdit* date() const { return date_; }
  QLineEdit* paid_insured() const { return paid_insured_; }
  QLineEdit* paid_employer() const { return paid_employer_; }
  QLineEdit* due_insured() const { return due_insured_; }
  QLineEdit* due_employer() const { return due_employer_; }
  QLineEdit* nume() const { return nume_; }
  QLineEdit* prenume() const { return prenume_; }
  QLineEdit* functie() const { return functie_; }
  QGroupBox* spread_group() const { return spread_group_; }
  QRadioButton* first_insured() const { return first_insured_; }
  QRadioButton* proportional() const { return proportional_; }
  QPushButton* spread_button() const { return spread_button_; }
  QPushButton* other_sums_button() const { return other_sums_button_; }
  QWidget* other_sums() const { return other_sums_; }
  // Deduceri, Restanta angajator, Restanta asigurati, Majorari, Penalitati.
  QLineEdit* other_sum(int index) const { return other_[index]; }
  QPushButton* confirm_button() const { return confirm_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The checks on leaving the paid amounts, with the amount the box was left with.
  void ESumaVirataAsigExit(double paid);
  void ESumaVirataAngExit(double paid);
  void BCalculClick();
  void BConfirmareClick();
  void Report(const declarations::DeclarationHeader& header);

  params::Session& session_;
  DeclarationMode mode_;
  Prompter& prompter_;
  ProgressReporter& progress_;
  DeclarationHooks hooks_;
  declarations::UnemploymentOpening opening_;
  std::optional<declarations::SpreadMode> chosen_mode_;
  bool leaving_ = false;  // a leave check is showing its message
  QLineEdit* number_;
  ui::DateEdit* date_;
  QLineEdit* paid_insured_;
  QLineEdit* paid_employer_;
  QLineEdit* due_insured_;
  QLineEdit* due_employer_;
  QLineEdit* nume_;
  QLineEdit* prenume_;
  QLineEdit* functie_;
  QGroupBox* spread_group_;
  QRadioButton* first_insured_;
  QRadioButton* proportional_;
  QPushButton* spread_button_;
  QPushButton* other_sums_button_;
  QWidget* other_sums_;
  QLineEdit* other_[5];
  QPushButton* confirm_;
};

}  // namespace traveno::declarations_ui
