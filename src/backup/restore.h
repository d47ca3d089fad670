// Restoring a backup archive into a data folder, all or nothing.
//
// The archive is first read whole into a staging folder inside the data
// folder (".restaurare-XXXXXX") and verified there (ReadVerified); databases
// of an older layout are brought to the current one there; a safety copy of
// what will be replaced goes to salvari/. Nothing of the data folder has
// changed so far, and a stop leaves only the staging folder, which the next
// start removes.
//
// Then, with the databases to be replaced locked exclusively (no writer is
// half-way through them), a journal naming every step of the switch is
// written into the staging folder (flushed, then renamed into place): that
// rename is the moment the restore happens. Each step can be repeated
// without harm: a file is replaced by moving the current one aside into the
// staging folder and the staged one into its place, each by rename; the
// rows a company restored alone needs in the register (its row, the general
// parameters and tax brackets of months the register lacks) are added in one
// transaction, only where missing; its pay-slip footers are written to the
// settings. When the switch is stopped half-way, the next start (every
// command line that opens the data folder, the desktop program) finds the
// journal and repeats the steps to the end: the data folder is then as
// before the restore or as restored, never a mixture. The staging folder
// goes last, after the journal.
#pragma once

#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "backup/manifest.h"
#include "core/prompter.h"

namespace traveno::backup {

inline constexpr const char* kStagingPrefix = ".restaurare-";
inline constexpr const char* kRestoreRunning =
    "In directorul de date se face acum o restaurare. Incercati din nou dupa ce se termina.";
inline constexpr const char* kNothingChanged = " Datele nu au fost modificate.";

struct RestoreOptions {
  // The data folder restored into; made when missing.
  std::filesystem::path target;
  // The companies to restore, alone; empty: what the archive's scope says
  // (a complete backup: the register, the settings file and every company
  // of the archive; a backup of chosen companies: those companies).
  std::vector<std::string> companies;
  // Refuses while the desktop program works on the target (for the command
  // line; the desktop program restores with its own databases released).
  bool refuse_while_program_runs = true;
  // Asked, once the archive is verified, when the restore replaces data the
  // folder holds (the question names what); No abandons with nothing
  // changed. Nothing: no question.
  std::function<bool(const std::string& question)> confirm;
  // Called once all is verified, staged and kept, right before the switch:
  // whoever holds the target's databases open closes them there.
  std::function<void()> release_data;
};

struct RestoreResult {
  // Abandoned at the question: nothing changed.
  bool abandoned = false;
  Manifest manifest;
  std::vector<std::string> companies;  // the companies restored
  bool register_replaced = false;
  bool settings_replaced = false;
  // The copy of what was replaced; nothing when nothing was replaced.
  std::optional<std::filesystem::path> safety_copy;
  // The databases brought from an older layout ("" for the register).
  std::vector<std::string> upgraded;
};

// Restores `archive` as the options say. Shows the progress window
// (verification) and advances it through the switch. Throws Error (its text
// ending with kNothingChanged) when the archive is damaged or of a newer
// layout, a chosen company is not in it, its databases cannot be brought to
// the current layout, the safety copy cannot be made, the desktop program
// or another restore holds the folder, or a database to be replaced stays
// busy; the data folder is then exactly as it was.
RestoreResult RestoreBackup(const std::filesystem::path& archive, const RestoreOptions& options,
                            ProgressReporter& progress);

// Completes a restore whose switch was stopped, and removes the staging
// folders of restores stopped before it; nothing to do in a folder without
// them. Throws Error(kRestoreRunning) when a restore works on the folder now.
void CompleteInterruptedRestore(const std::filesystem::path& data_folder);

}  // namespace traveno::backup
