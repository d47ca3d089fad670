// The one folder a benchmark run writes in: "traveno-bench-<pid>" under the
// temporary folder, removed when the run ends. A run that was killed cannot
// remove its own, so each run first removes the folders of runs whose
// process no longer exists: nothing a benchmark writes outlives it for long.
#pragma once

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace traveno::bench {

class BenchFolder {
 public:
  // The run's folder, made at the first call and removed at exit.
  static const std::filesystem::path& Path() {
    static BenchFolder folder;
    return folder.path_;
  }

  // A fresh sub-folder of the run's folder.
  static std::filesystem::path Fresh(std::string_view name) {
    std::filesystem::path path = Path() / std::string(name);
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
    std::filesystem::create_directories(path);
    return path;
  }

  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

 private:
  static constexpr std::string_view kPrefix = "traveno-bench-";

  BenchFolder() {
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    RemoveLeftovers(temp);
    path_ = temp / (std::string(kPrefix) + std::to_string(::getpid()));
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    std::filesystem::create_directories(path_);
  }
  ~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  // Folders "traveno-bench-<pid>..." of processes that are gone.
  static void RemoveLeftovers(const std::filesystem::path& temp) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(temp, error)) {
      const std::string name = entry.path().filename().string();
      if (!name.starts_with(kPrefix)) continue;
      char* end = nullptr;
      const long pid = std::strtol(name.c_str() + kPrefix.size(), &end, 10);
      if (pid <= 0 || end == name.c_str() + kPrefix.size()) continue;
      if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
      std::error_code ignored;
      std::filesystem::remove_all(entry.path(), ignored);
    }
  }

  std::filesystem::path path_;
};

}  // namespace traveno::bench
