// The unemployment declaration of the working month: what the insured and
// the employer owe and paid, the arrears of earlier months (kept as company
// parameters of the month), each insured person's paid and unpaid part, and
// the figures of the printed declarations and of the A1 and A2 files.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/prompter.h"
#include "core/settings.h"
#include "declarations/declaration_employer.h"
#include "declarations/insured_payment.h"
#include "engine/month_parameters.h"
#include "params/session.h"

namespace traveno::declarations {

// The window's warnings when a paid amount is above the due one.
inline constexpr const char* kInsuredPaidAboveDue =
    "Atentie!!!. Suma virata este mai mare decat suma datorata .\r\nOrice suma restanta se va "
    "introduce la Alte Sume!!!";
inline constexpr const char* kEmployerPaidAboveDue =
    "Atentie!!! Suma virata este mai mare decat suma datorata .\r\nOrice suma restanta se va "
    "introduce la Alte Sume!!!";
inline constexpr const char* kSpreadProportional =
    "Suma a fost impartita proportional la asigurati!!";
inline constexpr const char* kSpreadFirstInsured = "Suma a fost impartita la primii asigurati!!";
inline constexpr const char* kUnemploymentReportFailed = "Eroare la raportare somaj!! ";
inline constexpr const char* kUnemploymentRowsUnreadable =
    "Eroare la deschidere tabela PersNom!!.Anuntati administratorul de sistem!! ";

// The stored figures of the month (company parameters; 0 in a new month).
struct UnemploymentFigures {
  double SDAsig = 0;  // due by the insured
  double SVAsig = 0;  // paid by the insured
  double SDAng = 0;   // due by the employer
  double SVAng = 0;   // paid by the employer
  double DedSomaj = 0;
  double RestAs = 0;  // unpaid insured contribution of earlier months
  double RestAn = 0;  // unpaid employer contribution of earlier months
  double Penal = 0;   // late-payment increases
  double Maj = 0;     // penalties
  double TipCalcul = 0;
  double CalculSomaj = 0;
};
UnemploymentFigures UnemploymentFiguresOf(const engine::CompanyParameters& company);

// What the window shows when it opens.
struct UnemploymentOpening {
  bool has_rows = false;
  long double due_insured = 0;   // the sum of Somaj over the month's rows
  long double due_employer = 0;  // the employer's unemployment fund
  // The proposed paid amounts: the stored ones (the employer's held to its
  // due) when CalculSomaj is 1, else the due amounts.
  double paid_insured = 0;
  double paid_employer = 0;
  UnemploymentFigures stored;
  // The data folder cannot be written: the month was not recalculated, its
  // stored rows were summed as they are.
  bool write_protected = false;
};

// Opens the declaration: in one transaction the month's parameters are
// reloaded, the whole company is recalculated (wait window "Calcul Salarii"
// / "Va rog asteptati...") and the dues are summed; over a data folder that
// cannot be written, the stored rows are summed without calculating. Throws
// Error (kUnemploymentRowsUnreadable) when the rows cannot be read, with
// nothing written.
UnemploymentOpening OpenUnemploymentDeclaration(params::Session& session,
                                                ProgressReporter& progress);

// Leaving the insured's paid amount: whole lei compared.
enum class InsuredPaidCheck { kBelowDue, kEqualDue, kAboveDue };
InsuredPaidCheck CheckInsuredPaid(double paid, long double due);
// Leaving the employer's paid amount: true (warn) when its whole part is
// above the due one's.
bool EmployerPaidAboveDue(double paid, long double due);

// What the window confirms.
struct UnemploymentInput {
  double due_insured = 0;
  double paid_insured = 0;
  double due_employer = 0;
  double paid_employer = 0;
  double DedSomaj = 0;
  double RestAn = 0;
  double RestAs = 0;
  double Penal = 0;
  double Maj = 0;
  // The spread chosen with "&Calcul suma"; empty when it was not used (the
  // stored mode stays).
  std::optional<SpreadMode> chosen_mode;
  // CalculSomaj as it was when the window opened.
  double calcul_somaj_at_opening = 0;
};

// Throws Error naming the first amount of `input` that cannot be kept, as
// ConfirmUnemploymentDeclaration would, before anything is told or stored.
void CheckUnemploymentInput(const UnemploymentInput& input);

// "&Confirmare": writes the declarant to the settings file, then stores the
// figures in one transaction: the nine amounts; TipCalcul = the chosen
// spread, or 0 when the insured paid their due (whole lei), else unchanged;
// CalculSomaj = 0 when both dues were paid and it was 1 at opening, else 1.
// Reloads the month's parameters and returns the stored figures. Throws Error
// for an amount that cannot be kept (nothing stored), OsError when the
// settings file cannot be written, StoreError.
UnemploymentFigures ConfirmUnemploymentDeclaration(params::Session& session,
                                                   const UnemploymentInput& input,
                                                   const DeclarationSigner& signer);

// The figures as "&Confirmare" leaves them stored, worked out without
// storing them (for a data folder that cannot be written); `stored` are the
// figures stored before it.
UnemploymentFigures FiguresOfConfirmation(const UnemploymentInput& input,
                                          const UnemploymentFigures& stored);

// One row of the month in the lists' order.
struct UnemploymentRow {
  std::string nume;
  std::string prenume;
  std::string codnumpers;
  std::string tip;
  bool printed = false;  // a row of the printed nominal declaration
  bool in_file = false;  // a record of the A1 file
  long double baza_somaj = 0;
  long double somaj = 0;
  long double paid = 0;
  long double unpaid = 0;
};

// Whether a row is a record of the A1 file: a permanent employee who is not
// exempt (BifaSom 1), or a partial-contract person whose unemployment
// contribution is withheld (Domiciliu_ext), with a contribution.
bool IsInUnemploymentFile(const PersRow& row);
// Whether a row is printed in the nominal declaration: a non-pensioner who
// is a permanent employee not exempt, or a partial-contract person whose
// contribution is withheld.
bool IsPrintedInUnemploymentDeclaration(const PersRow& row);

// The summary table of the declaration (and the A2 amounts).
struct UnemploymentSummary {
  double employer_due = 0, employer_paid = 0, employer_unpaid = 0;
  double deductions = 0;
  double insured_due = 0, insured_paid = 0, insured_unpaid = 0;
  double total_due = 0, total_paid = 0, total_unpaid = 0;
  double earlier_total = 0, earlier_employer = 0, earlier_insured = 0;
  double earlier_increases = 0, earlier_penalties = 0;
  double grand_unpaid = 0;
};
UnemploymentSummary SummaryOf(const UnemploymentFigures& figures);

// What the printed declarations and the files read.
struct UnemploymentDeclaration {
  Date month;
  std::optional<DeclarationEmployer> employer;
  double zi_lichidare = 0;
  UnemploymentFigures stored;
  SpreadMode mode = SpreadMode::kNone;
  long double due_insured = 0;        // the sum of Somaj over every row
  std::vector<UnemploymentRow> rows;  // every row, kind "1" first
  long double NRM = 0;                // the average number of insured
  long double FS = 0;                 // the gross wage fund
  UnemploymentSummary summary;
};

// The declaration of the session's working month read in one transaction:
// the stored figures reloaded, the rows in kind order with their paid and
// unpaid parts (the paid total of the insured spread over every row in the
// stored mode), the average number of insured and the wage fund; the
// session's running totals and funds are rebuilt from the stored rows.
// `unsaved` stands for the stored figures when a confirmation could not
// store them. Throws StoreError.
UnemploymentDeclaration BuildUnemploymentDeclaration(
    params::Session& session, const std::optional<UnemploymentFigures>& unsaved = std::nullopt);

// The month's gross wage fund: permanent non-pensioners add Brut (with the
// exempt sums when Ex_Firma is "DA") less CIC and CM2L; partial-contract
// non-pensioners who pay the contribution (BifaSom 1) add Brut less CIC and
// CM2L.
long double UnemploymentWageFund(const std::vector<PersRow>& rows,
                                 const engine::CompanyParameters& company);

}  // namespace traveno::declarations
