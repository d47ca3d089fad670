// The company parameters window ("Parametrii  de calcul ai firmei"): a
// general page (working time, bonuses of the month, pay day, the print
// choices and the buttons of the exempt sums, initialised sums, deduction
// names and public holidays) and an expert page (the four named bonuses and
// the formula editors). It shows the values in memory and confirms through
// ConfirmCompanyParameters; a closed month disables "&Confirmare".
#pragma once

#include <QDialog>
#include <array>
#include <map>
#include <string>

#include "core/prompter.h"
#include "params/session.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace traveno::params_ui {

class CompanyParametersWindow : public QDialog {
  Q_OBJECT

 public:
  CompanyParametersWindow(params::Session& session, Prompter& prompter, ProgressReporter& progress,
                          QWidget* parent = nullptr);

  // The number box of a general setting ("ComisionCM", "TimpLuna",
  // "MedieOre", "SporNoapte", "CoefCO", "ProcOreSupli", "ZiLichidare").
  QLineEdit* box(const std::string& name) const { return boxes_.at(name); }
  QCheckBox* in_days() const { return in_days_; }
  QLineEdit* bonus_name(int index) const { return bonus_names_[index]; }
  QComboBox* bonus_kind(int index) const { return bonus_kinds_[index]; }
  QCheckBox* bonus_unemployment(int index) const { return bonus_perm_[index]; }
  QCheckBox* bonus_holiday_pay(int index) const { return bonus_co_[index]; }
  QPushButton* bonus_expert(int index) const { return bonus_expert_[index]; }
  QPushButton* holiday_pay_expert() const { return co_expert_; }
  QPushButton* switch_button() const { return switch_; }
  QPushButton* confirm_button() const { return confirm_; }
  QPushButton* holidays_button() const { return holidays_; }
  QPushButton* exempt_button() const { return exempt_; }
  QPushButton* initialised_button() const { return initialised_; }
  QPushButton* deductions_button() const { return deductions_; }
  QLabel* heading() const { return heading_; }
  bool expert_page() const;

 private:
  void ShowPage(bool expert);
  void KindChosen(int index);
  void RefreshHolidayPayChecks();
  void OpenBonusFormula(int index);
  void OpenHolidayPayFormula();
  void OpenHolidays();
  void BConfirmareClick();
  void FocusParameter(const std::string& name);

  params::Session& session_;
  Prompter& prompter_;
  ProgressReporter& progress_;
  QLabel* heading_;
  QStackedWidget* pages_;
  std::map<std::string, QLineEdit*> boxes_;
  // The parameters as stored when the window opened: what the window (and
  // the windows it opens, which change the values in memory) changed is
  // measured against them, and nothing else is written.
  engine::CompanyParameters stored_at_opening_;
  QCheckBox* in_days_;
  QCheckBox* new_page_;
  QCheckBox* sole_associate_;
  QRadioButton* one_copy_;
  QRadioButton* two_copies_;
  std::array<QLineEdit*, 4> bonus_names_;
  std::array<QComboBox*, 4> bonus_kinds_;
  std::array<QCheckBox*, 4> bonus_perm_;
  std::array<QCheckBox*, 4> bonus_co_;
  std::array<QPushButton*, 4> bonus_expert_;
  std::array<bool, 4> formula_opened_{};
  QPushButton* co_expert_;
  QPushButton* initialised_;
  QPushButton* exempt_;
  QPushButton* deductions_;
  QPushButton* holidays_;
  QPushButton* switch_;
  QPushButton* confirm_;
};

}  // namespace traveno::params_ui
