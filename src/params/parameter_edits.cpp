#include "params/parameter_edits.h"

#include "core/store/sqlite.h"
#include "core/text.h"
#include "params/holidays.h"
#include "params/parameter_store.h"
#include "params/recalculate.h"

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

}  // namespace

double ProfessionalExpenses(double ded_baza, double coefficient) {
  return ded_baza * coefficient / 100;
}

void ConfirmGeneralParameters(Session& session, const engine::GeneralParameters& values,
                              Prompter& prompter, ProgressReporter& progress) {
  if (HasLaterGeneralMonth(session.db(), session.working_month())) {
    prompter.Message(MessageKind::kWarning, kLaterMonthsWarning);
  }
  session.parameters().general = values;
  SaveGeneralParameters(session.db(), session.working_month(), values);
  RecalculateMonth(session, progress);
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

ConfirmResult ConfirmCompanyParameters(Session& session, const engine::CompanyParameters& values,
                                       const std::array<bool, 4>& formula_opened,
                                       Prompter& prompter, ProgressReporter& progress) {
  if (session.month_closed()) {
    prompter.Message(MessageKind::kWarning, kMonthClosedMessage);
    return {false, ""};
  }
  const engine::CompanyParameters& before = session.parameters().company;
  WarnWhenNotLastMonth(session, prompter);
  const Date next = FirstOfNextMonth(session.working_month());
  if (values.ZiLichidare > DaysInMonth(next.year(), next.month())) {
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
  {
    Transaction tx(session.db());
    for (int i = 0; i < 4; ++i) {
      if (KindChangeClearsInput(before.spor[i].Apl, values.spor[i].Apl)) {
        ClearBonusInput(session, i);
      }
    }
    SaveCompanyParameters(session.db(), session.working_month(), values);
    tx.Commit();
  }
  engine::CompanyParameters stored = values;
  stored.departments = before.departments;
  session.parameters().company = std::move(stored);
  RecalculateMonth(session, progress);
  return {true, ""};
}

bool ConfirmBonusFormula(Session& session, int index, const std::string& formula, bool with_percent,
                         Prompter& prompter) {
  if (session.month_closed()) {
    prompter.Message(MessageKind::kWarning, kMonthClosedMessage);
    return false;
  }
  engine::CompanyParameters values = session.parameters().company;
  const double proc_f = with_percent ? 1 : 0;
  const bool changed = (values.spor[index].ProcF != 0) != with_percent;
  values.spor[index].Form = formula;
  values.spor[index].ProcF = proc_f;
  {
    Transaction tx(session.db());
    if (changed) ClearBonusInput(session, index);
    SaveCompanyParameters(session.db(), session.working_month(), values);
    tx.Commit();
  }
  session.parameters().company = std::move(values);
  return true;
}

bool ConfirmHolidayPayFormula(Session& session, const std::string& formula, double months,
                              Prompter& prompter) {
  if (session.month_closed()) {
    prompter.Message(MessageKind::kWarning, kMonthClosedMessage);
    return false;
  }
  engine::CompanyParameters values = session.parameters().company;
  values.CO_Form = Trim(formula);
  values.LuniCO = months;
  SaveCompanyParameters(session.db(), session.working_month(), values);
  session.parameters().company = std::move(values);
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
  WarnWhenNotLastMonth(session, prompter);
  engine::CompanyParameters values = session.parameters().company;
  values.Ex_Pensie = pensie;
  values.Ex_Sanatate = sanatate;
  values.Ex_Impozit = impozit;
  values.Ex_Firma = firma;
  SaveCompanyParameters(session.db(), session.working_month(), values);
  session.parameters().company = std::move(values);
  RecalculateMonth(session, progress);
  return {true, ""};
}

void ConfirmDeductionNames(Session& session, const std::array<std::string, 6>& names) {
  engine::CompanyParameters values = session.parameters().company;
  std::string* fields[6] = {&values.Den_PrIncas, &values.Den_AvansCO, &values.Den_Retineri,
                            &values.Den_Popriri, &values.Den_AlteRet, &values.Den_Garantii};
  for (int i = 0; i < 6; ++i) *fields[i] = Truncate(names[i], 15);
  SaveCompanyParameters(session.db(), session.working_month(), values);
  session.parameters().company = std::move(values);
}

}  // namespace traveno::params
