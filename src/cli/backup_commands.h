// The commands of backups: backup (an archive of the data folder), backup
// list (the safety copies), backup show (an archive's manifest), backup
// settings, and restore.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace traveno::cli {

void RegisterBackupCommands(CLI::App& app, CliContext& context);

}  // namespace traveno::cli
