// The personnel commands of traveno-cli, run in-process over the demo
// company in a temporary data folder, each result read back as JSON.
#include <gtest/gtest.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>

#include "core/errors.h"
#include "tests/support/cli_program.h"
#include "tests/support/cli_runner.h"
#include "tests/support/data_snapshot.h"
#include "tests/support/temp_folder.h"

namespace traveno::cli {
namespace {

using nlohmann::json;

using Result = traveno::testing::CliResult;

class PersonnelCliTest : public ::testing::Test {
 protected:
  Result Run(std::vector<std::string> arguments, bool yes = false) {
    arguments.insert(arguments.begin(), {"--data-dir", folder_.path().string(), "--json"});
    if (yes) arguments.insert(arguments.begin(), "--yes");
    return traveno::testing::RunCli(std::move(arguments));
  }
  std::vector<std::string> Month(std::vector<std::string> command) {
    command.insert(command.end(), {"--cod", "DEMO", "--month", "2003-01"});
    return command;
  }

  traveno::testing::TempFolder folder_;
};

TEST_F(PersonnelCliTest, DemoTotalsMatchItsLinesAndARecalculationKeepsThem) {
  const json demo = Run({"demo"}).Json();
  const json lines = Run(Month({"employee", "list", "--all"})).Json();
  ASSERT_EQ(lines.size(), 20u);
  double brut = 0;
  double rest = 0;
  for (const json& line : lines) {
    brut += line["BRUT"].get<double>();
    rest += line["RESTPL"].get<double>();
    EXPECT_TRUE(line.contains("calculat"));
  }
  EXPECT_EQ(demo["totaluri"]["BrutP"].get<double>() + demo["totaluri"]["BrutC"].get<double>(),
            brut);
  EXPECT_EQ(demo["grila"]["Rest de plata"].get<double>(), rest);

  const json again = Run(Month({"recalc"})).Json();
  EXPECT_EQ(again, demo);
  EXPECT_EQ(Run(Month({"employee", "list", "--all"})).Json(), lines);
}

TEST_F(PersonnelCliTest, LineEditsChecksAndRefusals) {
  Run({"demo"});
  const json line = Run(Month({"employee", "set", "--iid", "3", "RESTPL=4000000"})).Json();
  EXPECT_EQ(line["RESTPL"], 4000000);
  EXPECT_THROW(Run(Month({"employee", "set", "--iid", "3", "NUME=X"})), Error);

  // Indexation asks first: without --yes nothing changes.
  EXPECT_EQ(Run(Month({"index", "--percent", "10", "--sign", "+", "--unit", "100"})).exit_code, 1);
  EXPECT_EQ(Run(Month({"employee", "show", "--iid", "2"})).Json()["SALINC"], 9000000);
  Run(Month({"index", "--percent", "10", "--sign", "+", "--unit", "100"}), true);
  EXPECT_EQ(Run(Month({"employee", "show", "--iid", "2"})).Json()["SALINC"], 9900000);

  const json dependants = Run(Month({"dependant", "add", "--iid", "2", "Nume=IONESCU",
                                     "Prenume=ANA", "CNP=2950101400012", "Calitate=1"}))
                              .Json();
  ASSERT_EQ(dependants.size(), 1u);
  EXPECT_EQ(Run(Month({"employee", "show", "--iid", "2"})).Json()["CoefInd1"], 1.5);
  EXPECT_TRUE(Run(Month({"check", "coef"})).Json()["linii"].empty());

  EXPECT_EQ(Run({"cnp", "solve", "18503151234?5"}).Json()["cifre"], "5");

  Run(Month({"employee", "delete", "--iid", "20"}), true);
  EXPECT_EQ(Run(Month({"employee", "list", "--all"})).Json().size(), 19u);
}

TEST_F(PersonnelCliTest, GridShowsThePagesColumnsAndCells) {
  Run({"demo"});
  const json page = Run(Month({"grid", "--tip", "2", "--lines"})).Json();
  EXPECT_EQ(page["antet"], " FIRMA : SC DEMO PRODUCTIE SRL\n IANUARIE / 2003");
  const json& columns = page["coloane"];
  auto column = [&columns](const std::string& field) {
    for (const json& c : columns) {
      if (c["camp"] == field) return c;
    }
    return json();
  };
  EXPECT_EQ(column("Depart")["vizibila"], true);  // two departments, none chosen
  EXPECT_EQ(column("Ore_Zi")["editabila"], false);
  EXPECT_EQ(column("PRIME")["vizibila"], false);
  EXPECT_EQ(column("spor4")["titlu"], "Productivitate");
  ASSERT_EQ(page["linii"].size(), 6u);
  EXPECT_EQ(page["linii"][0]["NUME"], "DRAGOMIR");
  EXPECT_EQ(page["linii"][0]["SALINC"], "3 000 000");
  EXPECT_FALSE(Run(Month({"grid", "--depart", "PRODUCT"})).Json()["coloane"][0]["vizibila"]);
}

// A department the month does not have (a typing mistake) is refused by
// every command over a part of the grid, instead of showing, filling or
// indexing nothing and reporting success.
TEST_F(PersonnelCliTest, ADepartmentTheMonthDoesNotHaveIsRefused) {
  Run({"demo"});
  const std::string before = traveno::testing::DataSnapshot(folder_.path());
  for (const std::vector<std::string>& command : {std::vector<std::string>{"grid", "--lines"},
                                                  {"fill", "PRIME", "5"},
                                                  {"recalc"},
                                                  {"index", "--percent", "10"}}) {
    SCOPED_TRACE(command.front());
    std::vector<std::string> arguments = Month(command);
    arguments.insert(arguments.begin(), {"--data-dir", folder_.path().string()});
    arguments.insert(arguments.end(), {"--depart", "nosuch"});
    const traveno::testing::ProgramResult result = traveno::testing::RunProgram(arguments);
    EXPECT_NE(result.status, 0);
    EXPECT_EQ(result.err, "Departamentul NOSUCH nu exista in luna de lucru !\n");
    EXPECT_EQ(result.out, "");
  }
  EXPECT_EQ(traveno::testing::DataSnapshot(folder_.path()), before);
  const json lines = Run(Month({"employee", "list", "--all"})).Json();
  const auto in_product = std::count_if(lines.begin(), lines.end(), [](const json& line) {
    return line["Depart"] == "PRODUCT" && line["TIP"] == "1";
  });
  ASSERT_GT(in_product, 0);
  EXPECT_EQ(
      Run(Month({"grid", "--lines", "--tip", "1", "--depart", "product"})).Json()["linii"].size(),
      static_cast<std::size_t>(in_product));
}

TEST_F(PersonnelCliTest, MedicalLeaveTakesTheDaysTypedByHand) {
  Run({"demo"});
  const json split = Run(Month({"medical-leave", "--iid", "1", "--kind", "obisnuita", "--days",
                                "10", "--media", "200000"}))
                         .Json();
  EXPECT_EQ(split["ISZileCml1"], 7);  // 14 permanent employees: 7 days paid by the company
  EXPECT_EQ(split["ISCml1"], 1050000);
  const json typed = Run(Month({"medical-leave", "--iid", "1", "--kind", "obisnuita", "--days",
                                "10", "--media", "200000", "--company-days", "5", "--apply"}))
                         .Json();
  EXPECT_EQ(typed["ISZileCml1"], 5);
  EXPECT_EQ(typed["ISCml1"], 750000);
  EXPECT_EQ(typed["ISZileCml2"], 3);
  EXPECT_EQ(typed["linie"]["CM1L"], 750000);
  EXPECT_EQ(typed["linie"]["ZILE_CM"], 8);
}

}  // namespace
}  // namespace traveno::cli
