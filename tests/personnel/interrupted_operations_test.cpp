// Operations killed at random moments: the indexation of salaries, the month
// transition, the demonstration company and a company's first month, each run
// by traveno-cli in a child process that tells every commit through a pipe.
// Once a commit has been seen the child is killed after a random delay within
// the operation's own duration; the data folder must then hold exactly what it
// held before the operation or exactly what the whole operation leaves, and an
// operation found undone must complete when it runs again.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "tests/support/cli_program.h"
#include "tests/support/data_snapshot.h"
#include "tests/support/temp_folder.h"

namespace traveno {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using traveno::testing::DataSnapshot;
using traveno::testing::FirstDifference;
using traveno::testing::RunProgram;
using traveno::testing::TempFolder;

constexpr int kTrials = 30;

// The child's end of the pipe; every commit on any of its connections writes
// one byte to it before the commit goes to the disk.
int commit_pipe = -1;

int TellCommit(void*) {
  const char byte = 'c';
  [[maybe_unused]] const ssize_t written = ::write(commit_pipe, &byte, 1);
  return 0;  // the commit goes on
}

int HookEveryConnection(sqlite3* db, char**, const sqlite3_api_routines*) {
  sqlite3_commit_hook(db, TellCommit, nullptr);
  return SQLITE_OK;
}

std::vector<std::string> WithFolder(const fs::path& folder, std::vector<std::string> command) {
  std::vector<std::string> args = {"--data-dir", folder.string(), "--yes", "--confirm"};
  args.insert(args.end(), command.begin(), command.end());
  return args;
}

struct ChildRun {
  int commits = 0;                       // commits told before the child ended
  bool killed = false;                   // the child was killed (it had not ended by itself)
  int status = 0;                        // its exit status when it ended by itself
  Clock::duration after_first_commit{};  // from the first commit to its end
};

// Runs the command in a child process; once the first commit is told, kills
// it after `kill_after` (never, when empty). Fails the test when no commit
// comes within a minute.
ChildRun RunChild(const std::vector<std::string>& args, std::optional<Clock::duration> kill_after) {
  int fds[2];
  EXPECT_EQ(::pipe(fds), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    commit_pipe = fds[1];
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(HookEveryConnection));
    const traveno::testing::ProgramResult result = RunProgram(args);
    ::_exit(result.status);
  }
  ::close(fds[1]);
  ChildRun run;
  std::optional<Clock::time_point> first_commit;
  std::optional<Clock::time_point> deadline;
  while (true) {
    // Until the first commit, wait at most a minute; then until the deadline.
    Clock::duration wait = std::chrono::minutes(1);
    if (deadline) {
      wait = *deadline - Clock::now();
      if (wait <= Clock::duration::zero()) {
        ::kill(child, SIGKILL);
        break;
      }
    }
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
    const timespec timeout{static_cast<time_t>(ns / 1000000000),
                           static_cast<long>(ns % 1000000000)};
    pollfd watch{fds[0], POLLIN, 0};
    const int ready = ::ppoll(&watch, 1, first_commit && !deadline ? nullptr : &timeout, nullptr);
    if (ready == 0 && !first_commit) {
      ADD_FAILURE() << "no commit told within a minute";
      ::kill(child, SIGKILL);
      break;
    }
    if (ready <= 0) continue;
    char bytes[64];
    const ssize_t n = ::read(fds[0], bytes, sizeof bytes);
    if (n <= 0) break;  // the child closed its end: it is ending by itself
    run.commits += static_cast<int>(n);
    if (!first_commit) {
      first_commit = Clock::now();
      if (kill_after) deadline = *first_commit + *kill_after;
    }
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(fds[0]);
  if (first_commit) run.after_first_commit = Clock::now() - *first_commit;
  if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) run.killed = true;
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  return run;
}

// One operation and the data folder it starts from.
struct Operation {
  const char* name;
  std::function<void(const fs::path&)> prepare;  // makes the starting folder
  std::vector<std::string> command;
};

void RunOrFail(const fs::path& folder, std::vector<std::string> command) {
  const auto result = RunProgram(WithFolder(folder, std::move(command)));
  ASSERT_EQ(result.status, 0) << result.err;
}

void KillAtRandomMoments(const Operation& operation, unsigned seed) {
  TempFolder pristine;
  ASSERT_NO_FATAL_FAILURE(operation.prepare(pristine.path()));
  const std::string before = DataSnapshot(pristine.path());

  // One whole run gives what the operation leaves and how long it takes.
  TempFolder whole;
  fs::remove_all(whole.path());
  fs::copy(pristine.path(), whole.path(), fs::copy_options::recursive);
  const ChildRun calibration = RunChild(WithFolder(whole.path(), operation.command), {});
  ASSERT_FALSE(calibration.killed);
  ASSERT_EQ(calibration.status, 0) << operation.name;
  ASSERT_GE(calibration.commits, 1) << operation.name;
  const std::string after = DataSnapshot(whole.path());
  ASSERT_TRUE(after != before) << operation.name << " changed nothing";

  std::mt19937 random(seed);
  const auto span =
      std::chrono::duration_cast<std::chrono::microseconds>(calibration.after_first_commit);
  std::uniform_int_distribution<long> delay(0, std::max<long>(span.count(), 1));
  int undone = 0;
  int done = 0;
  for (int trial = 0; trial < kTrials; ++trial) {
    TempFolder folder;
    fs::remove_all(folder.path());
    fs::copy(pristine.path(), folder.path(), fs::copy_options::recursive);
    const ChildRun run = RunChild(WithFolder(folder.path(), operation.command),
                                  std::chrono::microseconds(delay(random)));
    EXPECT_GE(run.commits, 1) << operation.name << ", trial " << trial;
    const std::string found = DataSnapshot(folder.path());
    if (found == before) {
      ++undone;
      // The operation runs again, from the start, to its end.
      RunOrFail(folder.path(), operation.command);
      const std::string completed = DataSnapshot(folder.path());
      EXPECT_TRUE(completed == after)
          << operation.name << ", trial " << trial << ": " << FirstDifference(after, completed);
    } else {
      ++done;
      EXPECT_TRUE(found == after) << operation.name << ", trial " << trial
                                  << " left the data half done: " << FirstDifference(after, found);
    }
  }
  // Kills that never landed inside the operation would prove nothing.
  EXPECT_GT(undone, 0) << operation.name << ": every kill came after the operation";
  ::testing::Test::RecordProperty(std::string(operation.name) + "_undone", undone);
  ::testing::Test::RecordProperty(std::string(operation.name) + "_done", done);
}

void MakeDemo(const fs::path& folder) { RunOrFail(folder, {"demo"}); }

TEST(InterruptedOperationsTest, IndexationOfSalaries) {
  KillAtRandomMoments({"index",
                       MakeDemo,
                       {"index", "--cod", "DEMO", "--month", "2003-01", "--percent", "10", "--sign",
                        "+", "--unit", "100"}},
                      101);
}

TEST(InterruptedOperationsTest, MonthTransition) {
  KillAtRandomMoments(
      {"transition", MakeDemo, {"transition", "--cod", "DEMO", "--month", "2003-01"}}, 202);
}

TEST(InterruptedOperationsTest, DemonstrationCompany) {
  KillAtRandomMoments(
      {"demo", [](const fs::path& folder) { RunOrFail(folder, {"init"}); }, {"demo"}}, 303);
}

TEST(InterruptedOperationsTest, FirstMonthOfACompany) {
  KillAtRandomMoments(
      {"first month",
       [](const fs::path& folder) {
         RunOrFail(folder, {"init"});
         RunOrFail(folder, {"company", "add", "--cod", "NOUA", "--Denumire", "FIRMA NOUA"});
       },
       {"company", "open", "--cod", "NOUA", "--month", "2003-01"}},
      404);
}

}  // namespace
}  // namespace traveno
