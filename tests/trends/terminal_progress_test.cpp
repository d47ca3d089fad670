// The progress line of the command line: what it draws and erases on a
// terminal, and that a command run without one (or with --quiet) shows none.
#include "cli/terminal_progress.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "tests/support/cli_runner.h"
#include "tests/support/temp_folder.h"

namespace traveno::cli {
namespace {

constexpr const char* kErase = "\x1b[K";

TEST(TerminalProgressTest, AWaitLineIsDrawnInPlaceAndErasedAtTheEnd) {
  std::ostringstream out;
  {
    TerminalProgress progress(out, 80, false);
    WaitScope wait(progress, "Calcul Salarii", "Va rog asteptati...");
    EXPECT_EQ(progress.CurrentLine(), "Calcul Salarii: Va rog asteptati... |");
  }
  EXPECT_EQ(out.str(),
            std::string("\rCalcul Salarii: Va rog asteptati... |") + kErase + "\r" + kErase);
}

TEST(TerminalProgressTest, ABarShowsItsShareAndANestedLineGivesBackTheOneUnderIt) {
  std::ostringstream out;
  TerminalProgress progress(out, 80, false);
  progress.BeginWait("Evolutie", "Se citesc lunile firmei...");
  progress.BeginProgress("Scriere PDF", 4);
  EXPECT_EQ(progress.CurrentLine(), "Scriere PDF [....................] 0% 0/4");
  progress.Advance(1);
  progress.Advance(4);
  EXPECT_EQ(progress.CurrentLine(), "Scriere PDF [####################] 100% 4/4");
  // A full bar is always drawn, however soon after the last drawing.
  EXPECT_NE(out.str().find("100% 4/4"), std::string::npos);
  progress.EndProgress();
  EXPECT_EQ(progress.CurrentLine(), "Evolutie: Se citesc lunile firmei... |");
  progress.EndWait();
  EXPECT_EQ(progress.CurrentLine(), "");
  EXPECT_TRUE(out.str().ends_with(std::string("\r") + kErase));
}

TEST(TerminalProgressTest, ALineNeverRunsPastTheTerminalsWidth) {
  std::ostringstream out;
  TerminalProgress progress(out, 20, false);
  progress.BeginWait("Se preia firma ABCDEFGH", "");
  EXPECT_EQ(progress.CurrentLine(), "Se preia firma ABCD");  // 19 columns
  progress.EndWait();
  // A letter of two bytes is never cut in half.
  progress.BeginWait("Se preia firma ABCȘ", "");
  EXPECT_EQ(progress.CurrentLine(), "Se preia firma ABCȘ");
  progress.EndWait();
  progress.BeginWait("Se preia firma ABCDȘ", "");
  EXPECT_EQ(progress.CurrentLine(), "Se preia firma ABCD");
}

// Runs the program with its standard error on a terminal of its own and
// returns what the terminal received.
std::string OnATerminal(const std::vector<std::string>& arguments) {
  int terminal = -1;
  const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (child == 0) {
    // Standard output goes nowhere: only standard error reaches the terminal.
    freopen("/dev/null", "w", stdout);
    std::vector<char*> argv;
    std::string program = TRAVENO_CLI;
    argv.push_back(program.data());
    std::vector<std::string> copy = arguments;
    for (std::string& argument : copy) argv.push_back(argument.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  std::string received;
  char buffer[4096];
  for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;) received.append(buffer, n);
  int status = 0;
  waitpid(child, &status, 0);
  close(terminal);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << received;
  return received;
}

TEST(TerminalProgressTest, TheCommandsShowTheirProgressOnlyOnATerminalAndNotWhenQuiet) {
  traveno::testing::TempFolder folder;
  const std::string data = folder.path().string();
  ASSERT_EQ(traveno::testing::RunCli({"--data-dir", data, "demo"}).exit_code, 0);
  const std::vector<std::string> recalc = {"--data-dir", data,      "recalc", "--cod",
                                           "DEMO",       "--month", "2003-01"};
  EXPECT_NE(OnATerminal(recalc).find("Calcul Salarii: Va rog asteptati..."), std::string::npos);
  std::vector<std::string> quiet = recalc;
  quiet.insert(quiet.begin(), "--quiet");
  EXPECT_EQ(OnATerminal(quiet).find("Calcul Salarii"), std::string::npos);
  // In-process, the errors go to a string stream, which is no terminal.
  const traveno::testing::CliResult captured = traveno::testing::RunCli(recalc);
  EXPECT_EQ(captured.exit_code, 0);
  EXPECT_EQ(captured.err, "");

  const std::string pdf = (folder.path() / "stat.pdf").string();
  const std::string shown = OnATerminal({"--data-dir", data, "report", "statement", "--cod", "DEMO",
                                         "--month", "2003-01", "--pdf", pdf});
  EXPECT_NE(shown.find("Scriere PDF ["), std::string::npos) << shown;
  EXPECT_TRUE(std::filesystem::exists(pdf));
}

}  // namespace
}  // namespace traveno::cli
