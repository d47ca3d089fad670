// The social-insurance declaration of the working month: who is declared,
// each person's days, income and contributions, and the employer's totals
// that the summary declaration prints and the A11 and A12 files carry.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/store/records.h"
#include "declarations/declaration_employer.h"
#include "engine/month_parameters.h"
#include "params/session.h"

namespace traveno::declarations {

// A person is declared unless a partial-contract person (kind "2") has no
// other main income (Alt_Venit 0).
bool IsDeclaredForCas(const PersRow& row);

// The contract marks of a declared person as the A11 file holds them:
// CM 1 for a permanent employee who is not a pensioner; CV the hours a day
// of a partial-contract non-pensioner with another main income working 2 to
// 7 hours; PE 8 for a permanent pensioner, the hours a day of another
// pensioner; SOM always 0. Every other mark is 0.
struct CasContractFlags {
  double cm = 0;
  double cv = 0;
  double pe = 0;
  double som = 0;
  friend bool operator==(const CasContractFlags&, const CasContractFlags&) = default;
};
CasContractFlags CasFileFlags(const PersRow& row);

// One declared person, in the order of the lists.
struct CasPerson {
  std::string nume;
  std::string prenume;
  std::string codnumpers;
  std::string tip;
  double ore_zi = 0;
  int norma = 0;
  CasContractFlags flags;
  // The printed contract columns: "X" under "Contract de munca" for a
  // permanent non-pensioner, the hours a day under the partial contract for
  // another non-pensioner, 8 or the hours a day under "Pensionar".
  std::string contract_column;
  std::string partial_column;
  std::string pensioner_column;
  long double total_zile = 0;
  long double zile_norm = 0;
  long double zile_prest = 0;
  long double baza_cas = 0;
  long double pensie = 0;  // the contribution withheld from the insured
  long double total_prest = 0;
  long double bass = 0;
};

// The employer's figures of the month.
struct CasTotals {
  long double SB = 0;   // the gross wage fund: the sum of BazaCAS over every row
  long double SP = 0;   // the contribution withheld from the insured
  long double SS = 0;   // the benefits paid from the state budget (BASS)
  long double EC = 0;   // the employer's contribution (FondCAS)
  long double HC = 0;   // the health contribution on medical leave
  long double AC = 0;   // the work-accident insurance
  long double NRM = 0;  // the average number of insured, two decimals

  // "J.Total CAS datorat de angajator", "M.Total CAS de virat".
  long double DueByEmployer() const { return EC + SS + HC; }
  long double ToTransfer() const { return EC + SP; }
};

struct CasDeclaration {
  Date month;
  // Empty when the register has no row for the company.
  std::optional<DeclarationEmployer> employer;
  double zi_lichidare = 0;
  bool has_rows = false;
  std::vector<CasPerson> persons;
  CasTotals totals;
};

// The declaration of the session's working month, read in one transaction:
// the rows in department, kind, category and employee-number order, their
// declaration figures, and the totals over every row of the month. The
// session's running totals and funds are rebuilt from the stored rows (no
// row is recalculated). Throws StoreError.
CasDeclaration BuildCasDeclaration(params::Session& session);

// The person's figures as the lists show them.
CasPerson MakeCasPerson(const PersRow& row, const engine::MonthParameters& parameters);

}  // namespace traveno::declarations
