#include "backup/restore.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#include "backup/archive_reader.h"
#include "backup/folder_lock.h"
#include "backup/safety_copies.h"
#include "core/atomic_file.h"
#include "core/data_folder.h"
#include "core/errors.h"
#include "core/ini_file.h"
#include "core/settings.h"
#include "core/store/schema.h"
#include "core/store/schema_upgrades.h"
#include "core/store/sqlite.h"

namespace traveno::backup {
namespace fs = std::filesystem;
namespace {

constexpr const char* kJournalName = "JURNAL";
constexpr const char* kAsideFolder = "vechi";
constexpr const char* kMergeRegister = "registru";
constexpr const char* kReplaceFile = "fisier";
constexpr const char* kMergeSettings = "setari";

bool IsFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

[[noreturn]] void FailSwitch(const std::string& what, const std::error_code& error) {
  throw OsError("Restaurarea nu a putut inlocui " + what +
                    ". Ea va fi terminata la urmatoarea pornire a programului.",
                error.value());
}

// Puts the staged file in its place, the current one aside first: each a
// rename, each skipped when already done.
void ReplaceFile(const fs::path& data_folder, const fs::path& staging, const std::string& name) {
  const fs::path staged = staging / name;
  if (!Exists(staged)) return;  // done before
  const fs::path target = data_folder / name;
  const fs::path aside = staging / kAsideFolder / name;
  std::error_code error;
  if (Exists(target) && !Exists(aside)) {
    fs::create_directories(aside.parent_path(), error);
    fs::rename(target, aside, error);
    if (error) FailSwitch(target.string(), error);
  }
  fs::create_directories(target.parent_path(), error);
  fs::rename(staged, target, error);
  if (error) FailSwitch(target.string(), error);
}

std::string ColumnList(const TableDef& table, bool skip_first) {
  std::string columns;
  for (std::size_t i = skip_first ? 1 : 0; i < table.fields.size(); ++i) {
    columns += (columns.empty() ? "" : ", ") + QuoteIdentifier(table.fields[i].name);
  }
  return columns;
}

// What a company restored alone needs of the archive's register: its row
// when the register has no company of that code, and the general parameters
// and tax brackets of every month the register has none of. Rows are only
// added where missing, so it may run again.
void MergeRegister(const fs::path& data_folder, const fs::path& staging, const std::string& code) {
  Database db(data_folder / kRegisterDatabaseName, false);
  db.Attach(staging / kRegisterDatabaseName, "arhiva");
  {
    Transaction tx(db);
    const std::string firme = ColumnList(FirmeTable(), true);
    db.Run("INSERT INTO main.Firme (" + firme + ") SELECT " + firme +
               " FROM arhiva.Firme WHERE Cod = ? AND NOT EXISTS "
               "(SELECT 1 FROM main.Firme WHERE Cod = ? COLLATE NOCASE) ORDER BY CodF LIMIT 1",
           code, code);
    for (const TableDef* table : {&ParaTable(), &ImpoTable(), &ImpoAnTable()}) {
      const std::string columns = ColumnList(*table, true);
      const std::string name = QuoteIdentifier(table->name);
      db.Execute("INSERT INTO main." + name + " (" + columns + ") SELECT " + columns +
                 " FROM arhiva." + name + " WHERE Luna NOT IN (SELECT Luna FROM main." + name +
                 ") ORDER BY Nr");
    }
    tx.Commit();
  }
  db.Detach("arhiva");
}

// The pay-slip footers of a company restored alone.
void MergeSettings(const fs::path& data_folder, const fs::path& staging, const std::string& code) {
  const IniFile archived(staging / kSettingsFileName);
  const IniFile current(data_folder / kSettingsFileName);
  constexpr const char* kMissing = "\x01";
  for (const std::string& key : {"TextFluturas1_" + code, "TextFluturas2_" + code}) {
    const std::string value = archived.Read(kProgramSection, key, kMissing);
    if (value != kMissing && current.Read(kProgramSection, key, kMissing) != value) {
      current.Write(kProgramSection, key, value);
    }
  }
}

struct JournalStep {
  std::string kind;
  std::string argument;
};

std::string JournalText(const std::vector<JournalStep>& steps) {
  std::string text;
  for (const JournalStep& step : steps) text += step.kind + " " + step.argument + "\n";
  return text;
}

std::vector<JournalStep> ReadJournal(const fs::path& file) {
  std::ifstream in(file);
  std::vector<JournalStep> steps;
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    steps.push_back({line.substr(0, space), line.substr(space + 1)});
  }
  return steps;
}

// Flushes every file and folder of the file system holding `folder`: one
// call instead of one per file written or renamed.
void FlushFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::syncfs(fd);
  ::close(fd);
}

// Runs the steps of a journal to the end, then removes the staging folder
// (the journal first: a staging folder without one is only removed).
void ApplyJournal(const fs::path& data_folder, const fs::path& staging,
                  ProgressReporter* progress) {
  const std::vector<JournalStep> steps = ReadJournal(staging / kJournalName);
  int done = 0;
  for (const JournalStep& step : steps) {
    // A name that could leave the data folder never comes from this program.
    const bool file_step = step.kind == kReplaceFile && IsDataFileName(step.argument);
    const bool company_step = (step.kind == kMergeRegister || step.kind == kMergeSettings) &&
                              !CompanyOfFileName(CompanyFileName(step.argument)).empty();
    if (!file_step && !company_step) {
      throw Error("Jurnalul restaurarii din " + staging.string() + " este deteriorat.");
    }
    if (step.kind == kReplaceFile) ReplaceFile(data_folder, staging, step.argument);
    if (step.kind == kMergeRegister) MergeRegister(data_folder, staging, step.argument);
    if (step.kind == kMergeSettings) MergeSettings(data_folder, staging, step.argument);
    if (progress != nullptr) progress->Advance(++done);
  }
  // The switch is on the disk before the journal goes.
  FlushFolder(data_folder);
  std::error_code error;
  fs::remove(staging / kJournalName, error);
  SyncFolder(staging);
  fs::remove_all(staging, error);
}

void CompleteLocked(const fs::path& data_folder) {
  std::error_code error;
  std::vector<fs::path> stagings;
  for (const auto& entry : fs::directory_iterator(data_folder, error)) {
    if (entry.path().filename().string().starts_with(kStagingPrefix) && entry.is_directory(error)) {
      stagings.push_back(entry.path());
    }
  }
  std::sort(stagings.begin(), stagings.end());
  for (const fs::path& staging : stagings) {
    if (IsFile(staging / kJournalName)) {
      ApplyJournal(data_folder, staging, nullptr);
    } else {
      fs::remove_all(staging, error);
    }
  }
}

bool HasStaging(const fs::path& data_folder) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(data_folder, error)) {
    if (entry.path().filename().string().starts_with(kStagingPrefix)) return true;
  }
  return false;
}

// The staging folder of one restore: removed when the restore fails before
// its journal exists.
class Staging {
 public:
  explicit Staging(const fs::path& data_folder) {
    std::string pattern = (data_folder / (std::string(kStagingPrefix) + "XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw OsError("Nu pot crea directorul de lucru al restaurarii in " + data_folder.string() +
                        ": discul este plin sau protejat la scriere.",
                    errno);
    }
    path_ = pattern;
  }
  ~Staging() {
    if (!committed_) {
      std::error_code error;
      fs::remove_all(path_, error);
    }
  }
  Staging(const Staging&) = delete;
  Staging& operator=(const Staging&) = delete;

  const fs::path& path() const { return path_; }
  void Committed() { committed_ = true; }

 private:
  fs::path path_;
  bool committed_ = false;
};

// Remembers the messages of the layout upgrades of the staged databases.
class CollectingPrompter final : public Prompter {
 public:
  void Message(MessageKind, const std::string& text) override {
    messages += (messages.empty() ? "" : " ") + text;
  }
  bool AskYesNo(const std::string&) override { return false; }
  std::optional<std::string> AskText(const std::string&, const std::string&,
                                     const std::string&) override {
    return std::nullopt;
  }
  std::string AskTypedConfirmation(const std::string&) override { return {}; }
  std::string messages;
};

// Connections holding the databases to be replaced exclusively: a writer
// that was half-way through one has finished (or given up) and none starts.
class ExclusiveHolds {
 public:
  void Take(const fs::path& file) {
    if (!IsFile(file)) return;
    auto db = std::make_unique<Database>(file, false);
    db->Execute("BEGIN EXCLUSIVE");
    held_.push_back(std::move(db));
  }
  ~ExclusiveHolds() {
    for (auto& db : held_) {
      try {
        if (db->InTransaction()) db->Execute("ROLLBACK");
      } catch (const StoreError&) {
        // Closing the connection releases the lock as well.
      }
    }
  }

 private:
  std::vector<std::unique_ptr<Database>> held_;
};

[[noreturn]] void RethrowUnchanged(const Error& error) {
  throw Error(std::string(error.what()) + kNothingChanged, error.kind(), error.code());
}

}  // namespace

void CompleteInterruptedRestore(const fs::path& data_folder) {
  if (!HasStaging(data_folder)) return;
  const auto lock = FileLock::TryTake(data_folder / kRestoreLockName);
  if (!lock) throw Error(kRestoreRunning);
  CompleteLocked(data_folder);
}

RestoreResult RestoreBackup(const fs::path& archive, const RestoreOptions& options,
                            ProgressReporter& progress) {
  const fs::path& target = options.target;
  RestoreResult result;
  std::unique_ptr<FileLock> lock;
  std::optional<Staging> staging;
  // Held through the switch, released once every file is in place.
  ExclusiveHolds holds;
  std::size_t step_count = 0;
  try {
    std::error_code error;
    fs::create_directories(target, error);
    if (!fs::is_directory(target, error)) {
      throw Error("Directorul de date " + target.string() + " nu exista si nu poate fi creat.");
    }
    if (options.refuse_while_program_runs && DesktopProgramHolds(target)) {
      throw Error("Programul TRAVENO lucreaza acum cu directorul de date " + target.string() +
                  ". Inchideti-l inainte de restaurare.");
    }
    lock = FileLock::TryTake(target / kRestoreLockName);
    if (!lock) throw Error(kRestoreRunning);
    CompleteLocked(target);
    staging.emplace(target);
    const fs::path& stage = staging->path();
    result.manifest = ReadVerified(archive, stage, progress);
    const Manifest& manifest = result.manifest;

    const bool alone = !options.companies.empty() || manifest.scope == BackupScope::kCompanies;
    if (options.companies.empty()) {
      for (const ArchivedCompany& company : manifest.companies)
        result.companies.push_back(company.code);
    } else {
      for (const std::string& code : options.companies) {
        if (manifest.FindCompany(code) == nullptr)
          throw Error("Arhiva nu contine firma " + code + ".");
        if (std::find(result.companies.begin(), result.companies.end(), code) ==
            result.companies.end()) {
          result.companies.push_back(code);
        }
      }
    }
    const bool has_register = IsFile(target / kRegisterDatabaseName);
    const bool archive_has_settings = manifest.FindFile(kSettingsFileName) != nullptr;
    result.register_replaced = !alone || !has_register;
    result.settings_replaced =
        archive_has_settings && (!alone || !IsFile(target / kSettingsFileName));

    // Databases of an older layout are brought to the current one here,
    // by the program's own upgrade steps.
    bool older = false;
    for (const ArchivedFile& file : manifest.files) {
      older = older || (file.layout_version && *file.layout_version < kStoreLayoutVersion);
    }
    if (older) {
      CollectingPrompter messages;
      SilentProgress quiet;
      const UpgradeResult upgraded = RunUpgrades(stage, messages, quiet);
      if (!upgraded.failed.empty()) {
        throw Error("Datele din arhiva nu au putut fi aduse la formatul programului: " +
                    messages.messages);
      }
      result.upgraded = upgraded.upgraded;
    }
    if (alone && !has_register) {
      // A folder without a register gets the archive's, listing only the
      // companies restored.
      Database db(stage / kRegisterDatabaseName, false);
      Transaction tx(db);
      db.Execute("CREATE TEMP TABLE restaurate (cod TEXT)");
      for (const std::string& code : result.companies) {
        db.Run("INSERT INTO temp.restaurate (cod) VALUES (?)", code);
      }
      db.Execute("DELETE FROM main.Firme WHERE Cod NOT IN (SELECT cod FROM temp.restaurate)");
      tx.Commit();
    }

    // What will be replaced is kept first.
    std::vector<std::string> replaced;
    for (const std::string& code : result.companies) {
      if (IsFile(CheckedCompanyFolder(target, code) / kCompanyDatabaseName))
        replaced.push_back(code);
    }
    const bool replaces_register = result.register_replaced && has_register;
    const bool replaces_settings = result.settings_replaced && IsFile(target / kSettingsFileName);
    if (options.confirm && (replaces_register || replaces_settings || !replaced.empty())) {
      std::string what;
      auto add = [&what](const std::string& item) { what += (what.empty() ? "" : ", ") + item; };
      if (replaces_register) add("registrul firmelor");
      if (replaces_settings) add("fisierul de setari");
      for (const std::string& code : replaced) add("firma " + code);
      if (!options.confirm("Restaurarea salvarii din " + DisplayTime(manifest.created) +
                           " va inlocui: " + what +
                           ".\r\nDatele inlocuite se pastreaza intr-o copie de siguranta "
                           "in directorul " +
                           kSafetyCopyFolder + ".\r\nContinuati ?")) {
        result.abandoned = true;
        return result;
      }
    }
    if (has_register && (!alone || !replaced.empty())) {
      result.safety_copy = KeepSafetyCopyOf(
          target, replaced, alone ? BackupScope::kCompanies : BackupScope::kComplete, "restaurare");
    }

    std::vector<JournalStep> steps;
    if (alone && has_register) {
      for (const std::string& code : result.companies) steps.push_back({kMergeRegister, code});
    }
    if (result.register_replaced) steps.push_back({kReplaceFile, kRegisterDatabaseName});
    for (const std::string& code : result.companies) {
      steps.push_back({kReplaceFile, CompanyFileName(code)});
    }
    if (result.settings_replaced) {
      steps.push_back({kReplaceFile, kSettingsFileName});
    } else if (alone && archive_has_settings) {
      for (const std::string& code : result.companies) steps.push_back({kMergeSettings, code});
    }

    step_count = steps.size();
    if (result.register_replaced) holds.Take(target / kRegisterDatabaseName);
    for (const std::string& code : result.companies) {
      holds.Take(CheckedCompanyFolder(target, code) / kCompanyDatabaseName);
    }
    // Every staged file reaches the disk before the journal does.
    FlushFolder(stage);
    if (options.release_data) options.release_data();
    // The restore happens here: from now on it is completed, never undone.
    WriteFileAtomically(stage / kJournalName, JournalText(steps));
    SyncFolder(stage);
    staging->Committed();
  } catch (const Error& error) {
    RethrowUnchanged(error);
  }
  progress.BeginProgress(kRestoreTitle, static_cast<int>(step_count));
  struct End {
    ProgressReporter& progress;
    ~End() { progress.EndProgress(); }
  } end{progress};
  ApplyJournal(target, staging->path(), &progress);
  return result;
}

}  // namespace traveno::backup
