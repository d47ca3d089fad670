#include "backup/manifest.h"

#include <nlohmann/json.hpp>

#include "core/data_folder.h"
#include "core/errors.h"

namespace traveno::backup {
namespace {

using Json = nlohmann::json;

constexpr const char* kScopeNames[] = {"complet", "firme"};

[[noreturn]] void Damaged(const std::string& what) {
  throw Error("Manifestul arhivei este deteriorat: " + what + ".");
}

const Json& Field(const Json& object, const char* key) {
  if (!object.is_object() || !object.contains(key)) Damaged("lipseste campul \"" + std::string(key) + "\"");
  return object.at(key);
}

std::string Text(const Json& object, const char* key) {
  const Json& value = Field(object, key);
  if (!value.is_string()) Damaged("campul \"" + std::string(key) + "\" nu este un text");
  return value.get<std::string>();
}

std::int64_t Whole(const Json& object, const char* key) {
  const Json& value = Field(object, key);
  if (!value.is_number_integer() && !value.is_number_unsigned()) {
    Damaged("campul \"" + std::string(key) + "\" nu este un numar intreg");
  }
  return value.get<std::int64_t>();
}

bool IsHexDigest(const std::string& text) {
  if (text.size() != 64) return false;
  for (char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

// A company code that can name a folder of the data folder: what the
// register's editor accepts, the characters a path would need excluded.
bool IsPlainCode(std::string_view code) {
  if (code.empty() || code.size() > 8) return false;
  for (char c : code) {
    const auto u = static_cast<unsigned char>(c);
    if (u <= 32 || u > 126) return false;
    if (std::string_view("/\\[]:|<>+=;,*?.\"").find(c) != std::string_view::npos) return false;
  }
  return true;
}

}  // namespace

const ArchivedFile* Manifest::FindFile(std::string_view name) const {
  for (const ArchivedFile& file : files) {
    if (file.name == name) return &file;
  }
  return nullptr;
}

const ArchivedCompany* Manifest::FindCompany(std::string_view code) const {
  for (const ArchivedCompany& company : companies) {
    if (company.code == code) return &company;
  }
  return nullptr;
}

std::string CompanyFileName(std::string_view code) {
  return std::string(code) + "/" + kCompanyDatabaseName;
}

std::string CompanyOfFileName(std::string_view name) {
  const std::string suffix = std::string("/") + kCompanyDatabaseName;
  if (name.size() <= suffix.size() || !name.ends_with(suffix)) return {};
  const std::string_view code = name.substr(0, name.size() - suffix.size());
  return IsPlainCode(code) ? std::string(code) : std::string();
}

bool IsDataFileName(std::string_view name) {
  return name == kRegisterDatabaseName || name == kSettingsFileName ||
         !CompanyOfFileName(name).empty();
}

std::string DisplayTime(std::string_view stored) {
  if (stored.size() < 16) return std::string(stored);
  const std::string text(stored);
  return text.substr(8, 2) + "." + text.substr(5, 2) + "." + text.substr(0, 4) + " " +
         text.substr(11, 5);
}

std::string OperationText(std::string_view operation) {
  if (operation.empty()) return "Salvare";
  if (operation == "trecere") return "Inainte de trecerea la luna urmatoare";
  if (operation == "clonare") return "Inainte de clonarea lunii";
  if (operation == "preluare") return "Inainte de preluarea datelor anterioare";
  if (operation == "fise") return "Inainte de preluarea fiselor fiscale";
  if (operation == "curatare") return "Inainte de curatarea registrului";
  if (operation == "restaurare") return "Inainte de restaurare";
  return std::string(operation);
}

std::string ManifestJson(const Manifest& manifest) {
  Json files = Json::array();
  for (const ArchivedFile& file : manifest.files) {
    Json entry = {{"nume", file.name}, {"octeti", file.size}, {"sha256", file.sha256}};
    if (file.layout_version) {
      entry["format_date"] = *file.layout_version;
      Json rows = Json::object();
      for (const auto& [table, count] : file.rows) rows[table] = count;
      entry["linii"] = rows;
    }
    files.push_back(entry);
  }
  Json companies = Json::array();
  for (const ArchivedCompany& company : manifest.companies) {
    companies.push_back({{"cod", company.code}, {"denumire", company.name}, {"luni", company.months}});
  }
  const Json json = {{"format", kArchiveFormat},
                     {"versiune_format", kArchiveFormatVersion},
                     {"program", manifest.program_version},
                     {"format_date", manifest.layout_version},
                     {"creat", manifest.created},
                     {"tip", kScopeNames[static_cast<int>(manifest.scope)]},
                     {"operatie", manifest.operation},
                     {"firme", companies},
                     {"fisiere", files}};
  return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

Manifest ParseManifest(std::string_view text) {
  Json json;
  try {
    json = Json::parse(text);
  } catch (const Json::exception&) {
    Damaged("textul lui nu poate fi citit");
  }
  if (!json.is_object() || !json.contains("format") || json["format"] != kArchiveFormat) {
    throw Error("Fisierul nu este o arhiva de salvare a programului TRAVENO.");
  }
  if (Whole(json, "versiune_format") > kArchiveFormatVersion) {
    throw Error(
        "Arhiva a fost facuta de o versiune mai noua a programului, care o scrie altfel. Folositi "
        "versiunea mai noua a programului.");
  }
  Manifest manifest;
  manifest.program_version = Text(json, "program");
  manifest.layout_version = static_cast<int>(Whole(json, "format_date"));
  manifest.created = Text(json, "creat");
  const std::string scope = Text(json, "tip");
  if (scope == kScopeNames[0]) {
    manifest.scope = BackupScope::kComplete;
  } else if (scope == kScopeNames[1]) {
    manifest.scope = BackupScope::kCompanies;
  } else {
    Damaged("tipul \"" + scope + "\" nu este cunoscut");
  }
  manifest.operation = Text(json, "operatie");
  const Json& companies = Field(json, "firme");
  if (!companies.is_array()) Damaged("lista firmelor lipseste");
  for (const Json& entry : companies) {
    ArchivedCompany company;
    company.code = Text(entry, "cod");
    company.name = Text(entry, "denumire");
    if (!IsPlainCode(company.code)) Damaged("codul de firma \"" + company.code + "\" nu este valid");
    const Json& months = Field(entry, "luni");
    if (!months.is_array()) Damaged("lunile firmei " + company.code + " lipsesc");
    for (const Json& month : months) {
      if (!month.is_string()) Damaged("o luna a firmei " + company.code + " nu este un text");
      company.months.push_back(month.get<std::string>());
    }
    manifest.companies.push_back(std::move(company));
  }
  const Json& files = Field(json, "fisiere");
  if (!files.is_array()) Damaged("lista fisierelor lipseste");
  for (const Json& entry : files) {
    ArchivedFile file;
    file.name = Text(entry, "nume");
    if (!IsDataFileName(file.name)) Damaged("fisierul \"" + file.name + "\" nu are un nume permis");
    if (manifest.FindFile(file.name) != nullptr) Damaged("fisierul " + file.name + " apare de doua ori");
    const std::int64_t size = Whole(entry, "octeti");
    if (size < 0) Damaged("marimea fisierului " + file.name + " este negativa");
    file.size = static_cast<std::uint64_t>(size);
    file.sha256 = Text(entry, "sha256");
    if (!IsHexDigest(file.sha256)) Damaged("suma de control a fisierului " + file.name + " nu este valida");
    if (entry.contains("format_date")) {
      file.layout_version = static_cast<int>(Whole(entry, "format_date"));
      const Json& rows = Field(entry, "linii");
      if (!rows.is_object()) Damaged("liniile fisierului " + file.name + " lipsesc");
      for (const auto& [table, count] : rows.items()) {
        if (!count.is_number_integer() && !count.is_number_unsigned()) {
          Damaged("numarul de linii al tabelei " + table + " nu este un numar intreg");
        }
        file.rows[table] = count.get<std::int64_t>();
      }
    }
    manifest.files.push_back(std::move(file));
  }
  for (const ArchivedCompany& company : manifest.companies) {
    if (manifest.FindFile(CompanyFileName(company.code)) == nullptr) {
      Damaged("firma " + company.code + " nu are fisier de date in lista fisierelor");
    }
  }
  return manifest;
}

}  // namespace traveno::backup
