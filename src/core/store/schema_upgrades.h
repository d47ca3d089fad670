// The layout versions of the program's own databases. Each database records
// the version of its layout (SQLite's user_version); at every start, before
// the databases are opened, a database older than the program is brought to
// the current layout by ordered steps, each in one transaction, after a copy
// of its file has been kept beside it ("firma.db.bak-<old version>") when a
// step changes its tables. A database newer than the program is never
// touched.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "core/errors.h"
#include "core/prompter.h"

namespace traveno {

class Database;

// The layout this program writes. Version 0 is a database written before
// versions were recorded (or an empty one).
inline constexpr int kStoreLayoutVersion = 2;

// The text of each upgrade's wait window.
inline constexpr const char* kUpgradeWaitText = "Va rog asteptati!!";

// The recorded version of a database ("main" or an attached schema).
int LayoutVersion(Database& db, std::string_view schema = "main");
void SetLayoutVersion(Database& db, int version, std::string_view schema = "main");

// The refusal of a database written by a newer program.
std::string NewerDatabaseMessage(const std::filesystem::path& file, int version);
class NewerDatabaseError : public Error {
 public:
  NewerDatabaseError(const std::filesystem::path& file, int version)
      : Error(NewerDatabaseMessage(file, version)) {}
};
// Throws NewerDatabaseError when the database is newer than the program.
void RefuseNewerDatabase(Database& db, const std::filesystem::path& file,
                         std::string_view schema = "main");

// What an upgrade step may read besides the database it changes: the
// professional-expenses parameter of each month (from the register).
struct UpgradeContext {
  std::map<Date, double> chelt_prof;
};

// One step: brings a database from the version before it to `version`. Each
// function runs inside the step's transaction and throws on failure.
struct UpgradeStep {
  int version;
  // The program version that introduced the layout, as the user reads it.
  std::string label;
  std::function<void(Database&)> upgrade_register;
  std::function<void(Database&, const UpgradeContext&)> upgrade_company;
};

// The program's steps, in order; the last brings kStoreLayoutVersion.
std::span<const UpgradeStep> StoreUpgradeSteps();

// The wait window's title and the failure message of a step.
std::string UpgradeTitle(const UpgradeStep& step, std::string_view company_code);
std::string UpgradeFailedMessage(const UpgradeStep& step, std::string_view company_code);

struct UpgradeResult {
  // The databases brought to a newer layout ("" for the register), in order.
  std::vector<std::string> upgraded;
  // The companies left in their old layout (a failed step or a newer file).
  std::vector<std::string> failed;
};

// Brings the register database of the data folder and then the database of
// every company of the register, in code order, to the last version of
// `steps`. Each database older than that is first copied beside itself
// (temporary name, then renamed) when a step it lacks changes its kind of
// database (the register or a company), then every step it lacks runs in its own
// transaction under the wait window (UpgradeTitle, kUpgradeWaitText) and
// records its version. A step that fails shows UpgradeFailedMessage (an
// error) and leaves that database as the step found it; the other companies
// go on. A company database newer than the program is refused with
// NewerDatabaseMessage and left untouched. A missing register database, or a
// company without a database, is nothing to upgrade. Throws NewerDatabaseError when the register
// database is newer than the program, and Error when the register database cannot be read at all.
UpgradeResult RunUpgrades(const std::filesystem::path& data_folder, Prompter& prompter,
                          ProgressReporter& progress,
                          std::span<const UpgradeStep> steps = StoreUpgradeSteps());

// Whether any database of the data folder is older than the program (the
// start runs the upgrades only then). Unreadable databases count as current:
// opening them reports the failure.
bool UpgradesNeeded(const std::filesystem::path& data_folder,
                    std::span<const UpgradeStep> steps = StoreUpgradeSteps());

}  // namespace traveno
