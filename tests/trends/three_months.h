// The demonstration company carried over three months with changes typed in
// between, as an accountant keeps it: January 2003 as made; its month's
// inputs carried into February (the company set to carry every sum, the
// piece-work results typed again) where IONESCU's base salary goes up by
// almost half, GEORGESCU's advance doubles and DUMITRESCU's base salary
// rises by 1 %; then March, where CONSTANTIN works half the month, a new
// employee is hired and TUDOR is gone. The session is left on March.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/store/store.h"
#include "params/company_register.h"
#include "params/month_cycle.h"
#include "params/parameter_store.h"
#include "params/session.h"
#include "personnel/demo_company.h"
#include "personnel/employees.h"
#include "personnel/grid_line.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_folder.h"

namespace traveno::trends::testing {

inline Date Month(int month) { return Date::FromYmd(2003, month, 1); }

class ThreeMonths {
 public:
  ThreeMonths() {
    Store(folder_.path()).EnsureRegisterTables();
    store_ = OpenDatabases(folder_.path());
    session_ = std::make_unique<params::Session>(*store_);
    personnel::CreateDemoCompany(*session_, prompter_, progress_);
    CarryEverySum();
    PassAndRetype();
    Type("IONESCU", {{"SALINC", FieldValue(13000000.0)}});
    Type("GEORGESCU", {{"AVANS", FieldValue(3000000.0)}});
    Type("DUMITRESCU", {{"SALINC", FieldValue(4040000.0)}});
    PassAndRetype();
    Type("CONSTANTIN", {{"TIMP", FieldValue(84.0)}});
    personnel::EmployeeInput hired = personnel::NewEmployeeInput("1");
    hired.Nume = "NOUL";
    hired.Prenume = "ANGAJAT";
    hired.Depart = "CENTRAL";
    hired.SalInc = 5000000;
    hired.Timp = 168;
    personnel::SaveEmployee(*session_, personnel::EmployeeEditMode::kAdd, hired, "1");
    const PersRow gone = Line("TUDOR");
    personnel::SaveEmployee(*session_, personnel::EmployeeEditMode::kDelete,
                            personnel::EmployeeInputFromRow(gone), gone.TIP, gone.Nr);
  }

  params::Session& session() { return *session_; }
  Store& store() { return *store_; }
  const std::filesystem::path& folder() const { return folder_.path(); }
  ::traveno::testing::ScriptedPrompter& prompter() { return prompter_; }
  ProgressReporter& progress() { return progress_; }

  // The working month's line of the employee named `nume`.
  PersRow Line(const std::string& nume) {
    for (const PersRow& line : personnel::MonthLines(*session_)) {
      if (line.NUME == nume) return line;
    }
    ADD_FAILURE() << "no line " << nume;
    return {};
  }

  // Makes `month` the working month.
  void Open(Date month) {
    ASSERT_TRUE(params::ChooseCompanyAndMonth(*session_, personnel::kDemoCompanyCode, month,
                                              prompter_, progress_));
  }

 private:
  // The transition starts no sum at 0: a month is the one before it, but
  // for what is typed into it.
  void CarryEverySum() {
    const char* const kStartAtZero[] = {
        "Timp",       "Timp_spl",   "InitPrime",   "InitPr_va",  "Cm1l",         "Cm2l",
        "Avans",      "Retineri",   "Timp_Noapte", "Zile_Co",    "InitAlteSume", "InitCIC",
        "Popriri",    "Garantii",   "Alte_Ret",    "Prime_inc",  "Avans_Co",     "Zile_Fp",
        "Zile_Cm",    "Zile_CIC",   "InitSporuri", "SumeExcept", "ProcImpo",     "Spor1_Init",
        "Spor2_Init", "Spor3_Init", "Spor4_Init"};
    for (const char* name : kStartAtZero) {
      params::WriteCompany(session_->db(), session_->working_month(), name, 0);
    }
    session_->LoadParameters();
  }

  // Passes to the next month and types the piece-work results again (a new
  // month starts them at 0).
  void PassAndRetype() {
    std::vector<std::pair<std::string, double>> realised;
    for (const PersRow& line : personnel::MonthLines(*session_)) {
      if (line.REALIZAT != 0) realised.emplace_back(line.NUME, line.REALIZAT);
    }
    params::PassToNextMonth(*session_, progress_);
    for (const auto& [nume, amount] : realised) Type(nume, {{"REALIZAT", FieldValue(amount)}});
  }

  void Type(const std::string& nume, const std::vector<personnel::FieldEdit>& edits) {
    personnel::UpdateGridLine(*session_, Line(nume).Nr, edits);
  }

  ::traveno::testing::TempFolder folder_;
  ::traveno::testing::ScriptedPrompter prompter_;
  SilentProgress progress_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<params::Session> session_;
};

}  // namespace traveno::trends::testing
