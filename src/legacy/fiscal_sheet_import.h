// Setting up the working company from its 2002 fiscal-sheet files: the
// register row from "Rep_2002.txt", the employees of the working month from
// "FF1_2002.txt" (permanent) and "FF2_2002.txt" (partial contracts), their
// dependants from "Ded_2002.txt". The whole import is one transaction.
#pragma once

#include <string>
#include <string_view>

#include "core/prompter.h"
#include "params/session.h"

namespace traveno::legacy {

inline constexpr const char* kSheetFolderInvalid =
    "Nu ati specificat o cale valida! Va rog verificati!";
inline constexpr const char* kSheetsBefore2003 =
    "Nu pot fi preluate date din fisele fiscale intr-o data anterioara celei de 01.01.2003! Va "
    "rog schimbati luna curenta de lucru!";
inline constexpr const char* kSheetCompanyFailed = "Nu am putut face update la datele firmei!";
inline constexpr const char* kSheetEmployeeFailed = "Nu am putut face adaugarea!!!!";
inline constexpr const char* kSheetsPersNotEmpty =
    "Nu pot fi preluate date din fisierele de fise fiscale deoarece tabelul Pers contine date!";
inline constexpr const char* kSheetFileNames[] = {"Rep_2002.txt", "FF2_2002.txt", "FF1_2002.txt",
                                                  "Ded_2002.txt"};

// "Directorul specificat nu contine fisierul <name>! Va rog verificati!"
std::string SheetFileMissingMessage(std::string_view file_name);

// Whether the working month holds employee rows (the import is then not offered).
bool WorkingMonthHasEmployees(params::Session& session);

enum class SheetImportOutcome {
  kImported,
  kFolderInvalid,  // the window stays open
  kFileMissing,    // the window stays open
  kRefused,        // a month before 2003, closed, or that already has employees
};

struct SheetImportResult {
  SheetImportOutcome outcome = SheetImportOutcome::kRefused;
  int employees = 0;  // rows created (after the removal of those who left)
  int dependants = 0;
  // Blank lines, lines of a code already present, of a dependant without
  // employee or already held.
  int skipped = 0;
  int failed = 0;  // lines refused with their message
};

// The window's "&Confirm" with the folder as typed (the file names are
// appended to it directly, so a folder needs its final "/"; a file's name is
// found whatever its case). Refuses an invalid folder, a missing file (in the
// order Rep, FF2, FF1, Ded) and a working month before 2003, closed or with
// employees, each with its message. Then, under the wait windows, in one
// transaction: the company line updates the register row (a line that fails,
// a fiscal code longer than its field for instance, shows
// kSheetCompanyFailed); each FF1 line creates a permanent employee unless the
// month already has its personal code (a line that fails, an impossible date,
// a missing code or surname, a code longer than its field, shows
// kSheetEmployeeFailed and the next follows); each FF2 line a partial
// contract likewise; the rows of this import whose leaving date lies before
// the working month are removed; each Ded line creates a dependant of the
// employee with the line's first code, linked to that employee's row, unless
// the employee already has a dependant with that code (a line without the
// dependant's name, or whose values the program does not keep, shows
// kSheetEmployeeFailed). Blank lines are skipped. Created rows take their
// own Nr as IID. Rows of other months are never touched. The time taken
// grows with the number of lines, not with its square. Any other failure
// rolls the whole import back and is thrown.
SheetImportResult ImportFromFiscalSheets(params::Session& session, std::string_view folder,
                                         Prompter& prompter, ProgressReporter& progress);

}  // namespace traveno::legacy
