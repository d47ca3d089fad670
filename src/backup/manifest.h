// The manifest of a backup archive: what made it (program and layout
// versions, the time, the operation a safety copy was kept before), what it
// holds (the companies with their months, every file with its size, SHA-256
// checksum and rows per table) and how a restore without a choice of
// companies treats it (its scope). Stored as "manifest.json", the archive's
// last entry, so that the files can be written as they are copied.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace traveno::backup {

inline constexpr const char* kManifestName = "manifest.json";
inline constexpr const char* kArchiveFormat = "traveno-salvare";
inline constexpr int kArchiveFormatVersion = 1;

// What a restore without a choice of companies replaces. Stored by name: never rename.
enum class BackupScope {
  // The register, the settings file and every company the archive holds.
  kComplete,
  // Only the companies it holds; the register gains what they need.
  kCompanies,
};

struct ArchivedFile {
  // The path inside the archive, as in the data folder: "registru.db",
  // "traveno.ini", "<code>/firma.db".
  std::string name;
  std::uint64_t size = 0;
  std::string sha256;  // lower-case hex
  // Databases only: the layout version and the rows of every table.
  std::optional<int> layout_version;
  std::map<std::string, std::int64_t> rows;
};

struct ArchivedCompany {
  std::string code;
  std::string name;
  // The company's months as "YYYY-MM", in order.
  std::vector<std::string> months;
};

struct Manifest {
  std::string program_version;
  int layout_version = 0;  // the layout the program that wrote it knows
  std::string created;     // local time, "YYYY-MM-DD HH:MM:SS"
  BackupScope scope = BackupScope::kComplete;
  // Empty for a user's backup; the operation a safety copy was kept before.
  std::string operation;
  std::vector<ArchivedCompany> companies;
  std::vector<ArchivedFile> files;

  const ArchivedFile* FindFile(std::string_view name) const;
  const ArchivedCompany* FindCompany(std::string_view code) const;
};

// The manifest as the archive stores it.
std::string ManifestJson(const Manifest& manifest);
// Reads a stored manifest; throws Error naming what is wrong when it is not
// one (bad JSON, another format, a missing or ill-typed field, a file name
// that cannot stand in a data folder).
Manifest ParseManifest(std::string_view json);

// The archive path of a company's database.
std::string CompanyFileName(std::string_view code);
// The company code of a "<code>/firma.db" path; empty for any other name.
std::string CompanyOfFileName(std::string_view name);
// Whether an archive path may be written under a data folder: the register,
// the settings file, or a company database whose code is a plain folder name.
bool IsDataFileName(std::string_view name);

// A manifest's time as the program shows a moment: "DD.MM.YYYY HH:MM".
std::string DisplayTime(std::string_view created);

// The Romanian words of an operation a safety copy is kept before.
std::string OperationText(std::string_view operation);

}  // namespace traveno::backup
