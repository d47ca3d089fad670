// The health declaration of the working month: the contributions the
// employer (section A), the insured (section B) and the persons on medical
// leave (section C) owe, what was paid, the arrears and the late-payment
// increases of each (kept as company parameters of the month), and the
// annexed lists of persons entering, leaving and insured.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/prompter.h"
#include "core/settings.h"
#include "engine/month_parameters.h"
#include "params/session.h"

namespace traveno::declarations {

// One section's stored figures: the paid contribution (DatorSanX), the
// arrears (RestSanX) and the late-payment increases (MajSanX).
struct HealthSection {
  double paid = 0;
  double arrears = 0;
  double increases = 0;
  double Total() const { return paid + arrears + increases; }
  friend bool operator==(const HealthSection&, const HealthSection&) = default;
};
// Sections A (employer), B (insured) and C (medical leave), in that order.
using HealthSections = std::array<HealthSection, 3>;

HealthSections HealthSectionsOf(const engine::CompanyParameters& company);

// The figures computed from the month's rows and the employer's funds.
struct HealthComputed {
  long double salary_fund = 0;       // A: gross less the state-paid leave and child-care leave
  long double gross_income = 0;      // B: gross less every medical leave
  std::array<long double, 3> due{};  // the contribution due of A, B and C
  int insured = 0;                   // the month's rows
};

// What the window shows when it opens.
struct HealthOpening {
  HealthComputed computed;
  HealthSections stored;
  // The "Contributie virata" boxes: the stored paid amount when it is not 0
  // and differs from the computed due, else the computed due; the other
  // boxes as stored.
  HealthSections proposed;
  bool has_entering = false;  // a person hired in the month
  bool has_leaving = false;   // a person who left in the month
  // The data folder cannot be written: the month was not recalculated, its
  // stored rows were summed as they are.
  bool write_protected = false;
};

// Opens the declaration: in one transaction the month's parameters are
// reloaded, the whole company recalculated (wait window "Calcul Salarii" /
// "Va rog asteptati...", a closed month only summed) and the figures read;
// over a data folder that cannot be written, the stored rows are summed
// without calculating. Throws StoreError, or what the recalculation throws,
// with nothing written.
HealthOpening OpenHealthDeclaration(params::Session& session, ProgressReporter& progress);

// "&Confirmare": the nine figures are stored as parameters of the working
// month in one transaction (Error for an amount that cannot be kept, with
// nothing stored), the signatory is written to the settings file upper-cased
// and trimmed, and the month's parameters are reloaded. Throws Error,
// OsError, StoreError.
void ConfirmHealthDeclaration(params::Session& session, const HealthSections& sections,
                              const DeclarationSigner& signer);

enum class HealthList { kEntering, kLeaving, kNominal };

struct HealthListRow {
  std::string nume;
  std::string prenume;
  std::string codnumpers;
  Date date;              // hire or leaving date; empty on the nominal list
  std::string categoria;  // " CIC ", " S - Salariat " or " CP contract partial "
};

// The rows of a list over the working month, ordered by name and first
// name: the persons hired in the month, those who left in it, or every row.
// Joins the caller's transaction; throws StoreError.
std::vector<HealthListRow> ReadHealthList(params::Session& session, HealthList list);

}  // namespace traveno::declarations
