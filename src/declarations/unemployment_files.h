// The electronic files of the unemployment declaration: A1, one record per
// insured person whose contribution is withheld, and A2, the employer's
// record, each as a fixed-width text file or a dBASE table.
#pragma once

#include <filesystem>
#include <string>

#include "core/date.h"
#include "core/prompter.h"
#include "core/settings.h"
#include "declarations/declaration_files.h"
#include "declarations/declaration_header.h"
#include "declarations/unemployment_declaration.h"

namespace traveno::declarations {

inline constexpr const char* kA1TxtFailed = "Au aparut probleme la fisierul A1.txt pentru ";
inline constexpr const char* kA1DbfFailed = "Au aparut probleme la fisierul A1.dbf pentru ";
inline constexpr const char* kA2TxtFailed = "Au aparut probleme la fisierul A2.txt ";
inline constexpr const char* kA2DbfFailed = "Au aparut probleme la fisierul A2.dbf ";

// A1 as text: one line per person of the file, in list order, with the
// person's paid and unpaid parts of the declaration. A person whose line
// cannot be made shows kA1TxtFailed with the name (error) and ends the walk;
// the lines made before are saved. Throws Error (kEmployerNotInRegister)
// without an employer, OsError when the file cannot be written.
FileOutcome WriteA1Txt(const std::filesystem::path& path,
                       const UnemploymentDeclaration& declaration, Prompter& prompter);
// A1 as a dBASE table; records only when the path ends in ".dbf". A failing
// person shows kA1DbfFailed with the name and ends the walk; the records
// appended before stay.
FileOutcome WriteA1Dbf(const std::filesystem::path& path,
                       const UnemploymentDeclaration& declaration, Date today, Prompter& prompter);

// A2 as text: one line. A failure (a pay day the month after the working
// month lacks among them) shows kA2TxtFailed and writes no file.
FileOutcome WriteA2Txt(const std::filesystem::path& path,
                       const UnemploymentDeclaration& declaration, const DeclarationHeader& header,
                       Prompter& prompter);
// A2 as a dBASE table; a failing record shows kA2DbfFailed and writes no
// file.
FileOutcome WriteA2Dbf(const std::filesystem::path& path,
                       const UnemploymentDeclaration& declaration, const DeclarationHeader& header,
                       Date today, Prompter& prompter);

enum class UnemploymentFile { kA1, kA2 };

// The name a file is proposed under: "A1.txt", "A2.dbf"...
std::string UnemploymentFileName(UnemploymentFile file, FilingForm form);

// Writes one of the files in one of its forms (the functions above).
FileOutcome WriteUnemploymentFile(UnemploymentFile file, FilingForm form,
                                  const std::filesystem::path& path,
                                  const UnemploymentDeclaration& declaration,
                                  const DeclarationHeader& header, Date today, Prompter& prompter);

}  // namespace traveno::declarations
