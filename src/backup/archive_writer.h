// Writing a backup archive: a tar file (libarchive) holding the copies a
// source gives (the register, the chosen companies, the settings file) and
// last the manifest. The archive is written under a temporary name in the
// destination's folder, flushed to the disk and renamed over the final name
// only when complete, so an interrupted backup never leaves a partial
// archive under that name.
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "backup/backup_source.h"
#include "backup/manifest.h"
#include "core/prompter.h"

namespace traveno::backup {

struct BackupRequest {
  // The companies to put in the archive; nothing: every company with data
  // (an empty list: the register and the settings file alone).
  std::optional<std::vector<std::string>> companies;
  BackupScope scope = BackupScope::kComplete;
  // Empty for a user's backup; the operation a safety copy is kept before.
  std::string operation;
  std::time_t now = 0;
};

inline constexpr const char* kBackupTitle = "Salvare date";

// The local time as the manifest writes it ("YYYY-MM-DD HH:MM:SS").
std::string ManifestTime(std::time_t time);

// Writes the archive at `destination` (replacing a file there) and returns
// its manifest. Shows the progress window (kBackupTitle, one step per file).
// Throws Error when a chosen company has no data ("Firma X nu are date"),
// StoreError when a database cannot be copied, OsError (with the archive's
// name) when the archive cannot be written; the destination is then as it
// was and no temporary file is left.
Manifest WriteBackup(BackupSource& source, const std::filesystem::path& destination,
                     const BackupRequest& request, ProgressReporter& progress);

}  // namespace traveno::backup
