// The working company and month as the main window sees them, and the
// windows that change them. The desktop program's workplace sits on the
// session of the parameters services; tests give the main window a fake one.
#pragma once

#include <string>

#include "core/date.h"
#include "core/prompter.h"

class QWidget;

namespace traveno::params {
class Session;
}

namespace traveno::app {

class Workplace {
 public:
  virtual ~Workplace() = default;

  // Whether a company and month have been chosen in this run.
  virtual bool HasWorkingMonth() const = 0;
  virtual std::string CompanyCode() const = 0;
  virtual Date WorkingMonth() const = 0;
  // The company's latest month.
  virtual Date LastMonth() const = 0;
  virtual bool MonthClosed() const = 0;

  // Whether the choice of a company and month can be offered at all.
  virtual bool CanChoose() const = 0;
  // Shows the company-and-month choice window; true when a company and
  // month were chosen (the working state then holds them).
  virtual bool ChooseCompanyAndMonth(QWidget* parent) = 0;
  // Opens or closes the working month and saves the company parameters.
  virtual void SetMonthClosed(bool closed) = 0;

  // The session the configuration windows work on; null when there is none
  // (their buttons then stay disabled).
  virtual params::Session* session() { return nullptr; }
  // The wait and progress windows of the operations.
  virtual ProgressReporter* progress() { return nullptr; }
};

}  // namespace traveno::app
