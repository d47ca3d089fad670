// The command line's own refusals (a missing option, a value of the wrong
// kind, an unknown argument) and its help, as a user sees them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/cli_program.h"

namespace traveno {
namespace {

using testing::RunProgram;

constexpr const char* kHelpHint = "\nFolositi --help pentru optiunile comenzii.\n";

TEST(CommandLineTest, RefusalsAreInTheProgramsWordsWithTheParsersStatus) {
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string message;
  };
  const Case kCases[] = {
      {{}, 106, "Lipseste comanda !"},
      {{"report", "statement"}, 106, "Lipseste --cod (obligatoriu) !"},
      {{"report", "--cod", "A", "--month", "2003-01"}, 106, "Lipseste document (obligatoriu) !"},
      {{"efiling", "--cod"}, 114, "Lipseste valoarea pentru --cod !"},
      {{"efiling", "--cod", "A", "--year", "abc", "--out", "x"},
       104,
       "Valoarea abc nu este valida pentru --year !"},
      {{"efiling", "--cod", "A", "--year", "99999999999", "--out", "x"},
       104,
       "Valoarea 99999999999 nu este valida pentru --year !"},
      {{"efiling", "--cod", "A", "--year", "2003", "--out", "x", "extra"},
       109,
       "Argument necunoscut: extra !"},
      {{"company", "add", "--cod", "A", "--TipAngaj", "3"},
       105,
       "Valoarea 3 nu este permisa pentru --TipAngaj: se accepta 1,2 !"},
      {{"formula", "check", "--kind", "bonus", "--bonus", "9", "x"},
       105,
       "Valoarea 9 nu este permisa pentru --bonus: se accepta valori intre 1 si 4 !"},
      {{"import-legacy", "--from", "/nonexistent-folder"},
       105,
       "Directorul /nonexistent-folder (--from) nu exista !"},
      {{"declaration", "cas", "--cod", "A", "--month", "2003-01", "--text", "--files", "x"},
       108,
       "--text si --files nu pot fi folosite impreuna !"},
      {{"declaration", "cas", "--cod", "A", "--month", "2003-01", "--dbf"},
       107,
       "--dbf se foloseste numai impreuna cu --files !"},
  };
  for (const Case& c : kCases) {
    std::string command;
    for (const std::string& argument : c.arguments) command += argument + " ";
    SCOPED_TRACE(command);
    const auto result = RunProgram(c.arguments);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.err, c.message + kHelpHint);
    EXPECT_EQ(result.out, "");
  }
}

TEST(CommandLineTest, TheHelpSpeaksTheProgramsLanguage) {
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--help"},
                                                    {"report", "--help"},
                                                    {"declaration", "somaj", "--help"}}) {
    SCOPED_TRACE(arguments.front());
    const auto result = RunProgram(arguments);
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("Utilizare: "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Optiuni:\n  -h,--help"), std::string::npos) << result.out;
    for (const char* english : {"Usage", "Options", "Subcommands", "Positionals", "REQUIRED",
                                "Print this help", "Excludes", "Needs"}) {
      EXPECT_EQ(result.out.find(english), std::string::npos) << english << "\n" << result.out;
    }
  }
}

}  // namespace
}  // namespace traveno
