#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

#include "core/store/store.h"
#include "legacy/legacy_import.h"
#include "tests/legacy/legacy_fixture.h"
#include "tests/support/cli_program.h"
#include "tests/support/cli_runner.h"
#include "tests/support/data_snapshot.h"
#include "tests/support/temp_folder.h"

namespace traveno {
namespace {

TEST(ImportLegacyCommandTest, CreatesTheCompaniesAndTheirMonthsShowTheUpgradesValues) {
  testing::TempFolder source;
  testing::TempFolder data;
  testing::WriteLegacyRegister(source.path(), {{"VECHE"}, {"STRICAT"}}, false);
  testing::WriteLegacyCompany(source.path() / "VECHE", 1);
  testing::WriteLegacyCompany(source.path() / "STRICAT", 1);
  std::filesystem::resize_file(source.path() / "STRICAT" / "parf.db", 100);

  const auto result = testing::RunCli(
      {"--data-dir", data.path().string(), "import-legacy", "--from", source.path().string()});

  EXPECT_EQ(result.exit_code, 1);  // one company was not imported
  EXPECT_NE(result.out.find("Firma STRICAT nu a fost preluata: Tabelul"), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("parf.db nu poate fi citit"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Firma VECHE a fost preluata."), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("  pers.db: citite 3, scrise 3"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("  parf.db: citite 3, scrise 29, adaugate de upgrade 26"),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("  Pint.db: citite 2, scrise 1, omise 1"), std::string::npos)
      << result.out;

  const auto list = testing::RunCli({"--data-dir", data.path().string(), "--json", "employee",
                                     "list", "--cod", "VECHE", "--month", "2002-03", "--all"});
  ASSERT_EQ(list.exit_code, 0) << list.err;
  const auto rows = list.Json();
  ASSERT_TRUE(rows.is_array()) << list.out;
  ASSERT_EQ(rows.size(), 2u) << list.out;
  EXPECT_EQ(rows[0]["NUME"], "Ştefănescu");
  EXPECT_EQ(rows[0]["Spor1"], 10);
  EXPECT_EQ(rows[0]["NORMA"], 8);
  EXPECT_EQ(rows[0]["Ch_Prof"], 255000);
}

// The earlier version's register may hold a code as typed (in lower case):
// the company is imported under the code the program uses, so the commands,
// which take codes in any case, find it.
TEST(ImportLegacyCommandTest, ACodeInLowerCaseIsImportedUpperCased) {
  testing::TempFolder source;
  testing::TempFolder data;
  const std::string dir = data.path().string();
  testing::WriteLegacyRegister(source.path(), {{"mica"}}, false);
  testing::WriteLegacyCompany(source.path() / "mica", 1);

  const auto result =
      testing::RunCli({"--data-dir", dir, "import-legacy", "--from", source.path().string()});
  ASSERT_EQ(result.exit_code, 0) << result.out << result.err;

  const auto months = testing::RunCli({"--data-dir", dir, "--json", "months", "--cod", "mica"});
  ASSERT_EQ(months.exit_code, 0) << months.err;
  EXPECT_EQ(months.Json().size(), 2u) << months.out;
  const auto list = testing::RunCli({"--data-dir", dir, "--json", "employee", "list", "--cod",
                                     "MICA", "--month", "2002-03", "--all"});
  ASSERT_EQ(list.exit_code, 0) << list.err;
  EXPECT_EQ(list.Json().size(), 2u) << list.out;
}

// A company the earlier version registered but never opened has an empty
// folder: it is registered as a new company is, and its first choice then
// makes its folder, tables and first month.
TEST(ImportLegacyCommandTest, ACompanyNeverOpenedCanBeSetUpAfterTheImport) {
  testing::TempFolder source;
  testing::TempFolder data;
  const std::string dir = data.path().string();
  testing::WriteLegacyRegister(source.path(), {{"VECHE"}, {"GOALA"}}, false);
  testing::WriteLegacyCompany(source.path() / "VECHE", 1);
  std::filesystem::create_directories(source.path() / "GOALA");

  const auto result =
      testing::RunCli({"--data-dir", dir, "import-legacy", "--from", source.path().string()});
  ASSERT_EQ(result.exit_code, 0) << result.out << result.err;
  EXPECT_NE(result.out.find("Firma GOALA a fost preluata."), std::string::npos) << result.out;

  const auto open = testing::RunCli(
      {"--data-dir", dir, "company", "open", "--cod", "GOALA", "--month", "2003-01"});
  EXPECT_EQ(open.exit_code, 0) << open.err;
  const auto months = testing::RunCli({"--data-dir", dir, "--json", "months", "--cod", "GOALA"});
  ASSERT_EQ(months.exit_code, 0) << months.err;
  EXPECT_EQ(months.Json().size(), 1u) << months.out;
}

// A folder without a company register is refused before anything is
// touched: the register keeps its placeholder company (the start-up purge is
// not the import's to run), and a data folder that does not exist is not made.
TEST(ImportLegacyCommandTest, AFolderWithoutARegisterChangesNothing) {
  testing::TempFolder source;
  testing::TempFolder data;
  const std::string dir = data.path().string();
  ASSERT_EQ(testing::RunCli({"--data-dir", dir, "init"}).exit_code, 0);
  ASSERT_EQ(
      testing::RunCli({"--data-dir", dir, "company", "add", "--cod", "NOUA", "--Denumire", "Noua"})
          .exit_code,
      0);
  ASSERT_EQ(
      testing::RunCli({"--data-dir", dir, "company", "open", "--cod", "NOUA", "--month", "2003-01"})
          .exit_code,
      0);
  const std::string before = testing::DataSnapshot(data.path());

  const auto refused =
      testing::RunProgram({"--data-dir", dir, "import-legacy", "--from", source.path().string()});

  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find(legacy::kNoLegacyRegister), std::string::npos) << refused.err;
  EXPECT_EQ(testing::DataSnapshot(data.path()), before);
  EXPECT_TRUE(Store(data.path()).FindCompany("TEST"));

  const auto nowhere = testing::RunProgram({"--data-dir", (data.path() / "nou").string(),
                                            "import-legacy", "--from", source.path().string()});
  EXPECT_EQ(nowhere.status, 1);
  EXPECT_FALSE(std::filesystem::exists(data.path() / "nou"));
}

}  // namespace
}  // namespace traveno

namespace traveno {
namespace {

TEST(ImportFfCommandTest, TakesTheEmployeesOfTheFilesIntoTheCompanysMonth) {
  testing::TempFolder sheets;
  testing::TempFolder data;
  const std::string dir = data.path().string();
  ASSERT_EQ(testing::RunCli({"--data-dir", dir, "init"}).exit_code, 0);
  ASSERT_EQ(
      testing::RunCli({"--data-dir", dir, "company", "add", "--cod", "NOUA", "--Denumire", "Noua"})
          .exit_code,
      0);
  ASSERT_EQ(
      testing::RunCli({"--data-dir", dir, "company", "open", "--cod", "NOUA", "--month", "2003-01"})
          .exit_code,
      0);
  auto write = [&](const char* name, const std::string& text) {
    std::ofstream(sheets.path() / name, std::ios::binary) << text;
  };
  std::string ff1 = "1750315123456,#\xAATEF\xC3NESCU#,#ION#";
  for (int i = 4; i <= 86; ++i) ff1 += i == 21 ? ",15/03/2001" : ",";
  write("Rep_2002.txt", "123,1,#NOUA SRL#,##,##,##,##,##,##,,##,##,##,##,0,##,##\r\n");
  write("FF1_2002.txt", ff1 + "\r\n");
  write("FF2_2002.txt", "");
  write("Ded_2002.txt", "");

  const auto result = testing::RunCli(
      {"--data-dir", dir, "import-ff", "--cod", "NOUA", "--dir", sheets.path().string()});

  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out,
            "Angajati preluati: 1, persoane in intretinere: 0, linii omise: 0, "
            "linii refuzate: 0\n");
  const auto list = testing::RunCli({"--data-dir", dir, "--json", "employee", "list", "--cod",
                                     "NOUA", "--month", "2003-01", "--all"});
  ASSERT_EQ(list.exit_code, 0) << list.err;
  ASSERT_EQ(list.Json().size(), 1u);
  EXPECT_EQ(list.Json()[0]["NUME"], "ŞTEFĂNESCU");
  EXPECT_EQ(list.Json()[0]["DATA_ANG"], "2001-03-15");

  // A second import finds the month's employees and refuses.
  const auto again = testing::RunCli(
      {"--data-dir", dir, "import-ff", "--cod", "NOUA", "--dir", sheets.path().string()});
  EXPECT_EQ(again.exit_code, 1);
  EXPECT_NE(again.err.find("tabelul Pers contine date"), std::string::npos) << again.err;
}

// The fiscal-sheet files that the e-filing export writes for the demo company
// set up a new company with the same persons, codes, addresses and
// dependants: the import reads exactly what the export writes.
TEST(ImportFfCommandTest, ReadsBackWhatTheEfilingExportWroteForTheDemoCompany) {
  testing::TempFolder data;
  testing::TempFolder sheets;
  const std::string dir = data.path().string();
  auto run = [&](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--data-dir", dir});
    return testing::RunCli(std::move(arguments));
  };
  ASSERT_EQ(run({"demo"}).exit_code, 0);
  // The demo's employees have a locality only; the files carry an address
  // when it has a street and a number.
  const auto modified =
      run({"employee", "modify", "--cod", "DEMO", "--month", "2003-01", "--iid", "1",
           "Nume=ŞTEFĂNESCU", "Strada=LALELELOR", "Numar=12A", "CodPostal=10023", "Bloc=B4",
           "Scara=2", "Etaj=3", "Ap=45", "Sector=3"});
  ASSERT_EQ(modified.exit_code, 0) << modified.err;
  const auto efiling =
      run({"efiling", "--cod", "DEMO", "--year", "2003", "--out", sheets.path().string()});
  ASSERT_EQ(efiling.exit_code, 0) << efiling.err;
  // The import reads the files under their 2002 names; the layout is the same.
  for (const char* kind : {"Rep", "FF1", "FF2", "Ded"}) {
    std::filesystem::copy_file(sheets.path() / (std::string(kind) + "_2003.txt"),
                               sheets.path() / (std::string(kind) + "_2002.txt"));
  }
  ASSERT_EQ(run({"company", "add", "--cod", "NOUA", "--Denumire", "Noua"}).exit_code, 0);
  ASSERT_EQ(run({"company", "open", "--cod", "NOUA", "--month", "2003-01"}).exit_code, 0);

  const auto imported = run({"import-ff", "--cod", "NOUA", "--dir", sheets.path().string()});
  ASSERT_EQ(imported.exit_code, 0) << imported.err;

  auto persons = [&](const char* company) {
    const auto list =
        run({"--json", "employee", "list", "--cod", company, "--month", "2003-01", "--all"});
    EXPECT_EQ(list.exit_code, 0) << list.err;
    std::map<std::string, nlohmann::json> by_code;
    for (const auto& line : list.Json()) by_code[line["CODNUMPERS"]] = line;
    return by_code;
  };
  auto dependants = [&](const char* company, int iid) {
    const auto list = run({"--json", "dependant", "list", "--cod", company, "--month", "2003-01",
                           "--iid", std::to_string(iid)});
    EXPECT_EQ(list.exit_code, 0) << list.err;
    std::multiset<std::string> codes;
    for (const auto& dependant : list.Json()) {
      // The files know one mark for a child, whatever its age.
      const int calitate =
          dependant["Calitate"].get<int>() == 2 ? 1 : dependant["Calitate"].get<int>();
      codes.insert(dependant["CODNUMPERS"].get<std::string>() + " " +
                   dependant["Nume"].get<std::string>() + " " +
                   dependant["Prenume"].get<std::string>() + " " + std::to_string(calitate) + " " +
                   std::to_string(dependant["Invaliditate"].get<int>()));
    }
    return codes;
  };
  const auto demo = persons("DEMO");
  const auto noua = persons("NOUA");
  ASSERT_EQ(demo.size(), 20u);
  ASSERT_EQ(noua.size(), demo.size());
  int dependants_seen = 0;
  for (const auto& [code, source] : demo) {
    SCOPED_TRACE(code);
    ASSERT_TRUE(noua.contains(code));
    const nlohmann::json& copy = noua.at(code);
    for (const char* field : {"NUME", "PRENUME", "TIP"}) {
      EXPECT_EQ(copy[field], source[field]) << field;
    }
    const bool full_address = source["STRADA"] != "" && source["NUMAR"] != "";
    for (const char* field :
         {"LOCALITATE", "Judet", "STRADA", "NUMAR", "BLOC", "SCARA", "ETAJ", "AP"}) {
      EXPECT_EQ(copy[field], full_address ? source[field].get<std::string>() : "") << field;
    }
    // The files write "0" for a missing postal code or district.
    for (const char* field : {"CODPOSTAL", "SECTOR"}) {
      EXPECT_EQ(copy[field], full_address ? source[field].get<std::string>() : "0") << field;
    }
    // A hire date travels only when it falls in the year.
    const std::string hired = source["DATA_ANG"];
    EXPECT_EQ(copy["DATA_ANG"], hired >= "2003-01-01" ? hired : "1899-12-30");
    const auto source_dependants = dependants("DEMO", source["IID"].get<int>());
    EXPECT_EQ(dependants("NOUA", copy["IID"].get<int>()), source_dependants);
    dependants_seen += static_cast<int>(source_dependants.size());
  }
  EXPECT_GT(dependants_seen, 0);
  EXPECT_EQ(noua.at("1580412400118")["NUME"], "ŞTEFĂNESCU");
  EXPECT_EQ(noua.at("1580412400118")["STRADA"], "LALELELOR");
}

}  // namespace
}  // namespace traveno
