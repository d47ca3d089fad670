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

namespace {

// The signer's keys with their widths and their names in a refusal.
struct SignerKey {
  const char* key;
  std::size_t width;
  const char* label;
  std::string DeclarationSigner::*value;
};
constexpr SignerKey kSignerKeys[] = {
    {"Nume", kSignerSurnameWidth, "numele persoanei care semneaza", &DeclarationSigner::nume},
    {"Prenume", kSignerFirstNameWidth, "prenumele persoanei care semneaza",
     &DeclarationSigner::prenume},
    {"Functie", kSignerPositionWidth, "functia persoanei care semneaza",
     &DeclarationSigner::functie},
    {"CodJudet", kCountyCodeWidth, "codul judetului", &DeclarationSigner::cod_judet},
};

}  // namespace

DeclarationSigner LoadSigner(const fs::path& data_folder) {
  const IniFile file = SettingsFile(data_folder);
  DeclarationSigner signer;
  for (const SignerKey& key : kSignerKeys) {
    std::string value = file.Read(kProgramSection, key.key, "");
    if (!IsValidUtf8(value) || HasControlCharacter(value)) value.clear();
    signer.*key.value = Truncate(value, key.width);
  }
  return signer;
}

void SaveSigner(const fs::path& data_folder, const DeclarationSigner& signer,
                bool with_county_code) {
  // Every value is checked before the first is written: a refusal leaves
  // the file as it was.
  DeclarationSigner stored;
  for (const SignerKey& key : kSignerKeys) {
    const std::string value = UpperTrim(signer.*key.value);
    if (key.value == &DeclarationSigner::cod_judet && !with_county_code) continue;
    if (!IsValidUtf8(value)) {
      throw Error("Textul pentru " + std::string(key.label) +
                  " contine caractere nepermise (nu este scris in UTF-8) !");
    }
    if (HasControlCharacter(value)) {
      throw Error("Textul pentru " + std::string(key.label) +
                  " nu poate contine caractere de control (de exemplu un sfarsit de rand) !");
    }
    if (CharCount(value) > key.width) {
      // A longer county code would also push every later field of the
      // employer's record.
      throw Error("Textul pentru " + std::string(key.label) + " are mai mult de " +
                  std::to_string(key.width) + " caractere !");
    }
    stored.*key.value = value;
  }
  const IniFile file = SettingsFile(data_folder);
  for (const SignerKey& key : kSignerKeys) {
    if (key.value == &DeclarationSigner::cod_judet && !with_county_code) continue;
    file.Write(kProgramSection, key.key, stored.*key.value);
  }
}

}  // namespace traveno
