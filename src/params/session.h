// The working state of one run of the program: the store, the working company
// and month, the company's last month, the number of departments of the month,
// the month's parameters in memory, the running totals with the employer's
// funds, and the pay-slip footer of the company. One object, passed to every
// service that needs it; the services below change it only after the stored
// data they depend on has been committed.
#pragma once

#include <cstdint>
#include <string>

#include "core/date.h"
#include "core/settings.h"
#include "core/store/store.h"
#include "engine/company_totals.h"
#include "engine/month_parameters.h"

namespace traveno::params {

class Session {
 public:
  // The store must outlive the session. No company and month are chosen yet:
  // the working month is NoWorkingMonth().
  explicit Session(Store& store);

  Store& store() { return store_; }
  Database& db() { return store_.db(); }

  // Whether a company and month have been chosen in this run.
  bool HasWorkingMonth() const { return working_month_ != NoWorkingMonth(); }
  const std::string& company() const { return company_; }
  Date working_month() const { return working_month_; }
  int working_year() const { return working_month_.year(); }
  // The company's latest month (its greatest month with a "Deschisa" row).
  Date last_month() const { return last_month_; }
  // The month's closed mark ("Deschisa" in memory): true when not 0.
  bool month_closed() const { return parameters_.company.Deschisa != 0; }
  int department_count() const { return department_count_; }

  engine::MonthParameters& parameters() { return parameters_; }
  const engine::MonthParameters& parameters() const { return parameters_; }
  // The parameters as the store held them when they were last loaded or
  // saved: what an editor's changes are measured against. A window may change
  // parameters() in memory before they are saved (the initialised sums).
  const engine::MonthParameters& stored_parameters() const { return stored_; }
  // After a save: the set becomes the one in memory and the stored one.
  void GeneralParametersSaved(const engine::GeneralParameters& values) {
    parameters_.general = values;
    stored_.general = values;
  }
  void CompanyParametersSaved(const engine::CompanyParameters& values) {
    parameters_.company = values;
    stored_.company = values;
  }
  // Puts back the parameters in memory and as stored (a failed save).
  void RestoreParameters(const engine::MonthParameters& parameters,
                         const engine::MonthParameters& stored) {
    parameters_ = parameters;
    stored_ = stored;
  }
  engine::CompanyTotals& totals() { return totals_; }
  engine::CompanyFunds& funds() { return funds_; }
  PaySlipFooter& footer() { return footer_; }

  // Sets the working company and month (and the parameters' month) without
  // touching the store; the services call it once their writes committed.
  void SetWorkingMonth(std::string company, Date month);
  void set_last_month(Date month) { last_month_ = month; }
  void set_department_count(int count) { department_count_ = count; }

  // Reads the month's general and then company parameters from the store
  // into memory, and notes the store's change counters. Throws StoreError.
  void LoadParameters();
  // Reads the parameters again (and the department count with them) when
  // another writer (another program, the command line) has committed to the
  // register or the company database since they were loaded; the program's
  // own writes do not count. A parameter changed in memory and not yet saved
  // keeps its new value. Called at the start of every unit of work, after the
  // write lock is taken, so that nothing is computed from stale rules.
  // Returns whether they were read again.
  bool RefreshParameters();

 private:
  Store& store_;
  std::string company_;
  Date working_month_ = NoWorkingMonth();
  Date last_month_ = NoWorkingMonth();
  int department_count_ = 0;
  engine::MonthParameters parameters_;
  engine::MonthParameters stored_;
  engine::CompanyTotals totals_;
  engine::CompanyFunds funds_;
  PaySlipFooter footer_;
  // PRAGMA data_version of the register and of the company database when
  // the parameters were loaded.
  std::int64_t register_version_ = -1;
  std::int64_t company_version_ = -1;
};

}  // namespace traveno::params
