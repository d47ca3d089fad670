// What the parameter windows do when they are confirmed: the validations in
// their order, the questions and warnings, the clearing of a bonus's input
// when its kind changes, the saving and the recalculation of the month. The
// windows gather the values and show the result; nothing here knows a window.
#pragma once

#include <array>
#include <string>

#include "core/prompter.h"
#include "engine/month_parameters.h"
#include "params/session.h"

namespace traveno::params {

inline constexpr const char* kLaterMonthsWarning =
    "Modificarile parametrilor nu se vor reflecta pe lunile urmatoare !";

// The outcome of a confirmation: confirmed, or refused with the name of the
// parameter whose box should receive the focus (a parameter name such as
// "ZiLichidare", "MedieOre", "Spor2_Den", "Spor3_Form", "Ex_Pensie"; empty
// when no box is meant).
struct ConfirmResult {
  bool confirmed = false;
  std::string focus;
};

// "Cheltuieli profesionale" from the basic deduction and its coefficient (%).
double ProfessionalExpenses(double ded_baza, double coefficient);

// The general parameters window: warns kLaterMonthsWarning when Para holds a
// later month, then SaveMonthParameters (also in a closed month); `shown` is
// the set as stored when the window opened (null: as stored now). Each value is checked against
// its parameter's rule: a refusal throws ValueRefused and nothing is written.
void ConfirmGeneralParameters(Session& session, const engine::GeneralParameters& values,
                              Prompter& prompter, ProgressReporter& progress,
                              const engine::GeneralParameters* shown = nullptr);

// Saves what an editor changed in the general set, the company set or both
// (null: that set is not edited), and recalculates the month, in one
// transaction: the parameters that `general` / `company` change relative to
// the sets as stored when the editor opened (`general_shown` /
// `company_shown`; when null, the session's stored parameters) are laid over
// the sets as stored now (what another writer changed meanwhile is kept) and
// only they are written;
// a bonus whose kind moves between "Fix in lei" and a computed kind has the
// month's bonus input cleared. The result becomes the session's parameters.
// A value its rule refuses throws ValueRefused, a store failure StoreError;
// then nothing is written and the session's parameters are as they were.
void SaveMonthParameters(Session& session, const engine::GeneralParameters* general,
                         const engine::CompanyParameters* company, ProgressReporter& progress,
                         const engine::GeneralParameters* general_shown = nullptr,
                         const engine::CompanyParameters* company_shown = nullptr);

// The company parameters window's checks, in order, each refusal shown and
// naming the box to focus: a closed month (kMonthClosedMessage); a working
// month that is not the last one only warns (kLaterMonthsWarning); the pay
// day; a changed "MedieOre" asks a Yes/No question; a used bonus needs a
// name; a bonus turned into a formula needs its formula window opened; a
// bonus or holiday-pay formula changed elsewhere than in the formula editor
// must pass the editor's check; the exempt sums' percentages. Writes nothing.
ConfirmResult CheckCompanyParameters(Session& session, const engine::CompanyParameters& values,
                                     const std::array<bool, 4>& formula_opened, Prompter& prompter);

// The company parameters window. `formula_opened[i]` tells whether bonus i's
// formula window was opened since the window opened. In order: a closed month
// is refused (kMonthClosedMessage); a working month that is not the last one
// warns kLaterMonthsWarning; a pay day that is not a day of the next month
// (PayDayRule: after its last day, below 1 or not whole) is refused with "Ziua lichidarii este incorecta pentru aceasta luna!" (error);
// a changed "MedieOre" asks a Yes/No question, No keeps the old value (the
// refusal names "MedieOre"); a used bonus without a name is refused with
// "Introduceti denumirea Sporul N !"; a bonus turned into a formula whose
// formula window was not opened is refused with "Verifcati formula de la
// Sporul N !"; a changed formula must pass the formula editor's check. Then
// SaveMonthParameters with the company set; `shown` is the set as stored
// when the window opened (null: as stored now).
ConfirmResult ConfirmCompanyParameters(Session& session, const engine::CompanyParameters& values,
                                       const std::array<bool, 4>& formula_opened,
                                       Prompter& prompter, ProgressReporter& progress,
                                       const engine::CompanyParameters* shown = nullptr);

// Whether changing a bonus's kind from `old_kind` to `new_kind` clears the
// employees' bonus input of the month.
bool KindChangeClearsInput(double old_kind, double new_kind);

// The bonus-formula window's confirmation for bonus `index` (0..3): the
// formula and its "Cu procent" choice are stored; when the choice changed, the
// bonus input of the month is cleared; the company parameters are saved (one
// transaction). A closed month is refused (kMonthClosedMessage), and so is a
// formula that fails the editor's check (its message).
bool ConfirmBonusFormula(Session& session, int index, const std::string& formula, bool with_percent,
                         Prompter& prompter);

// The holiday-pay formula window's confirmation: the formula, trimmed, and
// the number of earlier months it is averaged over are stored and the
// company parameters saved. A closed month is refused (kMonthClosedMessage),
// and so is a formula that fails the editor's check.
bool ConfirmHolidayPayFormula(Session& session, const std::string& formula, double months,
                              Prompter& prompter);

// The exempt sums window: a checked setting whose percentage is not above 0
// is refused ("Va rog sa introduceti procentul pentru pensie !", then
// sanatate, then impozit; error); a closed month is refused; a month that is
// not the last warns kLaterMonthsWarning; then the settings are saved and the
// month recalculated.
ConfirmResult ConfirmExemptSums(Session& session, const engine::ExemptSetting& pensie,
                                const engine::ExemptSetting& sanatate,
                                const engine::ExemptSetting& impozit,
                                const engine::ExemptSetting& firma, Prompter& prompter,
                                ProgressReporter& progress);

// The deduction names window: every name trimmed to 15 characters, stored
// and saved.
void ConfirmDeductionNames(Session& session, const std::array<std::string, 6>& names);

// Clears the bonus input (Spor1, spor2, spor3 or spor4; index 0..3) of every
// employee row of the working month. Joins the caller's transaction.
void ClearBonusInput(Session& session, int index);

}  // namespace traveno::params
