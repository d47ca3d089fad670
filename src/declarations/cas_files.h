// The electronic files of the social-insurance declaration: A11, one record
// per declared person, and A12, the employer's record, each as a fixed-width
// text file or a dBASE table.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/date.h"
#include "core/prompter.h"
#include "declarations/cas_declaration.h"
#include "declarations/declaration_files.h"

namespace traveno::declarations {

// The error of one person ("... pentru " + name + " " + first name) and of
// the employer's record.
inline constexpr const char* kA11TxtFailed = "Au aparut probleme la fisierul A11.txt pentru ";
inline constexpr const char* kA11DbfFailed = "Au aparut probleme la fisierul A11.dbf pentru ";
inline constexpr const char* kA12TxtFailed = "Au aparut probleme la fisierul A12.txt !";
inline constexpr const char* kA12DbfFailed = "Au aparut probleme la fisierul A12.dbf !";

// What A12 carries beside the declaration.
struct CasEmployerExtras {
  int nrf = 0;            // the pages of the printed nominal declaration
  std::string cod_judet;  // the county code typed in the window
};

// A11 as text: one line per declared person, in list order. A person whose
// line cannot be made shows kA11TxtFailed with the person's name (error)
// and ends the walk; the lines made before are saved. Throws Error
// (kEmployerNotInRegister) when the declaration has no employer, OsError
// when the file cannot be written.
FileOutcome WriteA11Txt(const std::filesystem::path& path, const CasDeclaration& declaration,
                        Prompter& prompter);
// A11 as a dBASE table created at `path`; records only when the path ends in
// ".dbf". A failing person shows kA11DbfFailed with the name and ends the
// walk; the records appended before stay.
FileOutcome WriteA11Dbf(const std::filesystem::path& path, const CasDeclaration& declaration,
                        Date today, Prompter& prompter);

// A12 as text (numbers with "." as decimal separator): one line. A failure
// shows kA12TxtFailed and writes nothing.
FileOutcome WriteA12Txt(const std::filesystem::path& path, const CasDeclaration& declaration,
                        const CasEmployerExtras& extras, Prompter& prompter);
// A12 as a dBASE table; a failing record shows kA12DbfFailed and writes no
// file.
FileOutcome WriteA12Dbf(const std::filesystem::path& path, const CasDeclaration& declaration,
                        const CasEmployerExtras& extras, Date today, Prompter& prompter);

enum class CasFile { kA11, kA12 };

// The name a file is proposed under: "A11.txt", "A12.dbf"...
std::string CasFileName(CasFile file, FilingForm form);

// Writes one of the files in one of its forms (the functions above).
FileOutcome WriteCasFile(CasFile file, FilingForm form, const std::filesystem::path& path,
                         const CasDeclaration& declaration, const CasEmployerExtras& extras,
                         Date today, Prompter& prompter);

}  // namespace traveno::declarations
