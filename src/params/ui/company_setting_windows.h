// The small windows of the company parameters: exempt sums ("Configurare
// Sume Exceptate"), sums initialised at the month transition ("Sume
// initializate ") and the deduction names ("Definire retineri"). Each shows
// the working month's values in memory; a closed month disables the
// confirmation of the first two.
#pragma once

#include <QDialog>
#include <array>

#include "core/prompter.h"
#include "params/session.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace traveno::params_ui {

class ExemptSumsWindow : public QDialog {
  Q_OBJECT

 public:
  ExemptSumsWindow(params::Session& session, Prompter& prompter, ProgressReporter& progress,
                   QWidget* parent = nullptr);

  // Pensie, sanatate, impozit.
  QCheckBox* check(int index) const { return checks_[index]; }
  QLineEdit* percent(int index) const { return percents_[index]; }
  QCheckBox* employer() const { return employer_; }
  QPushButton* defaults_button() const { return defaults_; }
  QPushButton* confirm_button() const { return confirm_; }

 private:
  void Checked(int index, bool checked);
  void BConfirmareClick();

  params::Session& session_;
  Prompter& prompter_;
  ProgressReporter& progress_;
  std::array<QCheckBox*, 3> checks_;
  std::array<QLineEdit*, 3> percents_;
  QCheckBox* employer_;
  QPushButton* defaults_;
  QPushButton* confirm_;
};

// Stores its marks in memory only: they reach the store when the company
// parameters window is confirmed.
class InitialisedSumsWindow : public QDialog {
  Q_OBJECT

 public:
  explicit InitialisedSumsWindow(params::Session& session, QWidget* parent = nullptr);

  // The check box of a company parameter such as "Avans" or "Spor2_Init".
  QCheckBox* check(const QString& name) const;
  QPushButton* confirm_button() const { return confirm_; }

 private:
  void BConfirmareClick();

  params::Session& session_;
  std::vector<QCheckBox*> checks_;
  QPushButton* confirm_;
};

class DeductionNamesWindow : public QDialog {
  Q_OBJECT

 public:
  DeductionNamesWindow(params::Session& session, Prompter& prompter, QWidget* parent = nullptr);

  QLineEdit* name(int index) const { return names_[index]; }
  QPushButton* confirm_button() const { return confirm_; }

 private:
  void BConfirmareClick();

  params::Session& session_;
  Prompter& prompter_;
  std::array<QLineEdit*, 6> names_;
  QPushButton* confirm_;
};

}  // namespace traveno::params_ui
