// What the monthly declaration files share: the outcome of writing one file
// and the rule that lets records into a newly created dBASE table.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/date.h"
#include "core/prompter.h"
#include "declarations/dbf_table.h"
#include "declarations/declaration_employer.h"
#include "declarations/efiling_files.h"

namespace traveno::declarations {

inline constexpr const char* kEmployerNotInRegister =
    "Firma de lucru nu exista in registrul firmelor ! Fisierul nu a fost scris.";

// The wait window's texts while a file is written.
inline constexpr const char* kSavingTitle = "Asteptati va rog....";
std::string SavingText(const std::filesystem::path& path);  // "Salvez in " + path

// The employer a file is written for. Throws Error (kEmployerNotInRegister)
// when the register has none.
const DeclarationEmployer& RequireEmployer(const std::optional<DeclarationEmployer>& employer);

// The digits of a text as the number a dBASE field holds (0 when none).
double DigitsAsNumber(std::string_view text);

// How writing one file ended.
struct FileOutcome {
  bool written = false;  // the file was written, whole, under its name
  int records = 0;       // the lines or records it holds
  bool failed = false;   // a record failed and its message was shown
};

// The walks every monthly file makes. A person file has one line or record
// per person: a person whose line or record cannot be made (Error) shows
// `failure_prefix` + the person's name (error) and ends the walk; the file
// is written with the lines or records made before. An employer file has one
// line or record: when it cannot be made, `failure` is shown and no file is
// written (a file already under the name stays as it was). A table takes
// records only when its field list made its fields without warnings and its
// name ends in ".dbf"; otherwise it is written with its header alone. Every
// file is written once, whole, through a temporary file renamed over its
// name (OsError when it cannot be written; the name then keeps what it held).
FileOutcome WritePersonLines(const std::filesystem::path& path, std::size_t count,
                             const std::function<std::string(std::size_t)>& line,
                             const std::function<std::string(std::size_t)>& name,
                             const std::string& failure_prefix, Prompter& prompter);
FileOutcome WritePersonRecords(const std::filesystem::path& path, std::string_view spec, Date today,
                               std::size_t count,
                               const std::function<void(std::size_t, DbfRecord&)>& fill,
                               const std::function<std::string(std::size_t)>& name,
                               const std::string& failure_prefix, Prompter& prompter);
FileOutcome WriteEmployerLine(const std::filesystem::path& path,
                              const std::function<std::string()>& line, const std::string& failure,
                              Prompter& prompter);
FileOutcome WriteEmployerRecord(const std::filesystem::path& path, std::string_view spec,
                                Date today, const std::function<void(DbfRecord&)>& fill,
                                const std::string& failure, Prompter& prompter);

// Whether a table created at `path` takes records: its file name ends in
// ".dbf", in any case.
bool TakesDbfRecords(const std::filesystem::path& path);

// The month after `month`, and the pay day of the working month in it (the
// whole part of ZiLichidare); empty when that day does not exist there.
Date MonthAfter(Date month);
std::optional<Date> PayDate(Date month, double zi_lichidare);

}  // namespace traveno::declarations
