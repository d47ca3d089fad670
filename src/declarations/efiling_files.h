// The yearly e-filing files of the fiscal sheets: the employer (Rep), the
// fiscal sheet of every permanent employee (FF1) and of every
// partial-contract person (FF2), and the dependants for whom deductions were
// granted (Ded). Years before 2002 have text files only ("RepFisc.txt",
// "FF1.txt", "FF2.txt", "Deduceri.txt"); 2002 and later have text or dBASE
// files named by the year. Text files are written in Windows-1250 with CR LF
// line ends; every file goes to a temporary name and is renamed over the
// final one.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "core/date.h"
#include "declarations/year_source.h"

namespace traveno::declarations {

enum class FilingForm { kTxt, kDbf };
enum class FilingFile { kRep, kFf1, kFf2, kDed };

// The files of a year in the order they are written.
inline constexpr std::array<FilingFile, 4> kFilingFiles = {FilingFile::kRep, FilingFile::kFf1,
                                                           FilingFile::kFf2, FilingFile::kDed};

// The name a file is written under: "Rep_2003.txt", "FF1_2003.txt",
// "FF2_2003.txt", "Ded_2003.txt", "REP_2003.DBF", ... and before 2002
// "RepFisc.txt", "FF1.txt", "FF2.txt", "Deduceri.txt" (a DBF form of those
// years is the text form).
std::string FilingFileName(FilingFile file, int year, FilingForm form);
// The name the save dialog proposes: "REP_2003.txt", "FF1_2003.txt",
// "FF2_2003.txt", "DED_2003.txt", the DBF names, or the older names.
std::string ProposedFileName(FilingFile file, int year, FilingForm form);
// The text of the wait window while a file is written ("Salvez date in
// fisierul FF1.txt").
std::string FilingWaitText(FilingFile file, FilingForm form);
// The caption of that wait window.
inline constexpr const char* kFilingWaitTitle = "Asteptati va rog....";
// Where a file goes when the user chose `chosen` in the save dialog: a text
// file into the chosen folder under its fixed name (the typed name is not
// used), a dBASE file exactly at the chosen path.
std::filesystem::path FilingTarget(FilingFile file, int year, FilingForm form,
                                   const std::filesystem::path& chosen);
// The form a year's files take: DBF only from 2002 on.
FilingForm FormOfYear(int year, FilingForm wanted);

// What writing one file came to.
struct FilingOutcome {
  std::filesystem::path path;
  // False when nothing was written: the Rep file of a company that is not in
  // the register, or a file whose building failed before anything was kept.
  bool written = false;
  // The error message shown to the user when a record failed; the file then
  // keeps the records before it (a DBF, or the lines of the dependants) or
  // is not written (the Rep file).
  std::optional<std::string> error;
};

// Writes one file of the source's year in the given form at `path` (the
// caller decides the folder; text files keep their fixed name, see
// FilingFileName). `today` dates the dBASE header. Throws OsError when the
// file cannot be written (the final name then keeps what it held), Error
// when a figure of an FF text file cannot be written.
FilingOutcome WriteFilingFile(const YearSource& source, FilingFile file, FilingForm form,
                              const std::filesystem::path& path, Date today);

}  // namespace traveno::declarations
