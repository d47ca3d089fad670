// Which database files an operation commits: a write of the company's lines
// syncs the company's file alone (no journal beside the register, no
// super-journal), a month that is only read is synced nowhere, and a write
// over both files still commits them as one.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/data_folder.h"
#include "params/company_register.h"
#include "params/month_cycle.h"
#include "personnel/demo_company.h"
#include "personnel/grid_line.h"
#include "personnel/pay_grid.h"
#include "tests/params/fixture.h"
#include "tests/support/file_activity.h"

namespace traveno::personnel {
namespace {

using traveno::testing::FileActivity;

class CommitFilesTest : public params::testing::StoreFixture {
 protected:
  // Before the fixture opens its databases.
  static void SetUpTestSuite() { FileActivity::Start(); }

  void SetUp() override { CreateDemoCompany(*session_, prompter_, progress_); }

  std::int64_t FirstLine() { return MonthLines(*session_).front().Nr; }
};

TEST_F(CommitFilesTest, AWriteOfTheCompanysLinesSyncsTheCompanysFileAlone) {
  const struct {
    const char* name;
    std::function<void()> write;
  } writes[] = {
      {"posting a line",
       [&] {
         UpdateGridLine(*session_, FirstLine(), {{"TIMP", FieldValue(150.0)}});
       }},
      {"recalculating the month",
       [&] {
         // A working time changed in memory, as a window does before it saves.
         session_->parameters().company.TimpLuna = 176;
         RecalculateCompany(*session_, progress_);
       }},
      {"filling a column",
       [&] {
         FillColumn(*session_, "AVANS", "Avans", 100000, {"1", {}}, progress_);
       }},
      {"closing the month", [&] { params::ToggleMonthClosed(*session_); }},
  };
  for (const auto& write : writes) {
    const FileActivity& activity = FileActivity::Start();
    write.write();
    const FileActivity::Counts company = activity.Of(kCompanyDatabaseName);
    const FileActivity::Counts register_file = activity.Of(kRegisterDatabaseName);
    EXPECT_EQ(company.journals, 1) << write.name;
    EXPECT_GT(company.syncs, 0) << write.name;
    EXPECT_EQ(register_file.journals, 0) << write.name;
    EXPECT_EQ(register_file.syncs, 0) << write.name;
    EXPECT_EQ(activity.SuperJournals(), 0) << write.name;
  }
}

TEST_F(CommitFilesTest, AMonthThatIsOnlyReadIsSyncedNowhere) {
  params::Session reader(*store_);
  const FileActivity& activity = FileActivity::Start();
  ASSERT_TRUE(params::ChooseCompanyAndMonth(reader, "DEMO", params::testing::D(2003, 1), prompter_,
                                            progress_));
  SumStoredLines(reader);
  ComputeGridTotals(reader);
  MonthLines(reader, "2", std::nullopt);
  EXPECT_EQ(activity.Syncs(), 0);
  EXPECT_EQ(activity.Of(kCompanyDatabaseName).journals, 0);
  EXPECT_EQ(activity.Of(kRegisterDatabaseName).journals, 0);
}

TEST_F(CommitFilesTest, AWriteOverBothFilesStillCommitsThemAsOne) {
  // The transition writes the register's brackets and parameters of the new
  // month beside the company's lines: one commit over both files.
  const FileActivity& activity = FileActivity::Start();
  params::PassToNextMonth(*session_, progress_);
  EXPECT_EQ(activity.SuperJournals(), 1);
  EXPECT_EQ(activity.Of(kCompanyDatabaseName).journals, 1);
  EXPECT_EQ(activity.Of(kRegisterDatabaseName).journals, 1);
}

}  // namespace
}  // namespace traveno::personnel
