#include "params/session.h"

#include "params/parameter_store.h"

namespace traveno::params {

Session::Session(Store& store) : store_(store) { parameters_.luna = NoWorkingMonth(); }

void Session::SetWorkingMonth(std::string company, Date month) {
  company_ = std::move(company);
  working_month_ = FirstOfMonth(month);
  parameters_.luna = working_month_;
}

void Session::LoadParameters() {
  parameters_.general = LoadGeneralParameters(db(), working_month_);
  parameters_.company = LoadCompanyParameters(db(), working_month_);
  parameters_.luna = working_month_;
}

}  // namespace traveno::params
