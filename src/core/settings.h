// The installation's settings, kept in "traveno.ini" of the data folder,
// section "Program": the exit confirmation, the start password, the splash's
// window count, the pay-slip footers of each company and the person who signs
// the declarations. A missing file or key gives the default.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/password.h"

namespace traveno {

inline constexpr const char* kProgramSection = "Program";

struct ProgramSettings {
  // "ConfExit": "Y" or "N" (an older file may hold anything else).
  std::string conf_exit = "N";
  StartPassword password;
};

// Makes the folder's files writable, then reads "ConfExit" and "Parola".
ProgramSettings LoadSettings(const std::filesystem::path& data_folder);
// Makes the folder's files writable, then writes "ConfExit" and "Parola"
// (the password as a hash). Throws OsError when the file cannot be written.
void SaveSettings(const std::filesystem::path& data_folder, const ProgramSettings& settings);

// Whether leaving the program asks first: only a stored value of exactly "Y".
bool AsksOnExit(const ProgramSettings& settings);
// Whether the settings window shows the exit confirmation checked: the value,
// trimmed and upper-cased, begins with "Y".
bool ExitConfirmationChecked(const ProgramSettings& settings);

// "WindowsNo": the number of windows created at the last start (default 10).
int LoadWindowCount(const std::filesystem::path& data_folder);
void SaveWindowCount(const std::filesystem::path& data_folder, int count);

// The two pay-slip footer lines of a company, at most 65 characters each.
// They are stored behind a "." so that leading blanks survive.
struct PaySlipFooter {
  std::string line1;
  std::string line2;
};
inline constexpr std::size_t kFooterWidth = 65;
PaySlipFooter LoadFooter(const std::filesystem::path& data_folder, std::string_view company_code);
void SaveFooter(const std::filesystem::path& data_folder, std::string_view company_code,
                const PaySlipFooter& footer);

// The person who signs the declarations, shared by all declarations, and the
// county code of the social-insurance declaration; stored upper-cased and
// trimmed. Each is a single line of valid text of at most its width: the
// surname and first name as the program keeps a person's, the position as
// the unemployment declaration's record holds it.
struct DeclarationSigner {
  std::string nume;
  std::string prenume;
  std::string functie;
  std::string cod_judet;
};
inline constexpr std::size_t kSignerSurnameWidth = 20;
inline constexpr std::size_t kSignerFirstNameWidth = 30;
inline constexpr std::size_t kSignerPositionWidth = 30;
inline constexpr std::size_t kCountyCodeWidth = 3;
// The signer as stored. A value the file holds against its rules (edited by
// hand or by another program) is held to its width, and one that is not
// valid text (not UTF-8, a control character) reads as empty.
DeclarationSigner LoadSigner(const std::filesystem::path& data_folder);
// Writes the signer (and, with `with_county_code`, the county code), each
// value upper-cased and trimmed. Refuses, before writing anything, a value
// longer than its width or that is not valid text (Error with the message
// naming it).
void SaveSigner(const std::filesystem::path& data_folder, const DeclarationSigner& signer,
                bool with_county_code);

}  // namespace traveno
