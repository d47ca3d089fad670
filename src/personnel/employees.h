// The employee record of the working month: the fields of the employee
// window, their validation, and the saving of a row in the window's four
// modes with its deduction coefficients, its photo and its recalculation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/date.h"
#include "core/prompter.h"
#include "core/store/records.h"
#include "params/session.h"

namespace traveno::personnel {

// The employee window's mode.
enum class EmployeeEditMode { kAdd = 1, kModify = 2, kDelete = 3, kRehire = 4 };

// Messages of the employee window.
inline constexpr const char* kNameMissing = "Introduceti numele persoanei !";
inline constexpr const char* kFirstNameMissing = "Introduceti prenumele persoanei !";
inline constexpr const char* kBadHoursPerDay = "Valoarea Ore/ Zi nu este corecta!";
inline constexpr const char* kLeavingBeforeMonth =
    "Data incetarii activitatii este mai mica dacat luna curenta !";
inline constexpr const char* kNotLastMonthEmployee =
    "Modificarile angajatilor nu se vor reflecta pe lunile \r\nurmatoare !";
inline constexpr const char* kBadEmployeeCode =
    "CNP-ul nu este corect !! Va rog sa folositi optiunea Verificare CNP din program !";
inline constexpr const char* kStillEmployedLater =
    "In lunile urmatore, persoana inca figureaza ca angajata. ";
inline constexpr const char* kRehireFailed =
    "Au aparut probleme la oparatia de reangajare! Anuntati administratorul de retea.";
inline constexpr const char* kRehireQuestion = "Sigur doriti sa efectuati operatia de reangajare?";
inline constexpr const char* kRehireDone = "Operatia de reangajare s-a efectuat cu succes!";

// What the employee window gathers. The boxes hold their ticks; for a
// partial-contract employee AltVenit is "Se retine CIAS ", DomiciliuExt "Se
// retine Somaj de la angajat", PlatitOra "Angajat cu functie de baza", and
// TipVenit the "Tip venit:" index 0..7 stored in Fisa_Regul.
struct EmployeeInput {
  std::string Depart;
  std::string Nume;
  std::string Prenume;
  std::string CodNumPers;
  std::string Functie;
  int NORMA = 8;
  double SalInc = 0;
  double Timp = 0;
  double Ore_Zi = 0;
  std::string Studii;
  Date Data_Ang;   // the empty date for a blank field
  Date Data_Nas;
  Date Data_Lich;
  std::string Judet, Localitate, Strada, Numar, CodPostal, Bloc, Scara, Etaj, Ap, Sector;
  std::string Telefon, Email, Alte_Date;
  int Invaliditate = 0;
  double Pr_va = 0;
  int TipVenit = 3;
  bool FisaRectif = false;
  bool FisaRegul = false;
  bool Pensionar = false;
  bool AltVenit = false;
  bool DomiciliuExt = false;
  bool BifaSom = false;
  bool PlatitOra = false;
  // A picture chosen with "Poza" (the file's bytes), and the removal mark of
  // "&Stergere poza".
  std::optional<Blob> photo;
  bool remove_photo = false;
};

// The fields of a new employee on the page of kind `tip` ("1" or "2").
EmployeeInput NewEmployeeInput(std::string_view tip);
// The fields of a stored row (Modify and Delete).
EmployeeInput EmployeeInputFromRow(const PersRow& row);

// What a rehire keeps of the former row.
struct RehireIdentity {
  int IID = 0;
  int CATEGORIE = 0;
  int MARCA = 0;
};
// The fields of a rehire from a former row: its personal data, Timp 0,
// Ore / Zi 1, blank hiring and leaving dates, the rectification,
// regularisation and hourly boxes unticked.
EmployeeInput RehireInputFromRow(const PersRow& former);
RehireIdentity RehireIdentityOf(const PersRow& former);

// The first failure of the window's validation, with the field to focus.
struct EmployeeRefusal {
  std::string message;
  std::string field;
};
// Name, first name, hours per day (partial contract only, must be > 0) and a
// leaving date not earlier than the working month, in that order; then every
// field as it would be stored against its rule (a salary of 0 to kMaxAmount,
// a norm of 0 to 24 hours, an invalidity 0, 1 or 2, ...), the refusal naming
// the field.
std::optional<EmployeeRefusal> ValidateEmployee(const EmployeeInput& input, std::string_view tip,
                                                Date working_month);

// The warning when a leaving date is typed in a month that is not the
// company's last: empty when none is due.
std::optional<std::string> LeavingDateWarning(const params::Session& session, Date leaving);

// The window's "&Confirmare": Delete accepts at once; otherwise the
// validation refusal (warning), the not-last-month warning and the code
// warning are shown, the code never blocking. True when the row may be saved.
bool ConfirmEmployee(params::Session& session, EmployeeEditMode mode, const EmployeeInput& input,
                     std::string_view tip, Prompter& prompter);

// Saves the employee in one transaction (the row read under its write lock)
// and recalculates the row:
// - Add and Rehire append a row of kind `tip` (ProcImpo 100); Add gives it
//   IID = its Nr, Rehire the remembered IID, CATEGORIE and MARCA;
// - Modify rewrites row `nr` (its kind kept);
// - Delete removes row `nr` and the person's dependants of the month (the
//   photo and the other months stay).
// The coefficients follow the employee and the dependants: Add and Modify
// set CoefInd and CoefInd1 to own + dependants (0 for a partial-contract
// employee without "Angajat cu functie de baza", whose dependants Modify
// deletes); a rehired partial-contract employee gets 1 or 0 by that box.
// A chosen photo is stored for the person, a removed one deleted. Then the
// session's totals and funds follow the row. Returns the row's Nr (the
// deleted row's for Delete).
// Throws Error(kMonthClosed) in a closed month, Error(kLineMissing) when
// Modify or Delete find no row `nr`, ValueRefused for a value its field's
// rule refuses or a new department code the month does not have,
// Error(kRehireFailed) for any failure of a rehire, StoreError otherwise;
// nothing is written then.
std::int64_t SaveEmployee(params::Session& session, EmployeeEditMode mode,
                          const EmployeeInput& input, std::string_view tip,
                          std::optional<std::int64_t> nr = std::nullopt,
                          std::optional<RehireIdentity> rehire = std::nullopt);

// Deletes every dependant of person `iid` in the working month; joins the
// caller's transaction. Returns how many went.
int DeleteDependants(params::Session& session, int iid);

// The stored photo of a person; empty when there is none.
std::optional<Blob> LoadEmployeePhoto(params::Session& session, int iid);

}  // namespace traveno::personnel
