#include "backup/safety_copies.h"

#include <algorithm>
#include <chrono>
#include <map>

#include "backup/archive_reader.h"
#include "backup/archive_writer.h"
#include "backup/backup_settings.h"
#include "core/data_folder.h"
#include "core/errors.h"

namespace traveno::backup {
namespace fs = std::filesystem;
namespace {

constexpr const char* kRegisterKey = "registru";
constexpr const char* kManyKey = "firme";
constexpr const char* kExtension = ".tar";

// "YYYYMMDD-HHMMSS-mmm": names sort as the copies were made.
std::string StampNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  char text[32] = "00000000-000000";
  if (localtime_r(&seconds, &local) != nullptr) {
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  }
  char stamp[48];
  std::snprintf(stamp, sizeof stamp, "%s-%03d", text, static_cast<int>(millis));
  return stamp;
}

// The company part of a copy's name ("<stamp>-<operation>-<key>.tar").
std::optional<std::string> KeyOf(const fs::path& file) {
  const std::string name = file.filename().string();
  if (!name.ends_with(kExtension) || name.starts_with(".")) return std::nullopt;
  std::size_t at = 0;
  for (int dash = 0; dash < 4; ++dash) {
    at = name.find('-', at);
    if (at == std::string::npos) return std::nullopt;
    ++at;
  }
  return name.substr(at, name.size() - at - std::string(kExtension).size());
}

// Removes the oldest copies of `key` beyond the number kept.
void Prune(const fs::path& folder, const std::string& key, int kept) {
  std::vector<fs::path> copies;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (entry.is_regular_file(error) && KeyOf(entry.path()) == key) copies.push_back(entry.path());
  }
  std::sort(copies.begin(), copies.end());
  for (std::size_t i = 0; i + static_cast<std::size_t>(kept) < copies.size(); ++i) {
    fs::remove(copies[i], error);
  }
}

}  // namespace

fs::path SafetyCopyFolder(const fs::path& data_folder) { return data_folder / kSafetyCopyFolder; }

std::optional<fs::path> KeepSafetyCopyOf(const fs::path& data_folder,
                                         const std::vector<std::string>& companies,
                                         BackupScope scope, std::string_view operation) {
  std::error_code error;
  if (!fs::is_regular_file(data_folder / kRegisterDatabaseName, error)) return std::nullopt;
  try {
    DataFolderSource source(data_folder);
    BackupRequest request;
    request.companies.emplace();
    const std::vector<SourceCompany> with_data = source.Companies();
    for (const std::string& code : companies) {
      for (const SourceCompany& company : with_data) {
        if (company.code == code) request.companies->push_back(code);
      }
    }
    request.scope = scope;
    request.operation = std::string(operation);
    request.now = std::time(nullptr);
    std::string key = kManyKey;
    if (companies.empty()) key = kRegisterKey;
    if (companies.size() == 1) key = companies.front();
    const fs::path folder = SafetyCopyFolder(data_folder);
    fs::create_directories(folder);
    fs::path file;
    do {
      file = folder / (StampNow() + "-" + std::string(operation) + "-" + key + kExtension);
    } while (fs::exists(file));
    SilentProgress quiet;
    WriteBackup(source, file, request, quiet);
    Prune(folder, key, LoadBackupSettings(data_folder).kept_copies);
    return file;
  } catch (const std::exception& failure) {
    throw Error("Copia de siguranta a datelor (" + OperationText(operation) +
                ") nu a putut fi facuta, asa ca operatia nu s-a facut: " + failure.what());
  }
}

std::optional<fs::path> KeepSafetyCopy(const fs::path& data_folder, std::string_view company_code,
                                       std::string_view operation) {
  if (company_code.empty()) {
    return KeepSafetyCopyOf(data_folder, {}, BackupScope::kComplete, operation);
  }
  return KeepSafetyCopyOf(data_folder, {std::string(company_code)}, BackupScope::kCompanies,
                          operation);
}

std::function<void()> PurgeSafetyCopy(const fs::path& data_folder) {
  return [data_folder] { KeepSafetyCopy(data_folder, "", "curatare"); };
}

std::vector<ListedBackup> ListSafetyCopies(const fs::path& data_folder) {
  std::vector<ListedBackup> list;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(SafetyCopyFolder(data_folder), error)) {
    if (!entry.is_regular_file(error) || !KeyOf(entry.path())) continue;
    ListedBackup listed;
    listed.file = entry.path();
    listed.size = entry.file_size(error);
    try {
      listed.manifest = ReadManifest(entry.path());
    } catch (const Error& failure) {
      listed.problem = failure.what();
    }
    list.push_back(std::move(listed));
  }
  std::sort(list.begin(), list.end(),
            [](const ListedBackup& a, const ListedBackup& b) { return a.file > b.file; });
  return list;
}

}  // namespace traveno::backup
