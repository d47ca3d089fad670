// The rules of the stored values, the text checks they use, the settings
// file's single lines, the error file's limits and the register purge's
// question and copy.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <set>
#include <sstream>

#include "core/data_folder.h"
#include "core/error_report.h"
#include "core/ini_file.h"
#include "core/numbers.h"
#include "core/store/field_rules.h"
#include "core/store/store.h"
#include "core/text.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_folder.h"

namespace traveno {
namespace {

namespace fs = std::filesystem;
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

template <typename Row>
void ExpectEveryNumberRefusesInfinityAndNaN(const char* table) {
  const auto fields = FieldsOf<Row>();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const FieldKind kind = fields[i].kind;
    if (kind == FieldKind::kText || kind == FieldKind::kDate || kind == FieldKind::kBlob) continue;
    for (double value : {kInfinity, -kInfinity, kNaN}) {
      EXPECT_FALSE(RefusalOf("x", RuleOf<Row>(i), FieldValue(value)).empty())
          << table << "." << fields[i].name << " takes " << value;
    }
  }
}

TEST(ValueRulesTest, NoNumericFieldTakesAnInfinityOrANaN) {
  ExpectEveryNumberRefusesInfinityAndNaN<PersRow>("Pers");
  ExpectEveryNumberRefusesInfinityAndNaN<PintRow>("Pint");
  ExpectEveryNumberRefusesInfinityAndNaN<FirmeRow>("Firme");
  ExpectEveryNumberRefusesInfinityAndNaN<ImpoRow>("Impo");
  ExpectEveryNumberRefusesInfinityAndNaN<ParFRow>("ParF");
  for (const char* name : {"CAS", "DedBaza", "SotSotie", "VERIFPINT", "NoSuchParameter"}) {
    EXPECT_FALSE(RefusalOf("x", GeneralParameterRule(name), FieldValue(kNaN)).empty()) << name;
  }
  for (const char* name : {"TimpLuna", "Spor1_Apl", "Ex_Pensie", "Avans", "RestSanA"}) {
    EXPECT_FALSE(RefusalOf("x", CompanyParameterRule(name), FieldValue(kInfinity)).empty()) << name;
  }
}

TEST(ValueRulesTest, EachKindAtItsEdgesAndOneStepPast) {
  auto pers = [](const char* name) -> const ValueRule& {
    return RuleOf<PersRow>(*FindField<PersRow>(name));
  };
  struct Case {
    const char* what;
    const ValueRule& rule;
    FieldValue value;
    bool allowed;
  };
  const Case kCases[] = {
      {"amount at 0", pers("SALINC"), FieldValue(0.0), true},
      {"amount at its bound", pers("SALINC"), FieldValue(kMaxAmount), true},
      {"amount below 0", pers("SALINC"), FieldValue(-0.01), false},
      {"amount past its bound", pers("SALINC"), FieldValue(kMaxAmount * 1.0000001), false},
      {"signed amount below 0", pers("Dif_Brut"), FieldValue(-kMaxAmount), true},
      {"signed amount past its bound", pers("Dif_Brut"), FieldValue(-kMaxAmount * 1.0000001),
       false},
      {"whole days at 31", pers("ZILE_FP"), FieldValue(std::int64_t{31}), true},
      {"whole days at 32", pers("ZILE_FP"), FieldValue(std::int64_t{32}), false},
      {"whole days with a fraction", pers("ZILE_FP"), FieldValue(2.5), false},
      {"days with a fraction", pers("ZILE_CO"), FieldValue(2.5), true},
      {"percentage at 100", pers("ProcImpo"), FieldValue(100.0), true},
      {"percentage past 100", pers("ProcImpo"), FieldValue(100.01), false},
      {"code at its last", pers("INVALIDITATE"), FieldValue(std::int64_t{2}), true},
      {"code past its last", pers("INVALIDITATE"), FieldValue(std::int64_t{3}), false},
      {"code below its first", pers("INVALIDITATE"), FieldValue(std::int64_t{-1}), false},
      {"text code from its list", pers("TIP"), FieldValue(std::string("2")), true},
      {"text code off its list", pers("TIP"), FieldValue(std::string("3")), false},
      {"department code of 8", pers("Depart"), FieldValue(std::string("ABCDEFGH")), true},
      {"department code of 9", pers("Depart"), FieldValue(std::string("ABCDEFGHI")), false},
      {"text at its width", pers("NUME"), FieldValue(std::string("ŞTEFĂNESCU") + "XXXXXXXXXX"),
       true},
      {"text past its width", pers("NUME"), FieldValue(std::string(21, 'X')), false},
      {"text not in UTF-8", pers("NUME"), FieldValue(std::string("POP\xC3")), false},
      {"text with a line break", pers("NUME"), FieldValue(std::string("POP\nESCU")), false},
      {"empty date", pers("DATA_ANG"), FieldValue(Date()), true},
      {"date of 2999", pers("DATA_ANG"), FieldValue(Date::FromYmd(2999, 12, 31)), true},
      {"date of 3000", pers("DATA_ANG"), FieldValue(Date::FromYmd(3000, 1, 1)), false},
      {"general rate at 100 %", GeneralParameterRule("cas"), FieldValue(100.0), true},
      {"general rate past 100 %", GeneralParameterRule("CAS"), FieldValue(100.5), false},
      {"bonus kind 5", CompanyParameterRule("Spor2_Apl"), FieldValue(5.0), true},
      {"bonus kind 6", CompanyParameterRule("Spor2_Apl"), FieldValue(6.0), false},
      {"pay day 31", CompanyParameterRule("ZiLichidare"), FieldValue(31.0), true},
      {"pay day 0", CompanyParameterRule("ZiLichidare"), FieldValue(0.0), false},
      {"exempt flag in any case", CompanyParameterTextRule("Ex_Pensie"),
       FieldValue(std::string(" nu ")), true},
      {"exempt flag of another word", CompanyParameterTextRule("Ex_Pensie"),
       FieldValue(std::string("POATE")), false},
      {"deduction caption of 16", CompanyParameterTextRule("Den_Popriri"),
       FieldValue(std::string(16, 'X')), false},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(RefusalOf("campul X", c.rule, c.value).empty(), c.allowed) << c.what;
  }
}

// What every stored field and every parameter may hold, kept here apart
// from the program's table of rules so that a bound changed there (or a
// field left out) shows: the kind, the range or width, and the texts of a
// code. A field not named takes what its stored type allows: an amount of
// either sign, the whole range of its integer, a text of its width.
struct Expected {
  ValueKind kind;
  double min = 0;
  double max = 0;
  std::vector<std::string> texts = {};
};

constexpr double kInt32Max = 2147483647.0;
const Expected kIdentity{ValueKind::kIdentity, 0, kInt32Max};
const Expected kSignedAmount{ValueKind::kNumber, -kMaxAmount, kMaxAmount};
const Expected kAmount{ValueKind::kNumber, 0, kMaxAmount};
const Expected kPercentage{ValueKind::kNumber, 0, 100};
const Expected kCoefficient{ValueKind::kNumber, 0, 100};
const Expected kFlagCode{ValueKind::kCode, 0, 1};
const Expected kSwitchValue{ValueKind::kWhole, 0, 9};
const Expected kMonthHours{ValueKind::kNumber, 0, 744};

Expected TextCodeOf(std::vector<std::string> texts = {}) {
  return {ValueKind::kTextCode, 0, 0, std::move(texts)};
}

using Expectations = std::map<std::string, Expected>;

const Expectations& PersExpected() {
  static const Expectations kExpected = {
      {"Nr", kIdentity},
      {"IID", kIdentity},
      {"TIP", TextCodeOf({"1", "2"})},
      {"SALINC", kAmount},
      {"TIMP", kMonthHours},
      {"TIMP_SPL", kMonthHours},
      {"TIMP_NOAPTE", kMonthHours},
      {"ZILE_CO", {ValueKind::kNumber, 0, 31}},
      {"ZILE_FP", {ValueKind::kWhole, 0, 31}},
      {"ZILE_CM", {ValueKind::kWhole, 0, 31}},
      {"ZILE_CIC", {ValueKind::kWhole, 0, 31}},
      {"CATEGORIE", {ValueKind::kWhole, 0, 32767}},
      {"MARCA", {ValueKind::kWhole, 0, kInt32Max}},
      {"CoefInd", kCoefficient},
      {"CoefInd1", kCoefficient},
      {"INVALIDITATE", {ValueKind::kCode, 0, 2}},
      {"ALT_VENIT", kFlagCode},
      {"Depart", TextCodeOf()},
      {"fisa_rectif", TextCodeOf({"", "0", "1"})},
      {"fisa_regul", TextCodeOf({"", "0", "1", "2", "3", "4", "5", "6", "7"})},
      {"Domiciliu_ext", TextCodeOf({"", "0", "1"})},
      {"BifaSom", kFlagCode},
      {"PlatitOra", kFlagCode},
      {"Ore_Zi", {ValueKind::kNumber, 0, 24}},
      {"ProcImpo", kPercentage},
      {"Pensionar", kFlagCode},
      {"NORMA", {ValueKind::kWhole, 0, 24}},
  };
  return kExpected;
}

const Expectations& PintExpected() {
  static const Expectations kExpected = {
      {"Nr", kIdentity},
      {"IID", kIdentity},
      {"AiPers", kIdentity},
      {"Calitate", {ValueKind::kCode, 0, 3}},
      {"Invaliditate", {ValueKind::kCode, 0, 2}},
      {"Coef", kCoefficient},
  };
  return kExpected;
}

const Expectations& FirmeExpected() {
  static const Expectations kExpected = {
      {"CodF", kIdentity},
      {"Cod", TextCodeOf()},
      {"TipAngaj", {ValueKind::kCode, 1, 2}},
      {"NrI", {ValueKind::kWhole, 0, kInt32Max}},
  };
  return kExpected;
}

const Expectations& ImpoExpected() {
  static const Expectations kExpected = {
      {"Nr", kIdentity}, {"P_Venit", kAmount}, {"V_Const", kAmount}, {"V_Proc", kPercentage}};
  return kExpected;
}

const Expectations& ParameterRowExpected() {
  static const Expectations kExpected = {{"Nr", kIdentity}, {"Den", TextCodeOf()}};
  return kExpected;
}

const Expectations& PozeExpected() {
  static const Expectations kExpected = {{"Nr", kIdentity}, {"IID", kIdentity}};
  return kExpected;
}

const Expectations& GeneralParametersExpected() {
  static const Expectations kExpected = [] {
    Expectations expected;
    for (const char* name : {"SomajAng", "SomajCol", "SanatateAng", "Pensie", "SomajFirm",
                             "SanatateFirm", "CAS", "Handicap", "PersHandi", "Invat", "Accident",
                             "ProcChProf"}) {
      expected[name] = kPercentage;
    }
    for (const char* name : {"DedBaza", "CheltProf", "DedAnuala", "SalMedEc", "SalMinEc", "LimCIC"})
      expected[name] = kAmount;
    for (const char* name : {"SotSotie", "DoiCopii", "RestCopii", "AltePers", "InvalidI",
                             "InvalidII", "CoefMax"}) {
      expected[name] = kCoefficient;
    }
    expected["BazaInvat"] = kFlagCode;
    expected["VERIFPINT"] = kFlagCode;
    return expected;
  }();
  return kExpected;
}

const Expectations& CompanyParametersExpected() {
  static const Expectations kExpected = [] {
    Expectations expected = {
        {"ComisionCM", kPercentage},
        {"TimpLuna", kMonthHours},
        {"TimpZile", kFlagCode},
        {"MedieOre", kMonthHours},
        {"SporNoapte", {ValueKind::kNumber, 0, 1000}},
        {"CoefCO", {ValueKind::kNumber, 0, 31}},
        {"ProcOreSupli", {ValueKind::kNumber, 0, 1000}},
        {"ZiLichidare", {ValueKind::kWhole, 1, 31}},
        {"PagColab", kFlagCode},
        {"StatAscUnic", kFlagCode},
        {"TipFluturasi", kSwitchValue},
        {"LuniCO", {ValueKind::kWhole, 0, 60}},
        {"Deschisa", kFlagCode},
        {"Ex_Pensie", kPercentage},
        {"Ex_Sanatate", kPercentage},
        {"Ex_Impozit", kPercentage},
        {"Ex_Firma", kPercentage},
    };
    for (const char* name :
         {"OreSupl",  "SporProc",    "OreNoapte",  "CO",           "AlteSume",     "Sporuri",
          "Prime",    "CMFirm",      "CIC",        "CMStat",       "Regularizare", "Timp",
          "Timp_spl", "InitPrime",   "InitPr_va",  "Cm1l",         "Cm2l",         "Avans",
          "Retineri", "Timp_Noapte", "Zile_Co",    "InitAlteSume", "InitCIC",      "Popriri",
          "Garantii", "Alte_Ret",    "Prime_inc",  "Avans_Co",     "Zile_Fp",      "Zile_Cm",
          "Zile_CIC", "InitSporuri", "SumeExcept", "ProcImpo"}) {
      expected[name] = kSwitchValue;
    }
    for (int i = 1; i <= 4; ++i) {
      const std::string n = std::to_string(i);
      expected["Spor" + n + "_Apl"] = {ValueKind::kCode, 0, 5};
      expected["Spor_Perm" + n] = kFlagCode;
      expected["Spor" + n + "_CO"] = kFlagCode;
      expected["Spor" + n + "_ProcF"] = kFlagCode;
      expected["Spor" + n + "_Init"] = kSwitchValue;
    }
    return expected;
  }();
  return kExpected;
}

// What a field's stored type allows when the expectations name nothing more.
Expected TypeExpected(const FieldDef& field) {
  switch (field.kind) {
    case FieldKind::kAutoInc:
      return kIdentity;
    case FieldKind::kDate:
      return {ValueKind::kDate};
    case FieldKind::kInt16:
      return {ValueKind::kWhole, -32768, 32767};
    case FieldKind::kInt32:
      return {ValueKind::kWhole, -kInt32Max - 1, kInt32Max};
    case FieldKind::kDouble:
      return kSignedAmount;
    case FieldKind::kText:
      return {ValueKind::kText};
    case FieldKind::kBlob:
      return {ValueKind::kAny};
  }
  return {ValueKind::kAny};
}

// A text of `count` characters, each two bytes in UTF-8: a width counts
// characters.
std::string Letters(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "Ş";
  return text;
}

struct Probe {
  FieldValue value;
  bool allowed;
  std::string what;
};

// The values that try a rule at both edges of its range and one step past
// each (for a text, its width; for a code of texts, each text and one off
// the list), and a fraction inside a range of whole numbers.
std::vector<Probe> Probes(const Expected& expected, int width) {
  std::vector<Probe> probes;
  auto number = [&](double value, bool allowed, const std::string& what) {
    probes.push_back({FieldValue(value), allowed, what + " " + FloatToText(value)});
  };
  switch (expected.kind) {
    case ValueKind::kNumber:
      number(expected.min, true, "lower edge");
      number(expected.max, true, "upper edge");
      number(std::nextafter(expected.min, -kInfinity), false, "below the lower edge");
      number(std::nextafter(expected.max, kInfinity), false, "past the upper edge");
      if (expected.max - expected.min >= 1) number(expected.min + 0.5, true, "a fraction");
      break;
    case ValueKind::kWhole:
    case ValueKind::kCode:
    case ValueKind::kIdentity:
      number(expected.min, true, "lower edge");
      number(expected.max, true, "upper edge");
      number(expected.min - 1, false, "below the lower edge");
      number(expected.max + 1, false, "past the upper edge");
      if (expected.max > expected.min) number(expected.min + 0.5, false, "a fraction");
      break;
    case ValueKind::kText:
    case ValueKind::kTextCode:
      if (expected.texts.empty()) {
        probes.push_back({FieldValue(Letters(width)), true, "a text of its width"});
        probes.push_back({FieldValue(Letters(width + 1)), false, "a text past its width"});
      } else {
        for (const std::string& text : expected.texts) {
          probes.push_back({FieldValue(text), true, "listed \"" + text + "\""});
        }
        probes.push_back({FieldValue(std::string("9")), false, "off the list"});
      }
      break;
    case ValueKind::kDate:
      probes.push_back({FieldValue(Date()), true, "the empty date"});
      probes.push_back({FieldValue(Date::FromYmd(1900, 1, 1)), true, "the first day"});
      probes.push_back({FieldValue(Date::FromYmd(2999, 12, 31)), true, "the last day"});
      probes.push_back({FieldValue(Date::FromYmd(1899, 12, 31)), false, "before the first day"});
      probes.push_back({FieldValue(Date::FromYmd(3000, 1, 1)), false, "after the last day"});
      break;
    case ValueKind::kAny:
      break;
  }
  return probes;
}

void ExpectRuleAsExpected(const std::string& where, const ValueRule& rule,
                          const Expected& expected, int width) {
  EXPECT_EQ(static_cast<int>(rule.kind), static_cast<int>(expected.kind)) << where;
  for (const Probe& probe : Probes(expected, width)) {
    EXPECT_EQ(RefusalOf("x", rule, probe.value).empty(), probe.allowed)
        << where << ": " << probe.what;
  }
}

template <typename Row>
void ExpectEveryFieldAsExpected(const char* table, const Expectations& expectations) {
  const auto fields = FieldsOf<Row>();
  std::set<std::string> seen;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const auto found = expectations.find(fields[i].name);
    const Expected expected = found != expectations.end() ? found->second : TypeExpected(fields[i]);
    if (found != expectations.end()) seen.insert(fields[i].name);
    ExpectRuleAsExpected(std::string(table) + "." + fields[i].name, RuleOf<Row>(i), expected,
                         fields[i].width);
  }
  for (const auto& [name, expected] : expectations) {
    EXPECT_TRUE(seen.contains(name)) << table << " has no field " << name;
  }
}

TEST(ValueRulesTest, EveryFieldAtBothEdgesOfItsRangeAndOneStepPast) {
  ExpectEveryFieldAsExpected<PersRow>("Pers", PersExpected());
  ExpectEveryFieldAsExpected<PintRow>("Pint", PintExpected());
  ExpectEveryFieldAsExpected<FirmeRow>("Firme", FirmeExpected());
  ExpectEveryFieldAsExpected<ImpoRow>("Impo", ImpoExpected());
  ExpectEveryFieldAsExpected<ParaRow>("Para", ParameterRowExpected());
  ExpectEveryFieldAsExpected<ParFRow>("ParF", ParameterRowExpected());
  ExpectEveryFieldAsExpected<PozeRow>("Poze", PozeExpected());
}

TEST(ValueRulesTest, EveryParameterAtBothEdgesOfItsRangeAndOneStepPast) {
  const std::pair<const char*, const Expectations*> kSets[] = {
      {"general", &GeneralParametersExpected()}, {"company", &CompanyParametersExpected()}};
  for (const auto& [set, expectations] : kSets) {
    const bool general = std::string_view(set) == "general";
    const std::vector<std::string> ruled =
        general ? RuledGeneralParameters() : RuledCompanyParameters();
    // The table rules exactly the parameters expected, no more, no fewer.
    EXPECT_EQ(std::set<std::string>(ruled.begin(), ruled.end()).size(), expectations->size())
        << set;
    for (const std::string& name : ruled) {
      const auto found = expectations->find(name);
      if (found == expectations->end()) {
        ADD_FAILURE() << set << " parameter " << name << " has a rule nobody expects";
        continue;
      }
      ExpectRuleAsExpected(std::string(set) + " " + name,
                           general ? GeneralParameterRule(name) : CompanyParameterRule(name),
                           found->second, 0);
    }
  }
  // A name the table does not know is an amount of either sign.
  ExpectRuleAsExpected("unknown", CompanyParameterRule("RestSanA"), kSignedAmount, 0);
  ExpectRuleAsExpected("unknown", GeneralParameterRule("NuExista"), kSignedAmount, 0);
}

TEST(ValueRulesTest, ThePayDayIsADayOfTheMonthThatFollows) {
  struct Case {
    Date month;
    double last_day;
  };
  const Case kCases[] = {
      {Date::FromYmd(2003, 1, 1), 28},   // paid in February
      {Date::FromYmd(2004, 1, 1), 29},   // a leap February
      {Date::FromYmd(2003, 2, 1), 31},   // paid in March
      {Date::FromYmd(2003, 3, 1), 30},   // paid in April
      {Date::FromYmd(2003, 12, 1), 31},  // paid in January of the next year
  };
  for (const Case& c : kCases) {
    ExpectRuleAsExpected("pay day of " + c.month.ToIso(), PayDayRule(c.month),
                         {ValueKind::kWhole, 1, c.last_day}, 0);
  }
}

TEST(ValueRulesTest, ARefusalNamesTheFieldTheValueAndTheRange) {
  EXPECT_EQ(
      RefusalOf("campul ZILE_CM", RuleOf<PersRow>(*FindField<PersRow>("ZILE_CM")), FieldValue(2.7)),
      "Valoarea 2,7 nu este permisa pentru campul ZILE_CM: se accepta numere intregi "
      "intre 0 si 31 !");
  EXPECT_EQ(RefusalOf("campul INVALIDITATE", RuleOf<PersRow>(*FindField<PersRow>("INVALIDITATE")),
                      FieldValue(std::int64_t{9})),
            "Valoarea 9 nu este permisa pentru campul INVALIDITATE: se accepta 0, 1 sau 2 !");
  EXPECT_EQ(RefusalOf("parametrul CAS", GeneralParameterRule("CAS"), FieldValue(kNaN)),
            "Valoarea pentru parametrul CAS nu este un numar !");
  PersRow stored;
  PersRow changed = stored;
  changed.SALINC = -1;
  EXPECT_THROW(RequireChangedValues(stored, changed), ValueRefused);
  // A value the line always had is not held against a change of another field.
  stored.NORMA = 99;
  changed = stored;
  changed.PRIME = 100;
  EXPECT_NO_THROW(RequireChangedValues(stored, changed));
  EXPECT_THROW(RequireRowValues(changed), ValueRefused);
}

TEST(TextChecksTest, WellFormedUtf8AndControlCharacters) {
  struct Case {
    std::string text;
    bool valid;
  };
  const Case kCases[] = {
      {"", true},
      {"ŞTEFĂNESCU Ț", true},
      {"\xF0\x9F\x98\x80", true},   // outside the basic plane
      {"\xFF", false},              // never a UTF-8 byte
      {"\xC3", false},              // cut short
      {"\xC0\xAF", false},          // overlong
      {"\xED\xA0\x80", false},      // a surrogate
      {"\xF4\x90\x80\x80", false},  // past U+10FFFF
      {"A\x80", false},             // a stray continuation byte
  };
  for (const Case& c : kCases) EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.text;
  EXPECT_TRUE(HasControlCharacter("a\tb"));
  EXPECT_TRUE(HasControlCharacter(std::string("a\0b", 3)));
  EXPECT_TRUE(HasControlCharacter("\x7F"));
  EXPECT_FALSE(HasControlCharacter("Ştefan, nr. 5"));
}

TEST(SettingsFileTest, AValueIsASingleLine) {
  testing::TempFolder folder;
  const IniFile file(folder.path() / "traveno.ini");
  file.Write("Program", "TextFluturas1_ABC", ".Multumim");
  EXPECT_THROW(file.Write("Program", "TextFluturas1_ABC", ".Multumim\r\nParola=x"), Error);
  EXPECT_THROW(file.Write("Program", "Cheie\nParola", "x"), Error);
  EXPECT_EQ(file.Read("Program", "TextFluturas1_ABC", ""), ".Multumim");
  EXPECT_EQ(file.Read("Program", "Parola", "(lipsa)"), "(lipsa)");
}

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

TEST(ErrorFileTest, ALongMessageIsCutInTheReport) {
  const ErrorInfo error{std::string(131 * 1024, 'x'), "Exception", std::nullopt,
                        std::string(5000, 'y')};
  const std::string report = FormatErrorReport(error, nullptr, {}, ReportEnvironment());
  EXPECT_LT(report.size(), 4000u);
  EXPECT_NE(report.find("(134144 octeti in total)"), std::string::npos);
  EXPECT_NE(report.find(PadRight("Detalii", 28) + ": yyy"), std::string::npos);
}

TEST(ErrorFileTest, TheFileIsRotatedPastItsLimitKeepingOneOldCopy) {
  testing::TempFolder folder;
  const fs::path file = folder.path() / kErrorFileName;
  const std::string report(300 * 1024, 'r');
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(AppendErrorReport(file, report));
  EXPECT_EQ(fs::file_size(file), 300u * 1024);  // the fourth report began a new file
  EXPECT_EQ(fs::file_size(file.string() + ".old"), 900u * 1024);
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(AppendErrorReport(file, report));
  EXPECT_LE(fs::file_size(file), kErrorFileLimit);
  EXPECT_LE(fs::file_size(file.string() + ".old"), kErrorFileLimit);
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path())) ++files;
  EXPECT_EQ(files, 2u);
}

TEST(ErrorFileTest, ASymbolicLinkIsNotFollowed) {
  testing::TempFolder folder;
  const fs::path target = folder.path() / "elsewhere.txt";
  std::ofstream(target) << "kept";
  fs::create_symlink(target, folder.path() / kErrorFileName);
  EXPECT_FALSE(AppendErrorReport(folder.path() / kErrorFileName, "report\r\n"));
  EXPECT_EQ(ReadAll(target), "kept");
}

class RegisterPurgeQuestionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store_ = std::make_unique<Store>(folder_.path());
    store_->EnsureRegisterTables();
    fs::create_directories(folder_.path() / "ABC");
    store_->db().Run("INSERT INTO Firme (Cod, Denumire) VALUES ('ABC', 'Firma ABC')");
    store_->db().Run("INSERT INTO Firme (Cod, Denumire) VALUES ('XYZ', 'Fara director')");
  }
  std::vector<std::string> Codes() {
    std::vector<std::string> codes;
    for (const auto& company : store_->Companies()) codes.push_back(company.Cod);
    return codes;
  }
  std::vector<fs::path> Copies() {
    std::vector<fs::path> copies;
    for (const auto& entry : fs::directory_iterator(folder_.path())) {
      if (entry.path().extension() == ".bak") copies.push_back(entry.path());
    }
    return copies;
  }

  testing::TempFolder folder_;
  std::unique_ptr<Store> store_;
  testing::ScriptedPrompter prompter_;
};

TEST_F(RegisterPurgeQuestionTest, NoKeepsEveryCompany) {
  prompter_.default_yes = false;
  EXPECT_FALSE(store_->VerificareFoldere(prompter_));
  ASSERT_EQ(prompter_.questions.size(), 1u);
  EXPECT_NE(prompter_.questions[0].find("TEST, XYZ"), std::string::npos) << prompter_.questions[0];
  EXPECT_EQ(Codes(), (std::vector<std::string>{"ABC", "TEST", "XYZ"}));
  EXPECT_TRUE(Copies().empty());
}

TEST_F(RegisterPurgeQuestionTest, YesKeepsACopyOfTheRegisterFirst) {
  prompter_.default_yes = true;
  EXPECT_TRUE(store_->VerificareFoldere(prompter_));
  EXPECT_EQ(Codes(), std::vector<std::string>{"ABC"});
  const auto copies = Copies();
  ASSERT_EQ(copies.size(), 1u);
  Database copy(copies.front(), false);
  EXPECT_EQ(copy.QueryInt("SELECT count(*) FROM Firme"), 3);
  // Nothing left to ask about.
  prompter_.questions.clear();
  EXPECT_FALSE(store_->VerificareFoldere(prompter_));
  EXPECT_TRUE(prompter_.questions.empty());
}

TEST_F(RegisterPurgeQuestionTest, EmptyingTheRegisterIsSaidInTheQuestion) {
  fs::remove_all(folder_.path() / "ABC");
  prompter_.default_yes = false;
  store_->VerificareFoldere(prompter_);
  ASSERT_EQ(prompter_.questions.size(), 1u);
  EXPECT_NE(prompter_.questions[0].find("Registrul va ramane fara firme"), std::string::npos);
}

}  // namespace
}  // namespace traveno
