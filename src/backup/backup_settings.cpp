#include "backup/backup_settings.h"

#include <cstdio>

#include "backup/archive_writer.h"
#include "core/data_folder.h"
#include "core/errors.h"
#include "core/ini_file.h"
#include "core/settings.h"
#include "core/text.h"

namespace traveno::backup {
namespace fs = std::filesystem;
namespace {

constexpr const char* kKeptKey = "SalvariPastrate";
constexpr const char* kDaysKey = "ZileAmintireSalvare";
constexpr const char* kLastKey = "UltimaSalvare";
constexpr std::time_t kDay = 24 * 60 * 60;

std::optional<int> WholeNumber(const std::string& text, int low, int high) {
  int value = 0;
  char extra = 0;
  if (std::sscanf(Trim(text).c_str(), "%d%c", &value, &extra) != 1) return std::nullopt;
  if (value < low || value > high) return std::nullopt;
  return value;
}

std::optional<std::time_t> ParseTime(const std::string& text) {
  std::tm local{};
  char extra = 0;
  if (std::sscanf(Trim(text).c_str(), "%d-%d-%d %d:%d:%d%c", &local.tm_year, &local.tm_mon,
                  &local.tm_mday, &local.tm_hour, &local.tm_min, &local.tm_sec, &extra) != 6) {
    return std::nullopt;
  }
  local.tm_year -= 1900;
  local.tm_mon -= 1;
  local.tm_isdst = -1;
  const std::time_t time = std::mktime(&local);
  if (time == static_cast<std::time_t>(-1)) return std::nullopt;
  return time;
}

}  // namespace

BackupSettings LoadBackupSettings(const fs::path& data_folder) {
  const IniFile file(data_folder / kSettingsFileName);
  BackupSettings settings;
  settings.kept_copies = WholeNumber(file.Read(kProgramSection, kKeptKey, ""), 1, kMaxKeptCopies)
                             .value_or(kDefaultKeptCopies);
  settings.reminder_days =
      WholeNumber(file.Read(kProgramSection, kDaysKey, ""), 0, kMaxReminderDays)
          .value_or(kDefaultReminderDays);
  settings.last_backup = ParseTime(file.Read(kProgramSection, kLastKey, ""));
  return settings;
}

void SaveBackupSettings(const fs::path& data_folder, int kept_copies, int reminder_days) {
  if (kept_copies < 1 || kept_copies > kMaxKeptCopies) {
    throw Error("Numarul copiilor de siguranta pastrate pentru o firma este intre 1 si " +
                std::to_string(kMaxKeptCopies) + " !");
  }
  if (reminder_days < 0 || reminder_days > kMaxReminderDays) {
    throw Error("Numarul de zile dupa care se aminteste salvarea este intre 0 si " +
                std::to_string(kMaxReminderDays) + " !");
  }
  const IniFile file(data_folder / kSettingsFileName);
  file.Write(kProgramSection, kKeptKey, std::to_string(kept_copies));
  file.Write(kProgramSection, kDaysKey, std::to_string(reminder_days));
}

void RecordBackup(const fs::path& data_folder, std::time_t when) {
  IniFile(data_folder / kSettingsFileName).Write(kProgramSection, kLastKey, ManifestTime(when));
}

bool BackupReminderDue(const BackupSettings& settings, std::time_t now) {
  if (settings.reminder_days <= 0) return false;
  if (!settings.last_backup) return true;
  return now - *settings.last_backup >= settings.reminder_days * kDay;
}

std::string BackupReminderQuestion(const BackupSettings& settings, std::time_t now) {
  std::string text;
  if (!settings.last_backup) {
    text = "Datele nu au fost salvate niciodata.";
  } else {
    const long days = static_cast<long>((now - *settings.last_backup) / kDay);
    std::tm local{};
    char date[16] = "";
    if (localtime_r(&*settings.last_backup, &local) != nullptr) {
      std::strftime(date, sizeof date, "%d.%m.%Y", &local);
    }
    text = "Ultima salvare a datelor a fost facuta acum " + std::to_string(days) + " zile, pe " +
           date + ".";
  }
  return text + "\r\nDoriti sa salvati datele acum ?";
}

}  // namespace traveno::backup
