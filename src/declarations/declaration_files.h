// What the monthly declaration files share: the outcome of writing one file
// and the rule that lets records into a newly created dBASE table.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/date.h"
#include "declarations/dbf_table.h"
#include "declarations/efiling_files.h"

namespace traveno::declarations {

inline constexpr const char* kEmployerNotInRegister =
    "Firma de lucru nu exista in registrul firmelor ! Fisierul nu a fost scris.";

// The wait window's texts while a file is written.
inline constexpr const char* kSavingTitle = "Asteptati va rog....";
std::string SavingText(const std::filesystem::path& path);  // "Salvez in " + path

// How writing one file ended.
struct FileOutcome {
  int records = 0;      // the lines or records written
  bool failed = false;  // a record failed and its message was shown
};

// Whether a table created at `path` takes records: its file name ends in
// ".dbf", in any case.
bool TakesDbfRecords(const std::filesystem::path& path);

// Creates the table at `path` (dated `today`) and opens it for records when
// the creation gave no warning and the path takes records; otherwise the
// header-only file stays and nothing is returned. Throws OsError when the
// file cannot be written.
std::optional<DbfTable> CreateTableForRecords(const std::filesystem::path& path,
                                              std::string_view spec, Date today);

// The month after `month`, and the pay day of the working month in it (the
// whole part of ZiLichidare); empty when that day does not exist there.
Date MonthAfter(Date month);
std::optional<Date> PayDate(Date month, double zi_lichidare);

}  // namespace traveno::declarations
