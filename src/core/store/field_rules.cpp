#include "core/store/field_rules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/numbers.h"
#include "core/text.h"

namespace traveno {
namespace {

// The kinds of values the fields hold.
constexpr ValueRule Number(double min, double max) { return {ValueKind::kNumber, min, max}; }
constexpr ValueRule Whole(double min, double max) { return {ValueKind::kWhole, min, max}; }
constexpr ValueRule Code(int first, int last) {
  return {ValueKind::kCode, double(first), double(last)};
}

// An amount in lei that a correction may make negative.
constexpr ValueRule kAmount = Number(-kMaxAmount, kMaxAmount);
// An amount that is never negative.
constexpr ValueRule kPositiveAmount = Number(0, kMaxAmount);
constexpr ValueRule kPercent = Number(0, 100);
// A bonus percentage (overtime paid double is 100 %, triple 200 %).
constexpr ValueRule kBonusPercent = Number(0, 1000);
// Time of a month in hours (31 days of 24 hours) or in days.
constexpr ValueRule kMonthTime = Number(0, 744);
constexpr ValueRule kDays = Number(0, 31);
constexpr ValueRule kWholeDays = Whole(0, 31);
// A deduction coefficient: a fraction of the basic personal deduction.
constexpr ValueRule kCoefficient = Number(0, 100);
constexpr ValueRule kFlag = Code(0, 1);
// A switch the month transition or the pension base reads as "1 on, any other
// value off": a small whole number.
constexpr ValueRule kSwitch = Whole(0, 9);
constexpr ValueRule kIdentityRule = {ValueKind::kIdentity, 0, 2147483647};
constexpr ValueRule kDateRule = {ValueKind::kDate};

constexpr std::string_view kKinds[] = {"1", "2"};
constexpr std::string_view kTextFlags[] = {"", "0", "1"};
constexpr std::string_view kIncomeKinds[] = {"", "0", "1", "2", "3", "4", "5", "6", "7"};
constexpr std::string_view kYesNo[] = {"", "DA", "NU"};

ValueRule TextCode(int width, std::span<const std::string_view> texts = {}) {
  return {ValueKind::kTextCode, 0, 0, width, texts};
}

// What a field holds when the table below says nothing more: a text its
// width, an integer its type's range, a double an amount.
ValueRule DefaultRule(const FieldDef& field) {
  switch (field.kind) {
    case FieldKind::kAutoInc:
      return kIdentityRule;
    case FieldKind::kDate:
      return kDateRule;
    case FieldKind::kInt16:
      return Whole(-32768, 32767);
    case FieldKind::kInt32:
      return Whole(-2147483648.0, 2147483647.0);
    case FieldKind::kDouble:
      return kAmount;
    case FieldKind::kText:
      return {ValueKind::kText, 0, 0, field.width};
    case FieldKind::kBlob:
      return {ValueKind::kAny};
  }
  return {ValueKind::kAny};
}

using Overrides = std::vector<std::pair<std::string_view, ValueRule>>;

// The employees' rows. Amounts typed or computed keep the default (an
// amount of either sign); what follows is everything narrower.
Overrides PersRules() {
  return {
      {"IID", kIdentityRule},
      {"TIP", TextCode(1, kKinds)},
      {"SALINC", kPositiveAmount},
      {"TIMP", kMonthTime},
      {"TIMP_SPL", kMonthTime},
      {"TIMP_NOAPTE", kMonthTime},
      {"ZILE_CO", kDays},
      {"ZILE_FP", kWholeDays},
      {"ZILE_CM", kWholeDays},
      {"ZILE_CIC", kWholeDays},
      {"CATEGORIE", Whole(0, 32767)},
      {"MARCA", Whole(0, 2147483647.0)},
      // The piece-work mark: any one letter, which the posting normalises.
      {"CoefInd", kCoefficient},
      {"CoefInd1", kCoefficient},
      {"INVALIDITATE", Code(0, 2)},
      {"ALT_VENIT", kFlag},
      {"Depart", TextCode(8)},
      {"fisa_rectif", TextCode(1, kTextFlags)},
      {"fisa_regul", TextCode(1, kIncomeKinds)},
      {"Domiciliu_ext", TextCode(1, kTextFlags)},
      {"BifaSom", kFlag},
      {"PlatitOra", kFlag},
      {"Ore_Zi", Number(0, 24)},
      {"ProcImpo", kPercent},
      {"Pensionar", kFlag},
      {"NORMA", Whole(0, 24)},
  };
}

Overrides PintRules() {
  return {
      {"IID", kIdentityRule},       {"AiPers", kIdentityRule}, {"Calitate", Code(0, 3)},
      {"Invaliditate", Code(0, 2)}, {"Coef", kCoefficient},
  };
}

Overrides FirmeRules() {
  return {{"Cod", TextCode(8)}, {"TipAngaj", Code(1, 2)}, {"NrI", Whole(0, 2147483647.0)}};
}

Overrides ImpoRules() {
  return {{"P_Venit", kPositiveAmount}, {"V_Const", kPositiveAmount}, {"V_Proc", kPercent}};
}

Overrides ParameterRowRules() {
  ValueRule month = kDateRule;
  month.no_working_month = true;
  return {{"Den", TextCode(12)}, {"Luna", month}};
}

Overrides PozeRules() { return {{"IID", kIdentityRule}}; }

template <typename Row>
std::vector<ValueRule> BuildRules(const Overrides& overrides) {
  const auto fields = FieldsOf<Row>();
  std::vector<ValueRule> rules;
  rules.reserve(fields.size());
  for (const FieldDef& field : fields) rules.push_back(DefaultRule(field));
  for (const auto& [name, rule] : overrides) {
    const auto index = FindField<Row>(name);
    if (!index) throw std::logic_error("No field " + std::string(name) + " for its rule");
    ValueRule narrowed = rule;
    if (narrowed.kind == ValueKind::kTextCode) narrowed.width = fields[*index].width;
    rules[*index] = narrowed;
  }
  return rules;
}

template <typename Row>
const std::vector<ValueRule>& RulesOf();

#define TRAVENO_RULES(Row, overrides)                                          \
  template <>                                                                  \
  const std::vector<ValueRule>& RulesOf<Row>() {                               \
    static const std::vector<ValueRule> kRules = BuildRules<Row>(overrides()); \
    return kRules;                                                             \
  }

TRAVENO_RULES(PersRow, PersRules)
TRAVENO_RULES(PintRow, PintRules)
TRAVENO_RULES(FirmeRow, FirmeRules)
TRAVENO_RULES(ImpoRow, ImpoRules)
TRAVENO_RULES(ParaRow, ParameterRowRules)
TRAVENO_RULES(ParFRow, ParameterRowRules)
TRAVENO_RULES(PozeRow, PozeRules)

#undef TRAVENO_RULES

// The general parameters: rates in percent, amounts in lei, coefficients.
std::span<const std::pair<std::string_view, ValueRule>> GeneralRules() {
  static const std::pair<std::string_view, ValueRule> kRules[] = {
      {"SomajAng", kPercent},
      {"SomajCol", kPercent},
      {"SanatateAng", kPercent},
      {"Pensie", kPercent},
      {"SomajFirm", kPercent},
      {"SanatateFirm", kPercent},
      {"CAS", kPercent},
      {"Handicap", kPercent},
      {"PersHandi", kPercent},
      {"Invat", kPercent},
      {"BazaInvat", kFlag},
      {"Accident", kPercent},
      {"DedBaza", kPositiveAmount},
      {"CheltProf", kPositiveAmount},
      {"ProcChProf", kPercent},
      {"DedAnuala", kPositiveAmount},
      {"SotSotie", kCoefficient},
      {"DoiCopii", kCoefficient},
      {"RestCopii", kCoefficient},
      {"AltePers", kCoefficient},
      {"InvalidI", kCoefficient},
      {"InvalidII", kCoefficient},
      {"CoefMax", kCoefficient},
      {"SalMedEc", kPositiveAmount},
      {"SalMinEc", kPositiveAmount},
      {"LimCIC", kPositiveAmount},
      {"VERIFPINT", kFlag},
  };
  return kRules;
}

const ValueRule* FindGeneralRule(std::string_view name) {
  for (const auto& [known, rule] : GeneralRules()) {
    if (EqualsIgnoreCase(known, name)) return &rule;
  }
  return nullptr;
}

// The company parameters; the pay slips' layout TipFluturasi is a switch too:
// 1 one copy, 2 or 0 two, any other value none.
const std::vector<std::pair<std::string, ValueRule>>& CompanyRules() {
  static const std::vector<std::pair<std::string, ValueRule>> kRules = [] {
    std::vector<std::pair<std::string, ValueRule>> rules = {
        {"ComisionCM", kPercent},
        {"TimpLuna", kMonthTime},
        {"TimpZile", kFlag},
        {"MedieOre", kMonthTime},
        {"SporNoapte", kBonusPercent},
        {"CoefCO", kDays},
        {"ProcOreSupli", kBonusPercent},
        {"ZiLichidare", Whole(1, 31)},
        {"PagColab", kFlag},
        {"StatAscUnic", kFlag},
        {"TipFluturasi", kSwitch},
        {"LuniCO", Whole(0, 60)},
        {"Deschisa", kFlag},
        {"Ex_Pensie", kPercent},
        {"Ex_Sanatate", kPercent},
        {"Ex_Impozit", kPercent},
        {"Ex_Firma", kPercent},
    };
    for (const char* name :
         {"OreSupl",  "SporProc",    "OreNoapte",  "CO",           "AlteSume",     "Sporuri",
          "Prime",    "CMFirm",      "CIC",        "CMStat",       "Regularizare", "Timp",
          "Timp_spl", "InitPrime",   "InitPr_va",  "Cm1l",         "Cm2l",         "Avans",
          "Retineri", "Timp_Noapte", "Zile_Co",    "InitAlteSume", "InitCIC",      "Popriri",
          "Garantii", "Alte_Ret",    "Prime_inc",  "Avans_Co",     "Zile_Fp",      "Zile_Cm",
          "Zile_CIC", "InitSporuri", "SumeExcept", "ProcImpo"}) {
      rules.push_back({name, kSwitch});
    }
    for (int i = 1; i <= 4; ++i) {
      const std::string n = std::to_string(i);
      rules.push_back({"Spor" + n + "_Apl", Code(0, 5)});
      rules.push_back({"Spor_Perm" + n, kFlag});
      rules.push_back({"Spor" + n + "_CO", kFlag});
      rules.push_back({"Spor" + n + "_ProcF", kFlag});
      rules.push_back({"Spor" + n + "_Init", kSwitch});
    }
    return rules;
  }();
  return kRules;
}

const ValueRule* FindCompanyRule(std::string_view name) {
  for (const auto& [known, rule] : CompanyRules()) {
    if (known == name) return &rule;
  }
  return nullptr;
}

std::string CodeList(const ValueRule& rule) {
  std::string list;
  for (int code = static_cast<int>(rule.min); code <= static_cast<int>(rule.max); ++code) {
    if (!list.empty()) list += code == static_cast<int>(rule.max) ? " sau " : ", ";
    list += std::to_string(code);
  }
  return list;
}

std::string TextList(std::span<const std::string_view> texts) {
  std::string list;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (!list.empty()) list += i + 1 == texts.size() ? " sau " : ", ";
    list += texts[i].empty() ? "gol" : "\"" + std::string(texts[i]) + "\"";
  }
  return list;
}

std::string RefuseNumber(std::string_view label, const ValueRule& rule, double value) {
  if (!std::isfinite(value)) {
    return "Valoarea pentru " + std::string(label) + " nu este un numar !";
  }
  const bool whole = rule.kind != ValueKind::kNumber;
  if (value >= rule.min && value <= rule.max && (!whole || value == std::trunc(value))) {
    return {};
  }
  const std::string shown = NumberInMessage(value);
  if (rule.kind == ValueKind::kCode) {
    return "Valoarea " + shown + " nu este permisa pentru " + std::string(label) + ": se accepta " +
           CodeList(rule) + " !";
  }
  return "Valoarea " + shown + " nu este permisa pentru " + std::string(label) + ": se accepta " +
         (whole ? "numere intregi" : "valori") + " intre " + NumberInMessage(rule.min) + " si " +
         NumberInMessage(rule.max) + " !";
}

std::string RefuseText(std::string_view label, const ValueRule& rule, const std::string& text) {
  if (!IsValidUtf8(text)) {
    return "Textul pentru " + std::string(label) +
           " contine caractere nepermise (nu este scris in UTF-8) !";
  }
  if (HasControlCharacter(text)) {
    return "Textul pentru " + std::string(label) +
           " nu poate contine caractere de control (de exemplu un sfarsit de rand) !";
  }
  if (rule.width > 0 && CharCount(text) > static_cast<std::size_t>(rule.width)) {
    return "Textul pentru " + std::string(label) + " are mai mult de " +
           std::to_string(rule.width) + " caractere !";
  }
  if (!rule.texts.empty()) {
    for (std::string_view allowed : rule.texts) {
      if (text == allowed) return {};
    }
    return "Valoarea \"" + text + "\" nu este permisa pentru " + std::string(label) +
           ": se accepta " + TextList(rule.texts) + " !";
  }
  return {};
}

}  // namespace

template <typename Row>
const ValueRule& RuleOf(std::size_t index) {
  return RulesOf<Row>().at(index);
}

const ValueRule& GeneralParameterRule(std::string_view name) {
  if (const ValueRule* rule = FindGeneralRule(name)) return *rule;
  return kAmount;
}

const ValueRule& CompanyParameterRule(std::string_view name) {
  if (const ValueRule* rule = FindCompanyRule(name)) return *rule;
  return kAmount;
}

std::vector<std::string> RuledGeneralParameters() {
  std::vector<std::string> names;
  for (const auto& [name, rule] : GeneralRules()) names.emplace_back(name);
  return names;
}

std::vector<std::string> RuledCompanyParameters() {
  std::vector<std::string> names;
  for (const auto& [name, rule] : CompanyRules()) names.push_back(name);
  return names;
}

ValueRule PayDayRule(Date month) {
  const Date next = FirstOfNextMonth(month);
  return Whole(1, DaysInMonth(next.year(), next.month()));
}

const ValueRule& CompanyParameterTextRule(std::string_view name) {
  static const ValueRule kCaption = {ValueKind::kText, 0, 0, 15};
  static const ValueRule kDepartmentName = {ValueKind::kText, 0, 0, 30};
  static const ValueRule kExemptFlag = {ValueKind::kTextCode, 0, 0, 60, kYesNo, true};
  static const ValueRule kText = {ValueKind::kText, 0, 0, 60};
  if (name.starts_with("Den_")) return kCaption;
  if (name.starts_with("DEP_")) return kDepartmentName;
  if (name.starts_with("Ex_")) return kExemptFlag;
  return kText;
}

std::string NumberInMessage(double value) {
  if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15) {
    return FormatNumber(value, NumberMask::kInteger);
  }
  return FloatToText(value);
}

std::string RefusalOf(std::string_view label, const ValueRule& rule, const FieldValue& value) {
  switch (rule.kind) {
    case ValueKind::kAny:
      return {};
    case ValueKind::kNumber:
    case ValueKind::kWhole:
    case ValueKind::kCode:
    case ValueKind::kIdentity: {
      double number = 0;
      if (const auto* d = std::get_if<double>(&value)) {
        number = *d;
      } else if (const auto* i = std::get_if<std::int64_t>(&value)) {
        number = static_cast<double>(*i);
      } else {
        return "Valoarea pentru " + std::string(label) + " nu este un numar !";
      }
      return RefuseNumber(label, rule, number);
    }
    case ValueKind::kText:
    case ValueKind::kTextCode: {
      const auto* text = std::get_if<std::string>(&value);
      if (text == nullptr) return "Valoarea pentru " + std::string(label) + " nu este un text !";
      return RefuseText(label, rule, rule.upper_trimmed ? UpperTrim(*text) : *text);
    }
    case ValueKind::kDate: {
      const auto* date = std::get_if<Date>(&value);
      if (date == nullptr) return "Valoarea pentru " + std::string(label) + " nu este o data !";
      if (date->IsEmpty() || (date->year() >= 1900 && date->year() <= 2999)) return {};
      if (rule.no_working_month && *date == NoWorkingMonth()) return {};
      return "Data " + date->ToText() + " nu este permisa pentru " + std::string(label) +
             ": se accepta datele anilor 1900 - 2999 !";
    }
  }
  return {};
}

void RequireValue(std::string_view label, const ValueRule& rule, const FieldValue& value) {
  const std::string refusal = RefusalOf(label, rule, value);
  if (!refusal.empty()) throw ValueRefused(refusal);
}

template <typename Row>
void RequireRowValues(const Row& row) {
  const auto fields = FieldsOf<Row>();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    RequireValue(std::string("campul ") + fields[i].name, RuleOf<Row>(i), GetField(row, i));
  }
}

template <typename Row>
void RequireChangedValues(const Row& before, const Row& after) {
  RequireFieldValues(after, ChangedFields(before, after));
}

template <typename Row>
void RequireFieldValues(const Row& row, const FieldMask& fields) {
  if (fields.none()) return;
  const auto defs = FieldsOf<Row>();
  for (std::size_t i = 0; i < defs.size(); ++i) {
    if (!fields.test(i)) continue;
    // The label costs nothing unless the value is refused.
    char label[64];
    const int size = std::snprintf(label, sizeof label, "campul %s", defs[i].name);
    RequireValue(std::string_view(label, static_cast<std::size_t>(std::min<int>(
                                             size, static_cast<int>(sizeof label) - 1))),
                 RuleOf<Row>(i), GetField(row, i));
  }
}

#define TRAVENO_INSTANTIATE(Row)                                   \
  template const ValueRule& RuleOf<Row>(std::size_t);              \
  template void RequireRowValues<Row>(const Row&);                 \
  template void RequireChangedValues<Row>(const Row&, const Row&); \
  template void RequireFieldValues<Row>(const Row&, const FieldMask&);

TRAVENO_INSTANTIATE(FirmeRow)
TRAVENO_INSTANTIATE(ParaRow)
TRAVENO_INSTANTIATE(ImpoRow)
TRAVENO_INSTANTIATE(PersRow)
TRAVENO_INSTANTIATE(PintRow)
TRAVENO_INSTANTIATE(ParFRow)
TRAVENO_INSTANTIATE(PozeRow)

#undef TRAVENO_INSTANTIATE

}  // namespace traveno
