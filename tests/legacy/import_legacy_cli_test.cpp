#include <gtest/gtest.h>

#include <fstream>

#include "core/store/store.h"
#include "tests/legacy/legacy_fixture.h"
#include "tests/support/cli_runner.h"
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

}  // namespace
}  // namespace traveno
