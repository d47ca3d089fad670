// traveno-cli efiling and fiscal-sheet over the FIXT company of 2002.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/declarations/file_checks.h"
#include "tests/declarations/year_fixture.h"
#include "tests/support/cli_runner.h"
#include "tests/support/temp_folder.h"

namespace traveno::declarations {
namespace {

namespace fs = std::filesystem;
using ::traveno::testing::RunCli;

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

fs::path Expected(const std::string& name) {
  return fs::path(TRAVENO_EXPECTED_FILES) / "2002" / name;
}

class EfilingCliTest : public ::testing::Test {
 protected:
  EfilingCliTest() {
    testing::BuildFixtureCompany(data(), 2002);
    fs::create_directories(out());
  }
  fs::path data() const { return folder_.path() / "data"; }
  fs::path out() const { return folder_.path() / "out"; }

  ::traveno::testing::CliResult Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--data-dir", data().string()});
    return RunCli(arguments);
  }

 private:
  ::traveno::testing::TempFolder folder_;
};

TEST_F(EfilingCliTest, WritesTheFourFilesOfEachFormAndPrintsTheirPaths) {
  auto result = Run({"efiling", "--cod", "FIXT", "--year", "2002", "--out", out().string()});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  std::string paths;
  for (const char* name : {"Rep_2002.txt", "FF1_2002.txt", "FF2_2002.txt", "Ded_2002.txt"}) {
    paths += (out() / name).string() + "\n";
    EXPECT_EQ(ReadAll(out() / name), ReadAll(Expected(name))) << name;
  }
  EXPECT_EQ(result.out, paths);

  result = Run({"efiling", "--cod", "fixt", "--year", "2002", "--dbf", "--out", out().string()});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  for (const char* name : {"REP_2002.DBF", "FF1_2002.DBF", "FF2_2002.DBF", "DED_2002.DBF"}) {
    const std::string written = ReadAll(out() / name);
    const std::string expected = ReadAll(Expected(name));
    ASSERT_EQ(written.size(), expected.size()) << name;
    // The header carries today's date in bytes 1..3; the rest is the expected file.
    EXPECT_EQ(written.substr(4), expected.substr(4)) << name;
  }
}

TEST_F(EfilingCliTest, RefusesAnotherYearAndAFolderThatCannotBeWritten) {
  auto result = Run({"efiling", "--cod", "FIXT", "--year", "2003", "--out", out().string()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err,
            "Pentru a transmite FF trebuie sa treceti programul in ultima luna din \n"
            "anul pentru care doriti FF.\nVa rog verificati grila de impozitare anuala "
            "respectiva!\n");
  EXPECT_TRUE(fs::is_empty(out()));

  const fs::path missing = out() / "lipsa";
  result = Run({"efiling", "--cod", "FIXT", "--year", "2002", "--out", missing.string()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "Nu pot scrie fisierul " + (missing / "Rep_2002.txt").string() + " !\n");
  EXPECT_FALSE(fs::exists(missing));

  // An empty folder is refused rather than taken as wherever the command runs.
  result = Run({"efiling", "--cod", "FIXT", "--year", "2002", "--out", ""});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "Alegeti directorul in care se scriu fisierele (--out) !\n");
  EXPECT_FALSE(fs::exists(fs::current_path() / "Rep_2002.txt"));

  result = Run({"fiscal-sheet", "--cod", "FIXT", "--iid", "1", "--year", "2001"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err.substr(0, 24), "Pentru a tipari FF trebu");
}

TEST_F(EfilingCliTest, PrintsAFiscalSheetWithItsRegularisation) {
  auto result = Run({"fiscal-sheet", "--cod", "FIXT", "--iid", "1", "--year", "2002", "--text"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  // The printed sheet's pages as text: the months, the totals and section VI.
  const std::string& text = result.out;
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  const auto has_line = [&lines](const std::vector<std::string>& parts) {
    return testing::HasLineWith(lines, parts);
  };
  EXPECT_EQ(text.substr(0, 20), "--- Pagina 1 / 2 ---");
  EXPECT_TRUE(has_line({"FISA FISCALA 1"}));
  EXPECT_TRUE(has_line({"pe anul: 2002"}));
  EXPECT_TRUE(has_line({"7. Iulie", "4 000 000", "108 000"}));
  EXPECT_TRUE(has_line({"13. Prima vac.", "930 000", "167 400"}));
  EXPECT_TRUE(has_line({"14. TOTAL", "48 930 000", "2 228 400"}));
  EXPECT_TRUE(has_line({"7. Impozit anual", "2 109 600"}));
  EXPECT_TRUE(has_line({"10. Diferenta de impozit de restituit angajatului", "118 800"}));

  result = Run({"--json", "fiscal-sheet", "--cod", "FIXT", "--iid", "3", "--year", "2002"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto json = result.Json();
  EXPECT_EQ(json["tip"], "2");
  EXPECT_EQ(json["luni"].size(), 12u);
  EXPECT_EQ(json["total"]["impozit"], 1650000);
  EXPECT_EQ(json["regularizare"], false);
}

TEST_F(EfilingCliTest, WritesTheFiscalSheetAsPdf) {
  const fs::path pdf = out() / "fisa.pdf";
  const auto result =
      Run({"fiscal-sheet", "--cod", "FIXT", "--iid", "1", "--year", "2002", "--pdf", pdf.string()});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, pdf.string() + "\n");
  const std::string written = ReadAll(pdf);
  ASSERT_TRUE(written.starts_with("%PDF-")) << written.substr(0, 20);
  // Read back with poppler when it is installed: the sheet's title and its
  // yearly total are on the page.
  FILE* pipe = popen(("pdftotext -layout '" + pdf.string() + "' - 2>/dev/null").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  if (pclose(pipe) != 0) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
  EXPECT_NE(text.find("FISA FISCALA 1"), std::string::npos);
  EXPECT_NE(text.find("48 930 000"), std::string::npos);
}

}  // namespace
}  // namespace traveno::declarations
