// The data folder holds everything the program keeps: the register database,
// one sub-folder per company, the settings file and the error file.
#pragma once

#include <filesystem>
#include <optional>
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

// Whether a company code, trimmed, can name a folder of its own inside the
// data folder: 1 to 8 characters of codes 33..126 without " / \ [ ] : | < >
// + = ; , * ? . or a blank, and not a reserved device name (CLOCK$, CON, AUX,
// NUL, COM1..COM4, LPT1..LPT3, PRN, NUCLEU).
bool IsValidCompanyCode(std::string_view code);

// The refusal of a company code that cannot name a company's folder.
std::string InvalidCompanyCodeMessage(std::string_view code);

// A company's folder: the data folder followed by its code, trimmed. Every
// path built from a company code comes from here (opening, upgrading, copying
// and importing a company). Throws Error (InvalidCompanyCodeMessage) for a
// code that is not a valid company code (IsValidCompanyCode): a register row
// written by another program may hold ".." or "A/B", and no path built from
// a code may leave the data folder.
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

// The refusal of an output file (a PDF, a declaration or e-filing file) that
// is one of the program's own files of the data folder: the register's or a
// company's database (with its journal and the copies kept beside it), the
// settings file or the error file. The output is compared after every link
// and every "." or ".." of its path is resolved, and by identity with the
// existing files (a hard link), so no other spelling of such a file passes.
// Empty when the output may be written.
std::optional<std::string> ProgramFileRefusal(const std::filesystem::path& data_folder,
                                              const std::filesystem::path& output);
// Throws Error with that refusal.
void RequireOutputFile(const std::filesystem::path& data_folder,
                       const std::filesystem::path& output);

}  // namespace traveno
