// The data folder holds everything the program keeps: the register database,
// one sub-folder per company, the settings file and the error file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace traveno {

// The data folder: `explicit_folder` when not empty (--data-dir), else the
// environment variable TRAVENO_DATA, else $XDG_DATA_HOME/traveno, else
// ~/.local/share/traveno.
std::filesystem::path ResolveDataFolder(std::string_view explicit_folder);

// The file names inside the data folder.
inline constexpr const char* kRegisterDatabaseName = "registru.db";
inline constexpr const char* kCompanyDatabaseName = "firma.db";
inline constexpr const char* kSettingsFileName = "traveno.ini";
inline constexpr const char* kErrorFileName = "traveno.ERR";

// A company's folder: the data folder followed by the first 8 characters of
// its code.
std::filesystem::path CompanyFolder(const std::filesystem::path& data_folder,
                                    std::string_view company_code);

// The folder of a company whose code can name one: the code, trimmed, is one
// folder name of 1 to 8 printable ASCII characters, none of them a blank, a
// dot, a separator or one of  " [ ] : | < > + = ; , * ?  . Throws Error for
// any other code (a register row written by another program may hold ".."
// or "A/B"), so that no path built from a code leaves the data folder.
std::filesystem::path CheckedCompanyFolder(const std::filesystem::path& data_folder,
                                           std::string_view company_code);

// Flushes a folder's entries to the disk (after a file or folder in it was
// created or renamed); failures are ignored.
void SyncFolder(const std::filesystem::path& folder);

// Makes every file of a folder writable by its owner (files copied from
// read-only media). A path naming a file works on its folder; with `recurse`
// nested folders are walked too. A missing folder or a file whose mode
// cannot be changed is skipped silently.
void ClearReadOnly(const std::filesystem::path& path, bool recurse);

}  // namespace traveno
