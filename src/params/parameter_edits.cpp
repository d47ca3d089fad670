#include "params/parameter_edits.h"

#include <functional>
#include <optional>

#include "core/store/field_rules.h"
#include "core/store/sqlite.h"
#include "core/text.h"
#include "engine/formula_check.h"
#include "params/holidays.h"
#include "params/parameter_store.h"
#include "params/recalculate.h"
#include "params/unit_of_work.h"

namespace traveno::params {
namespace {

constexpr const char* kAverageHoursQuestion =
    "Modifcarea numarului de ore medii dintr-o luna va influenta calculul salariilor pe luna "
    "in curs si lunile urmatoare ! \n\rSigur doriti sa efectuati aceasta modificare ?";

// A kind the window shows as "Nu se foloseste" (4, or any unknown value).
bool IsUnusedKind(double kind) {
  return !(kind == 0 || kind == 1 || kind == 2 || kind == 3 || kind == 5);
}

bool IsComputedKind(double kind) { return kind == 2 || kind == 3 || kind == 5; }

void WarnWhenNotLastMonth(Session& session, Prompter& prompter) {
  if (session.last_month() != session.working_month()) {
    prompter.Message(MessageKind::kWarning, kLaterMonthsWarning);
  }
}

// Puts the session's parameters back unless dismissed: a save that fails
// leaves memory as it found it.
class ParametersGuard {
 public:
  explicit ParametersGuard(Session& session)
      : session_(session),
        parameters_(session.parameters()),
        stored_(session.stored_parameters()) {}
  ~ParametersGuard() {
    if (!dismissed_) session_.RestoreParameters(parameters_, stored_);
  }
  ParametersGuard(const ParametersGuard&) = delete;
  ParametersGuard& operator=(const ParametersGuard&) = delete;
  void Dismiss() { dismissed_ = true; }

 private:
  Session& session_;
  engine::MonthParameters parameters_;
  engine::MonthParameters stored_;
  bool dismissed_ = false;
};

// The refusal of a bonus formula (index 0..3) or of the holiday-pay formula
// (index -1, averaged over `months`), as the formula editor's check words
// it; empty when it is valid.
std::optional<std::string> FormulaRefusal(int index, const std::string& formula, double months) {
  const engine::FormulaKind kind =
      index < 0 ? engine::FormulaKind::kHolidayPay : engine::FormulaKind::kBonus;
  const auto fields = engine::AcceptedFormulaFields(kind, index + 1);
  return engine::ValideazaFormula(formula, fields, kind, months);
}

// The exempt-sums check: a checked setting needs a percentage above 0.
ConfirmResult CheckExemptSettings(const engine::ExemptSetting& pensie,
                                  const engine::ExemptSetting& sanatate,
                                  const engine::ExemptSetting& impozit, Prompter& prompter) {
  const std::pair<const engine::ExemptSetting*, const char*> kChecks[] = {
      {&pensie, "pensie"}, {&sanatate, "sanatate"}, {&impozit, "impozit"}};
  const char* kFocus[] = {"Ex_Pensie", "Ex_Sanatate", "Ex_Impozit"};
  for (int i = 0; i < 3; ++i) {
    const auto& [setting, word] = kChecks[i];
    if (engine::IsFlagChecked(setting->Grupa) && !(setting->Val > 0)) {
      prompter.Message(MessageKind::kError,
                       std::string("Va rog sa introduceti procentul pentru ") + word + " !");
      return {false, kFocus[i]};
    }
  }
  return {true, ""};
}

// Writes an editor's changes, inside the caller's unit of work (which has
// refreshed the session's stored parameters): each parameter the editor
// changed relative to `base` (the stored set it started from) goes over the
// set as stored now, and only what differs from it is written. The result
// becomes the session's parameters.
void SaveGeneralEdit(Session& session, const engine::GeneralParameters& base,
                     const engine::GeneralParameters& edited) {
  const engine::GeneralParameters current = session.stored_parameters().general;
  const engine::GeneralParameters merged = MergeGeneralParameters(base, edited, current);
  SaveChangedGeneralParameters(session.db(), session.working_month(), current, merged);
  session.GeneralParametersSaved(merged);
}

void SaveCompanyEdit(Session& session, const engine::CompanyParameters& base,
                     const engine::CompanyParameters& edited) {
  const engine::CompanyParameters current = session.stored_parameters().company;
  const engine::CompanyParameters merged = MergeCompanyParameters(base, edited, current);
  SaveChangedCompanyParameters(session.db(), session.working_month(), current, merged);
  session.CompanyParametersSaved(merged);
}

// Saves an edit of the company set alone (the formula, exempt-sums, holiday
// and deduction-name windows): one transaction; `recalculate` runs the
// month's recalculation inside it.
void SaveCompanyEditAlone(Session& session, const engine::CompanyParameters& edited,
                          bool recalculate, ProgressReporter* progress,
                          const std::function<void()>& before_save = {}) {
  const engine::CompanyParameters base = session.stored_parameters().company;
  ParametersGuard guard(session);
  // The company's parameters and lines live in its own file.
  SessionWork work(session, WorkWrites::kCompanyFile);
  if (before_save) before_save();
  SaveCompanyEdit(session, base, edited);
  if (recalculate) RecalculateMonth(session, *progress);
  work.Commit();
  guard.Dismiss();
}

}  // namespace

double ProfessionalExpenses(double ded_baza, double coefficient) {
  return ded_baza * coefficient / 100;
}

void ConfirmGeneralParameters(Session& session, const engine::GeneralParameters& values,
                              Prompter& prompter, ProgressReporter& progress,
                              const engine::GeneralParameters* shown) {
  if (HasLaterGeneralMonth(session.db(), session.working_month())) {
    prompter.Message(MessageKind::kWarning, kLaterMonthsWarning);
  }
  SaveMonthParameters(session, &values, nullptr, progress, shown);
}

bool KindChangeClearsInput(double old_kind, double new_kind) {
  return (old_kind == 0 && IsComputedKind(new_kind)) || (IsComputedKind(old_kind) && new_kind == 0);
}

void ClearBonusInput(Session& session, int index) {
  static constexpr const char* kSql[4] = {
      "UPDATE firma.Pers SET Spor1 = 0 WHERE LUNA = ?",
      "UPDATE firma.Pers SET spor2 = 0 WHERE LUNA = ?",
      "UPDATE firma.Pers SET spor3 = 0 WHERE LUNA = ?",
      "UPDATE firma.Pers SET spor4 = 0 WHERE LUNA = ?",
  };
  session.db().Run(kSql[index], session.working_month());
}

ConfirmResult CheckCompanyParameters(Session& session, const engine::CompanyParameters& values,
                                     const std::array<bool, 4>& formula_opened,
                                     Prompter& prompter) {
  if (session.month_closed()) {
    prompter.Message(MessageKind::kWarning, kMonthClosedMessage);
    return {false, ""};
  }
  const engine::CompanyParameters& before = session.parameters().company;
  WarnWhenNotLastMonth(session, prompter);
  if (!RefusalOf("ZiLichidare", PayDayRule(session.working_month()),
                 FieldValue(values.ZiLichidare))
           .empty()) {
    prompter.Message(MessageKind::kError, "Ziua lichidarii este incorecta pentru aceasta luna!");
    return {false, "ZiLichidare"};
  }
  if (values.MedieOre != before.MedieOre && !prompter.AskYesNo(kAverageHoursQuestion)) {
    return {false, "MedieOre"};
  }
  for (int i = 0; i < 4; ++i) {
    if (Trim(values.spor[i].Den).empty() && !IsUnusedKind(values.spor[i].Apl)) {
      prompter.Message(MessageKind::kWarning,
                       "Introduceti denumirea Sporul " + std::to_string(i + 1) + " !");
      return {false, "Spor" + std::to_string(i + 1) + "_Den"};
    }
  }
  for (int i = 0; i < 4; ++i) {
    if (values.spor[i].Apl == 5 && before.spor[i].Apl != 5 && !formula_opened[i]) {
      prompter.Message(MessageKind::kWarning,
                       "Verifcati formula de la Sporul " + std::to_string(i + 1) + " !");
      return {false, "Spor" + std::to_string(i + 1) + "_Form"};
    }
  }
  // A formula typed elsewhere than in the formula editor passes the editor's check.
  for (int i = 0; i < 4; ++i) {
    const std::string& formula = values.spor[i].Form;
    if (formula == before.spor[i].Form || Trim(formula).empty()) continue;
    if (auto refusal = FormulaRefusal(i, formula, 0)) {
      prompter.Message(MessageKind::kWarning, *refusal);
      return {false, "Spor" + std::to_string(i + 1) + "_Form"};
    }
  }
  if (values.CO_Form != before.CO_Form || values.LuniCO != before.LuniCO) {
    if (auto refusal = FormulaRefusal(-1, values.CO_Form, values.LuniCO)) {
      prompter.Message(MessageKind::kWarning, *refusal);
      return {false, "CO_Form"};
    }
  }
  return CheckExemptSettings(values.Ex_Pensie, values.Ex_Sanatate, values.Ex_Impozit, prompter);
}

void SaveMonthParameters(Session& session, const engine::GeneralParameters* general,
                         const engine::CompanyParameters* company, ProgressReporter& progress,
                         const engine::GeneralParameters* general_shown,
                         const engine::CompanyParameters* company_shown) {
  // What the editor started from: what it showed, else the stored set now.
  const engine::GeneralParameters general_base =
      general_shown != nullptr ? *general_shown : session.stored_parameters().general;
  const engine::CompanyParameters company_base =
      company_shown != nullptr ? *company_shown : session.stored_parameters().company;
  // The bonus kinds as the editor saw them, before another writer's changes.
  const engine::CompanyParameters kinds_shown =
      company_shown != nullptr ? *company_shown : session.parameters().company;
  ParametersGuard guard(session);
  SessionWork work(session);
  if (general != nullptr) SaveGeneralEdit(session, general_base, *general);
  if (company != nullptr) {
    for (int i = 0; i < 4; ++i) {
      if (KindChangeClearsInput(kinds_shown.spor[i].Apl, company->spor[i].Apl)) {
        ClearBonusInput(session, i);
      }
    }
    SaveCompanyEdit(session, company_base, *company);
  }
  RecalculateMonth(session, progress);
  work.Commit();
  guard.Dismiss();
}

ConfirmResult ConfirmCompanyParameters(Session& session, const engine::CompanyParameters& values,
                                       const std::array<bool, 4>& formula_opened,
                                       Prompter& prompter, ProgressReporter& progress,
                                       const engine::CompanyParameters* shown) {
  ConfirmResult checked = CheckCompanyParameters(session, values, formula_opened, prompter);
  if (!checked.confirmed) return checked;
  SaveMonthParameters(session, nullptr, &values, progress, nullptr, shown);
  return {true, ""};
}

bool ConfirmBonusFormula(Session& session, int index, const std::string& formula, bool with_percent,
                         Prompter& prompter) {
  if (session.month_closed()) {
    prompter.Message(MessageKind::kWarning, kMonthClosedMessage);
    return false;
  }
  if (auto refusal = FormulaRefusal(index, formula, 0)) {
    prompter.Message(MessageKind::kWarning, *refusal);
    return false;
  }
  engine::CompanyParameters values = session.parameters().company;
  const bool changed = (values.spor[index].ProcF != 0) != with_percent;
  values.spor[index].Form = formula;
  values.spor[index].ProcF = with_percent ? 1 : 0;
  SaveCompanyEditAlone(session, values, false, nullptr, [&] {
    if (changed) ClearBonusInput(session, index);
  });
  return true;
}

bool ConfirmHolidayPayFormula(Session& session, const std::string& formula, double months,
                              Prompter& prompter) {
  if (session.month_closed()) {
    prompter.Message(MessageKind::kWarning, kMonthClosedMessage);
    return false;
  }
  if (auto refusal = FormulaRefusal(-1, formula, months)) {
    prompter.Message(MessageKind::kWarning, *refusal);
    return false;
  }
  engine::CompanyParameters values = session.parameters().company;
  values.CO_Form = Trim(formula);
  values.LuniCO = months;
  SaveCompanyEditAlone(session, values, false, nullptr);
  return true;
}

ConfirmResult ConfirmExemptSums(Session& session, const engine::ExemptSetting& pensie,
                                const engine::ExemptSetting& sanatate,
                                const engine::ExemptSetting& impozit,
                                const engine::ExemptSetting& firma, Prompter& prompter,
                                ProgressReporter& progress) {
  if (session.month_closed()) {
    prompter.Message(MessageKind::kWarning, kMonthClosedMessage);
    return {false, ""};
  }
  ConfirmResult checked = CheckExemptSettings(pensie, sanatate, impozit, prompter);
  if (!checked.confirmed) return checked;
  WarnWhenNotLastMonth(session, prompter);
  engine::CompanyParameters values = session.parameters().company;
  values.Ex_Pensie = pensie;
  values.Ex_Sanatate = sanatate;
  values.Ex_Impozit = impozit;
  values.Ex_Firma = firma;
  SaveCompanyEditAlone(session, values, true, &progress);
  return {true, ""};
}

void ConfirmDeductionNames(Session& session, const std::array<std::string, 6>& names) {
  engine::CompanyParameters values = session.parameters().company;
  std::string* fields[6] = {&values.Den_PrIncas, &values.Den_AvansCO, &values.Den_Retineri,
                            &values.Den_Popriri, &values.Den_AlteRet, &values.Den_Garantii};
  for (int i = 0; i < 6; ++i) *fields[i] = Truncate(names[i], 15);
  SaveCompanyEditAlone(session, values, false, nullptr);
}

}  // namespace traveno::params
