// The general parameters window ("Parametrii generali de calcul"): the
// contribution rates, personal deductions and wages of the working month,
// shown from memory and confirmed through ConfirmGeneralParameters (which
// also saves in a closed month).
#pragma once

#include <QDialog>
#include <map>
#include <string>

#include "core/prompter.h"
#include "params/session.h"

class QLineEdit;
class QPushButton;

namespace traveno::params_ui {

class GeneralParametersWindow : public QDialog {
  Q_OBJECT

 public:
  GeneralParametersWindow(params::Session& session, Prompter& prompter, ProgressReporter& progress,
                          QWidget* parent = nullptr);

  // The box of a general parameter (its stored name, such as "DedBaza").
  QLineEdit* box(const std::string& name) const { return boxes_.at(name); }
  QPushButton* confirm_button() const { return confirm_; }
  QPushButton* abandon_button() const { return abandon_; }

 private:
  void CoefficientEdited();
  void BConfirmareClick();

  params::Session& session_;
  Prompter& prompter_;
  ProgressReporter& progress_;
  std::map<std::string, QLineEdit*> boxes_;
  // The parameters as stored when the window opened: what the window (and
  // the windows it opens, which change the values in memory) changed is
  // measured against them, and nothing else is written.
  engine::GeneralParameters stored_at_opening_;
  QPushButton* confirm_;
  QPushButton* abandon_;
};

}  // namespace traveno::params_ui
