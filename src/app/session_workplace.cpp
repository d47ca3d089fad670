#include "app/session_workplace.h"

#include "app/company_choice_window.h"
#include "params/month_cycle.h"

namespace traveno::app {

SessionWorkplace::SessionWorkplace(Store& store, Prompter& prompter)
    : session_(store), prompter_(prompter) {}

bool SessionWorkplace::ChooseCompanyAndMonth(QWidget* parent) {
  CompanyChoiceWindow window(session_, prompter_, progress_, parent);
  return window.exec() == QDialog::Accepted;
}

void SessionWorkplace::SetMonthClosed(bool closed) {
  if (session_.month_closed() != closed) params::ToggleMonthClosed(session_);
}

}  // namespace traveno::app
