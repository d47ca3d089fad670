// The demonstration company: "DEMO", opened on January 2003 with two
// departments, about twenty employees of both kinds, bonuses in several
// modes (one by formula), piece-work, hourly pay, leave, exempt sums,
// dependants, the month's brackets and parameters, and the month
// recalculated. Made through the same services as the windows use.
#pragma once

#include "core/prompter.h"
#include "params/session.h"

namespace traveno::personnel {

inline constexpr const char* kDemoCompanyCode = "DEMO";
inline constexpr const char* kDemoCompanyExists =
    "Firma DEMO exista deja in registru ! Stergeti-o mai intai daca doriti sa o recreati.";

// Adds the company to the register, creates its folder and first month,
// fills it and leaves it as the session's working company and month. The
// company's first month, its register row and every figure of the month are
// one transaction: an interruption leaves no "DEMO" in the register, and the
// next run completes (taking over the empty folder an interrupted run may
// have left).
// Returns the number of employees. Throws Error(kDemoCompanyExists) when the
// register already holds "DEMO", and what the services throw.
int CreateDemoCompany(params::Session& session, Prompter& prompter, ProgressReporter& progress);

}  // namespace traveno::personnel
