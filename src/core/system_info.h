// What the error report asks of the operating system. Every query that the
// system cannot answer gives "< Failed >" or an empty value, never a failure.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace traveno {

inline constexpr const char* kApplicationTitle = "TRAVENO - Velmoranti Soft";
inline constexpr const char* kFailedText = "< Failed >";

// The program's version as "major.minor.release.build".
std::string VersionString();
// The logged-on user's name, or "< Failed >".
std::string UserName();
// The computer's name, or "< Failed >".
std::string MachineName();

struct DiskSpace {
  std::uint64_t size = 0;
  std::uint64_t free = 0;
};
std::optional<DiskSpace> DiskSpaceOf(const std::filesystem::path& folder);

struct MemoryStatus {
  int load_percent = 0;
  std::uint64_t physical_total = 0;
  std::uint64_t physical_available = 0;
  std::uint64_t paging_total = 0;
  std::uint64_t paging_available = 0;
  std::uint64_t virtual_total = 0;
  std::uint64_t virtual_available = 0;
};
std::optional<MemoryStatus> CurrentMemoryStatus();

}  // namespace traveno
