// What the personnel commands share: the company-and-month options, the
// opening of the month with its stored totals, a person's line, and the JSON
// of lines and totals.
#pragma once

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_session.h"
#include "core/store/records.h"
#include "personnel/pay_grid.h"

namespace traveno::cli::personnel_cli {

struct MonthOptions {
  std::string cod;
  std::string month;
  std::string tip = "1";
  std::string depart;
};
// --cod and --month (required); with `scope` also --tip 1|2 and --depart D.
void AddMonthOptions(CLI::App* command, MonthOptions& options, bool scope = false);
personnel::GridScope ScopeOf(const MonthOptions& options);
std::optional<std::string> DepartmentOf(const MonthOptions& options);

// Whether a command needs the month's running totals of the stored lines: a
// command that shows no totals, or that recalculates them, skips the pass
// over the month.
enum class MonthTotals { kSummed, kNotNeeded };

// Opens the company and month and, unless not needed, sums the stored lines
// into the session's totals; false (exit status 1) when refused. A
// department the month does not have is refused (ValueRefused) either way.
bool OpenMonth(CliSession& cli, const MonthOptions& options,
               MonthTotals totals = MonthTotals::kSummed);

// The line of person `iid` in the working month; throws Error when missing.
PersRow LineOfPerson(params::Session& session, int iid);

// Every field of a row (dates as "YYYY-MM-DD", whole amounts as integers).
template <typename Row>
nlohmann::json RowJson(const Row& row);
// A line with the report figures derived from it.
nlohmann::json LineJson(const PersRow& row, const engine::MonthParameters& parameters);
// The running totals, the funds and the figures under the grid.
nlohmann::json TotalsJson(params::Session& session, const std::optional<std::string>& department);
void PrintTotals(CliContext& context, params::Session& session,
                 const std::optional<std::string>& department);

// "FIELD=VALUE" arguments split at the first "="; throws Error otherwise.
std::vector<std::pair<std::string, std::string>> Assignments(const std::vector<std::string>& args);

}  // namespace traveno::cli::personnel_cli
