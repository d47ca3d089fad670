// A backup taken while another process posts pay-grid lines in a loop holds
// a state the loop passed through: every line as the loop last posted it up
// to one moment, each line whole (its figures those of its inputs).
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

#include "backup/archive_writer.h"
#include "backup/backup_source.h"
#include "backup/restore.h"
#include "personnel/grid_line.h"
#include "tests/backup/backup_fixture.h"
#include "tests/support/temp_folder.h"

namespace traveno::backup::testing {
namespace {

using traveno::testing::TempFolder;

constexpr int kLines = 12;

// The premium the loop gives line `line` once it has made `posts` posts: the
// loop's post i sets line i % kLines to i * 1000.
double PremiumAfter(int posts, int line) {
  int last = 0;
  for (int i = 1; i <= posts; ++i) {
    if (i % kLines == line) last = i;
  }
  return last * 1000.0;
}

TEST(ConcurrentBackupTest, ABackupDuringPostingHoldsAStateTheLoopPassedThrough) {
  TempFolder data;
  TempFolder out;
  {
    Store store(data.path());
    store.EnsureRegisterTables();
    params::Session session(store);
    AddCompanyWithMonths(store, session, "ALFA", kLines, 1);
  }
  int pipe_ends[2];
  ASSERT_EQ(pipe(pipe_ends), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(pipe_ends[0]);
    Store store(data.path());
    params::Session session(store);
    ScriptedPrompter prompter;
    SilentProgress progress;
    if (!params::ChooseCompanyAndMonth(session, "ALFA", D(2003, 1), prompter, progress)) _exit(1);
    std::vector<std::int64_t> rows;
    Statement nrs = store.db().Prepare("SELECT Nr FROM firma.Pers ORDER BY IID");
    while (nrs.Step()) rows.push_back(nrs.Int64(0));
    for (int i = 1;; ++i) {
      personnel::UpdateGridLine(session, rows[i % kLines], {{"PRIME", FieldValue(i * 1000.0)}});
      if (::write(pipe_ends[1], "p", 1) != 1) _exit(1);
    }
  }
  close(pipe_ends[1]);
  std::vector<fs::path> archives;
  int posts_seen = 0;
  char buffer[4096];
  auto drain = [&] {
    pollfd ready{pipe_ends[0], POLLIN, 0};
    while (poll(&ready, 1, 0) == 1) {
      const ssize_t n = read(pipe_ends[0], buffer, sizeof buffer);
      if (n <= 0) break;
      posts_seen += static_cast<int>(n);
    }
  };
  for (int round = 0; round < 4; ++round) {
    // Let the loop get going (or go on) before each backup.
    pollfd first{pipe_ends[0], POLLIN, 0};
    ASSERT_EQ(poll(&first, 1, 60000), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + 15 * round));
    drain();
    const fs::path archive = out.path() / ("salvare" + std::to_string(round) + ".tar");
    DataFolderSource source(data.path());
    BackupRequest request;
    request.now = std::time(nullptr);
    SilentProgress quiet;
    WriteBackup(source, archive, request, quiet);
    archives.push_back(archive);
  }
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  drain();
  close(pipe_ends[0]);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the posting loop stopped by itself";
  ASSERT_GT(posts_seen, kLines);

  int previous = -1;
  for (const fs::path& archive : archives) {
    const fs::path restored = out.path() / ("restaurat-" + archive.stem().string());
    RestoreOptions options;
    options.target = restored;
    SilentProgress quiet;
    RestoreBackup(archive, options, quiet);

    Store store(restored);
    params::Session session(store);
    ScriptedPrompter prompter;
    ASSERT_TRUE(params::ChooseCompanyAndMonth(session, "ALFA", D(2003, 1), prompter, quiet));
    const std::vector<PersRow> lines =
        QueryRows<PersRow>(store.db(), "SELECT * FROM firma.Pers ORDER BY IID");
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kLines));
    double highest = 0;
    for (const PersRow& line : lines) highest = std::max(highest, line.PRIME);
    const int posts = static_cast<int>(highest / 1000);
    EXPECT_GE(posts, previous) << archive;  // later backups, later states
    previous = posts;
    double gross = 0;
    for (int j = 0; j < kLines; ++j) {
      EXPECT_EQ(lines[j].PRIME, PremiumAfter(posts, j)) << archive << " line " << j;
      gross += lines[j].BRUT;
    }
    // Each line's figures are those of its inputs: calculating the month
    // again changes nothing, and the totals are the lines'.
    const std::vector<PersRow> calculated = personnel::RecalculateCompanyLines(session, quiet);
    ASSERT_EQ(calculated.size(), lines.size());
    for (std::size_t j = 0; j < lines.size(); ++j) {
      EXPECT_EQ(calculated[j].BRUT, lines[j].BRUT) << archive << " line " << j;
      EXPECT_EQ(calculated[j].RESTPL, lines[j].RESTPL) << archive << " line " << j;
    }
    EXPECT_EQ(static_cast<double>(session.totals().BrutP + session.totals().BrutC), gross) << archive;
  }
}

}  // namespace
}  // namespace traveno::backup::testing
