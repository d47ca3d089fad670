// What the passage to the next month writes into each field of an employee's
// row and into each company parameter, field by field, with every field
// holding a value of its own so that a dropped or swapped field shows.
#include <set>

#include "core/store/row_io.h"
#include "params/month_cycle.h"
#include "params/parameter_store.h"
#include "tests/params/fixture.h"
#include "tests/support/distinct_rows.h"

namespace traveno::params::testing {
namespace {

using traveno::testing::FieldText;
using traveno::testing::PlausiblePersRow;

// How the transition fills a field of the new month's row.
enum class Rule {
  kCopied,       // the old month's value
  kFlagged,      // 0 when its carry flag is 1, else the old month's value
  kTaxPercent,   // 100 when the flag ProcImpo is 1, else the old month's value
  kZero,         // always starts at 0
  kDedBaza,      // the general parameter DedBaza
  kCoefficient,  // the old CoefInd when at least 1, else 1; 0 when not entitled to deductions
  kNewRow,       // a row number of its own
  kNewMonth,     // the new month
};

struct FieldRule {
  const char* field;
  Rule rule;
  const char* flag = "";
};

// Every field of Pers and how the transition writes it.
const FieldRule kPersRules[] = {
    {"Nr", Rule::kNewRow},
    {"LUNA", Rule::kNewMonth},
    {"IID", Rule::kCopied},
    {"TIP", Rule::kCopied},
    {"NUME", Rule::kCopied},
    {"PRENUME", Rule::kCopied},
    {"CODNUMPERS", Rule::kCopied},
    {"FUNCTIE", Rule::kCopied},
    {"SALINC", Rule::kCopied},
    {"TIMP", Rule::kFlagged, "Timp"},
    {"TIMP_SPL", Rule::kFlagged, "Timp_spl"},
    {"VAL_TIMP_S", Rule::kZero},
    {"ALTESPORP", Rule::kZero},
    {"VAL_SPORP", Rule::kZero},
    {"PRIME", Rule::kFlagged, "InitPrime"},
    {"CM1L", Rule::kFlagged, "Cm1l"},
    {"CM2L", Rule::kFlagged, "Cm2l"},
    {"BRUT", Rule::kZero},
    {"PENSIE", Rule::kZero},
    {"SOMAJ", Rule::kZero},
    {"TOTDREPT", Rule::kZero},
    {"IMPOZIT", Rule::kZero},
    {"AVANS", Rule::kFlagged, "Avans"},
    {"RETINERI", Rule::kFlagged, "Retineri"},
    {"RESTPL", Rule::kZero},
    {"STUDII", Rule::kCopied},
    {"DATA_ANG", Rule::kCopied},
    {"DATA_NAS", Rule::kCopied},
    {"DATA_LICH", Rule::kCopied},
    {"LOCALITATE", Rule::kCopied},
    {"STRADA", Rule::kCopied},
    {"NUMAR", Rule::kCopied},
    {"CODPOSTAL", Rule::kCopied},
    {"BLOC", Rule::kCopied},
    {"SCARA", Rule::kCopied},
    {"ETAJ", Rule::kCopied},
    {"AP", Rule::kCopied},
    {"SECTOR", Rule::kCopied},
    {"TELEFON", Rule::kCopied},
    {"ALTE_DATE", Rule::kCopied},
    {"SANATATE", Rule::kZero},
    {"TIMP_NOAPTE", Rule::kFlagged, "Timp_Noapte"},
    {"SUMA_T_NOAPTE", Rule::kZero},
    {"ZILE_CO", Rule::kFlagged, "Zile_Co"},
    {"SUMA_ZILE_CO", Rule::kZero},
    {"ALTE_SUME", Rule::kFlagged, "InitAlteSume"},
    {"CIC", Rule::kFlagged, "InitCIC"},
    {"POPRIRI", Rule::kFlagged, "Popriri"},
    {"GARANTII", Rule::kFlagged, "Garantii"},
    {"ALTE_RET", Rule::kFlagged, "Alte_Ret"},
    {"PRIME_INCASATE", Rule::kFlagged, "Prime_inc"},
    {"AVANS_CO", Rule::kFlagged, "Avans_Co"},
    {"ZILE_FP", Rule::kFlagged, "Zile_Fp"},
    {"ZILE_CM", Rule::kFlagged, "Zile_Cm"},
    {"CATEGORIE", Rule::kCopied},
    {"MARCA", Rule::kCopied},
    {"ACORD", Rule::kCopied},
    {"REALIZAT", Rule::kZero},
    {"ZILE_CIC", Rule::kFlagged, "Zile_CIC"},
    {"SPORURI", Rule::kFlagged, "InitSporuri"},
    {"CoefInd", Rule::kCoefficient},
    {"CoefInd1", Rule::kCoefficient},
    {"INVALIDITATE", Rule::kCopied},
    {"Judet", Rule::kCopied},
    {"VENIT_NET", Rule::kZero},
    {"DED_PERS_SUPLI", Rule::kZero},
    {"DED_PERS", Rule::kDedBaza},
    {"ALT_VENIT", Rule::kCopied},
    {"Depart", Rule::kCopied},
    {"EMAIL", Rule::kCopied},
    {"fisa_rectif", Rule::kCopied},
    {"fisa_regul", Rule::kCopied},
    {"Domiciliu_ext", Rule::kCopied},
    {"pr_va", Rule::kFlagged, "InitPr_va"},
    {"Spor1", Rule::kFlagged, "Spor1_Init"},
    {"vals1", Rule::kFlagged, "Spor1_Init"},
    {"spor2", Rule::kFlagged, "Spor2_Init"},
    {"vals2", Rule::kFlagged, "Spor2_Init"},
    {"spor3", Rule::kFlagged, "Spor3_Init"},
    {"vals3", Rule::kFlagged, "Spor3_Init"},
    {"spor4", Rule::kFlagged, "Spor4_Init"},
    {"vals4", Rule::kFlagged, "Spor4_Init"},
    {"Dif_Brut", Rule::kZero},
    {"SumeExcept", Rule::kFlagged, "SumeExcept"},
    {"Brut1", Rule::kZero},
    {"BifaSom", Rule::kCopied},
    {"Ch_Prof", Rule::kCopied},
    {"PlatitOra", Rule::kCopied},
    {"Ore_Zi", Rule::kCopied},
    {"ProcImpo", Rule::kTaxPercent, "ProcImpo"},
    {"Pensionar", Rule::kCopied},
    {"NORMA", Rule::kCopied},
};

// The carry flags of the company parameters, each one field's or one bonus's.
const char* const kCarryFlags[] = {
    "Timp",       "Timp_spl",   "InitPrime",   "InitPr_va",  "Cm1l",         "Cm2l",
    "Avans",      "Retineri",   "Timp_Noapte", "Zile_Co",    "InitAlteSume", "InitCIC",
    "Popriri",    "Garantii",   "Alte_Ret",    "Prime_inc",  "Avans_Co",     "Zile_Fp",
    "Zile_Cm",    "Zile_CIC",   "InitSporuri", "SumeExcept", "ProcImpo",     "Spor1_Init",
    "Spor2_Init", "Spor3_Init", "Spor4_Init",
};

constexpr double kDedBaza = 1234567;

// Company parameters whose carry flags are 1 exactly for `flags_set`.
engine::CompanyParameters WithCarryFlags(const std::set<std::string>& flags_set) {
  std::vector<engine::ParameterRow> rows =
      engine::CompanyParameterRows(engine::CompanyParameters{});
  for (engine::ParameterRow& row : rows) {
    for (const char* flag : kCarryFlags) {
      if (row.Den == flag) row.Val = flags_set.count(flag) ? 1 : 0;
    }
  }
  return engine::BuildCompanyParameters(rows);
}

FieldValue ZeroOf(FieldKind kind) {
  if (kind == FieldKind::kDouble) return 0.0;
  return std::int64_t{0};
}

// What the rule gives the field of `old_row` in `month` under `flags_set`.
std::optional<FieldValue> Expected(const FieldRule& rule, FieldKind kind, const PersRow& old_row,
                                   Date month, const std::set<std::string>& flags_set) {
  const FieldValue old_value = GetField(old_row, *FindField<PersRow>(rule.field));
  const bool flagged = flags_set.count(rule.flag) != 0;
  switch (rule.rule) {
    case Rule::kCopied:
      return old_value;
    case Rule::kFlagged:
      return flagged ? ZeroOf(kind) : old_value;
    case Rule::kTaxPercent:
      return flagged ? FieldValue(100.0) : old_value;
    case Rule::kZero:
      return ZeroOf(kind);
    case Rule::kDedBaza:
      return kDedBaza;
    case Rule::kCoefficient:
      if (old_row.TIP == "2" && old_row.PlatitOra == 0) return 0.0;
      return old_row.CoefInd >= 1 ? old_row.CoefInd : 1.0;
    case Rule::kNewMonth:
      return month;
    case Rule::kNewRow:
      return std::nullopt;
  }
  return std::nullopt;
}

class TransitionFieldsTest : public StoreFixture {
 protected:
  void SetUp() override { Open("ALFA", D(2003, 1)); }

  // Three employees of the working month with distinct values in every
  // field: a permanent one, a partial contract not paid by the hour and one
  // paid by the hour; returned as stored.
  std::vector<PersRow> AddDistinctEmployees() {
    std::vector<PersRow> rows;
    for (int seed = 1; seed <= 3; ++seed) {
      PersRow row = PlausiblePersRow(seed);
      row.TIP = seed == 1 ? "1" : "2";
      row.PlatitOra = seed == 3 ? 1 : 0;
      rows.push_back(AddEmployee(row));
    }
    return rows;
  }

  // Checks every field of the rows of `month` against the rules; fields in
  // `skipped` are not checked.
  void ExpectRules(const std::vector<PersRow>& old_rows, Date month,
                   const std::set<std::string>& flags_set, const std::set<std::string>& skipped,
                   const std::string& context) {
    const std::vector<PersRow> new_rows = Employees(month);
    ASSERT_EQ(new_rows.size(), old_rows.size()) << context;
    const auto fields = FieldsOf<PersRow>();
    for (std::size_t r = 0; r < old_rows.size(); ++r) {
      const PersRow& old_row = old_rows[r];
      const PersRow& new_row = new_rows[r];
      ASSERT_EQ(new_row.IID, old_row.IID) << context;
      EXPECT_NE(new_row.Nr, old_row.Nr) << context;
      for (const FieldRule& rule : kPersRules) {
        if (skipped.count(rule.field)) continue;
        const std::size_t index = *FindField<PersRow>(rule.field);
        const auto expected = Expected(rule, fields[index].kind, old_row, month, flags_set);
        if (!expected) continue;
        const FieldValue stored = GetField(new_row, index);
        EXPECT_EQ(stored, *expected)
            << rule.field << " of IID " << old_row.IID << " (" << context
            << "): " << FieldText(stored) << " instead of " << FieldText(*expected);
      }
    }
  }
};

TEST_F(TransitionFieldsTest, TheRulesNameEveryFieldOnce) {
  std::set<std::string> named;
  for (const FieldRule& rule : kPersRules) {
    EXPECT_TRUE(FindField<PersRow>(rule.field).has_value()) << rule.field;
    EXPECT_TRUE(named.insert(rule.field).second) << rule.field << " twice";
  }
  for (const FieldDef& field : FieldsOf<PersRow>()) {
    EXPECT_EQ(named.count(field.name), 1u) << field.name << " has no rule";
  }
  // Every carry flag is a company parameter that the rules use.
  for (const char* flag : kCarryFlags) {
    bool used = false;
    for (const FieldRule& rule : kPersRules) used = used || std::string(rule.flag) == flag;
    EXPECT_TRUE(used) << flag;
    const auto rows = engine::CompanyParameterRows(WithCarryFlags({flag}));
    bool set = false;
    for (const auto& row : rows) set = set || (row.Den == flag && row.Val == 1);
    EXPECT_TRUE(set) << flag;
  }
}

// The copy of the employees with no flag set, with each flag alone, and with
// all of them: a flag that zeroes another field, or a field that ignores its
// flag, shows.
TEST_F(TransitionFieldsTest, EachCarryFlagZeroesItsOwnFieldsOnly) {
  const std::vector<PersRow> old_rows = AddDistinctEmployees();
  std::vector<std::set<std::string>> settings = {{}};
  for (const char* flag : kCarryFlags) settings.push_back({flag});
  settings.push_back(std::set<std::string>(std::begin(kCarryFlags), std::end(kCarryFlags)));

  engine::MonthParameters parameters = session_->parameters();
  parameters.general.DedBaza = kDedBaza;
  Date month = D(2003, 2);
  for (const auto& flags_set : settings) {
    parameters.company = WithCarryFlags(flags_set);
    CopyEmployees(db(), D(2003, 1), month, parameters);
    const std::string context = flags_set.empty()       ? "no flag"
                                : flags_set.size() == 1 ? *flags_set.begin()
                                                        : "every flag";
    ExpectRules(old_rows, month, flags_set, {}, context);
    month = AddMonths(month, 1);
  }
}

// The whole transition, with the flags at 0 and then at 1: the new month
// holds the carried figures, and the calculation of the new month writes its
// own fields.
TEST_F(TransitionFieldsTest, TheTransitionCarriesTheFieldsByTheStoredFlags) {
  const std::set<std::string> every_flag(std::begin(kCarryFlags), std::end(kCarryFlags));
  for (const std::set<std::string>& flags_set : {std::set<std::string>{}, every_flag}) {
    const std::string code = flags_set.empty() ? "ZERO" : "UNU";
    Open(code, D(2003, 1));
    const std::vector<PersRow> old_rows = AddDistinctEmployees();
    session_->parameters().company = WithCarryFlags(flags_set);
    SaveCompanyParameters(db(), D(2003, 1), session_->parameters().company);
    PassToNextMonth(*session_, progress_);
    ASSERT_EQ(session_->working_month(), D(2003, 2)) << code;
    // The calculation of the new month writes its own fields after the copy.
    ExpectRules(old_rows, D(2003, 2), flags_set, traveno::testing::CalculatedPersFields(), code);
  }
}

// The transition window lists the columns whose flag is 1, in the window's
// order, then the bonuses in use whose flag is 1.
TEST(ZeroedColumnsTextTest, ListsTheFlaggedColumnsInOrder) {
  EXPECT_EQ(ZeroedColumnsText(WithCarryFlags({})), "");
  engine::CompanyParameters every =
      WithCarryFlags(std::set<std::string>(std::begin(kCarryFlags), std::end(kCarryFlags)));
  const char* const names[] = {"SPOR A", "SPOR B", "SPOR C", "SPOR D"};
  for (int i = 0; i < 4; ++i) {
    every.spor[i].Den = names[i];
    every.spor[i].Apl = 1;
  }
  every.spor[2].Apl = 4;  // "Nu se foloseste"
  EXPECT_EQ(
      ZeroedColumnsText(every),
      "Timp,  Timp spl.,  Prime,  Cm Firma,  Cm Stat,  Avans,  Retineri,  Timp Noapte,  "
      "Zile Co,  Alte sume,  CIC,  Popriri,  Garantii,  Alte Retetineri,  Prime incasate,  "
      "Avans Co,  Zile Fp,  Zile Cm,  Zile CIC,  Sporuri,  Sume exceptate,  Procent Impozit,  "
      "SPOR A,  SPOR B,  SPOR D");
  struct Case {
    const char* flag;
    const char* text;
  };
  const Case kCases[] = {
      {"Cm2l", "Cm Stat"},
      {"Popriri", "Popriri"},
      {"Alte_Ret", "Alte Retetineri"},
      {"ProcImpo", "Procent Impozit"},
      {"InitPr_va", ""},  // the holiday premium has no column of its own in the list
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(ZeroedColumnsText(WithCarryFlags({c.flag})), c.text) << c.flag;
  }
}

// Each company parameter with a value and a text of its own: the month's
// own figures start again, the rest is carried.
TEST_F(TransitionFieldsTest, CompanyParametersAreCarriedOrStartAgain) {
  const std::set<std::string> zeroed = {
      "Deschisa", "CalculSomaj", "DedSomaj", "TipCalcul", "RestAs",    "RestAn",    "Penal",
      "Maj",      "SVAsig",      "SVAng",    "SDAsig",    "SDAng",     "RestSanA",  "RestSanB",
      "RestSanC", "MajSanA",     "MajSanB",  "MajSanC",   "DatorSanA", "DatorSanB", "DatorSanC"};
  const std::set<std::string> exempt = {"Ex_Impozit", "Ex_Pensie", "Ex_Sanatate"};
  const Date from = D(2004, 5);
  const Date to = D(2004, 6);
  std::vector<std::string> names;
  for (const auto& description : engine::CompanyParameterNames()) {
    names.push_back(description.name);
  }
  names.push_back("DEP_ATELIER");
  for (std::size_t i = 0; i < names.size(); ++i) {
    db().Run("INSERT INTO firma.ParF (Luna, Den, Val, Grupa) VALUES (?, ?, ?, ?)", from, names[i],
             1000.0 + static_cast<double>(i), "G" + std::to_string(i));
  }
  CopyCompanyParameters(db(), from, to);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    double val = 1000.0 + static_cast<double>(i);
    std::string grupa = "G" + std::to_string(i);
    if (zeroed.count(name)) val = 0;
    if (exempt.count(name)) {
      val = 100;
      grupa = "DA";
    }
    if (name == "ZileLibere") {
      val = 0;
      grupa.clear();
    }
    if (name == "ZiLichidare") val = 31;  // no later than the last day of July, when June is paid
    EXPECT_EQ(db().QueryInt("SELECT count(*) FROM firma.ParF WHERE Luna = ? AND Den = ?", to, name),
              1)
        << name;
    EXPECT_EQ(ReadCompany(db(), to, name), val) << name;
    EXPECT_EQ(ReadCompanyText(db(), to, name), grupa) << name;
  }
}

}  // namespace
}  // namespace traveno::params::testing
