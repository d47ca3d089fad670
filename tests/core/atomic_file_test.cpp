#include "core/atomic_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <fstream>
#include <iterator>

#include "core/errors.h"
#include "tests/support/temp_folder.h"

namespace traveno {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

int FilesIn(const fs::path& folder) {
  return static_cast<int>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(AtomicFileTest, ReplacesTheWholeFileAndLeavesNoTemporary) {
  testing::TempFolder folder;
  const fs::path path = folder.path() / "FF1_2003.txt";
  WriteFileAtomically(path, std::string("first\r\n\0x", 9));
  EXPECT_EQ(ReadAll(path), std::string("first\r\n\0x", 9));
  WriteFileAtomically(path, "second");
  EXPECT_EQ(ReadAll(path), "second");
  EXPECT_EQ(FilesIn(folder.path()), 1);
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::owner_read, fs::perms::owner_read);
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::others_read, fs::perms::others_read);
}

TEST(AtomicFileTest, AMissingFolderIsAClearFailure) {
  testing::TempFolder folder;
  const fs::path path = folder.path() / "nu-exista" / "Rep_2003.txt";
  try {
    WriteFileAtomically(path, "x");
    FAIL() << "no failure";
  } catch (const OsError& error) {
    EXPECT_EQ(std::string(error.what()), "Nu pot scrie fisierul " + path.string() + " !");
  }
}

// A disk that fills up half-way through the write: the file size limit of
// the process stands in for it.
TEST(AtomicFileTest, ADiskFullHalfWayKeepsTheOldFileWhole) {
  testing::TempFolder folder;
  const fs::path path = folder.path() / "DED_2003.DBF";
  WriteFileAtomically(path, "the old content");

  rlimit old_limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  const auto old_handler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = old_limit;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool failed = false;
  try {
    WriteFileAtomically(path, std::string(100000, 'x'));
  } catch (const OsError&) {
    failed = true;
  }
  setrlimit(RLIMIT_FSIZE, &old_limit);
  signal(SIGXFSZ, old_handler);

  EXPECT_TRUE(failed);
  EXPECT_EQ(ReadAll(path), "the old content");
  EXPECT_EQ(FilesIn(folder.path()), 1);
}

}  // namespace
}  // namespace traveno
