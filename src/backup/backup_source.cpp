#include "backup/backup_source.h"

#include <fstream>
#include <sstream>

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/text.h"

namespace traveno::backup {
namespace fs = std::filesystem;

DataFolderSource::DataFolderSource(fs::path data_folder) : data_folder_(std::move(data_folder)) {
  const fs::path file = data_folder_ / kRegisterDatabaseName;
  std::error_code error;
  if (!fs::is_regular_file(file, error)) {
    throw Error("Registrul firmelor nu exista in " + data_folder_.string() + " !");
  }
  register_ = std::make_unique<Database>(file, false);
  // The read transaction takes its lock at the first read and keeps it.
  register_->Execute("BEGIN");
  register_->QueryInt("SELECT count(*) FROM main.sqlite_master");
}

DataFolderSource::~DataFolderSource() {
  try {
    if (register_->InTransaction()) register_->Execute("ROLLBACK");
  } catch (const StoreError&) {
    // Closing the connection ends the read transaction as well.
  }
}

std::vector<SourceCompany> DataFolderSource::Companies() {
  std::vector<SourceCompany> companies;
  if (!register_->TableExists("main", "Firme")) return companies;
  Statement rows =
      register_->Prepare("SELECT Cod, Denumire FROM main.Firme ORDER BY Cod COLLATE NOCASE, CodF");
  while (rows.Step()) {
    const std::string code = Truncate(Trim(rows.Text(0)), 8);
    if (code.empty()) continue;
    fs::path folder;
    try {
      folder = CheckedCompanyFolder(data_folder_, code);
    } catch (const Error&) {
      continue;  // a code that cannot name a folder has no data of its own
    }
    std::error_code error;
    if (!fs::is_regular_file(folder / kCompanyDatabaseName, error)) continue;
    bool listed = false;
    for (const SourceCompany& company : companies) listed = listed || company.code == code;
    if (!listed) companies.push_back({code, rows.Text(1)});
  }
  return companies;
}

std::unique_ptr<MemoryDatabase> DataFolderSource::CopyRegister() {
  auto copy = std::make_unique<MemoryDatabase>();
  copy->CopyFrom(register_->handle(), "main");
  return copy;
}

std::unique_ptr<MemoryDatabase> DataFolderSource::CopyCompany(std::string_view code) {
  Database company(CheckedCompanyFolder(data_folder_, code) / kCompanyDatabaseName, false);
  auto copy = std::make_unique<MemoryDatabase>();
  copy->CopyFrom(company.handle(), "main");
  return copy;
}

std::optional<std::string> DataFolderSource::SettingsText() {
  const fs::path file = data_folder_ / kSettingsFileName;
  std::error_code error;
  if (!fs::is_regular_file(file, error)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) throw OsError("Nu pot citi fisierul " + file.string() + " !", errno);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace traveno::backup
