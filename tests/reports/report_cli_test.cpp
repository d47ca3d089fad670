// "traveno-cli report" over the demo company: the pages as text, and a
// written PDF read back with pdftotext.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "core/numbers.h"
#include "tests/support/cli_program.h"
#include "tests/support/cli_runner.h"
#include "tests/support/temp_folder.h"

namespace traveno::cli {
namespace {

using nlohmann::json;
using traveno::testing::CliResult;

// Runs a command and returns what it printed, or empty when it failed.
std::optional<std::string> Output(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string output;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    output.append(buffer, n);
  return pclose(pipe) == 0 ? std::optional(output) : std::nullopt;
}

// Blank runs made one blank, so texts are found whatever the columns.
std::string Squeezed(const std::string& text) {
  std::string squeezed;
  for (char c : text) {
    if (c == '\n' || c == '\f') c = ' ';
    if (c == ' ' && !squeezed.empty() && squeezed.back() == ' ') continue;
    squeezed.push_back(c);
  }
  return squeezed;
}

class ReportCliTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new traveno::testing::TempFolder();
    Run({"demo"});
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }

  static CliResult Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--data-dir", folder_->path().string()});
    return traveno::testing::RunCli(std::move(arguments));
  }
  static CliResult Report(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "report");
    arguments.insert(arguments.end(), {"--cod", "DEMO", "--month", "2003-01"});
    return Run(std::move(arguments));
  }
  // The demo month's lines with every field.
  static json Lines() {
    return json::parse(
        Run({"--json", "employee", "list", "--all", "--cod", "DEMO", "--month", "2003-01"}).out);
  }
  static double Sum(const json& lines, const char* field) {
    double sum = 0;
    for (const json& line : lines) sum += line[field].get<double>();
    return sum;
  }
  static std::string Whole(double value) { return FormatNumber(value, NumberMask::kInteger); }

  static traveno::testing::TempFolder* folder_;
};

traveno::testing::TempFolder* ReportCliTest::folder_ = nullptr;

TEST_F(ReportCliTest, TheStatementAsTextHoldsTheTitleAndEveryEmployee) {
  const CliResult result = Report({"statement", "--text"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const std::string text = Squeezed(result.out);
  EXPECT_NE(text.find("--- Pagina 1 / "), std::string::npos);
  EXPECT_NE(text.find("Stat de plata salarii pentru luna IANUARIE 2003"), std::string::npos);
  const json lines = Lines();
  ASSERT_EQ(lines.size(), 20u);
  for (const json& line : lines) {
    const std::string name =
        line["NUME"].get<std::string>() + " " + line["PRENUME"].get<std::string>();
    EXPECT_NE(text.find(name), std::string::npos) << name;
  }
}

TEST_F(ReportCliTest, TheRecapitulationsLinesAreTheSumsOfTheMonthsLines) {
  const CliResult result = Report({"recap", "--text"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const json lines = Lines();
  std::map<std::string, std::string> printed;  // line number -> its text
  std::istringstream in(result.out);
  for (std::string line; std::getline(in, line);) {
    line = Squeezed(line);
    if (!line.empty() && line[0] == ' ') line.erase(0, 1);
    const std::size_t dot = line.find('.');
    if (dot == std::string::npos || dot == 0 || dot > 2) continue;
    if (line.find_first_not_of("0123456789") != dot) continue;
    printed[line.substr(0, dot)] = line;
  }
  ASSERT_EQ(printed.size(), 23u);
  const double brut = Sum(lines, "BRUT");
  const double cm2l = Sum(lines, "CM2L");
  const double cic = Sum(lines, "CIC");
  const double rest = Sum(lines, "RESTPL");
  auto ends_with = [&](const char* number, double amount) {
    EXPECT_TRUE(printed[number].ends_with(" " + Whole(amount))) << printed[number];
  };
  ends_with("1", 20);
  ends_with("2", Sum(lines, "SALINC"));
  ends_with("5", Sum(lines, "SUMA_ZILE_CO"));
  ends_with("6", brut - cm2l - cic);
  ends_with("7", Sum(lines, "SumeExcept"));
  ends_with("8", Sum(lines, "PENSIE") + Sum(lines, "SANATATE") + Sum(lines, "SOMAJ") +
                     Sum(lines, "IMPOZIT") + Sum(lines, "AVANS") + Sum(lines, "AVANS_CO") +
                     Sum(lines, "ALTE_RET") + Sum(lines, "POPRIRI") + Sum(lines, "GARANTII") +
                     Sum(lines, "RETINERI") + Sum(lines, "PRIME_INCASATE"));
  ends_with("9", rest - cm2l - cic);
  ends_with("10", cm2l);
  ends_with("11", cic);
  ends_with("12", rest);
}

TEST_F(ReportCliTest, TheStatementWrittenAsPdfHoldsItsTotals) {
  if (!Output("command -v pdftotext")) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
  const std::string file = (folder_->path() / "stat.pdf").string();
  const CliResult result = Report({"statement", "--pdf", file});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const std::optional<std::string> text = Output("pdftotext -layout '" + file + "' -");
  ASSERT_TRUE(text);
  const std::string pdf = Squeezed(*text);
  EXPECT_NE(pdf.find("Stat de plata salarii pentru luna IANUARIE 2003"), std::string::npos);
  const json lines = Lines();
  for (const json& line : lines) {
    const std::string name =
        line["NUME"].get<std::string>() + " " + line["PRENUME"].get<std::string>();
    EXPECT_NE(pdf.find(name), std::string::npos) << name;
  }
  // The summary's "Total" row holds the month's gross, tax and rest to pay.
  const std::size_t total = pdf.find("Total ");
  ASSERT_NE(total, std::string::npos);
  const std::string summary = pdf.substr(total);
  for (const char* field : {"BRUT", "IMPOZIT", "RESTPL"}) {
    EXPECT_NE(summary.find(" " + Whole(Sum(lines, field)) + " "), std::string::npos) << field;
  }
}

TEST_F(ReportCliTest, ADocumentWithNothingToPrintFailsWithAMessage) {
  // The demo month has no holiday advance: no file, no pages, a message.
  const CliResult result = Report({"advance-co", "--text", "--iid", "1"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("nu are date de listat"), std::string::npos);
  EXPECT_EQ(result.out, "");
}

// The holiday-advance statement prints the persons asked for: an IID without
// a holiday advance in the month (a typing mistake) is refused, not printed
// as an empty statement.
TEST(HolidayAdvanceCommandTest, AnIidWithoutAHolidayAdvanceIsRefused) {
  traveno::testing::TempFolder data;
  const std::string dir = data.path().string();
  ASSERT_EQ(traveno::testing::RunCli({"--data-dir", dir, "demo"}).exit_code, 0);
  ASSERT_EQ(traveno::testing::RunCli({"--data-dir", dir, "employee", "set", "--cod", "DEMO",
                                      "--month", "2003-01", "--iid", "2", "AVANS_CO=100000"})
                .exit_code,
            0);
  auto statement = [&dir](const std::vector<std::string>& iids) {
    std::vector<std::string> arguments = {"--data-dir", dir,    "report",  "advance-co",
                                          "--cod",      "DEMO", "--month", "2003-01",
                                          "--text",     "--iid"};
    arguments.insert(arguments.end(), iids.begin(), iids.end());
    return traveno::testing::RunProgram(arguments);
  };

  const auto refused = statement({"2", "99999"});
  EXPECT_NE(refused.status, 0);
  EXPECT_EQ(refused.err, "Persoana cu IID 99999 nu are avans de concediu in luna de lucru !\n");
  EXPECT_EQ(refused.out, "");

  const auto printed = statement({"2"});
  EXPECT_EQ(printed.status, 0) << printed.err;
  EXPECT_NE(Squeezed(printed.out).find(" TOTAL 100 000 "), std::string::npos) << printed.out;
}

// Identity cards are printed for the employees of the month: a month without
// any has nothing to print, as the other documents.
TEST(IdentityCardsCommandTest, AMonthWithoutEmployeesHasNothingToPrint) {
  traveno::testing::TempFolder data;
  const std::string dir = data.path().string();
  for (const std::vector<std::string>& step :
       {std::vector<std::string>{"init"},
        std::vector<std::string>{"company", "add", "--cod", "GOL", "--denumire", "Firma goala"},
        std::vector<std::string>{"company", "open", "--cod", "GOL", "--month", "2003-01"}}) {
    std::vector<std::string> arguments = {"--data-dir", dir};
    arguments.insert(arguments.end(), step.begin(), step.end());
    const auto done = traveno::testing::RunProgram(arguments);
    ASSERT_EQ(done.status, 0) << step.front() << ": " << done.err;
  }
  const auto cards = traveno::testing::RunProgram(
      {"--data-dir", dir, "report", "id-cards", "--cod", "GOL", "--month", "2003-01", "--text"});
  EXPECT_EQ(cards.status, 1);
  EXPECT_NE(cards.err.find("nu are date de listat"), std::string::npos) << cards.err;
  EXPECT_EQ(cards.out, "");
}

TEST_F(ReportCliTest, AnOptionTheDocumentDoesNotUseIsRefused) {
  const struct {
    std::vector<std::string> arguments;
    const char* option;
  } kCases[] = {
      {{"statement", "--iid", "2"}, "--iid"},
      {{"recap", "--of", "2003-01"}, "--of"},
      {{"slips", "--annual"}, "--annual"},
  };
  for (const auto& c : kCases) {
    std::vector<std::string> arguments = c.arguments;
    arguments.push_back("--text");
    const CliResult result = Report(arguments);
    EXPECT_EQ(result.exit_code, 1) << c.option;
    EXPECT_NE(result.err.find(std::string("Optiunea ") + c.option), std::string::npos)
        << result.err;
    EXPECT_EQ(result.out, "");
  }
  // The documents that use them still take them.
  EXPECT_EQ(Report({"hired", "--of", "2003-01", "--text"}).exit_code, 0);
  EXPECT_EQ(Report({"brackets", "--annual", "--text"}).exit_code, 0);
}

TEST_F(ReportCliTest, EveryDocumentIsPreparedForTheDemoMonth) {
  for (const char* name : {"slips", "advance", "advance-slips", "sick-leave", "holidays", "hired",
                           "left", "id-cards", "insured", "brackets"}) {
    const CliResult result = Report({name});
    EXPECT_EQ(result.exit_code, 0) << name << ": " << result.err;
    EXPECT_NE(result.out.find(" pagini"), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace traveno::cli
