// Reading a backup archive back: its manifest alone (for the lists of
// backups), or every file into a staging folder with everything checked
// before anything of the data folder is touched.
#pragma once

#include <filesystem>

#include "backup/manifest.h"
#include "core/prompter.h"

namespace traveno::backup {

inline constexpr const char* kRestoreTitle = "Restaurare date";

// The manifest of an archive, without checking the files. Throws Error
// naming what is wrong (the file cannot be read, is no archive of the
// program, has no manifest, a damaged one).
Manifest ReadManifest(const std::filesystem::path& archive);

// Reads every file of the archive into `staging` (an empty folder) and
// verifies the whole archive: its manifest is there and readable, of a
// layout this program knows (a newer one is refused), it lists the register
// and every file the archive holds and no other, every file has the size and
// SHA-256 checksum the manifest gives, every database passes SQLite's
// integrity check and has the layout version, the tables, the rows per table
// and (a company) the months the manifest gives. Throws Error with a
// Romanian text naming the first thing found wrong. Shows the progress
// window (kRestoreTitle).
Manifest ReadVerified(const std::filesystem::path& archive, const std::filesystem::path& staging,
                      ProgressReporter& progress);

}  // namespace traveno::backup
