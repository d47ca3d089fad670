// The transition window ("Trecerea la o noua luna de lucru"): tells what the
// passage to the next month copies and which columns start at zero, and runs
// it when the user types CONFIRM and presses Enter.
#pragma once

#include <QDialog>

#include "core/prompter.h"
#include "params/session.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace traveno::params_ui {

class TransitionWindow : public QDialog {
  Q_OBJECT

 public:
  TransitionWindow(params::Session& session, Prompter& prompter, ProgressReporter& progress,
                   QWidget* parent = nullptr);

  QLineEdit* confirmation() const { return confirmation_; }
  QPlainTextEdit* columns() const { return columns_; }
  QPushButton* abandon() const { return abandon_; }
  // Whether the month was passed.
  bool passed() const { return passed_; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ConfirmEntered();

  params::Session& session_;
  Prompter& prompter_;
  ProgressReporter& progress_;
  QPlainTextEdit* columns_;
  QLineEdit* confirmation_;
  QPushButton* abandon_;
  bool passed_ = false;
};

}  // namespace traveno::params_ui
