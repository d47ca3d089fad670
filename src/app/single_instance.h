// One copy of the program per data folder: a lock file in the folder, held
// while the program runs. A copy that crashed leaves the file behind, but the
// process it names is gone, so the next start takes the lock over.
#pragma once

#include <QLockFile>
#include <filesystem>
#include <memory>

namespace traveno::app {

inline constexpr const char* kLockFileName = "traveno.lock";

class SingleInstance {
 public:
  explicit SingleInstance(const std::filesystem::path& data_folder);
  ~SingleInstance();

  // True when this copy now holds the lock; false when another running copy
  // holds it (or the folder cannot hold a lock file).
  bool Acquire();

 private:
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace traveno::app
