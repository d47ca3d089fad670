// The dependants of an employee in the working month (table Pint) and the
// deduction coefficient derived from them, over the store: the coefficient
// in its three kinds, the dependant's add, change and delete with their
// checks, and the opening and closing of an employee's dependants list,
// which writes the coefficients into the employee's line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/prompter.h"
#include "core/store/records.h"
#include "params/session.h"

namespace traveno::personnel {

// Stored nowhere; the kinds of DependantsCoefficient.
enum class CoefficientKind { kOwn = 1, kDependants = 2, kSingle = 3 };

// Own: OwnCoefficient of `employee`. Dependants: the sum of the employee's
// dependants in the working month, writing back every stale Coef (joins the
// caller's transaction). Single: the coefficient of one dependant of
// relationship `calitate` and invalidity `invaliditate`. StoreError on failure.
double DependantsCoefficient(params::Session& session, CoefficientKind kind,
                             const PersRow& employee, int calitate = 0, int invaliditate = 0);
// The Dependants kind alone.
double DependantsSumOf(params::Session& session, const PersRow& employee);

// The dependants of person `iid` in the working month, in list order.
std::vector<PintRow> ListDependants(params::Session& session, int iid);

// Messages of the dependant's window.
inline constexpr const char* kDependantNameMissing = "Introduceti numele persoanei in intretinere!";
inline constexpr const char* kDependantFirstNameMissing =
    "Introduceti prenumele persoanei in intretinere!";
inline constexpr const char* kDependantCodeMissing =
    "Introduceti codul numeric al persoanei in intretinere!";
inline constexpr const char* kDependantBadCoefficient =
    "Coeficientul calculat este invalid !\n\rPosibila cauza : Nu au fost introdusi coeficientii "
    "de deduceri personale !";
inline constexpr const char* kDependantCodeExists = "Cod numeric personal deja existent !";
inline constexpr const char* kDependantNotLastMonth =
    "Modificarile efectuate nu se vor reflecta in lunile urmatoare!!";
inline constexpr const char* kDependantBadCode =
    "CNP-ul nu este corect !! Va rog sa folositi optiunea Verificare CNP din program !";
inline constexpr const char* kDependantOver18 = "Persoana in intretinere are varsta peste 18 ani!";

enum class DependantEditMode { kAdd, kModify, kDelete };

struct DependantInput {
  std::string Nume;
  std::string Prenume;
  std::string CodNumPers;
  int Calitate = 0;
  int Invaliditate = 0;
};
DependantInput DependantInputFromRow(const PintRow& row);

// The dependant window's "&Confirmare": Delete accepts at once. Otherwise the
// blank name, first name and code, and a coefficient not greater than 0 are
// refused (warnings), then a field its rule refuses (a relationship other
// than 0..3, an invalidity other than 0..2, a text that is not UTF-8) with
// the rule's message; a code other than `code_at_opening` that a dependant of
// the month already has is refused (information); then the not-last-month
// warning; a failing code only warns (its message, "\n\r", kDependantBadCode);
// a passing code of a child who is 18 in the working month is refused
// (error). True when the dependant may be saved.
bool ConfirmDependant(params::Session& session, DependantEditMode mode,
                      const DependantInput& input, std::string_view code_at_opening,
                      Prompter& prompter);

// Adds (nr empty) or rewrites dependant `nr` of `employee` with Coef = the
// Single coefficient, AiPers = the employee's Nr, Luna and IID the
// employee's, in one transaction. Returns the dependant's Nr. Throws
// Error(kMonthClosed) in a closed month, ValueRefused for a field its rule
// refuses, Error when `nr` is not a dependant of the month, StoreError.
std::int64_t SaveDependant(params::Session& session, const PersRow& employee,
                           const DependantInput& input, std::optional<std::int64_t> nr);
// Deletes dependant `nr` of the working month; false when there is none.
bool DeleteDependant(params::Session& session, std::int64_t nr);

// An employee's open dependants list: CoefInd when it opened, and the base
// ("&Coef. baza") = that CoefInd minus the dependants' sum.
struct DependantsList {
  std::int64_t employee_nr = 0;
  int iid = 0;
  double opening = 0;
  double base = 0;
};
// Opens the list of line `employee_nr` (repairing stale Coef values).
// Throws Error(kLineMissing) when there is no such line.
DependantsList OpenDependantsList(params::Session& session, std::int64_t employee_nr);
// " Coef. Total": the base plus the dependants' sum.
double DependantsTotal(params::Session& session, const DependantsList& list);
// Closes the list: writes CoefInd = total into the employee's line, and
// CoefInd1 too unless the month is not the company's last or CoefInd1 had
// been typed by hand (each case with its warning), then recalculates the
// line by the grid's single-line rules. In a closed month nothing is written.
void CloseDependantsList(params::Session& session, const DependantsList& list, Prompter& prompter);

}  // namespace traveno::personnel
