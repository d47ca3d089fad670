// The import of the data kept by earlier versions in Paradox tables: the
// register folder (Firme.DB, Para.db, Impo.db, Impo_an.db) and the folder of
// every company it lists (pers.db, parf.db, Pint.db, poze.db). Each company's
// employee table is recognised by its fields as the program's upgrades always
// recognised it, and its rows reach the current layout with the values those
// upgrades give (the same rules as the upgrades of the program's own store),
// its company parameters with the rows those upgrades add, its dependants
// linked to their employees, its photos from the blob file. Row numbers are
// kept. A table is read only once its header and block chain are found
// sound, so a damaged table is refused and never hangs the import; a table
// the company's layout has (the dependants always, the photos from 5.2.6 on)
// that its folder lacks is damage too. Each company is written in one
// transaction over the register and its database: a company whose tables
// cannot be read is reported by name and written not at all, and the others
// go on; an interrupted import leaves each company whole or absent, and a
// run repeated after it completes the rest.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/prompter.h"

namespace traveno::legacy {

// How many rows of one legacy table were read and written. `added` counts
// rows the upgrades added (company parameters, the default annual brackets
// of a year that had none), `left_out` rows read but not
// written, with `left_out_reason` (dependants without an employee in their
// month, general parameters of a month the register already holds). Always
// read == written - added + left_out.
struct TableCount {
  std::string table;
  int read = 0;
  int written = 0;
  int added = 0;
  int left_out = 0;
  std::string left_out_reason;
};

enum class CompanyStatus {
  kImported,
  kAlreadyImported,  // the register and its folder hold exactly what the import writes
  kExists,           // already in the register or its folder, and not to be replaced
  kNoFolder,         // listed in the register without a folder: it does not exist
  kFailed,           // its tables could not be read or written; nothing was written
};

struct CompanyImport {
  std::string code;
  CompanyStatus status = CompanyStatus::kFailed;
  // The user's text for every status but kImported.
  std::string message;
  std::vector<TableCount> tables;
};

struct LegacyImportReport {
  std::vector<TableCount> register_tables;
  std::vector<CompanyImport> companies;
  // Whether every company listed with a folder was imported (by this run or,
  // with the same data, by an earlier one).
  bool Complete() const;
};

struct LegacyImportOptions {
  std::filesystem::path source;
  // Replace companies already in the register or in their folder of the data
  // folder (their tables are emptied and filled again, their register row
  // rewritten).
  bool replace = false;
  // The company the desktop program works on: never replaced under it.
  std::string working_company;
  // The code page of tables that declare none.
  int default_code_page = 1250;
};

inline constexpr const char* kNoLegacyRegister =
    "Directorul ales nu contine registrul firmelor (Firme.DB) al unei versiuni anterioare !";

// Whether a folder holds the company register of an earlier version.
bool HoldsLegacyRegister(const std::filesystem::path& folder);

// Imports the legacy data of `options.source` into the data folder, whose
// register tables must exist. The general parameters and tax brackets of the
// months the register does not hold yet are written first, in one
// transaction (a month the register holds keeps its own rows); then every
// company, in code order, each in its own transaction. A company already in
// the register, or whose folder's database holds rows, is kept unless
// `replace` says otherwise (never the working company); a folder whose
// database holds no row is no data. Shows the wait window
// per company. Throws Error with kNoLegacyRegister when the folder has no
// register, and Error naming the table when a register table cannot be read
// (nothing is then written).
LegacyImportReport ImportLegacyData(const std::filesystem::path& data_folder,
                                    const LegacyImportOptions& options, ProgressReporter& progress);

// The report as lines for the user: per company its outcome, then per table
// the rows read and written.
std::vector<std::string> ReportLines(const LegacyImportReport& report);

}  // namespace traveno::legacy
