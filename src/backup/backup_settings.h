// The backup settings of the installation, in "traveno.ini", section
// "Program": how many safety copies are kept per company ("SalvariPastrate",
// default 10), after how many days without a backup the desktop program
// reminds at exit ("ZileAmintireSalvare", default 7, 0: never) and when the
// last backup was made ("UltimaSalvare", local time "YYYY-MM-DD HH:MM:SS").
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace traveno::backup {

inline constexpr int kDefaultKeptCopies = 10;
inline constexpr int kMaxKeptCopies = 100;
inline constexpr int kDefaultReminderDays = 7;
inline constexpr int kMaxReminderDays = 365;

struct BackupSettings {
  int kept_copies = kDefaultKeptCopies;
  int reminder_days = kDefaultReminderDays;
  std::optional<std::time_t> last_backup;
};

// A missing or unreadable value gives its default.
BackupSettings LoadBackupSettings(const std::filesystem::path& data_folder);
// Writes the number of copies kept and the reminder's days. Throws Error
// (nothing written) for a number of copies outside 1..kMaxKeptCopies or days
// outside 0..kMaxReminderDays; OsError when the file cannot be written.
void SaveBackupSettings(const std::filesystem::path& data_folder, int kept_copies,
                        int reminder_days);
// Records the time of a backup just made.
void RecordBackup(const std::filesystem::path& data_folder, std::time_t when);

// Whether leaving the desktop program reminds of a backup: the reminder is
// on and no backup was ever made, or the last one is `reminder_days` whole
// days old or older.
bool BackupReminderDue(const BackupSettings& settings, std::time_t now);
// The reminder's question.
std::string BackupReminderQuestion(const BackupSettings& settings, std::time_t now);

}  // namespace traveno::backup
