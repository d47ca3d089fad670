// Writing one company read from the tables of an earlier version into the
// data folder: its register row and its database, in one transaction over
// both, so that an interrupted import leaves the company either whole or
// not there at all. What an interruption can leave (a folder whose database
// holds no row) is no data: the next import fills it. Whether the company is
// already there is decided again under the write lock, so two imports at
// once write it once.
#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/store/records.h"
#include "core/store/store.h"
#include "legacy/legacy_import.h"

namespace traveno::legacy {

// What was read of one company, ready to be written.
struct LegacyCompany {
  bool has_tables = false;
  std::vector<PersRow> pers;
  std::vector<ParFRow> parf;
  std::vector<ParFRow> parf_added;  // rows the upgrades add, without Nr
  std::vector<PintRow> pint;
  std::vector<PozeRow> poze;
  // The years of the employees' rows, when their layout predates 5.2.0,
  // which gave a year without annual brackets the default table.
  std::set<int> years_needing_annual_brackets;
  std::vector<TableCount> counts;
};

// A company the register or its folder already holds, met when the import
// was about to write it; `message` says why it is left as it is.
struct CompanyTaken {
  std::string message;
};

// The register row of a company code (compared without regard to case).
std::optional<FirmeRow> FindRegistered(Store& store, std::string_view code);

// Whether the database in a company's folder holds any row. A database that
// cannot be read counts as data: it is not the import's to overwrite.
bool FolderHoldsCompanyData(const std::filesystem::path& folder);

// Why a company may not be written, given whether the register holds it and
// whether its folder holds data (the working company is never replaced; the
// others only when asked); nothing when it may.
std::optional<std::string> Refusal(const std::string& code, bool registered, bool holds_data,
                                   const LegacyImportOptions& options);

// Writes the company (`firme.Cod` is its code) in one transaction: the
// register row (rewritten when it exists), its tables emptied and filled, and
// the default annual brackets of the years `company` names that have none.
// A company without tables is only registered. Returns the bracket rows
// written. Throws CompanyTaken when the company turns out to be there
// already, Error (StoreError, OsError) when it cannot be written; then
// nothing of it is written and a folder made for it is removed.
int WriteLegacyCompany(Store& store, FirmeRow firme, const LegacyImportOptions& options,
                       const LegacyCompany& company);

// Whether the register row and the company's tables hold exactly what
// WriteLegacyCompany would write (a run that was interrupted after writing
// it, say). False when they cannot be read.
bool AlreadyImported(Store& store, const FirmeRow& firme, const LegacyCompany& company);

}  // namespace traveno::legacy
