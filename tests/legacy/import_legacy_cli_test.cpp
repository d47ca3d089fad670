#include <gtest/gtest.h>

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
