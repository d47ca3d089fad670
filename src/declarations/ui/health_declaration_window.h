// The health declaration window: the month's computed contributions, what
// was paid, the arrears and increases of the three sections, the signatory
// and the annexed lists; "&Confirmare" stores the figures for the month and
// previews the declaration and the chosen lists.
#pragma once

#include <QDialog>
#include <array>

#include "core/prompter.h"
#include "declarations/health_declaration.h"
#include "declarations/ui/declaration_hooks.h"
#include "params/session.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace traveno::ui {
class DateEdit;
}

namespace traveno::declarations_ui {

class HealthDeclarationWindow : public QDialog {
  Q_OBJECT

 public:
  HealthDeclarationWindow(params::Session& session, Prompter& prompter, ProgressReporter& progress,
                          DeclarationHooks hooks, QWidget* parent = nullptr);

  // Recalculates the month and fills the window; false (the message shown)
  // when it cannot. Call it before showing the window.
  bool Prepare();

  // Sections A, B, C.
  QLineEdit* paid(int section) const { return paid_[section]; }
  QLineEdit* arrears(int section) const { return arrears_[section]; }
  QLineEdit* increases(int section) const { return increases_[section]; }
  QLineEdit* due(int section) const { return due_[section]; }
  QLineEdit* salary_fund() const { return salary_fund_; }
  QLineEdit* gross_income() const { return gross_income_; }
  ui::DateEdit* date() const { return date_; }
  QLineEdit* nume() const { return nume_; }
  QLineEdit* prenume() const { return prenume_; }
  QLineEdit* functie() const { return functie_; }
  QCheckBox* entering_list() const { return entering_; }
  QCheckBox* leaving_list() const { return leaving_; }
  QCheckBox* nominal_list() const { return nominal_; }
  QPushButton* confirm_button() const { return confirm_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BConfirmareClick();

  params::Session& session_;
  Prompter& prompter_;
  ProgressReporter& progress_;
  DeclarationHooks hooks_;
  declarations::HealthOpening opening_;
  std::array<QLineEdit*, 3> paid_;
  std::array<QLineEdit*, 3> arrears_;
  std::array<QLineEdit*, 3> increases_;
  std::array<QLineEdit*, 3> due_;
  QLineEdit* salary_fund_;
  QLineEdit* gross_income_;
  ui::DateEdit* date_;
  QLineEdit* nume_;
  QLineEdit* prenume_;
  QLineEdit* functie_;
  QCheckBox* entering_;
  QCheckBox* leaving_;
  QCheckBox* nominal_;
  QPushButton* confirm_;
};

}  // namespace traveno::declarations_ui
