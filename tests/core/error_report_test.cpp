#include "core/error_report.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/errors.h"
#include "core/fatal_signals.h"
#include "tests/support/scripted_prompter.h"

namespace traveno {
namespace {

using traveno::testing::ScriptedPrompter;

// A prompter that answers every Yes/No question with `answer`.
ScriptedPrompter Answering(bool answer) {
  ScriptedPrompter prompter;
  prompter.default_yes = answer;
  return prompter;
}

ReportEnvironment FixedEnvironment() {
  ReportEnvironment environment;
  environment.version = "0.1.0.0";
  environment.user_name = "contabil";
  environment.machine_name = "birou";
  environment.current_directory = "/home/contabil";
  environment.disk = DiskSpace{1234567890, 9876543};
  environment.date_time = "05.02.2003 10:11:12";
  environment.memory = MemoryStatus{42, 2048, 1024, 512, 256, 4096, 3072};
  return environment;
}

std::filesystem::path TempFile(const char* name) {
  auto folder = std::filesystem::temp_directory_path() /
                ("traveno-err-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 "-" + name);
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder / "traveno.ERR";
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

TEST(ErrorReportTest, LayoutLineForLine) {
  const ErrorInfo error{"Fisier inexistent", "EInOutError", 2};
  const SenderInfo sender{"TFSal", "BConfirm", "FSal"};
  ApplicationState state{"FSal", "GridSal", 12, 11, 4};
  const std::string report = FormatErrorReport(error, &sender, state, FixedEnvironment());
  const std::string expected =
      "Eroare                      : Fisier inexistent\r\n"
      "Tip Eroare                  : EInOutError\r\n"
      "ErrorCode                   : 2\r\n"
      "Sender                      : TFSal - BConfirm\r\n"
      "Sender.Owner                : FSal\r\n"
      "Active Form & Control       : FSal - GridSal\r\n"
      "FormCount, Custom~ & DMCount: 12 - 11 - 4\r\n"
      "Application.Title & Version : TRAVENO - Velmoranti Soft - 0.1.0.0\r\n"
      "UserName & Machine Name     : contabil - birou\r\n"
      "\r\n"
      "Director curent             : /home/contabil\r\n"
      "Marime disc curent          : 1 234 567 890 octeti.\r\n"
      "Spatiu liber                : 9 876 543 octeti.\r\n"
      "Data si Ora                 : 05.02.2003 10:11:12\r\n"
      "\r\n"
      "Incarcare memorie           : 42 %\r\n"
      "Mem. fizica                 : 2 048 octeti\r\n"
      "Mem. fizica disponibila     : 1 024 octeti\r\n"
      "Mem. paginata               : 512 octeti\r\n"
      "Mem. paginata disponibila   : 256 octeti\r\n"
      "Mem. virtuala               : 4 096 octeti\r\n"
      "Mem. virtuala disponibila   : 3 072 octeti\r\n" +
      std::string(60, '-') + "\r\n";
  EXPECT_EQ(report, expected);
}

TEST(ErrorReportTest, OptionalLinesAreLeftOut) {
  const ErrorInfo error{"x", "EConvertError", std::nullopt};
  ReportEnvironment environment = FixedEnvironment();
  environment.disk.reset();
  environment.memory.reset();
  const std::string report = FormatErrorReport(error, nullptr, {}, environment);
  for (const char* absent : {"ErrorCode", "Sender", "Active Form", "Marime disc", "Mem. fizica"}) {
    EXPECT_EQ(report.find(absent), std::string::npos) << absent;
  }
  EXPECT_NE(report.find("FormCount, Custom~ & DMCount: 0 - 0 - 0\r\n"), std::string::npos);
}

TEST(ErrorReportTest, FatalKindsTellAndEndOthersAsk) {
  struct Case {
    const char* kind;
    bool answer;
    bool terminates;
    bool asked;
  };
  const Case kCases[] = {
      {"EOutOfMemory", false, true, false},   {"EAccessViolation", false, true, false},
      {"EStackOverflow", false, true, false}, {"EConvertError", false, false, true},
      {"EConvertError", true, true, true},    {"EOutOfMemoryX", false, false, true},
  };
  for (const Case& c : kCases) {
    const auto file = TempFile(c.kind);
    ScriptedPrompter prompter = Answering(c.answer);
    const bool terminates = ReportUnhandledError({"Mesaj", c.kind, std::nullopt}, nullptr, {},
                                                 FixedEnvironment(), file, prompter);
    EXPECT_EQ(terminates, c.terminates) << c.kind;
    EXPECT_EQ(!prompter.questions.empty(), c.asked) << c.kind;
    const std::string text = c.asked ? prompter.questions.at(0) : prompter.messages.at(0).text;
    EXPECT_EQ(text, std::string("Eroare:\r\nMesaj\r\n") +
                        (c.asked ? "Doriti sa terminati fortat aplicatia ?"
                                 : "Aplicatia va fi terminata fortat."));
    EXPECT_NE(ReadAll(file).find("Tip Eroare                  : " + std::string(c.kind)),
              std::string::npos);
  }
}

TEST(ErrorReportTest, ReportsAppendAndAnUnwritableFolderStillAsks) {
  const auto file = TempFile("append");
  ScriptedPrompter prompter = Answering(false);
  ReportUnhandledError({"unu", "Exception", std::nullopt}, nullptr, {}, FixedEnvironment(), file,
                       prompter);
  ReportUnhandledError({"doi", "Exception", std::nullopt}, nullptr, {}, FixedEnvironment(), file,
                       prompter);
  const std::string content = ReadAll(file);
  EXPECT_LT(content.find(": unu"), content.find(": doi"));

  ScriptedPrompter asked = Answering(false);
  EXPECT_FALSE(ReportUnhandledError({"trei", "Exception", std::nullopt}, nullptr, {},
                                    FixedEnvironment(), "/nonexistent-folder/traveno.ERR", asked));
  EXPECT_EQ(asked.questions.size(), 1u);
}

TEST(ErrorReportTest, EmptyMessageGivesEmptyText) {
  EXPECT_EQ(ErrorReportUserText({"", "Exception", std::nullopt}), "");
}

TEST(DescribeExceptionTest, MapsOurErrorsAndTheLibrarysOntoKinds) {
  auto kind_of = [](auto thrower) {
    try {
      thrower();
    } catch (...) {
      return DescribeException(std::current_exception()).kind;
    }
    return std::string();
  };
  EXPECT_EQ(kind_of([] { throw std::bad_alloc(); }), "EOutOfMemory");
  EXPECT_EQ(kind_of([] { throw StoreError("x"); }), "EDBEngineError");
  EXPECT_EQ(kind_of([] { throw std::invalid_argument("x"); }), "EConvertError");
  EXPECT_EQ(kind_of([] { throw 42; }), "Exception");
  EXPECT_TRUE(IsFatalKind("EOutOfMemory"));
  EXPECT_FALSE(IsFatalKind("EDBEngineError"));
}

TEST(FatalSignalDeathTest, ACrashIsReportedAndEndsTheProgram) {
  const auto file = TempFile("crash");
  EXPECT_EXIT(
      {
        InstallFatalSignalHandlers(file, "test");
        volatile int* nothing = nullptr;
        *nothing = 1;
      },
      ::testing::ExitedWithCode(128 + SIGSEGV), "Aplicatia va fi terminata fortat");
  EXPECT_NE(ReadAll(file).find("EAccessViolation"), std::string::npos);
}

int Recurse(int depth) {
  volatile char buffer[4096];
  buffer[0] = static_cast<char>(depth);
  if (depth < 0) return 0;  // never: the recursion only ends by exhausting the stack
  return Recurse(depth + 1) + buffer[0];
}

TEST(FatalSignalDeathTest, StackExhaustionIsToldApart) {
  const auto file = TempFile("stack");
  EXPECT_EXIT(
      {
        InstallFatalSignalHandlers(file, "test");
        Recurse(0);
      },
      ::testing::ExitedWithCode(128 + SIGSEGV), "Depasirea stivei");
  EXPECT_NE(ReadAll(file).find("EStackOverflow"), std::string::npos);
}

}  // namespace
}  // namespace traveno
