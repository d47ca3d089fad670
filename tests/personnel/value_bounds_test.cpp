// Every kind of value, at its edges and one step past each, through the
// service that writes it and through traveno-cli: a value inside its range is
// stored, a value past it is refused with a message and leaves every table
// as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "core/store/field_rules.h"
#include "core/store/store.h"
#include "params/brackets.h"
#include "params/company_register.h"
#include "params/departments.h"
#include "params/holidays.h"
#include "params/parameter_edits.h"
#include "personnel/dependants.h"
#include "personnel/employees.h"
#include "personnel/grid_line.h"
#include "personnel/leave_and_history.h"
#include "personnel/pay_grid.h"
#include "tests/params/fixture.h"
#include "tests/support/cli_program.h"
#include "tests/support/data_snapshot.h"
#include "tests/support/temp_folder.h"

namespace traveno::personnel {
namespace {

namespace fs = std::filesystem;
using params::testing::D;
using params::testing::ScriptedPrompter;
using traveno::testing::DataSnapshot;
using traveno::testing::FirstDifference;
using traveno::testing::RunProgram;
using traveno::testing::TempFolder;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const Date kMonth = D(2003, 1);

// The company FIRMA on January 2003 with the departments CENTRAL and PROD: a
// permanent employee (IID 1) with a dependant and a partial-contract employee
// without a main job (IID 2).
void MakeCompany(const fs::path& folder) {
  Store store(folder);
  store.EnsureRegisterTables();
  params::Session session(store);
  ScriptedPrompter prompter;
  SilentProgress progress;
  params::CompanyInput company;
  company.row.Cod = "FIRMA";
  company.row.Denumire = "FIRMA DE PROBA";
  ASSERT_EQ(params::AddCompany(store, company, prompter), params::AddCompanyResult::kAdded);
  ASSERT_TRUE(params::ChooseCompanyAndMonth(session, "FIRMA", kMonth, prompter, progress));
  ASSERT_TRUE(params::AddDepartment(session, "PROD", "PRODUCTIE", prompter));
  for (const char* tip : {"1", "2"}) {
    EmployeeInput input = NewEmployeeInput(tip);
    input.Depart = "CENTRAL";
    input.Nume = std::string(tip) == "1" ? "POPESCU" : "IONESCU";
    input.Prenume = "ION";
    input.SalInc = 5000000;
    input.Timp = 168;
    input.Ore_Zi = 4;
    SaveEmployee(session, EmployeeEditMode::kAdd, input, tip);
  }
  const PersRow employee = *FindLineOfPerson(session, 1);
  SaveDependant(session, employee, {"POPESCU", "ANA", "2900101400019", 1, 0}, std::nullopt);
}

// What a case does through the services: true when the value was taken,
// false (or an exception) when it was refused.
using ServiceCall = std::function<bool(params::Session&, Prompter&, ProgressReporter&)>;

struct BoundCase {
  const char* what;
  ServiceCall service;
  std::vector<std::string> cli;  // after --data-dir; --yes and --confirm are added
  bool accepted;
};

std::int64_t NrOf(params::Session& session, int iid) { return FindLineOfPerson(session, iid)->Nr; }

ServiceCall Grid(int iid, std::string field, FieldValue value) {
  return [=](params::Session& session, Prompter&, ProgressReporter&) {
    UpdateGridLine(session, NrOf(session, iid), {{field, value}});
    return true;
  };
}

ServiceCall Employee(int iid, std::function<void(EmployeeInput&)> change) {
  return [=](params::Session& session, Prompter& prompter, ProgressReporter&) {
    const PersRow line = *FindLineOfPerson(session, iid);
    EmployeeInput input = EmployeeInputFromRow(line);
    change(input);
    if (!ConfirmEmployee(session, EmployeeEditMode::kModify, input, line.TIP, prompter)) {
      return false;
    }
    SaveEmployee(session, EmployeeEditMode::kModify, input, line.TIP, line.Nr);
    return true;
  };
}

ServiceCall General(std::function<void(engine::GeneralParameters&)> change) {
  return [=](params::Session& session, Prompter& prompter, ProgressReporter& progress) {
    engine::GeneralParameters values = session.parameters().general;
    change(values);
    params::ConfirmGeneralParameters(session, values, prompter, progress);
    return true;
  };
}

ServiceCall Bracket(double p_venit, double v_const, double v_proc) {
  return [=](params::Session& session, Prompter& prompter, ProgressReporter&) {
    return params::AddBracket(session.db(), kMonth, false, p_venit, v_const, v_proc, prompter);
  };
}

ServiceCall Holiday(int day) {
  return [=](params::Session& session, Prompter& prompter, ProgressReporter& progress) {
    return params::ConfirmHolidays(session, {day}, false, 184, prompter, progress);
  };
}

ServiceCall Leave(int iid, std::optional<engine::LeaveKind> kind, int days, long double media) {
  return [=](params::Session& session, Prompter&, ProgressReporter&) {
    const std::int64_t nr = NrOf(session, iid);
    const LeaveProposal proposal = ProposeMedicalLeave(session, nr, 6, kind, days, media);
    ApplyMedicalLeave(session, nr, proposal.split);
    return true;
  };
}

ServiceCall Fill(std::string field, double value) {
  return [=](params::Session& session, Prompter&, ProgressReporter& progress) {
    return FillColumn(session, field, field, value, {"1", std::nullopt}, progress).lines > 0;
  };
}

ServiceCall Dependant(int calitate, int invaliditate) {
  return [=](params::Session& session, Prompter& prompter, ProgressReporter&) {
    const DependantInput input{"POPESCU", "DAN", "1900101400015", calitate, invaliditate};
    if (!ConfirmDependant(session, DependantEditMode::kAdd, input, "", prompter)) return false;
    SaveDependant(session, *FindLineOfPerson(session, 1), input, std::nullopt);
    return true;
  };
}

std::vector<std::string> Month(std::vector<std::string> command) {
  command.insert(command.end(), {"--cod", "FIRMA", "--month", "2003-01"});
  return command;
}

std::vector<std::string> Set(int iid, const std::string& assignment) {
  auto args = Month({"employee", "set"});
  args.insert(args.end(), {"--iid", std::to_string(iid), assignment});
  return args;
}

std::vector<std::string> Modify(int iid, const std::string& assignment) {
  auto args = Month({"employee", "modify"});
  args.insert(args.end(), {"--iid", std::to_string(iid), assignment});
  return args;
}

std::vector<std::string> Params(const std::string& assignment) {
  auto args = Month({"params", "set"});
  args.push_back(assignment);
  return args;
}

std::vector<std::string> AddBracketArgs(const std::string& p_venit, const std::string& v_proc) {
  return {"brackets", "add",       "--month", "2003-01",  "--p-venit",
          p_venit,    "--v-const", "0",       "--v-proc", v_proc};
}

std::vector<std::string> LeaveArgs(int iid, const std::string& kind, const std::string& days,
                                   const std::string& media) {
  auto args = Month({"medical-leave"});
  args.insert(args.end(),
              {"--iid", std::to_string(iid), "--days", days, "--media", media, "--apply"});
  if (!kind.empty()) args.insert(args.end(), {"--kind", kind});
  return args;
}

const std::vector<BoundCase>& Cases() {
  using engine::LeaveKind;
  static const std::vector<BoundCase> kCases = {
      // An amount: 0 .. 1 000 000 000 000 lei for a base salary.
      {"salary 0", Grid(1, "SALINC", FieldValue(0.0)), Set(1, "SALINC=0"), true},
      {"salary at its bound", Grid(1, "SALINC", FieldValue(kMaxAmount)), Set(1, "SALINC=1e12"),
       true},
      {"negative salary", Grid(1, "SALINC", FieldValue(-1.0)), Set(1, "SALINC=-1"), false},
      {"salary past its bound", Grid(1, "SALINC", FieldValue(1.000001e12)),
       Set(1, "SALINC=1000001000000"), false},
      {"salary 1e308", Grid(1, "SALINC", FieldValue(1e308)), Set(1, "SALINC=1e308"), false},
      {"salary NaN", Grid(1, "SALINC", FieldValue(kNaN)), {}, false},
      // A day count: whole days 0 .. 31.
      {"medical days 31", Grid(1, "ZILE_CM", FieldValue(31.0)), Set(1, "ZILE_CM=31"), true},
      {"medical days -1", Grid(1, "ZILE_CM", FieldValue(-1.0)), Set(1, "ZILE_CM=-1"), false},
      {"medical days 32", Grid(1, "ZILE_CM", FieldValue(32.0)), Set(1, "ZILE_CM=32"), false},
      {"medical days 2,7", Grid(1, "ZILE_CM", FieldValue(2.7)), Set(1, "ZILE_CM=2.7"), false},
      // Time of the month: 0 .. 744 hours.
      {"time 744 hours", Grid(1, "TIMP", FieldValue(744.0)), Set(1, "TIMP=744"), true},
      {"time 745 hours", Grid(1, "TIMP", FieldValue(745.0)), Set(1, "TIMP=745"), false},
      // A percentage: 0 .. 100 (a new line holds 100).
      {"tax percent 0", Grid(1, "PROCIMPO", FieldValue(0.0)), Set(1, "PROCIMPO=0"), true},
      {"tax percent 100,5", Grid(1, "PROCIMPO", FieldValue(100.5)), Set(1, "PROCIMPO=100.5"),
       false},
      {"tax percent -0,5", Grid(1, "PROCIMPO", FieldValue(-0.5)), Set(1, "PROCIMPO=-0.5"), false},
      // A deduction coefficient: 0 .. 100.
      {"coefficient 100", Grid(1, "COEFIND1", FieldValue(100.0)), Set(1, "COEFIND1=100"), true},
      {"coefficient 101", Grid(1, "COEFIND1", FieldValue(101.0)), Set(1, "COEFIND1=101"), false},
      // A whole number: the norm, 0 .. 24 hours a day.
      {"norm 24", Employee(1, [](EmployeeInput& in) { in.NORMA = 24; }), Modify(1, "Norma=24"),
       true},
      {"norm 25", Employee(1, [](EmployeeInput& in) { in.NORMA = 25; }), Modify(1, "Norma=25"),
       false},
      {"norm 7,5", {}, Modify(1, "Norma=7.5"), false},
      {"norm 1e308", {}, Modify(1, "Norma=1e308"), false},
      // A code from a list: the invalidity 0, 1 or 2.
      {"invalidity 2", Employee(1, [](EmployeeInput& in) { in.Invaliditate = 2; }),
       Modify(1, "Invaliditate=2"), true},
      {"invalidity 3", Employee(1, [](EmployeeInput& in) { in.Invaliditate = 3; }),
       Modify(1, "Invaliditate=3"), false},
      {"invalidity 9", Employee(1, [](EmployeeInput& in) { in.Invaliditate = 9; }),
       Modify(1, "Invaliditate=9"), false},
      {"dependant's relation 3", Dependant(3, 1),
       Month({"dependant", "add", "--iid", "1", "Nume=POPESCU", "Prenume=DAN", "CNP=1900101400015",
              "Calitate=3", "Invaliditate=1"}),
       true},
      {"dependant's relation 7", Dependant(7, 1),
       Month({"dependant", "add", "--iid", "1", "Nume=POPESCU", "Prenume=DAN", "CNP=1900101400015",
              "Calitate=7", "Invaliditate=1"}),
       false},
      // A code that names something: the department must be one of the month's.
      {"department of the month", Employee(1, [](EmployeeInput& in) { in.Depart = "prod"; }),
       Modify(1, "Depart=prod"), true},
      {"unknown department", Employee(1, [](EmployeeInput& in) { in.Depart = "NOSUCH"; }),
       Modify(1, "Depart=NOSUCH"), false},
      {"department code past 8 characters",
       Employee(1, [](EmployeeInput& in) { in.Depart = "CENTRAL12"; }),
       Modify(1, "Depart=CENTRAL12"), false},
      // A text: UTF-8, no control characters.
      {"name with Romanian letters", Employee(1, [](EmployeeInput& in) { in.Nume = "ştefănescu"; }),
       Modify(1, "Nume=ştefănescu"), true},
      {"name not in UTF-8", Employee(1, [](EmployeeInput& in) { in.Nume = "POP\xff\xfe"; }),
       Modify(1, "Nume=POP\xff\xfe"), false},
      {"name with a line break", Employee(1, [](EmployeeInput& in) { in.Nume = "POP\nESCU"; }),
       Modify(1, "Nume=POP\nESCU"), false},
      // A column filled at once.
      {"fill premiums 1000", Fill("PRIME", 1000), Month({"fill", "PRIME", "1000"}), true},
      {"fill premiums 1e308", Fill("PRIME", 1e308), Month({"fill", "PRIME", "1e308"}), false},
      // General parameters: rates in percent, amounts bounded.
      {"CAS 100 %", General([](auto& p) { p.CAS = 100; }), Params("CAS=100"), true},
      {"CAS 100,01 %", General([](auto& p) { p.CAS = 100.01; }), Params("CAS=100.01"), false},
      {"CAS 1000 %", General([](auto& p) { p.CAS = 1000; }), Params("CAS=1000"), false},
      {"average wage at the bound", General([](auto& p) { p.SalMedEc = kMaxAmount; }),
       Params("SalMedEc=1000000000000"), true},
      {"child-care ceiling 0", General([](auto& p) { p.LimCIC = 0; }), Params("LimCIC=0"), true},
      {"child-care ceiling past the bound", General([](auto& p) { p.LimCIC = 1.1e12; }),
       Params("LimCIC=1100000000000"), false},
      // Tax brackets: thresholds bounded, rates 0 .. 100 %.
      {"bracket at 100 %", Bracket(50000000, 0, 100), AddBracketArgs("50000000", "100"), true},
      {"bracket at 150 %", Bracket(50000000, 0, 150), AddBracketArgs("50000000", "150"), false},
      {"bracket at infinity", Bracket(std::numeric_limits<double>::infinity(), 0, 18),
       AddBracketArgs("inf", "18"), false},
      // Public holidays: days of the month.
      {"holiday on the 31st", Holiday(31), Month({"holidays", "set", "31"}), true},
      {"holiday on day 0", Holiday(0), Month({"holidays", "set", "0"}), false},
      {"holiday on the 32nd", Holiday(32), Month({"holidays", "set", "32"}), false},
      {"holiday on day 9999", Holiday(9999), Month({"holidays", "set", "9999"}), false},
      // Medical leave: 0 .. 31 days, a kind chosen, a positive average, a line
      // the grid offers the leave on.
      {"leave of 5 days", Leave(1, LeaveKind::kOrdinary, 5, 100000),
       LeaveArgs(1, "obisnuita", "5", "100000"), true},
      {"leave of -5 days", Leave(1, LeaveKind::kOrdinary, -5, 100000),
       LeaveArgs(1, "obisnuita", "-5", "100000"), false},
      {"leave of 99999 days", Leave(1, LeaveKind::kOrdinary, 99999, 100000),
       LeaveArgs(1, "obisnuita", "99999", "100000"), false},
      {"leave at a negative average", Leave(1, LeaveKind::kOccupational, 5, -375),
       LeaveArgs(1, "profesionala", "5", "-375"), false},
      {"leave without a kind", Leave(1, std::nullopt, 5, 100000), LeaveArgs(1, "", "5", "100000"),
       false},
      {"leave on a partial-contract line", Leave(2, LeaveKind::kOrdinary, 5, 100000),
       LeaveArgs(2, "obisnuita", "5", "100000"), false},
  };
  return kCases;
}

class ValueBoundsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    pristine_ = new TempFolder;
    MakeCompany(pristine_->path());
  }
  static void TearDownTestSuite() {
    delete pristine_;
    pristine_ = nullptr;
  }

  // A copy of the company for one case.
  void Restore() {
    fs::remove_all(folder_.path());
    fs::copy(pristine_->path(), folder_.path(), fs::copy_options::recursive);
  }

  static TempFolder* pristine_;
  TempFolder folder_;
};

TempFolder* ValueBoundsTest::pristine_ = nullptr;

TEST_F(ValueBoundsTest, ServicesStoreValuesInRangeAndRefuseTheOthersWritingNothing) {
  for (const BoundCase& c : Cases()) {
    if (!c.service) continue;
    Restore();
    const std::string before = DataSnapshot(folder_.path());
    bool taken = false;
    std::string refusal;
    {
      Store store(folder_.path());
      params::Session session(store);
      ScriptedPrompter prompter;
      prompter.default_yes = true;
      SilentProgress progress;
      ASSERT_TRUE(params::ChooseCompanyAndMonth(session, "FIRMA", kMonth, prompter, progress));
      try {
        taken = c.service(session, prompter, progress);
      } catch (const Error& error) {
        refusal = error.what();
      }
      if (!taken && refusal.empty() && !prompter.messages.empty()) {
        refusal = prompter.messages.back().text;
      }
    }
    EXPECT_EQ(taken, c.accepted) << c.what << ": " << refusal;
    const std::string after = DataSnapshot(folder_.path());
    if (c.accepted) {
      EXPECT_TRUE(after != before) << c.what << " stored nothing";
    } else {
      EXPECT_FALSE(refusal.empty()) << c.what << " refused without a message";
      EXPECT_TRUE(after == before) << c.what << ": " << FirstDifference(before, after);
    }
  }
}

TEST_F(ValueBoundsTest, TheCommandLineExitsNonZeroAndChangesNothingOnARefusal) {
  for (const BoundCase& c : Cases()) {
    if (c.cli.empty()) continue;
    Restore();
    const std::string before = DataSnapshot(folder_.path());
    std::vector<std::string> args = {"--data-dir", folder_.path().string(), "--yes", "--confirm"};
    args.insert(args.end(), c.cli.begin(), c.cli.end());
    const traveno::testing::ProgramResult result = RunProgram(args);
    const std::string after = DataSnapshot(folder_.path());
    if (c.accepted) {
      EXPECT_EQ(result.status, 0) << c.what << ": " << result.err;
      EXPECT_TRUE(after != before) << c.what << " stored nothing";
    } else {
      EXPECT_NE(result.status, 0) << c.what;
      EXPECT_FALSE(result.err.empty()) << c.what << " refused without a message";
      EXPECT_TRUE(after == before) << c.what << ": " << FirstDifference(before, after);
    }
    // A refusal is a message, not an unexpected error to report.
    EXPECT_FALSE(fs::exists(folder_.path() / kErrorFileName)) << c.what << ": " << result.err;
  }
}

}  // namespace
}  // namespace traveno::personnel
