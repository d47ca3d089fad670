#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "core/errors.h"

namespace traveno {
namespace {

// Closes the temporary's descriptor and removes it unless the write succeeded.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::filesystem::path& final_path) {
    const std::filesystem::path folder =
        final_path.has_parent_path() ? final_path.parent_path() : std::filesystem::path(".");
    std::string pattern = (folder / ("." + final_path.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ >= 0) path_ = name.data();
  }
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!kept_ && !path_.empty()) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool is_open() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }

  // Closes the descriptor; false when the close reports a delayed write error.
  bool Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
  }
  void Keep() { kept_ = true; }

 private:
  int fd_ = -1;
  std::string path_;
  bool kept_ = false;
};

[[noreturn]] void Fail(const std::filesystem::path& path, int code) {
  throw OsError(CannotWriteFileMessage(path), code);
}

}  // namespace

std::string CannotWriteFileMessage(const std::filesystem::path& path) {
  return "Nu pot scrie fisierul " + path.string() + " !";
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view content) {
  TemporaryFile temporary(path);
  if (!temporary.is_open()) Fail(path, errno);
  // The file gets the usual permissions, not the private ones of mkostemp.
  ::fchmod(temporary.fd(), 0644);
  std::size_t written = 0;
  while (written < content.size()) {
    const ssize_t n = ::write(temporary.fd(), content.data() + written, content.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail(path, n < 0 ? errno : ENOSPC);
    written += static_cast<std::size_t>(n);
  }
  if (::fsync(temporary.fd()) != 0) Fail(path, errno);
  if (!temporary.Close()) Fail(path, errno);
  if (std::rename(temporary.path().c_str(), path.c_str()) != 0) Fail(path, errno);
  temporary.Keep();
}

}  // namespace traveno
