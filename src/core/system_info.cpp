#include "core/system_info.h"

#include <pwd.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <sstream>

#include "core/version.h"

namespace traveno {
namespace {

// Reads "Key:  value kB" lines into bytes.
std::map<std::string, std::uint64_t> ReadKilobyteFile(const char* path) {
  std::map<std::string, std::uint64_t> values;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    std::string key;
    std::uint64_t amount = 0;
    if (fields >> key >> amount && !key.empty() && key.back() == ':') {
      key.pop_back();
      values[key] = amount * 1024;
    }
  }
  return values;
}

}  // namespace

std::string VersionString() {
  return std::to_string(TRAVENO_VERSION_MAJOR) + "." + std::to_string(TRAVENO_VERSION_MINOR) + "." +
         std::to_string(TRAVENO_VERSION_PATCH) + "." + std::to_string(TRAVENO_VERSION_TWEAK);
}

std::string UserName() {
  if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_name != nullptr) {
    return entry->pw_name;
  }
  return kFailedText;
}

std::string MachineName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) == 0 && name[0] != '\0') return name;
  return kFailedText;
}

std::optional<DiskSpace> DiskSpaceOf(const std::filesystem::path& folder) {
  struct statvfs info {};
  if (statvfs(folder.c_str(), &info) != 0) return std::nullopt;
  return DiskSpace{static_cast<std::uint64_t>(info.f_blocks) * info.f_frsize,
                   static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize};
}

std::optional<MemoryStatus> CurrentMemoryStatus() {
  auto meminfo = ReadKilobyteFile("/proc/meminfo");
  if (!meminfo.count("MemTotal") || meminfo["MemTotal"] == 0) return std::nullopt;
  MemoryStatus status;
  status.physical_total = meminfo["MemTotal"];
  status.physical_available =
      meminfo.count("MemAvailable") ? meminfo["MemAvailable"] : meminfo["MemFree"];
  status.load_percent = static_cast<int>(
      100 - (status.physical_available * 100) / status.physical_total);
  status.paging_total = meminfo["SwapTotal"];
  status.paging_available = meminfo["SwapFree"];
  // The address space a process may use: its limit when it has one, else
  // the 47-bit user space of x86-64.
  rlimit limit{};
  std::uint64_t space = 1ULL << 47;
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) space = limit.rlim_cur;
  status.virtual_total = space;
  auto self = ReadKilobyteFile("/proc/self/status");
  const std::uint64_t used = self["VmSize"];
  status.virtual_available = used < space ? space - used : 0;
  return status;
}

}  // namespace traveno
