// What the company and month commands share: the store of the data folder,
// the session on a chosen company and month, month arguments and the JSON of
// the working state.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "cli/cli_context.h"
#include "cli/cli_prompter.h"
#include "core/prompter.h"
#include "core/store/store.h"
#include "params/session.h"

namespace traveno::cli {

// A month argument "YYYY-MM"; throws Error with a Romanian message otherwise.
Date ParseMonthArgument(const std::string& text);
// "YYYY-MM" of a month.
std::string MonthArgument(Date month);

// Brings the databases of the command's data folder to the program's layout
// (messages on standard error), then opens them (OpenDatabases).
std::unique_ptr<Store> OpenUpgradedDatabases(CliContext& context);

// The store, the session and the command line's prompter of one command.
struct CliSession {
  explicit CliSession(CliContext& context);

  // Chooses an initialised company on a month (nothing: its last month).
  // False (the message shown) when refused; throws Error when the company
  // has never been opened.
  bool Open(const std::string& code, std::optional<Date> month);

  CliContext& context;
  std::unique_ptr<Store> store;
  std::unique_ptr<params::Session> session;
  CliPrompter prompter;
  SilentProgress progress;
};

// The working state as JSON: company, month, last month, closed mark,
// departments and the running totals that matter to a reader.
nlohmann::json SessionJson(params::Session& session);
// Prints the state (JSON or a few lines).
void PrintSession(CliContext& context, params::Session& session);

}  // namespace traveno::cli
