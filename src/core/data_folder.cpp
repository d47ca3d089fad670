#include "core/data_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
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

bool IsValidCompanyCode(std::string_view text) {
  const std::string code = Trim(text);
  if (code.empty() || code.size() > 8) return false;
  static constexpr std::string_view kForbidden = "\"/\\[]:|<>+=;,*?. ";
  for (char c : code) {
    const auto value = static_cast<unsigned char>(c);
    if (value < 33 || value > 126 || kForbidden.find(c) != std::string_view::npos) return false;
  }
  static constexpr std::array<std::string_view, 13> kReserved = {
      "CLOCK$", "CON",  "AUX",  "NUL",  "COM1", "COM2",  "COM3",
      "COM4",   "LPT1", "LPT2", "LPT3", "PRN",  "NUCLEU"};
  const std::string upper = ToUpperAscii(code);
  for (std::string_view reserved : kReserved) {
    if (upper == reserved) return false;
  }
  return true;
}

std::string InvalidCompanyCodeMessage(std::string_view code) {
  return "Codul firmei \"" + Trim(code) + "\" nu poate fi nume de director !";
}

fs::path CheckedCompanyFolder(const fs::path& data_folder, std::string_view company_code) {
  if (!IsValidCompanyCode(company_code)) throw Error(InvalidCompanyCodeMessage(company_code));
  return data_folder / Trim(company_code);
}

namespace {

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

// Whether a file name is one of the program's own in the data folder (the
// register's database, the settings and error files, with what the program
// keeps beside them: journals, copies, the former error file) or in a folder
// inside it (a company's database, its journal and copies).
bool IsProgramFileName(std::string_view name, bool in_company_folder) {
  if (in_company_folder) return StartsWithIgnoreCase(name, kCompanyDatabaseName);
  return StartsWithIgnoreCase(name, kRegisterDatabaseName) ||
         StartsWithIgnoreCase(name, kSettingsFileName) ||
         StartsWithIgnoreCase(name, kErrorFileName);
}

// The path with every link and every "." and ".." resolved, as far as it
// exists.
fs::path Resolved(const fs::path& path) {
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  if (error) absolute = path;
  fs::path resolved = fs::weakly_canonical(absolute, error);
  return error ? absolute.lexically_normal() : resolved;
}

// Whether an existing file is the same file as one of the program's own
// (a hard link to it, or the same file seen through another mount).
bool IsSameAsAProgramFile(const fs::path& folder, const fs::path& file) {
  std::error_code error;
  if (!fs::exists(file, error)) return false;
  auto same_in = [&](const fs::path& where, bool company) {
    std::error_code walk;
    for (fs::directory_iterator it(where, walk), end; !walk && it != end; it.increment(walk)) {
      std::error_code ignored;
      if (!it->is_regular_file(ignored)) continue;
      if (!IsProgramFileName(it->path().filename().string(), company)) continue;
      if (fs::equivalent(it->path(), file, ignored)) return true;
    }
    return false;
  };
  if (same_in(folder, false)) return true;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code ignored;
    if (it->is_directory(ignored) && same_in(it->path(), true)) return true;
  }
  return false;
}

}  // namespace

std::optional<std::string> ProgramFileRefusal(const fs::path& data_folder, const fs::path& output) {
  const fs::path folder = Resolved(data_folder);
  const fs::path file = Resolved(output);
  const std::string name = file.filename().string();
  bool refused = false;
  if (file.parent_path() == folder) {
    refused = IsProgramFileName(name, false);
  } else if (file.parent_path().parent_path() == folder) {
    refused = IsProgramFileName(name, true);
  }
  if (!refused) refused = IsSameAsAProgramFile(folder, file);
  if (!refused) return std::nullopt;
  return "Fisierul " + output.string() +
         " este un fisier al programului din directorul de date (baza de date, setarile sau "
         "fisierul de erori) si nu poate fi suprascris ! Alegeti alt fisier.";
}

void RequireOutputFile(const fs::path& data_folder, const fs::path& output) {
  if (auto refusal = ProgramFileRefusal(data_folder, output)) throw Error(*refusal);
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
