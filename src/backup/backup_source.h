// Where the tables of a backup come from. The archive writer asks a source
// for SQLite copies of the register and of each company and for the
// settings file; the data folder's source copies its database files through
// the online backup API. (A server store gives the same copies through its
// own reads.)
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backup/memory_database.h"
#include "core/store/sqlite.h"

namespace traveno::backup {

struct SourceCompany {
  std::string code;
  std::string name;  // Denumire
};

class BackupSource {
 public:
  virtual ~BackupSource() = default;

  // The companies of the register that have data, in code order.
  virtual std::vector<SourceCompany> Companies() = 0;
  virtual std::unique_ptr<MemoryDatabase> CopyRegister() = 0;
  virtual std::unique_ptr<MemoryDatabase> CopyCompany(std::string_view code) = 0;
  // The settings file's text; empty when there is none.
  virtual std::optional<std::string> SettingsText() = 0;
};

// The source of a data folder. From its creation to its end it holds a read
// lock on the register: an operation that writes the register and a company
// together (a month transition, a clone) then waits, so the copies of the
// register and of every company are of one moment for such operations, while
// the writes of one company (posting lines) go on. Throws Error when the
// folder has no register, StoreError when it cannot be read.
class DataFolderSource final : public BackupSource {
 public:
  explicit DataFolderSource(std::filesystem::path data_folder);
  ~DataFolderSource() override;

  std::vector<SourceCompany> Companies() override;
  std::unique_ptr<MemoryDatabase> CopyRegister() override;
  std::unique_ptr<MemoryDatabase> CopyCompany(std::string_view code) override;
  std::optional<std::string> SettingsText() override;

 private:
  std::filesystem::path data_folder_;
  std::unique_ptr<Database> register_;
};

}  // namespace traveno::backup
