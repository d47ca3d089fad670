#include "core/settings.h"

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/ini_file.h"
#include "core/numbers.h"
#include "core/text.h"

namespace traveno {
namespace fs = std::filesystem;
namespace {

constexpr const char* kDefaultFooter1 =
    ".       Conducerea firmei va multumeste pentru efortul depus.";

IniFile SettingsFile(const fs::path& data_folder) {
  return IniFile(data_folder / kSettingsFileName);
}

std::string DropFirst(const std::string& value) { return value.empty() ? value : value.substr(1); }

}  // namespace

ProgramSettings LoadSettings(const fs::path& data_folder) {
  ClearReadOnly(data_folder, false);
  const IniFile file = SettingsFile(data_folder);
  ProgramSettings settings;
  settings.conf_exit = file.Read(kProgramSection, "ConfExit", "N");
  settings.password = StartPassword::FromStoredValue(file.Read(kProgramSection, "Parola", "."));
  return settings;
}

void SaveSettings(const fs::path& data_folder, const ProgramSettings& settings) {
  ClearReadOnly(data_folder, false);
  const IniFile file = SettingsFile(data_folder);
  file.Write(kProgramSection, "ConfExit", settings.conf_exit);
  file.Write(kProgramSection, "Parola", settings.password.StoredValue());
}

bool AsksOnExit(const ProgramSettings& settings) { return settings.conf_exit == "Y"; }

bool ExitConfirmationChecked(const ProgramSettings& settings) {
  return UpperTrim(settings.conf_exit).starts_with("Y");
}

int LoadWindowCount(const fs::path& data_folder) {
  const std::string text = SettingsFile(data_folder).Read(kProgramSection, "WindowsNo", "10");
  const double value = ParseNumber(text, 10);
  return value >= 1 && value <= 10000 ? static_cast<int>(value) : 10;
}

void SaveWindowCount(const fs::path& data_folder, int count) {
  SettingsFile(data_folder).Write(kProgramSection, "WindowsNo", std::to_string(count));
}

PaySlipFooter LoadFooter(const fs::path& data_folder, std::string_view company_code) {
  const IniFile file = SettingsFile(data_folder);
  const std::string code(company_code);
  return {DropFirst(file.Read(kProgramSection, "TextFluturas1_" + code, kDefaultFooter1)),
          DropFirst(file.Read(kProgramSection, "TextFluturas2_" + code, "."))};
}

void SaveFooter(const fs::path& data_folder, std::string_view company_code,
                const PaySlipFooter& footer) {
  const IniFile file = SettingsFile(data_folder);
  const std::string code(company_code);
  file.Write(kProgramSection, "TextFluturas1_" + code, "." + Truncate(footer.line1, kFooterWidth));
  file.Write(kProgramSection, "TextFluturas2_" + code, "." + Truncate(footer.line2, kFooterWidth));
}

DeclarationSigner LoadSigner(const fs::path& data_folder) {
  const IniFile file = SettingsFile(data_folder);
  return {file.Read(kProgramSection, "Nume", ""), file.Read(kProgramSection, "Prenume", ""),
          file.Read(kProgramSection, "Functie", ""), file.Read(kProgramSection, "CodJudet", "")};
}

void SaveSigner(const fs::path& data_folder, const DeclarationSigner& signer,
                bool with_county_code) {
  // A longer code would push every later field of the employer's record.
  if (with_county_code && CharCount(UpperTrim(signer.cod_judet)) > kCountyCodeWidth) {
    throw Error("Codul judetului are cel mult " + std::to_string(kCountyCodeWidth) +
                " caractere !");
  }
  const IniFile file = SettingsFile(data_folder);
  file.Write(kProgramSection, "Nume", UpperTrim(signer.nume));
  file.Write(kProgramSection, "Prenume", UpperTrim(signer.prenume));
  file.Write(kProgramSection, "Functie", UpperTrim(signer.functie));
  if (with_county_code) file.Write(kProgramSection, "CodJudet", UpperTrim(signer.cod_judet));
}

}  // namespace traveno
