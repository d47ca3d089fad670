// The public holidays window ("Definire sarbatori legale"): one line per day
// of the working month, weekends disabled, the month's holidays marked.
// Confirming goes through ConfirmHolidays with the days-or-hours choice and
// the working time currently shown by the company parameters window.
#pragma once

#include <QDialog>

#include "core/prompter.h"
#include "params/session.h"

class QListWidget;
class QPushButton;

namespace traveno::params_ui {

class HolidaysWindow : public QDialog {
  Q_OBJECT

 public:
  // `in_days` and `typed_working_time` are what the company window shows.
  HolidaysWindow(params::Session& session, bool in_days, double typed_working_time,
                 Prompter& prompter, ProgressReporter& progress, QWidget* parent = nullptr);

  QListWidget* days() const { return days_; }
  QPushButton* confirm_button() const { return confirm_; }
  // Whether the confirmed working time differs from the typed one (the
  // company window then puts the focus on its working-time box).
  bool time_differs() const { return time_differs_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BConfirmClick();

  params::Session& session_;
  bool in_days_;
  double typed_working_time_;
  Prompter& prompter_;
  ProgressReporter& progress_;
  QListWidget* days_;
  QPushButton* confirm_;
  bool time_differs_ = false;
};

}  // namespace traveno::params_ui
