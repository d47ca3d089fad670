// Writers at work on one data folder at once, as the desktop program and the
// command line can be: a recalculation of the month in a loop, and two
// posting loops changing different fields of the same lines, each a process
// with its own session over the services. Every posting that reported
// success must be in the data afterwards (no writer writes back an older
// line), and every line's figures must be those a fresh calculation gives.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/data_folder.h"
#include "core/store/store.h"
#include "params/company_register.h"
#include "personnel/grid_line.h"
#include "personnel/pay_grid.h"
#include "tests/support/cli_program.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_folder.h"

namespace traveno::personnel {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto kRunFor = std::chrono::seconds(3);
constexpr int kLeastRounds = 8;
constexpr auto kGiveUpAfter = std::chrono::seconds(60);
// The permanent employees of the demonstration company the postings change.
constexpr int kPersons[] = {1, 2, 3, 6, 7};

// Runs `step` in a child process with a session of its own on DEMO's
// January 2003 for its time and its least rounds; the child writes what succeeded to
// `log`. A step that meets a busy data folder fails with its message and is
// not logged.
using Step = std::function<void(params::Session& session, int round, std::ofstream& log)>;
pid_t StartLoop(const fs::path& folder, const Step& step, const fs::path& log_file) {
  const pid_t child = ::fork();
  if (child == 0) {
    std::ofstream log(log_file);
    Store store(folder);
    params::Session session(store);
    traveno::testing::ScriptedPrompter prompter;
    SilentProgress progress;
    if (!params::ChooseCompanyAndMonth(session, "DEMO", Date::FromYmd(2003, 1, 1), prompter,
                                       progress)) {
      ::_exit(1);
    }
    // Each loop runs its time and then on until it has done its least number
    // of rounds: a loop starved by the others on a busy machine finishes its
    // rounds once they stop, so the test never depends on the machine's speed.
    const auto start = Clock::now();
    int done = 0;
    for (int round = 0; Clock::now() - start < kRunFor ||
                        (done < kLeastRounds && Clock::now() - start < kGiveUpAfter);
         ++round) {
      try {
        step(session, round, log);
        log.flush();
        ++done;
      } catch (const StoreError&) {
        // kStoreBusy: reported as a failure, nothing was written
      }
    }
    ::_exit(0);
  }
  return child;
}

// Posts a new value of `field` on the persons' lines in turn.
Step Posting(const std::string& field, double base) {
  return [field, base](params::Session& session, int round, std::ofstream& log) {
    const int iid = kPersons[round % std::size(kPersons)];
    const double value = base + round;
    UpdateGridLine(session, FindLineOfPerson(session, iid)->Nr, {{field, FieldValue(value)}});
    log << iid << " " << field << " " << static_cast<long>(value) << "\n";
  };
}

TEST(ConcurrentWritersTest, RecalculationAndPostingsLoseNoUpdate) {
  traveno::testing::TempFolder work;
  const fs::path folder = work.path() / "date";
  fs::create_directories(folder);
  ASSERT_EQ(traveno::testing::RunProgram({"--data-dir", folder.string(), "demo"}).status, 0);

  SilentProgress silent;
  std::vector<pid_t> children;
  children.push_back(StartLoop(
      folder,
      [&silent](params::Session& session, int, std::ofstream& log) {
        RecalculateCompany(session, silent);
        log << "recalc\n";
      },
      work.path() / "recalc.log"));
  children.push_back(StartLoop(folder, Posting("PRIME", 100000), work.path() / "prime.log"));
  children.push_back(StartLoop(folder, Posting("AVANS", 700000), work.path() / "avans.log"));
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  // The last value each line received, field by field.
  std::map<std::pair<int, std::string>, double> expected;
  int postings = 0;
  for (const char* log_name : {"prime.log", "avans.log"}) {
    std::ifstream log(work.path() / log_name);
    int iid = 0;
    std::string field;
    double value = 0;
    while (log >> iid >> field >> value) {
      expected[{iid, field}] = value;
      ++postings;
    }
  }
  int recalculations = 0;
  {
    std::ifstream log(work.path() / "recalc.log");
    for (std::string line; std::getline(log, line);) ++recalculations;
  }
  ASSERT_GT(postings, 10);
  ASSERT_GT(recalculations, 3);

  Store store(folder);
  params::Session session(store);
  traveno::testing::ScriptedPrompter prompter;
  SilentProgress progress;
  ASSERT_TRUE(params::ChooseCompanyAndMonth(session, "DEMO", Date::FromYmd(2003, 1, 1), prompter,
                                            progress));
  for (const auto& [key, value] : expected) {
    const PersRow line = *FindLineOfPerson(session, key.first);
    const double stored = key.second == "PRIME" ? line.PRIME : line.AVANS;
    EXPECT_EQ(stored, value) << key.second << " of IID " << key.first;
  }
  const MonthEngine month_engine(session);
  for (const PersRow& line : MonthLines(session)) {
    PersRow fresh = line;
    month_engine.payroll().CalculSalariu(fresh);
    EXPECT_EQ(line.BRUT, fresh.BRUT) << "IID " << line.IID;
    EXPECT_EQ(line.IMPOZIT, fresh.IMPOZIT) << "IID " << line.IID;
    EXPECT_EQ(line.RESTPL, fresh.RESTPL) << "IID " << line.IID;
  }
  RecordProperty("postings", postings);
  RecordProperty("recalculations", recalculations);
}

TEST(ConcurrentWritersTest, ADataFolderKeptBusyIsToldWithTheProgramsMessage) {
  traveno::testing::TempFolder work;
  ASSERT_EQ(traveno::testing::RunProgram({"--data-dir", work.path().string(), "demo"}).status, 0);
  // Another writer holds the data for longer than the busy timeout.
  Store other(work.path());
  other.OpenCompany("DEMO");
  Transaction held(other.db());
  const auto result =
      traveno::testing::RunProgram({"--data-dir", work.path().string(), "employee", "set", "--cod",
                                    "DEMO", "--month", "2003-01", "--iid", "3", "PRIME=1"});
  EXPECT_NE(result.status, 0);
  EXPECT_NE(result.err.find(kStoreBusy), std::string::npos) << result.err;
  // A busy folder is a state to wait out, not a fault to report.
  EXPECT_FALSE(fs::exists(work.path() / kErrorFileName));
}

}  // namespace
}  // namespace traveno::personnel
