// The company register: the companies of Firme, their editor's validation and
// saving, the creation of a new company's folder and tables, the deletion of
// a company, the choice of the working company and month, and the cloning of
// a month of another company into the working one. Kept free of any window:
// the register and choice windows gather the input, call these services and
// show what they return.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/prompter.h"
#include "core/settings.h"
#include "core/store/records.h"
#include "core/store/store.h"
#include "params/month_cycle.h"
#include "params/parameter_edits.h"
#include "params/session.h"

namespace traveno::params {

// Messages of the register.
inline constexpr const char* kInvalidCompanyCode = "Codul firmei este invalid !";
inline constexpr const char* kCompanyNameMissing = "Introduceti Denumirea firmei !";
inline constexpr const char* kEmployerNameMissing = "Introduceti numele angajatorului !";
inline constexpr const char* kCompanyFolderExists = "Folderul firmei exista !";
inline constexpr const char* kCompanyFolderNotCreated = "Folderul firmei nu poate fi creat !";
inline constexpr const char* kDeleteWorkingCompany = "Nu este permisa stergerea firmei curente !";
inline constexpr const char* kDeleteFailed = "A intervenit o eroare ! Firma nu a fost stearsa !";
inline constexpr const char* kDeleteQuestion = "Sigur doriti sa stergeti aceasta firma ?";
inline constexpr const char* kCompanyCodeExists =
    "Exista deja o firma cu acest cod ! Firma nu a fost adaugata.";
inline constexpr const char* kCompanyNotInRegister = "Firma aleasa nu exista in registru !";
inline constexpr const char* kMonthNotInCompany = "Luna aleasa nu exista pentru aceasta firma !";
inline constexpr const char* kInitialisationLine = "Apasati \"Alege Firma\" pentru initializare !";
// The month list's line for a company whose database cannot be read.
inline constexpr const char* kDamagedCompanyLine =
    "Fisierul de date al firmei este deteriorat !";

// True when the text, trimmed, is a usable company code (IsValidCompanyCode
// of core/data_folder.h, which every path built from a code checks).
bool ValidFolderName(std::string_view text);

// What the company editor gathers. `row` holds every Firme field as typed
// (CodF and the fields kept for other programs are ignored); `legal_entity`
// is the employer kind chosen.
struct CompanyInput {
  FirmeRow row;
  bool legal_entity = true;
  PaySlipFooter footer;
};

// The editor's "&Confirm" in add or modify mode: the code must pass
// ValidFolderName (kInvalidCompanyCode, focus "Cod"), a legal entity needs a
// name (kCompanyNameMissing, focus "Denumire"), a natural person a surname
// (kEmployerNameMissing, focus "Nume"). Each refusal is shown as a warning.
ConfirmResult ValidateCompanyInput(const CompanyInput& input, Prompter& prompter);

// The row as it is stored: texts upper-cased (except EMail), the code cut to
// 8 characters, TipAngaj 1 with the typed Denumire for a legal entity, or
// TipAngaj 2 with Denumire = Nume + " " + Prenume for a natural person
// (Nume and Prenume empty for a legal entity), every text held to its width.
FirmeRow StoredCompanyRow(const CompanyInput& input);

enum class AddCompanyResult { kAdded, kInvalid, kCodeExists };
// Validates (ValidateCompanyInput) and appends the company, then saves its
// footer lines. A code already in the register adds nothing and returns
// kCodeExists without a message (two companies must never share a folder).
// StoreError / OsError on failure.
AddCompanyResult AddCompany(Store& store, const CompanyInput& input, Prompter& prompter);
// Validates and saves the company of row `codf` (its code is kept) and its
// footer lines. False when refused or when there is no such row.
bool ModifyCompany(Store& store, std::int64_t codf, const CompanyInput& input, Prompter& prompter);
// The editor's fields of a stored company, footer lines included.
CompanyInput LoadCompanyInput(Store& store, const FirmeRow& row);

// Makes the folder of a company's first month (first 8 characters of the
// code) and attaches its database, created empty, to the store's
// connection; WriteFirstMonth then fills it. The folder appears at once with
// its empty database file (made under a temporary name, then renamed); a
// folder holding only what an interrupted creation leaves (a database
// without tables) is taken as it is. False after kCompanyFolderExists when another folder of
// that name exists, after kCompanyFolderNotCreated when it cannot be made.
bool PrepareCompanyFolder(Store& store, std::string_view code, Prompter& prompter);
// Inside the caller's transaction: the attached company's tables (those
// missing), the new-company parameters of `month` unless the company has a
// month already, and the register's tables of the month (PrepareSharedTables).
void WriteFirstMonth(Database& db, Date month);

// Deletes a company after its questions. `working_company` (empty when none)
// is refused with kDeleteWorkingCompany. Without a folder the question about
// other programs is asked and only the register row goes; with a folder that
// holds the company's tables, the question names the company and the row and
// the whole folder go; with a folder without tables only the row goes. A
// failure shows kDeleteFailed. Returns whether the row was deleted.
bool DeleteCompany(Store& store, std::string_view working_company, std::string_view code,
                   Prompter& prompter);
// Whether company `code` may be deleted at all: the working company
// (`working_company`, empty when none) never may, and is refused with
// kDeleteWorkingCompany before any question is asked.
bool MayDeleteCompany(std::string_view working_company, std::string_view code,
                      Prompter& prompter);

// Whether the company's folder holds its tables (it has been chosen once);
// false for a database an interrupted first month left without tables, and
// for a code that cannot name a folder.
bool IsCompanyInitialised(Store& store, std::string_view code);
// The months of a company with their closed marks, read without disturbing
// the working company; empty when the company is not initialised. Throws
// DamagedCompanyError when its database cannot be read as one.
std::vector<CompanyMonth> ListCompanyMonths(Store& store, std::string_view code);

// "&Alege firma": makes `code` the working company and `month` the working
// month. For an initialised company the month must be one of its months
// (nothing given: its last month), else kMonthNotInCompany. A company never
// chosen needs its first month (nothing given: abandoned, false; a month
// outside the years 1900 to 2999 refused with its message): with the
// wait window "Se initializeaza datele firmei " / "Asteptati va rog..." its
// folder is made (PrepareCompanyFolder) and its tables, new-company
// parameters and the month's shared tables are written in one transaction
// (WriteFirstMonth), so an interruption leaves a company that is set up
// again when it is chosen next. A company whose tables exist without any
// month gets the given month as its first. Then the month's shared tables are
// prepared, the company and month opened, the parameters loaded, the footer
// read, the departments counted and the running totals cleared. A code that
// cannot name a folder (InvalidCompanyCodeMessage) and a company whose
// database cannot be read (DamagedCompanyMessage) are refused. Returns
// false when refused (the message shown); on a refusal or a failure the
// session keeps its former company and month.
bool ChooseCompanyAndMonth(Session& session, std::string_view code, std::optional<Date> month,
                           Prompter& prompter, ProgressReporter& progress);

// Messages of the clone.
inline constexpr const char* kCloneQuestion = "Daca doriti sa clonati tastati \"CONFIRM\"";
inline constexpr const char* kCloneNotDone = "Clonarea nu a fost efectuata!";
inline constexpr const char* kCloneSameCompany =
    "Atentie firma sursa nu trebuie sa fie identica cu firma \r\ndestinatie!";
inline constexpr const char* kCloneOtherMonth =
    "Atentie luna  sursa trebuie sa fie identica cu luna \r\ndestinatie!";
inline constexpr const char* kCloneSourceMonthMissing =
    "Luna aleasa nu exista in firma sursa! Clonarea nu a fost efectuata!";
inline constexpr const char* kCloneDeleteFailed =
    "Au aparut probleme la stergerea datelor din firma curenta (destinatie).\r\n Anuntati "
    "administratorul de retea!";
inline constexpr const char* kCloneCopyFailed =
    "Au aparut probleme la adaugarea in Pers.db. Anuntati \r\nadministratorul de retea! ";
inline constexpr const char* kCloneSourceNotInRegister =
    "Firma sursa nu exista in registrul firmelor! Clonarea nu a fost efectuata!";

// Replaces the working month of the working company with the same month of
// company `source_code`: asks for the typed "CONFIRM" (kCloneQuestion;
// otherwise kCloneNotDone), refuses the working company itself
// (kCloneSameCompany), a source that is not a company of the register
// (kCloneSourceNotInRegister), another month (kCloneOtherMonth) and a source
// without that month (kCloneSourceMonthMissing); shows the wait window
// kApplicationTitle + " - clonare " / "Va rog asteptati!". In one transaction
// the month's employees, dependants and company parameters are replaced by
// the source's (employees keep their identity IID and get new row numbers Nr,
// whatever months the destination has; the numbering then goes on above
// every IID of the company; dependants are linked to their employee's new
// row) and the source's photos are added, skipping a photo the destination
// already holds for the same person. A line with a value out of its range
// refuses the clone (ValueRefused).
// A failure rolls everything back (kCloneDeleteFailed / kCloneCopyFailed are
// shown). Then the month's parameters, footer and departments are reloaded.
// Returns whether the month was cloned.
bool CloneMonth(Session& session, std::string_view source_code, Date source_month,
                Prompter& prompter, ProgressReporter& progress);

// How a clone ended, so that the clone mode of the choice window knows where
// to stay: closed after kNotConfirmed or kCloned, on the company list after
// kSameCompany, on the month list after kOtherMonth; kRefused covers every
// later refusal or failure (its message shown).
enum class CloneOutcome { kCloned, kNotConfirmed, kSameCompany, kOtherMonth, kRefused };
// CloneMonth, telling how it ended.
CloneOutcome CloneMonthOutcome(Session& session, std::string_view source_code, Date source_month,
                               Prompter& prompter, ProgressReporter& progress);

}  // namespace traveno::params
