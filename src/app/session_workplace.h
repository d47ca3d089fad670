// The desktop program's working company and month: the session of the
// parameters services, chosen through the choice window.
#pragma once

#include <memory>

#include "app/workplace.h"
#include "params/session.h"
#include "ui/wait_windows.h"

namespace traveno::app {

class SessionWorkplace final : public Workplace {
 public:
  SessionWorkplace(Store& store, Prompter& prompter);

  bool HasWorkingMonth() const override { return session_.HasWorkingMonth(); }
  std::string CompanyCode() const override { return session_.company(); }
  Date WorkingMonth() const override { return session_.working_month(); }
  Date LastMonth() const override { return session_.last_month(); }
  bool MonthClosed() const override { return session_.month_closed(); }
  bool CanChoose() const override { return true; }
  bool ChooseCompanyAndMonth(QWidget* parent) override;
  void SetMonthClosed(bool closed) override;
  params::Session* session() override { return &session_; }
  ProgressReporter* progress() override { return &progress_; }

 private:
  params::Session session_;
  Prompter& prompter_;
  ui::QtProgress progress_;
};

}  // namespace traveno::app
