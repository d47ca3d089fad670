#include "backup/folder_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <string>

namespace traveno::backup {
namespace fs = std::filesystem;

std::unique_ptr<FileLock> FileLock::TryTake(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<FileLock>(new FileLock(fd));
}

FileLock::~FileLock() { ::close(fd_); }

bool DesktopProgramHolds(const fs::path& data_folder) {
  // The desktop program's lock file names its process on the first line and
  // is also locked while the program runs.
  const fs::path file = data_folder / "traveno.lock";
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  if (locked) return true;
  std::ifstream in(file);
  long pid = 0;
  if (!(in >> pid) || pid <= 0 || pid == ::getpid()) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace traveno::backup
