// The company and month commands of traveno-cli, run in-process over a
// temporary data folder: a new company opened on January 2003, brackets and
// parameters, the transition to February, closing and reopening a month and a
// clone from another company, each result read back as JSON.
#include <gtest/gtest.h>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/support/cli_program.h"
#include "tests/support/cli_runner.h"
#include "tests/support/temp_folder.h"

namespace traveno::cli {
namespace {

using nlohmann::json;

using Result = traveno::testing::CliResult;

class CliCommandsTest : public ::testing::Test {
 protected:
  Result Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--data-dir", folder_.path().string()});
    return traveno::testing::RunCli(std::move(arguments));
  }

  traveno::testing::TempFolder folder_;
};

TEST_F(CliCommandsTest, MonthlyCycleFromTheCommandLine) {
  Run({"init"});
  ASSERT_EQ(Run({"company", "add", "--cod", "alfa", "--Denumire", "Alfa SRL"}).exit_code, 0);
  ASSERT_EQ(Run({"company", "add", "--cod", "beta", "--Denumire", "Beta SA"}).exit_code, 0);
  EXPECT_EQ(Run({"--json", "months", "--cod", "ALFA"}).Json(), json::array());

  const json opened =
      Run({"--json", "company", "open", "--cod", "ALFA", "--month", "2003-01"}).Json();
  EXPECT_EQ(opened["luna"], "2003-01");
  EXPECT_EQ(opened["departamente"][0]["cod"], "CENTRAL");

  EXPECT_EQ(Run({"brackets", "add", "--month", "2003-01", "--p-venit", "20000000", "--v-const",
                 "6441000", "--v-proc", "45"})
                .exit_code,
            0);
  // The same threshold again is refused.
  const Result duplicate = Run({"brackets", "add", "--month", "2003-01", "--p-venit", "20000000",
                                "--v-const", "1", "--v-proc", "1"});
  EXPECT_EQ(duplicate.exit_code, 1);
  EXPECT_NE(duplicate.err.find("Barem deja existent pe luna specificata"), std::string::npos);
  EXPECT_EQ(Run({"--json", "brackets", "list", "--month", "2003-01"}).Json().size(), 6u);
  EXPECT_TRUE(Run({"--json", "brackets", "check", "--month", "2003-01"}).Json()["corect"]);

  EXPECT_EQ(Run({"params", "set", "--cod", "ALFA", "--month", "2003-01", "CAS=23",
                 "Spor2_Den=Vechime", "Spor2_Apl=1"})
                .exit_code,
            0);
  // The window's validation: pay day 31 is too late for February.
  EXPECT_EQ(
      Run({"params", "set", "--cod", "ALFA", "--month", "2003-01", "ZiLichidare=31"}).exit_code, 1);
  const json shown =
      Run({"--json", "params", "show", "--cod", "ALFA", "--month", "2003-01"}).Json();
  EXPECT_EQ(shown["generali"]["CAS"], 23);
  EXPECT_EQ(shown["firma"]["Spor2_Den"], "Vechime");
  EXPECT_EQ(shown["firma"]["ZiLichidare"], 10);

  // The transition needs the typed confirmation.
  EXPECT_EQ(Run({"transition", "--cod", "ALFA"}).exit_code, 1);
  const json passed = Run({"--json", "--confirm", "transition", "--cod", "ALFA"}).Json();
  EXPECT_EQ(passed["luna"], "2003-02");
  const json months = Run({"--json", "months", "--cod", "ALFA"}).Json();
  ASSERT_EQ(months.size(), 2u);
  EXPECT_TRUE(months[0]["inchisa"]);
  EXPECT_FALSE(months[1]["inchisa"]);
  EXPECT_EQ(Run({"--json", "params", "show", "--cod", "ALFA", "--month", "2003-02"})
                .Json()["generali"]["CAS"],
            23);

  EXPECT_TRUE(
      Run({"--json", "month", "close", "--cod", "ALFA", "--month", "2003-02"}).Json()["inchisa"]);
  EXPECT_FALSE(
      Run({"--json", "month", "open", "--cod", "ALFA", "--month", "2003-02"}).Json()["inchisa"]);

  // Clone BETA's February into ALFA's.
  Run({"company", "open", "--cod", "BETA", "--month", "2003-02"});
  Run({"departments", "add", "--cod", "BETA", "--month", "2003-02", "--code", "vanz", "--name",
       "vanzari"});
  EXPECT_EQ(Run({"clone", "--from", "BETA", "--cod", "ALFA", "--month", "2003-02"}).exit_code, 1);
  const json cloned =
      Run({"--json", "--confirm", "clone", "--from", "BETA", "--cod", "ALFA", "--month", "2003-02"})
          .Json();
  EXPECT_EQ(cloned["numar_departamente"], 2);
  EXPECT_EQ(Run({"--json", "departments", "list", "--cod", "ALFA", "--month", "2003-02"})
                .Json()[1]["cod"],
            "VANZ");
}

TEST_F(CliCommandsTest, CompanyRegisterCommands) {
  Run({"init"});
  EXPECT_EQ(Run({"company", "add", "--cod", "CON", "--Denumire", "X"}).exit_code, 1);
  ASSERT_EQ(Run({"company", "add", "--cod", "gama", "--TipAngaj", "2", "--Nume", "pop", "--Prenume",
                 "ion", "--rand1", "  Multumim"})
                .exit_code,
            0);
  EXPECT_EQ(Run({"company", "add", "--cod", "GAMA", "--Denumire", "X"}).exit_code, 1);
  json shown = Run({"--json", "company", "show", "--cod", "gama"}).Json();
  EXPECT_EQ(shown["Denumire"], "POP ION");
  EXPECT_EQ(shown["TipAngaj"], 2);
  EXPECT_EQ(shown["Randul1"], "  Multumim");
  ASSERT_EQ(Run({"company", "modify", "--cod", "GAMA", "--Judet", "cluj"}).exit_code, 0);
  shown = Run({"--json", "company", "show", "--cod", "GAMA"}).Json();
  EXPECT_EQ(shown["Judet"], "CLUJ");
  EXPECT_EQ(shown["Denumire"], "POP ION");
  EXPECT_EQ(Run({"company", "delete", "--cod", "GAMA"}).exit_code, 1);  // no --yes
  EXPECT_EQ(Run({"--yes", "company", "delete", "--cod", "GAMA"}).exit_code, 0);
  EXPECT_THROW(Run({"company", "show", "--cod", "GAMA"}), std::exception);
}

// A command over a company's month tells a code the register does not have
// as such, and a company never opened as one to open first.
TEST_F(CliCommandsTest, ACompanyNotInTheRegisterIsToldAsSuch) {
  Run({"init"});
  ASSERT_EQ(Run({"company", "add", "--cod", "alfa", "--Denumire", "Alfa SRL"}).exit_code, 0);
  const std::string data = folder_.path().string();
  auto grid = [&data](const char* code) {
    return traveno::testing::RunProgram(
        {"--data-dir", data, "grid", "--cod", code, "--month", "2003-01"});
  };

  const auto missing = grid("NOSUCH");
  EXPECT_NE(missing.status, 0);
  EXPECT_EQ(missing.err, "Firma aleasa nu exista in registru !\n");

  const auto not_opened = grid("ALFA");
  EXPECT_NE(not_opened.status, 0);
  EXPECT_EQ(not_opened.err,
            "Firma ALFA nu a fost initializata. Alegeti intai prima luna cu: company open --cod "
            "ALFA --month AAAA-LL\n");
}

}  // namespace
}  // namespace traveno::cli
