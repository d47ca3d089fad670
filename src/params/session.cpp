#include "params/session.h"

#include "params/parameter_store.h"

namespace traveno::params {

Session::Session(Store& store) : store_(store) {
  parameters_.luna = NoWorkingMonth();
  stored_.luna = NoWorkingMonth();
}

void Session::SetWorkingMonth(std::string company, Date month) {
  company_ = std::move(company);
  working_month_ = FirstOfMonth(month);
  parameters_.luna = working_month_;
  stored_.luna = working_month_;
}

namespace {

// The change counter of one database of the connection; -1 when it is not
// attached.
std::int64_t DataVersion(Database& db, const char* schema) {
  if (!db.QueryInt("SELECT 1 FROM pragma_database_list WHERE name = ?", schema)) return -1;
  return db.QueryInt(std::string("PRAGMA ") + schema + ".data_version").value_or(-1);
}

}  // namespace

void Session::LoadParameters() {
  register_version_ = DataVersion(db(), "main");
  company_version_ = DataVersion(db(), kCompanySchema);
  parameters_.general = LoadGeneralParameters(db(), working_month_);
  parameters_.company = LoadCompanyParameters(db(), working_month_);
  parameters_.luna = working_month_;
  stored_ = parameters_;
}

bool Session::RefreshParameters() {
  if (!HasWorkingMonth()) return false;
  if (DataVersion(db(), "main") == register_version_ &&
      DataVersion(db(), kCompanySchema) == company_version_) {
    return false;
  }
  const engine::MonthParameters in_memory = parameters_;
  const engine::MonthParameters base = stored_;
  LoadParameters();
  parameters_.general =
      MergeGeneralParameters(base.general, in_memory.general, parameters_.general);
  parameters_.company =
      MergeCompanyParameters(base.company, in_memory.company, parameters_.company);
  department_count_ = static_cast<int>(parameters_.company.departments.size());
  return true;
}

}  // namespace traveno::params
