// import-legacy run by traveno-cli in child processes: killed at random
// moments (each followed by a plain run of the same command), and two runs
// at once on one data folder. Every time the data folder ends holding exactly
// what one clean import leaves, with each company registered once.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/store/store.h"
#include "tests/legacy/legacy_fixture.h"
#include "tests/support/cli_program.h"
#include "tests/support/data_snapshot.h"
#include "tests/support/temp_folder.h"

namespace traveno {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using testing::DataSnapshot;
using testing::FirstDifference;
using testing::RunProgram;
using testing::TempFolder;

constexpr int kKills = 20;
const std::vector<std::string> kCodes = {"ARICI", "BUFNITA", "CORB", "DROP"};

// A legacy folder of four companies of different layouts, and a data folder
// prepared by "init".
class ImportInChildrenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<testing::LegacyCompanySpec> companies;
    for (const std::string& code : kCodes) companies.push_back({code});
    testing::WriteLegacyRegister(source_.path(), companies, false);
    const int layouts[] = {1, 5, 8, 11};
    for (std::size_t i = 0; i < kCodes.size(); ++i) {
      testing::WriteLegacyCompany(source_.path() / kCodes[i], layouts[i]);
    }
    ASSERT_EQ(RunProgram({"--data-dir", pristine_.path().string(), "init"}).status, 0);
  }

  std::vector<std::string> Command(const fs::path& data) const {
    return {"--data-dir", data.string(), "import-legacy", "--from", source_.path().string()};
  }

  // A copy of the prepared data folder.
  void Prepare(const fs::path& data) const {
    fs::remove_all(data);
    fs::copy(pristine_.path(), data, fs::copy_options::recursive);
  }

  // Starts the command in a child process.
  pid_t Start(const fs::path& data) const {
    const std::vector<std::string> command = Command(data);
    const pid_t child = ::fork();
    if (child == 0) ::_exit(RunProgram(command).status);
    return child;
  }

  TempFolder source_;
  TempFolder pristine_;
};

int ExitStatus(pid_t child) {
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ImportInChildrenTest, AKilledImportCompletesWhenItRunsAgain) {
  const std::string before = DataSnapshot(pristine_.path());
  TempFolder whole;
  Prepare(whole.path());
  const Clock::time_point start = Clock::now();
  ASSERT_EQ(ExitStatus(Start(whole.path())), 0);
  const auto duration = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
  const std::string imported = DataSnapshot(whole.path());

  std::mt19937 random(1702);
  std::uniform_int_distribution<long> moment(0, duration.count());
  int halfway = 0;
  for (int trial = 0; trial < kKills; ++trial) {
    SCOPED_TRACE("kill " + std::to_string(trial));
    TempFolder data;
    Prepare(data.path());
    const pid_t child = Start(data.path());
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    ::kill(child, SIGKILL);
    ExitStatus(child);
    const std::string found = DataSnapshot(data.path());
    if (found != before && found != imported) ++halfway;

    // A plain run of the same command completes the import.
    const auto again = RunProgram(Command(data.path()));
    EXPECT_EQ(again.status, 0) << again.out << again.err;
    const std::string completed = DataSnapshot(data.path());
    EXPECT_TRUE(completed == imported) << FirstDifference(imported, completed);
  }
  // Kills that never landed inside the import would prove nothing, and a
  // random moment may miss it on a busy machine: one more kill lands
  // surely halfway, as soon as the second of the four companies has a folder.
  {
    SCOPED_TRACE("kill halfway");
    TempFolder data;
    Prepare(data.path());
    const pid_t child = Start(data.path());
    const auto folders = [&] {
      int found = 0;
      for (const std::string& code : kCodes) found += fs::exists(data.path() / code) ? 1 : 0;
      return found;
    };
    int status = 0;
    bool ended = false;
    while (folders() < 2 && !(ended = ::waitpid(child, &status, WNOHANG) == child)) {
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    if (!ended) {
      ::kill(child, SIGKILL);
      ExitStatus(child);
    }
    const std::string found = DataSnapshot(data.path());
    if (found != before && found != imported) ++halfway;
    const auto again = RunProgram(Command(data.path()));
    EXPECT_EQ(again.status, 0) << again.out << again.err;
    const std::string completed = DataSnapshot(data.path());
    EXPECT_TRUE(completed == imported) << FirstDifference(imported, completed);
  }
  EXPECT_GT(halfway, 0);
  ::testing::Test::RecordProperty("killed_halfway", halfway);
}

TEST_F(ImportInChildrenTest, TwoImportsAtOnceRegisterEachCompanyOnce) {
  TempFolder whole;
  Prepare(whole.path());
  ASSERT_EQ(ExitStatus(Start(whole.path())), 0);
  const std::string imported = DataSnapshot(whole.path());

  for (int trial = 0; trial < 5; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    TempFolder data;
    Prepare(data.path());
    const pid_t first = Start(data.path());
    const pid_t second = Start(data.path());
    // The one that comes second waits for the first and finds its companies.
    EXPECT_EQ(ExitStatus(first), 0);
    EXPECT_EQ(ExitStatus(second), 0);
    Store store(data.path());
    for (const std::string& code : kCodes) {
      EXPECT_EQ(store.db().QueryInt("SELECT count(*) FROM Firme WHERE Cod = ?", code), 1) << code;
    }
    const std::string found = DataSnapshot(data.path());
    EXPECT_TRUE(found == imported) << FirstDifference(imported, found);
  }
}

}  // namespace
}  // namespace traveno
