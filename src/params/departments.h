// The departments of a company's month: ParF rows named "DEP_" + code whose
// Grupa is the department's name (codes of at most 8 characters, names of at
// most 30, both upper-cased and trimmed; a longer code is refused with
// ValueRefused, a longer name is cut). Every function works on the
// session's working month; writes are one transaction each and refresh the
// departments held in memory and the session's department count. Store
// failures are thrown as StoreError and leave the month as it was.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/prompter.h"
#include "core/store/records.h"
#include "params/session.h"

namespace traveno::params {

struct Department {
  std::int64_t nr = 0;  // the ParF row
  std::string code;     // Den from its fifth character, trimmed and upper-cased
  std::string name;     // Grupa
};

inline constexpr const char* kWholeCompanyLine = "<Toata firma>";

// The refusal of a department code the working month does not have.
std::string UnknownDepartment(std::string_view code);
// Whether `code` (compared by UpperTrim) is a department of the working month.
bool IsDepartmentOfMonth(Session& session, std::string_view code);

// The month's departments in the order they were made.
std::vector<Department> ListDepartments(Session& session);
// Recounts the month's departments, stores the count in the session and
// returns it.
int CountDepartments(Session& session);
// The chooser's lines: the code padded to 8 characters, "|" and the name.
std::vector<std::string> DepartmentChooserLines(const std::vector<Department>& departments);
// The code chosen from a chooser line: its first 8 characters, trimmed and
// upper-cased ("<Toata firma>" gives "<TOATA F", which names no department).
std::string ChosenDepartmentCode(std::string_view line);

// The employee rows of the month whose Depart names no department of the month.
std::vector<PersRow> EmployeesWithoutDepartment(Session& session);
// The check before the pay grid: false when every employee has a department;
// with a single department, the employees without one are given it (and the
// result is false); with two or more, true (the window of employees without
// a department is to be shown).
bool VerifyDepartments(Session& session);
// Gives one employee row (by Nr) a department code; a code the month does
// not have throws ValueRefused (UnknownDepartment).
void AssignDepartment(Session& session, std::int64_t pers_nr, std::string_view code);

// Moves every employee row of the month from one department code to another,
// with the wait window "Schimbare departament" / "Astepati va rog..". Joins
// the caller's transaction. Returns the number of rows moved.
int MoveEmployees(Session& session, std::string_view old_code, std::string_view new_code,
                  ProgressReporter& progress);

// Adds a department. Refuses, with "Codul " + code + " deja exista !"
// (information), a code the month already has, and with
// kDepartmentCodeMissing an empty code; returns false then.
bool AddDepartment(Session& session, std::string_view code, std::string_view name,
                   Prompter& prompter);
inline constexpr const char* kDepartmentCodeMissing = "Introduceti codul departamentului !";
// Changes the department of row `nr`: a new code must not belong to another
// department of the month (same message as AddDepartment); when the code
// changes, the month's employees move with it. False when refused, or when
// the row is not a department of the month.
bool ModifyDepartment(Session& session, std::int64_t nr, std::string_view code,
                      std::string_view name, Prompter& prompter, ProgressReporter& progress);

// Chooses a department among lines made by DepartmentChooserLines, showing
// a label; returns the chosen line, or nothing when abandoned.
using DepartmentChooser = std::function<std::optional<std::string>(
    const std::vector<std::string>& lines, const std::string& label)>;

enum class DeleteDepartmentResult { kDeleted, kOnlyDepartment, kAbandoned, kNotFound };
// Deletes the department `code`. With one department only nothing happens.
// When employees of the month belong to it, `chooser` is asked where they go
// (the other departments, with the label "Alegeti departamentul la care vor
// fi mutate persoanele \n\rde la departamentul " + code); abandoning keeps
// everything. The move and the deletion are one transaction.
DeleteDepartmentResult DeleteDepartment(Session& session, std::string_view code,
                                        const DepartmentChooser& chooser,
                                        ProgressReporter& progress);

}  // namespace traveno::params
