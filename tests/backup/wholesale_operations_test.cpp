// The operations of the command line that change a company's month
// wholesale (a clone, a fiscal-sheet import, an import of an earlier
// version's company over one the folder holds) keep a safety copy of the
// company first, and that copy gives the company back as it was.
#include <gtest/gtest.h>

#include <fstream>

#include "backup/manifest.h"
#include "backup/safety_copies.h"
#include "tests/backup/backup_fixture.h"
#include "tests/legacy/legacy_fixture.h"
#include "tests/support/cli_runner.h"
#include "tests/support/temp_folder.h"

namespace traveno::backup::testing {
namespace {

using traveno::testing::RunCli;
using traveno::testing::TempFolder;

// The fiscal-sheet files of one employee.
void WriteSheets(const fs::path& folder) {
  auto write = [&](const char* name, const std::string& text) {
    std::ofstream(folder / name, std::ios::binary) << text;
  };
  std::string ff1 = "1750315123456,#POPESCU#,#ION#";
  for (int i = 4; i <= 86; ++i) ff1 += i == 21 ? ",15/03/2001" : ",";
  write("Rep_2002.txt", "123,1,#NOUA SRL#,##,##,##,##,##,##,,##,##,##,##,0,##,##\r\n");
  write("FF1_2002.txt", ff1 + "\r\n");
  write("FF2_2002.txt", "");
  write("Ded_2002.txt", "");
}

TEST(WholesaleOperationsTest, EachKeepsACopyThatGivesTheCompanyBackAsItWas) {
  TempFolder data;
  TempFolder sheets;
  TempFolder legacy;
  TempFolder elsewhere;
  const std::string dir = data.path().string();
  {
    Store store(data.path());
    store.EnsureRegisterTables();
    params::Session session(store);
    AddCompanyWithMonths(store, session, "ALFA", 3, 1);
    AddCompanyWithMonths(store, session, "BETA", 5, 1);
  }
  ASSERT_EQ(RunCli({"--data-dir", dir, "company", "add", "--cod", "NOUA", "--Denumire", "Noua"})
                .exit_code,
            0);
  ASSERT_EQ(RunCli({"--data-dir", dir, "company", "open", "--cod", "NOUA", "--month", "2003-01"})
                .exit_code,
            0);
  WriteSheets(sheets.path());
  traveno::testing::WriteLegacyRegister(legacy.path(), {{"VECHE"}}, false);
  traveno::testing::WriteLegacyCompany(legacy.path() / "VECHE", 1);
  ASSERT_EQ(
      RunCli({"--data-dir", dir, "import-legacy", "--from", legacy.path().string()}).exit_code, 0);
  {
    // The company the second import replaces differs from what it brings.
    Store store(data.path());
    store.OpenCompany("VECHE");
    store.db().Run("UPDATE firma.Pers SET SALINC = 1");
  }
  ASSERT_TRUE(ListSafetyCopies(data.path()).empty());

  struct Case {
    const char* operation;
    const char* code;
    std::vector<std::string> arguments;
  };
  const Case kCases[] = {
      {"clonare",
       "ALFA",
       {"--confirm", "clone", "--from", "BETA", "--cod", "ALFA", "--month", "2003-01"}},
      {"fise", "NOUA", {"import-ff", "--cod", "NOUA", "--dir", sheets.path().string()}},
      {"preluare", "VECHE", {"import-legacy", "--from", legacy.path().string(), "--replace"}},
  };
  for (const Case& c : kCases) {
    const fs::path company = data.path() / c.code / kCompanyDatabaseName;
    const std::string before = traveno::testing::DatabaseSnapshot(company);
    std::vector<std::string> arguments = {"--data-dir", dir};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const auto done = RunCli(arguments);
    ASSERT_EQ(done.exit_code, 0) << c.operation << ": " << done.err << done.out;
    ASSERT_NE(traveno::testing::DatabaseSnapshot(company), before) << c.operation;

    const std::vector<ListedBackup> copies = ListSafetyCopies(data.path());
    ASSERT_FALSE(copies.empty()) << c.operation;
    const ListedBackup& newest = copies.front();
    EXPECT_TRUE(newest.file.filename().string().ends_with(std::string("-") + c.operation + "-" +
                                                          c.code + ".tar"))
        << newest.file;
    ASSERT_TRUE(newest.manifest.has_value()) << newest.problem;
    EXPECT_EQ(newest.manifest->operation, c.operation);

    const fs::path home = elsewhere.path() / c.operation;
    const auto restored =
        RunCli({"restore", "--from", newest.file.string(), "--to", home.string()});
    ASSERT_EQ(restored.exit_code, 0) << c.operation << ": " << restored.err;
    EXPECT_EQ(traveno::testing::DatabaseSnapshot(home / c.code / kCompanyDatabaseName), before)
        << c.operation;
  }
}

}  // namespace
}  // namespace traveno::backup::testing
