// A fresh folder for one test, removed at the end. It is made in memory
// (/dev/shm) when the machine has it: the store syncs every commit, and on a
// busy disk the tests that commit hundreds of times would wait on the disk
// rather than test anything (a commit's durability is not what they check).
// TRAVENO_TEST_TMP names another parent folder.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace traveno::testing {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "traveno-test-" + std::to_string(::getpid()) + "-" +
                       std::to_string(counter++);
    if (info != nullptr) name += std::string("-") + info->name();
    path_ = ParentFolder() / name;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  static std::filesystem::path ParentFolder() {
    if (const char* chosen = std::getenv("TRAVENO_TEST_TMP"); chosen != nullptr && *chosen) {
      return chosen;
    }
    const std::filesystem::path in_memory = "/dev/shm";
    std::error_code error;
    if (std::filesystem::is_directory(in_memory, error) && ::access("/dev/shm", W_OK) == 0) {
      return in_memory;
    }
    return std::filesystem::temp_directory_path();
  }

  std::filesystem::path path_;
};

}  // namespace traveno::testing
