#include <QFile>
#include <QProcess>
#include <QProgressBar>
#include <QTest>

#include <gtest/gtest.h>

#include "app/single_instance.h"
#include "app/splash_window.h"
#include "core/settings.h"
#include "tests/support/temp_folder.h"

namespace traveno::app {
namespace {

TEST(SingleInstanceTest, ASecondLockOnTheSameFolderIsRefusedUntilTheFirstEnds) {
  traveno::testing::TempFolder folder;
  auto first = std::make_unique<SingleInstance>(folder.path());
  ASSERT_TRUE(first->Acquire());
  EXPECT_TRUE(first->Acquire());  // asking again keeps it
  SingleInstance second(folder.path());
  EXPECT_FALSE(second.Acquire());
  first.reset();
  EXPECT_TRUE(second.Acquire());
}

TEST(SingleInstanceTest, TheLockOfACopyThatCrashedDoesNotBlockTheNextStart) {
  traveno::testing::TempFolder folder;
  // A lock left by a process that is gone: a finished child's id.
  QProcess child;
  child.start("/bin/true");
  ASSERT_TRUE(child.waitForFinished(60000));
  const qint64 gone = child.processId() != 0 ? child.processId() : 999999;
  QFile lock(QString::fromStdString((folder.path() / kLockFileName).string()));
  ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
  lock.write(QByteArray::number(gone) + "\ntraveno\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  lock.close();
  SingleInstance next(folder.path());
  EXPECT_TRUE(next.Acquire());
}

TEST(SingleInstanceTest, ASecondCopyOfTheProgramEndsAtOnce) {
  traveno::testing::TempFolder folder;
  SingleInstance running(folder.path());  // this test stands for the running copy
  ASSERT_TRUE(running.Acquire());
  QProcess second;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("TRAVENO_DATA", QString::fromStdString(folder.path().string()));
  env.insert("QT_QPA_PLATFORM", "offscreen");
  second.setProcessEnvironment(env);
  second.start(TRAVENO_EXECUTABLE, {});
  // A copy that ignored the lock would wait for its first choice forever;
  // the test's own time limit then fails it.
  ASSERT_TRUE(second.waitForFinished(-1));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "registru.db"));  // touched nothing
}

TEST(SplashTest, TheBarGrowsByQuartersOfTheExpectedCount) {
  struct Case {
    int count;
    int expected;
    int quarters;
  };
  const Case kCases[] = {{0, 10, 0}, {2, 10, 0}, {3, 10, 1}, {5, 10, 2}, {9, 10, 3},
                         {10, 10, 4}, {25, 10, 4}, {1, 1, 4}, {3, 0, 4}};
  for (const Case& c : kCases) {
    EXPECT_EQ(SplashQuarters(c.count, c.expected), c.quarters) << c.count << "/" << c.expected;
  }
}

TEST(SplashTest, StoresTheRealCountOnlyWhenItDiffers) {
  traveno::testing::TempFolder folder;
  SaveWindowCount(folder.path(), 4);
  {
    SplashWindow splash(folder.path());
    EXPECT_EQ(splash.expected(), 4);
    for (int i = 0; i < 2; ++i) splash.CountWindow();
    EXPECT_EQ(splash.bar()->value(), 2);
  }
  EXPECT_EQ(LoadWindowCount(folder.path()), 2);
  {
    SplashWindow splash(folder.path());
    EXPECT_EQ(splash.bar()->value(), 0);
    splash.CountWindow();
    splash.CountWindow();
  }
  EXPECT_EQ(LoadWindowCount(folder.path()), 2);
}

}  // namespace
}  // namespace traveno::app
