#include "core/data_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "core/errors.h"
#include "core/text.h"

namespace traveno {
namespace fs = std::filesystem;

fs::path ResolveDataFolder(std::string_view explicit_folder) {
  if (!Trim(explicit_folder).empty()) return fs::path(Trim(explicit_folder));
  if (const char* from_env = std::getenv("TRAVENO_DATA"); from_env && *from_env) {
    return fs::path(from_env);
  }
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    return fs::path(xdg) / "traveno";
  }
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : ".") / ".local" / "share" / "traveno";
}

fs::path CompanyFolder(const fs::path& data_folder, std::string_view company_code) {
  return data_folder / Truncate(Trim(company_code), 8);
}

fs::path CheckedCompanyFolder(const fs::path& data_folder, std::string_view company_code) {
  const std::string code = Trim(company_code);
  static constexpr std::string_view kForbidden = "\"/\\[]:|<>+=;,*?. ";
  const bool valid =
      !code.empty() && code.size() <= 8 && std::all_of(code.begin(), code.end(), [](char c) {
        const auto value = static_cast<unsigned char>(c);
        return value >= 32 && value <= 126 && kForbidden.find(c) == std::string_view::npos;
      });
  if (!valid) {
    throw Error("Codul firmei \"" + code + "\" nu poate fi nume de director !");
  }
  return data_folder / code;
}

void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

void ClearReadOnly(const fs::path& path, bool recurse) {
  const std::string trimmed = Trim(path.string());
  if (trimmed.empty()) return;
  fs::path folder(trimmed);
  std::error_code error;
  if (folder.has_extension() && !fs::is_directory(folder, error)) folder = folder.parent_path();
  if (folder.empty()) folder = ".";
  if (!fs::is_directory(folder, error)) return;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code ignored;
    const fs::file_status status = entry->symlink_status(ignored);
    if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) {
      fs::permissions(entry->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    if (recurse && fs::is_directory(status)) ClearReadOnly(entry->path(), true);
  }
}

}  // namespace traveno
