// What the services keep whole when more than one writer works on a data
// folder, and how the command line refuses: parameters saved over another
// writer's changes, all-or-nothing parameter commands, the demonstration's
// formula bonus, clones whatever months the destination has, department
// codes, the indexation of one department, texts, and the messages and exit
// statuses of traveno-cli.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/ini_file.h"
#include "core/numbers.h"
#include "core/store/row_io.h"
#include "params/departments.h"
#include "params/parameter_edits.h"
#include "params/parameter_store.h"
#include "personnel/grid_line.h"
#include "tests/params/fixture.h"
#include "tests/support/cli_program.h"
#include "tests/support/data_snapshot.h"

namespace traveno::params::testing {
namespace {

namespace fs = std::filesystem;
using traveno::testing::DataSnapshot;
using traveno::testing::FirstDifference;
using traveno::testing::ProgramResult;
using traveno::testing::RunProgram;

// Two sessions on the same company, as the desktop program and the command
// line beside it.
class TwoWritersTest : public StoreFixture {
 protected:
  void SetUp() override {
    Open("ALFA", D(2004, 3));
    other_store_ = std::make_unique<Store>(folder_.path());
    other_ = std::make_unique<Session>(*other_store_);
    ASSERT_TRUE(ChooseCompanyAndMonth(*other_, "ALFA", D(2004, 3), prompter_, progress_));
  }

  std::unique_ptr<Store> other_store_;
  std::unique_ptr<Session> other_;
};

TEST_F(TwoWritersTest, AParameterWindowSavesOnlyWhatItChangedOverTheOtherWritersChanges) {
  // The windows opened on the values in memory; meanwhile the other writer
  // changes CAS and the month's working time.
  const engine::GeneralParameters general_shown = session_->stored_parameters().general;
  const engine::CompanyParameters company_shown = session_->stored_parameters().company;
  engine::GeneralParameters general = general_shown;
  engine::CompanyParameters company = company_shown;
  engine::GeneralParameters other_general = other_->parameters().general;
  other_general.CAS = 22;
  ConfirmGeneralParameters(*other_, other_general, prompter_, progress_);
  engine::CompanyParameters other_company = other_->parameters().company;
  other_company.TimpLuna = 168;
  ASSERT_TRUE(ConfirmCompanyParameters(*other_, other_company, {}, prompter_, progress_).confirmed);

  general.Pensie = 10;
  ConfirmGeneralParameters(*session_, general, prompter_, progress_, &general_shown);
  company.SporNoapte = 30;
  ASSERT_TRUE(ConfirmCompanyParameters(*session_, company, {}, prompter_, progress_, &company_shown)
                  .confirmed);

  EXPECT_EQ(ReadGeneral(db(), D(2004, 3), "CAS"), 22);
  EXPECT_EQ(ReadGeneral(db(), D(2004, 3), "Pensie"), 10);
  EXPECT_EQ(ReadCompany(db(), D(2004, 3), "TimpLuna"), 168);
  EXPECT_EQ(ReadCompany(db(), D(2004, 3), "SporNoapte"), 30);
  // The values in memory follow the store, the other writer's included.
  EXPECT_EQ(session_->parameters().general.CAS, 22);
  EXPECT_EQ(session_->parameters().company.TimpLuna, 168);
}

TEST_F(TwoWritersTest, APostingCalculatesWithTheRatesAnotherWriterJustSaved) {
  PersRow row;
  row.IID = 1;
  row.SALINC = 5000000;
  row.TIMP = 184;
  row.CoefInd1 = 1;
  row.Depart = "CENTRAL";
  const PersRow line = AddEmployee(row);
  engine::GeneralParameters rates = other_->parameters().general;
  rates.SanatateAng = 7;
  ConfirmGeneralParameters(*other_, rates, prompter_, progress_);

  const personnel::PostedLine posted =
      personnel::UpdateGridLine(*session_, line.Nr, {{"PRIME", FieldValue(100000.0)}});
  EXPECT_EQ(session_->parameters().general.SanatateAng, 7);
  // The employee's health contribution: 7 % of the month's gross, whole lei.
  EXPECT_EQ(posted.row.SANATATE, RoundEven(posted.row.BRUT * 7 / 100));
}

TEST_F(TwoWritersTest, TheTransitionIsRefusedWhenAnotherWriterPassedTheMonthAlready) {
  PassToNextMonth(*other_, progress_);
  EXPECT_THROW(PassToNextMonth(*session_, progress_), Error);
  EXPECT_EQ(CompanyMonths(db()).size(), 2u);
}

// A data folder prepared by the command line, shared by the command tests.
class CommandLineTest : public ::testing::Test {
 protected:
  ProgramResult Run(std::vector<std::string> command) {
    std::vector<std::string> args = {"--data-dir", folder_.path().string(), "--yes", "--confirm"};
    args.insert(args.end(), command.begin(), command.end());
    return RunProgram(args);
  }
  void RunOrFail(std::vector<std::string> command) {
    const ProgramResult result = Run(std::move(command));
    ASSERT_EQ(result.status, 0) << result.err;
  }
  std::vector<std::string> Month(std::vector<std::string> command, const std::string& code = "DEMO",
                                 const std::string& month = "2003-01") {
    command.insert(command.end(), {"--cod", code, "--month", month});
    return command;
  }
  // A command refused with a message on standard error, nothing on standard
  // output, no error report and every table as it was.
  void ExpectRefused(std::vector<std::string> command, const std::string& message) {
    const std::string before = DataSnapshot(folder_.path());
    const ProgramResult result = Run(command);
    EXPECT_NE(result.status, 0) << command.front() << " " << command[1] << " " << command.back();
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("constraint"), std::string::npos) << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
    const std::string after = DataSnapshot(folder_.path());
    EXPECT_TRUE(after == before) << FirstDifference(before, after);
    EXPECT_FALSE(fs::exists(folder_.path() / kErrorFileName));
  }
  nlohmann::json Lines(const std::string& code = "DEMO", const std::string& month = "2003-01") {
    const ProgramResult result = Run(Month({"--json", "employee", "list", "--all"}, code, month));
    EXPECT_EQ(result.status, 0) << result.err;
    return nlohmann::json::parse(result.out);
  }

  traveno::testing::TempFolder folder_;
};

class DemoCommandTest : public CommandLineTest {
 protected:
  void SetUp() override { RunOrFail({"demo"}); }
};

TEST_F(DemoCommandTest, TheFormulaBonusPassesTheCheckAndPaysEveryEmployee) {
  const ProgramResult shown = Run(Month({"--json", "params", "show"}));
  ASSERT_EQ(shown.status, 0) << shown.err;
  const auto parameters = nlohmann::json::parse(shown.out);
  const std::string formula = parameters["firma"]["Spor4_Form"];
  EXPECT_EQ(parameters["firma"]["Spor4_Apl"], 5);
  const ProgramResult check = Run({"formula", "check", "--kind", "bonus", "--bonus", "4", formula});
  EXPECT_EQ(check.status, 0) << check.out;
  for (const auto& line : Lines()) {
    // 3 % of the base salary and a tenth of the overtime's value.
    const double expected =
        RoundEven(line["SALINC"].get<double>() * 3 / 100 + line["VAL_TIMP_S"].get<double>() / 10);
    EXPECT_GT(line["vals4"].get<double>(), 0) << line["NUME"];
    EXPECT_EQ(line["vals4"].get<double>(), expected) << line["NUME"];
  }
}

TEST_F(DemoCommandTest, ParameterCommandsAreAllOrNothing) {
  ExpectRefused(Month({"params", "set", "CAS=20", "Spor4_Form=\"SALINC\"*((((1"}),
                "Numarul de paranteze nu este corect !");
  ExpectRefused(Month({"params", "set", "CAS=20",
                       "Spor4_Form=\"SALINC\"*1+\"SALINC\"*2+\"SALINC\"*3+\"SALINC\"*4+\"SALINC\"*"
                       "5+\"SALINC\"*6"}),
                "Numarul maxim de caractere este 60 !");
  ExpectRefused(Month({"params", "set", "CAS=20", "Ex_Pensie=0"}),
                "Va rog sa introduceti procentul pentru pensie !");
  ExpectRefused(Month({"params", "set", "CAS=20", "Spor1_Den=" + std::string(61, 'X')}),
                "are mai mult de 60 caractere");
  ExpectRefused(Month({"params", "set", "CAS=20", "TimpLuna=1e308"}), "TimpLuna");
  RunOrFail(Month({"params", "set", "CAS=20", "Spor4_Form=\"SALINC\"*4/100"}));
  const auto parameters = nlohmann::json::parse(Run(Month({"--json", "params", "show"})).out);
  EXPECT_EQ(parameters["generali"]["CAS"], 20);
  EXPECT_EQ(parameters["firma"]["Spor4_Form"], "\"SALINC\"*4/100");
}

TEST_F(DemoCommandTest, UnknownAndOverlongDepartmentCodesAreRefused) {
  ExpectRefused(Month({"employee", "add", "--depart", "NOSUCH", "Nume=POP", "Prenume=ION"}),
                "Departamentul NOSUCH nu exista in luna de lucru !");
  ExpectRefused(Month({"employee", "modify", "--iid", "3", "Depart=XYZ"}),
                "Departamentul XYZ nu exista in luna de lucru !");
  ExpectRefused(Month({"departments", "add", "--code", "PRODUCTIE1", "--name", "X"}),
                "are mai mult de 8 caractere");
}

TEST_F(DemoCommandTest, IndexingOneDepartmentCalculatesEveryLineWhoseSalaryChanged) {
  const nlohmann::json before = Lines();
  RunOrFail(
      Month({"index", "--percent", "10", "--sign", "+", "--unit", "100", "--depart", "CENTRAL"}));
  Store store(folder_.path());
  Session session(store);
  ScriptedPrompter prompter;
  SilentProgress progress;
  ASSERT_TRUE(ChooseCompanyAndMonth(session, "DEMO", D(2003, 1), prompter, progress));
  const personnel::MonthEngine month_engine(session);
  int indexed_elsewhere = 0;
  for (const PersRow& line : personnel::MonthLines(session)) {
    double old_salary = 0;
    for (const auto& old_line : before) {
      if (old_line["IID"] == line.IID) old_salary = old_line["SALINC"];
    }
    if (line.TIP == "1") {
      EXPECT_EQ(line.SALINC, 100 * std::trunc(old_salary * 1.1 / 100 + 0.99)) << line.NUME;
      indexed_elsewhere += line.Depart != "CENTRAL";
    }
    PersRow fresh = line;
    month_engine.payroll().CalculSalariu(fresh);
    EXPECT_EQ(line.BRUT, fresh.BRUT) << line.NUME;
    EXPECT_EQ(line.RESTPL, fresh.RESTPL) << line.NUME;
  }
  EXPECT_GT(indexed_elsewhere, 0);
}

TEST_F(DemoCommandTest, CloneWorksWhateverMonthsTheDestinationHas) {
  RunOrFail({"company", "add", "--cod", "DEST", "--Denumire", "DESTINATIE"});
  RunOrFail({"company", "open", "--cod", "DEST", "--month", "2003-01"});
  RunOrFail(Month({"employee", "add", "Nume=PROPRIU", "Prenume=ION", "SalInc=3000000"}, "DEST"));
  RunOrFail(Month({"transition"}, "DEST"));
  RunOrFail(Month({"clone", "--from", "DEMO"}, "DEST"));

  const nlohmann::json cloned = Lines("DEST");
  EXPECT_EQ(cloned.size(), Lines("DEMO").size());
  ASSERT_EQ(Lines("DEST", "2003-02").size(), 1u);  // the other month is untouched
  // A person added afterwards takes an identity no cloned person has.
  RunOrFail(Month({"employee", "add", "Nume=NOU", "Prenume=ION"}, "DEST", "2003-02"));
  int highest_clone = 0;
  for (const auto& line : cloned) highest_clone = std::max(highest_clone, line["IID"].get<int>());
  int newest = 0;
  for (const auto& line : Lines("DEST", "2003-02"))
    newest = std::max(newest, line["IID"].get<int>());
  EXPECT_GT(newest, highest_clone);
}

TEST_F(DemoCommandTest, CloneReadsOnlyACompanyOfTheRegister) {
  ExpectRefused(Month({"clone", "--from", "../OTHER"}, "DEMO"), kCloneSourceNotInRegister);
}

TEST_F(DemoCommandTest, NamesAreUpperCasedWithTheirRomanianLetters) {
  RunOrFail(Month({"employee", "add", "Nume=ştefănescu", "Prenume=ţuţu ionuț"}));
  bool found = false;
  for (const auto& line : Lines()) {
    if (line["NUME"] == "ŞTEFĂNESCU") {
      found = true;
      EXPECT_EQ(line["PRENUME"], "ŢUŢU IONUȚ");
    }
  }
  EXPECT_TRUE(found);
  ExpectRefused(Month({"employee", "add", "Nume=POP\xC3", "Prenume=ION"}), "UTF-8");
}

// Text written by older versions may not be valid UTF-8; the listings still come out, the
// bad bytes shown as the replacement character, and the command succeeds.
TEST_F(DemoCommandTest, ListingsShowTextThatOlderVersionsStoredWithBadBytes) {
  {
    Database db(folder_.path() / kRegisterDatabaseName, false);
    Statement update = db.Prepare("UPDATE Firme SET DENUMIRE = CAST(? AS TEXT) WHERE COD = 'DEMO'");
    update.Bind(1, std::string("SO\xC3\xFF" "A"));
    update.Step();
  }
  const ProgramResult listed = Run({"--json", "company", "list"});
  ASSERT_EQ(listed.status, 0) << listed.err;
  bool found = false;
  for (const auto& company : nlohmann::json::parse(listed.out)) {
    if (company["Cod"] == "DEMO") {
      found = true;
      EXPECT_EQ(company["Denumire"], "SO\uFFFD\uFFFDA");
    }
  }
  EXPECT_TRUE(found) << listed.out;
}

TEST_F(DemoCommandTest, APaySlipFooterIsOneLineOfTheSettingsFile) {
  ExpectRefused({"company", "modify", "--cod", "DEMO", "--rand1", "Multumim\nParola=x"},
                "nu poate contine caractere de control");
  const IniFile settings(folder_.path() / kSettingsFileName);
  EXPECT_EQ(settings.Read("Program", "Parola", "(lipsa)"), "(lipsa)");
}

TEST_F(DemoCommandTest, RefusalsAreMessagesOnStandardErrorWithAFailingStatus) {
  ExpectRefused(Month({"employee", "show", "--iid", "999"}),
                "Persoana cu IID 999 nu exista in luna de lucru !");
  ExpectRefused({"brackets", "modify", "--month", "2003-01", "--nr", "99999", "--p-venit", "1",
                 "--v-const", "1", "--v-proc", "1"},
                "Transa cu numarul 99999 nu exista in perioada aleasa !");
  ExpectRefused(Month({"employee", "set", "--iid", "3", "SALINC=1e308"}, "DEMO", "2003-13"),
                "Luna invalida");
  const ProgramResult code = Run({"cnp", "check", "1234567890123"});
  EXPECT_NE(code.status, 0);
  // Option names are accepted in any case.
  RunOrFail({"company", "add", "--cod", "MIC", "--denumire", "Firma mica", "--JUDET", "Cluj"});
  const ProgramResult shown = Run({"--json", "company", "show", "--cod", "MIC"});
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_EQ(nlohmann::json::parse(shown.out)["Judet"], "CLUJ");
}

TEST(DataFolderTest, AFileNamedAsTheDataFolderIsToldAsSuch) {
  traveno::testing::TempFolder folder;
  const fs::path file = folder.path() / "date";
  std::ofstream(file) << "x";
  const ProgramResult result = RunProgram({"--data-dir", file.string(), "company", "list"});
  EXPECT_NE(result.status, 0);
  EXPECT_NE(result.err.find(kDataFolderIsFile), std::string::npos) << result.err;
}

TEST(DataFolderTest, AFolderNobodyPreparedTellsHowToPrepareIt) {
  traveno::testing::TempFolder folder;
  const fs::path data = folder.path() / "date";
  for (const std::vector<std::string> command :
       {std::vector<std::string>{"company", "list"},
        std::vector<std::string>{"company", "add", "--cod", "ABC", "--denumire", "Firma"}}) {
    std::vector<std::string> args = {"--data-dir", data.string()};
    args.insert(args.end(), command.begin(), command.end());
    const ProgramResult result = RunProgram(args);
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("Pregatiti directorul de date cu: traveno-cli init"),
              std::string::npos)
        << result.err;
  }
  EXPECT_FALSE(fs::exists(data / kRegisterDatabaseName));
  // Once prepared, the same command works.
  ASSERT_EQ(RunProgram({"--data-dir", data.string(), "init"}).status, 0);
  EXPECT_EQ(
      RunProgram({"--data-dir", data.string(), "company", "add", "--cod", "ABC", "--denumire", "F"})
          .status,
      0);
}

// The commands that only read work on a data folder the user may not write,
// run by a user without the right to write it.
TEST(ReadOnlyFolderTest, ListingsWorkWhereNothingCanBeWritten) {
  traveno::testing::TempFolder folder;
  ASSERT_EQ(RunProgram({"--data-dir", folder.path().string(), "demo"}).status, 0);
  const pid_t child = ::fork();
  if (child == 0) {
    // As root every file stays writable: the listing runs as nobody then.
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    for (const auto& entry : fs::recursive_directory_iterator(folder.path())) {
      std::error_code ignored;
      fs::permissions(entry.path(),
                      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove, ignored);
    }
    int failures = 0;
    for (const std::vector<std::string> command :
         {std::vector<std::string>{"company", "list"},
          std::vector<std::string>{"months", "--cod", "DEMO"},
          std::vector<std::string>{"employee", "list", "--cod", "DEMO", "--month", "2003-01"},
          std::vector<std::string>{"params", "show", "--cod", "DEMO", "--month", "2003-01"}}) {
      std::vector<std::string> args = {"--data-dir", folder.path().string()};
      args.insert(args.end(), command.begin(), command.end());
      const ProgramResult result = RunProgram(args);
      if (result.status != 0) {
        ++failures;
        std::fprintf(stderr, "%s: %s\n", command.front().c_str(), result.err.c_str());
      }
    }
    // A write is refused with the program's message.
    const ProgramResult write =
        RunProgram({"--data-dir", folder.path().string(), "employee", "set", "--cod", "DEMO",
                    "--month", "2003-01", "--iid", "3", "PRIME=1"});
    if (write.status == 0 || write.err.find(kStoreReadOnly) == std::string::npos) {
      ++failures;
      std::fprintf(stderr, "write: %s\n", write.err.c_str());
    }
    ::_exit(failures);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  // Give the folder back to the test's owner for its removal.
  for (const auto& entry : fs::recursive_directory_iterator(folder.path())) {
    fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
  }
}

}  // namespace
}  // namespace traveno::params::testing
