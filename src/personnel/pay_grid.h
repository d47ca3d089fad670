// The pay grid's operations over the whole month: the company recalculation,
// filling a column, the indexation of base salaries, the import of another
// company's employees, and the totals shown under the grid. Every write of
// several lines is one transaction; the session's running totals and funds
// change only after it committed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/prompter.h"
#include "params/session.h"

namespace traveno::personnel {

// Which lines of the month an operation sees: the grid page's kind and,
// when one is chosen, a department.
struct GridScope {
  std::string tip = "1";                  // "1" permanent, "2" partial contract
  std::optional<std::string> department;  // compared by UpperTrim
};

// The whole-company recalculation: the totals are reset; every line of the
// month (only the department's when one is given), in LUNA, IID order, is
// calculated while the month is open and added to the totals; then the funds
// are computed. A closed month keeps its stored figures and is only summed.
// The lines are read, calculated, checked against their fields' rules and
// written in one transaction; shows the wait window
// "Calcul Salarii" / "Va rog asteptati...". On failure nothing is written and
// the session's totals and funds are as before. Returns the number of lines.
int RecalculateCompany(params::Session& session, ProgressReporter& progress,
                       const std::optional<std::string>& department = {});
// The same, giving back the recalculated lines (as stored), so that a window
// showing them need not read the month again.
std::vector<PersRow> RecalculateCompanyLines(params::Session& session, ProgressReporter& progress,
                                             const std::optional<std::string>& department = {});

// The running totals and funds of the stored lines as they are, without
// calculating (what a command that only reads needs). StoreError on failure.
void SumStoredLines(params::Session& session, const std::optional<std::string>& department = {});
// The same from the month's stored lines already read by the caller (all of
// them, in any order): they are summed in the month's order, so the totals
// are exactly those SumStoredLines gives.
void SumLines(params::Session& session, std::span<const PersRow> lines);

// Filling a column. Only a floating-point field that the grid lets the user
// type, in an open month, over a non-empty scope, can be filled.
bool CanFillColumn(const params::Session& session, std::string_view field);
inline constexpr const char* kInvalidFillValue = "Valoare introdusa nu este valida!";
// Asks for the value with the title "Completare coloana \"<caption>\"" and the
// prompt "Introduceti valoarea:". Empty when the answer is blank; a text that
// is not a number is reported with kInvalidFillValue (error) and gives empty.
std::optional<double> AskFillValue(Prompter& prompter, std::string_view caption);
// Sets `field` to `value` on every line of the scope, each line posted by the
// grid's single-line rules (a filled BRUT or RESTPL is reached through
// Dif_Brut), in one transaction (the lines read under its lock), advancing
// the progress bar titled "Completare coloana \"<caption>\"...". Returns the
// number of lines changed (0, nothing done, when CanFillColumn refuses or the
// scope is empty) and the notices of the lines whose filled net could not be
// reached exactly. A value its field's rule refuses, or a line whose figures
// would leave their ranges, throws ValueRefused. On failure nothing is
// written and the totals are as before.
struct FillResult {
  int lines = 0;
  std::vector<std::string> notices;
};
FillResult FillColumn(params::Session& session, std::string_view field, std::string_view caption,
                      double value, const GridScope& scope, ProgressReporter& progress);

// Indexation of base salaries.
inline constexpr const char* kIndexNotLastMonth =
    "ATENTIE NU SUNTETI IN ULTIMA LUNA DE LUCRU !\r\nSALARIILE DE INCADRARE SE POT MODIFICA !";
inline constexpr const char* kIndexQuestion =
    "Sigur doriti sa efectuati indexarea salariilor de incadrare ?";
inline constexpr const char* kIndexBadSign = "Semnul operatiei de indexare este incorect!";
inline constexpr const char* kIndexBadUnit =
    "Valoarea la care se face rotunjirea trebuie sa fie mai mare decat zero!";
inline constexpr const char* kIndexPercentOutOfRange =
    "Procentul de indexare trebuie sa fie intre 0 si 999!";

// The indexed base salary: unit × trunc(salary × (100 + percent) / 100 / unit
// ± 0.99), the percent taken with two decimals; a salary of 0 stays 0.
// `sign` is '+' or '-', `unit` greater than 0 (not checked here).
double IndexedSalary(double salary, double percent, char sign, int unit);

// The confirmation asked before the indexation window opens: with the
// not-last-month warning (shown as a warning) when Pers holds a later month
// than the working one. StoreError on failure.
struct IndexQuestion {
  std::string text;
  bool warning = false;
};
IndexQuestion IndexationQuestion(params::Session& session);
// The refusal of the indexation window's figures: a sign other than '+' or
// '-', a unit not greater than 0, a percent outside 0..999; empty when they
// can be applied.
std::optional<std::string> IndexationRefusal(double percent, char sign, int unit);
// In one transaction behind the wait window "Indexare salarii incadrare" /
// "Va rog asteptati...", writes the indexed salaries of the lines of kind
// `scope.tip` of the working month (every department) and calculates every
// line of the month again, so an interruption never leaves indexed salaries
// beside the old gross and net; the session's totals are then those of the
// scope's department. Returns the number of lines indexed. Throws
// Error(kMonthClosed) in a closed month, Error with the refusal for figures
// IndexationRefusal refuses, ValueRefused when a new salary or figure would
// leave its range; nothing is written then.
int ApplyIndexation(params::Session& session, double percent, char sign, int unit,
                    const GridScope& scope, ProgressReporter& progress);

// The indexation of the lines of kind `tip` of the working month (every
// department): asks the confirmation (with the not-last-month warning when
// the greatest month of Pers is not the working month), refuses a bad sign
// or unit with their messages (error), then, in one transaction behind the
// wait window "Indexare salarii incadrare" / "Va rog asteptati...", writes
// the new salaries of every line of the kind (whatever the department) and
// calculates every line of the month again; the session's totals are then
// those of the grid's department. Returns the number of lines indexed; empty
// when refused or answered No. Throws Error(kMonthClosed) in a closed month,
// ValueRefused when a new salary or figure would leave its range (nothing is
// written then).
std::optional<int> IndexSalaries(params::Session& session, double percent, char sign, int unit,
                                 const GridScope& scope, Prompter& prompter,
                                 ProgressReporter& progress);

// The import of the working month's employees of another company.
inline constexpr const char* kImportFailed = "Importul se realizeaza pe o tabela de salarii";
inline constexpr const char* kImportSameCompany =
    "Fisierul ales este chiar baza de date a firmei curente! Importul nu a fost efectuat.";
// Appends the lines of the working month held in the company database file
// `source_file` (ordered by Luna, Depart, Tip, Categorie, Marca), each with a
// new IID (its own Nr) and with its dependants of the month, makes sure the
// month's departments include every line's department (removing CENTRAL when
// no line uses it), and recalculates the whole month; all in one transaction
// behind the wait window "Import date angajati" / "Asteptati va rog...".
// Returns the number of lines appended. Any failure leaves the month as it
// was and throws Error(kImportFailed) (followed by the refusal when a source
// line holds a value out of its range); the company's own file is refused
// with Error(kImportSameCompany).
int ImportEmployees(params::Session& session, const std::filesystem::path& source_file,
                    ProgressReporter& progress);

// The figures under the grid, from the session's totals and funds.
struct GridTotals {
  long double avans = 0;          // "Avans"
  long double rest_de_plata = 0;  // "Rest de plata"
  long double total_net = 0;      // "Total net angajati"
  long double cost_total = 0;     // "Cost total salarii"
  std::string ratio;              // "Total salarii / Net salarii", as shown
  // The subtotal lines of the two pages.
  long double brut_p = 0, avans_p = 0, rest_p = 0, realizat_p = 0;
  long double brut_c = 0, avans_c = 0, rest_c = 0, realizat_c = 0;
};
// "Cost total salarii": the gross of both kinds and every employer fund.
long double CostTotalSalarii(const engine::CompanyTotals& totals,
                             const engine::CompanyFunds& funds);
// The realised amounts are summed from the stored lines of the month (of the
// department when one is given). StoreError on failure.
GridTotals ComputeGridTotals(params::Session& session,
                             const std::optional<std::string>& department = {});

}  // namespace traveno::personnel
