// The locks a restore works under: its own lock file in the data folder
// (one restore at a time, and no command starts on a data folder while a
// restore switches its files), and the test whether the desktop program
// holds the folder.
#pragma once

#include <filesystem>
#include <memory>

namespace traveno::backup {

inline constexpr const char* kRestoreLockName = ".restaurare.lock";

// An advisory lock on a file (created when missing), held while the object lives.
class FileLock {
 public:
  // Takes the lock without waiting; null when another holder has it or the
  // file cannot be made.
  static std::unique_ptr<FileLock> TryTake(const std::filesystem::path& file);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  explicit FileLock(int fd) : fd_(fd) {}
  int fd_;
};

// Whether another running copy of the desktop program works on the data
// folder (its lock file "traveno.lock" is held by a live process).
bool DesktopProgramHolds(const std::filesystem::path& data_folder);

}  // namespace traveno::backup
