// The monthly cycle of a company: the shared tables a month needs (general
// parameters, monthly and annual tax brackets), passing the company from its
// last month to the next one, and closing or reopening a month.
//
// Every operation that writes runs as one transaction over the register and
// the company database (they share the store's connection): a failure leaves
// both as they were. Every copy skips what the target month already holds
// (parameters by name, employees by IID, dependants by personal code,
// brackets by threshold), so running an operation again never duplicates rows.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/prompter.h"
#include "core/store/sqlite.h"
#include "engine/month_parameters.h"
#include "engine/tax_table.h"
#include "params/session.h"

namespace traveno::params {

// The register tables kept per month.
enum class MonthTable { kPara, kImpo, kImpoAn };

// The month a table is filled from for `month`: the month itself when it has
// rows; else the latest month before it; else the earliest month after it;
// the empty date when the table has no rows at all.
Date FindSourceMonth(Database& db, MonthTable table, Date month);

// Copies the rows of `source` into `target` (for Impo_an: 1 January of the
// target's year), skipping the rows whose key the target already has
// (Para: Den without regard to case; Impo, Impo_an: P_Venit). Para copies Den
// and Val. Joins the caller's transaction.
void CopyMonthRows(Database& db, MonthTable table, Date source, Date target);

// The bracket tables written when a month or a year has none anywhere.
const engine::TaxTable& DefaultMonthlyBrackets();
const engine::TaxTable& DefaultAnnualBrackets();

// Makes sure `month` has monthly brackets (copied from the nearest month, or
// the default table), annual brackets for its year (the default table when
// the year has none; a year's table is copied only by the transition to
// January) and general parameters (copied, or the new-month values). One
// transaction; a month that has them all is only read, under no write lock.
// StoreError on failure.
void PrepareSharedTables(Database& db, Date month);

// One month of a company with its closed mark.
struct CompanyMonth {
  Date luna;
  bool closed = false;
};
// The months of the open company (its "Deschisa" rows) in month order.
std::vector<CompanyMonth> CompanyMonths(Database& db);
// The month-list line of a month: "2003  -  01   ( IANUARIE )".
std::string MonthListLine(Date month);

// The steps of the transition; `TransitionHooks::after_step` is called after
// each one, inside the transaction (a hook that throws aborts the transition
// as any failure does: this is how tests interrupt it).
enum class TransitionStep {
  kMonthClosed,
  kCompanyParametersCopied,
  kEmployeesCopied,
  kDependantsCopied,
  kSharedTablesCopied,
  kDependantsLinked,
  kNewMonthCalculated,
};
struct TransitionHooks {
  std::function<void(TransitionStep)> after_step;
};

// The steps of the transition from `from` to `to`, usable alone inside the
// caller's transaction. `from_parameters` are the parameters of `from` in
// memory (carry flags, DedBaza).
// CopyCompanyParameters returns what the user must be told: a pay day the
// month after `to` lacks is carried as that month's last day
// (PayDayMovedNotice).
std::vector<std::string> CopyCompanyParameters(Database& db, Date from, Date to);
// The notice of a pay day `day` moved to `last_day` in `month`.
std::string PayDayMovedNotice(double day, Date month, double last_day);
void CopyEmployees(Database& db, Date from, Date to,
                   const engine::MonthParameters& from_parameters);
void CopyDependants(Database& db, Date from, Date to);
// Links every dependant of `month` to the employee row of the same IID (AiPers
// = its Nr); a dependant whose employee has no row in the month is deleted.
void LinkDependants(Database& db, Date month);

// The columns that start the next month at zero, joined by ",  ", as the
// transition window lists them.
std::string ZeroedColumnsText(const engine::CompanyParameters& parameters);
// The word typed to confirm a destructive operation: "CONFIRM", trimmed,
// without regard to case.
bool IsConfirmWord(std::string_view typed);

// Text of the transition window's confirmation.
inline constexpr const char* kTransitionConfirmLabel =
    "Daca doriti crearea lunii                \r\n           tastati \" CONFIRM \":";
// Refusal when the working month is not the company's last month (the window's
// button is disabled then).
inline constexpr const char* kTransitionNotLastMonth =
    "Trecerea la luna urmatoare se poate face numai din ultima luna a firmei !";

// Passes the working company from its working month W, which must be its last
// month, to N = W + 1 month: W is closed, the company parameters, employees
// and dependants are copied into N (open), N's monthly brackets, annual
// brackets (in January) and general parameters are copied when missing, the
// dependants are linked and N is calculated; all in one transaction, so an
// interruption leaves W as it was, ready to pass again. Then the session
// moves to N (working and last month) with its parameters and totals.
// Shows the wait window "Trecere luna" / "Asteptati va rog...".
// Returns the notices the user must read (CopyCompanyParameters), empty
// when none. Throws Error(kTransitionNotLastMonth) when W is not the last
// month as stored (another writer may have passed it), and whatever a step
// throws; on any failure before the commit the company, the register and the
// session are exactly as before.
std::vector<std::string> PassToNextMonth(Session& session, ProgressReporter& progress,
                                         const TransitionHooks& hooks = {});

// Opens a closed working month or closes an open one, saving the company
// parameters of the month that differ from the stored ones (the mark among
// them). Returns the new closed mark. StoreError on failure (the mark in
// memory is then unchanged).
bool ToggleMonthClosed(Session& session);

}  // namespace traveno::params
