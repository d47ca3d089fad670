// Every upgrade of an older employee table, each run on a company whose
// table has the layout just before it, so that every step (and every later
// one) reads its carried values from a table that still needs it. Every
// column of every row holds a value of its own, so a step that carries a
// value from the wrong column, or runs where it is not needed, shows.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/data_folder.h"
#include "core/store/row_io.h"
#include "core/store/schema.h"
#include "core/store/schema_upgrades.h"
#include "core/store/store.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_folder.h"

namespace traveno {
namespace {

namespace fs = std::filesystem;

Date D(int y, int m) { return Date::FromYmd(y, m, 1); }

// The upgrades in their order, with the fields each one added to the table.
struct Step {
  const char* version;
  std::vector<std::string> added;
};
const std::vector<Step>& Steps() {
  static const std::vector<Step> kSteps = {
      {"5.2.0",
       {"EMAIL", "fisa_rectif", "fisa_regul", "Domiciliu_ext", "pr_va", "Spor1", "spor2", "spor3",
        "spor4", "Dif_Brut"}},
      {"5.2.3", {"CoefInd1"}},
      {"5.2.6", {"SumeExcept"}},
      {"5.2.8", {"Brut1", "vals1", "vals2", "vals3", "vals4"}},
      {"5.2.8.5", {"BifaSom", "Ch_Prof"}},
      {"5.2.8.9", {"PlatitOra"}},
      {"5.4.0.3", {"ProcImpo", "Ore_Zi"}},
      {"5.4.1.0", {"Pensionar"}},
      {"5.4.1.2", {"NORMA"}},
  };
  return kSteps;
}

// The fields each step writes when it runs (what it adds, and what it moves).
const std::map<std::string, int>& WrittenBy() {
  static const std::map<std::string, int> kWritten = [] {
    std::map<std::string, int> written;
    for (std::size_t i = 0; i < Steps().size(); ++i) {
      for (const std::string& field : Steps()[i].added) written[field] = static_cast<int>(i);
    }
    written["ALTESPORP"] = 0;
    written["CoefInd"] = 6;  // a partial contract's coefficients are cleared by 5.4.0.3
    return written;
  }();
  return kWritten;
}

// Three rows: a permanent employee and a partial contract in March 2002, and
// the permanent employee in February.
struct FixtureRow {
  std::int64_t nr;
  Date luna;
  const char* tip;
};
const FixtureRow kRows[] = {{5, Date::FromYmd(2002, 3, 1), "1"},
                                {9, Date::FromYmd(2002, 3, 1), "2"},
                                {12, Date::FromYmd(2002, 2, 1), "1"}};
const std::map<Date, double> kCheltProf = {{Date::FromYmd(2002, 2, 1), 240000},
                                           {Date::FromYmd(2002, 3, 1), 255000}};

// The value a field holds in row `r` of the older table: distinct for every
// column and row, within what the column may store.
FieldValue OldValue(const std::string& field, FieldKind kind, int width, int column, int r) {
  if (field == "Nr") return FieldValue(kRows[r].nr);
  if (field == "LUNA") return FieldValue(kRows[r].luna);
  if (field == "TIP") return FieldValue(std::string(kRows[r].tip));
  if (field == "fisa_regul") return FieldValue(std::to_string(4 + r));
  switch (kind) {
    case FieldKind::kDouble:
      return FieldValue(column * 10.0 + r + 0.25);
    case FieldKind::kInt16:
    case FieldKind::kInt32:
    case FieldKind::kAutoInc:
      return FieldValue(std::int64_t{column * 10 + r + 1});
    case FieldKind::kDate:
      return FieldValue(Date::FromYmd(1960 + column % 40, 1 + r, 1));
    case FieldKind::kText: {
      std::string text = std::to_string(column * 10 + r);
      return FieldValue(width >= static_cast<int>(text.size()) ? text : text.substr(text.size() - width));
    }
    case FieldKind::kBlob:
      return FieldValue(Blob{});
  }
  return FieldValue(std::int64_t{0});
}

double OldNumber(const std::string& field, int r) {
  const auto fields = FieldsOf<PersRow>();
  const std::size_t column = *FindField<PersRow>(field);
  return std::get<double>(OldValue(field, fields[column].kind, 0, static_cast<int>(column), r));
}

class UpgradeStepTest : public ::testing::TestWithParam<int> {
 protected:
  // A register with the professional expenses of both months, and the
  // company VECHE whose employee table has the layout before step `first`.
  void MakeCompany(int first) {
    {
      Store store(data_.path());
      store.EnsureRegisterTables();
      store.db().Run("INSERT INTO Firme (Cod, Denumire, TipAngaj) VALUES ('VECHE', 'Veche', 1)");
      for (const auto& [month, value] : kCheltProf) {
        store.db().Run("INSERT INTO Para (Luna, Den, Val) VALUES (?, 'CheltProf', ?)", month,
                       value);
      }
    }
    std::set<std::string> missing;
    for (std::size_t i = first; i < Steps().size(); ++i) {
      missing.insert(Steps()[i].added.begin(), Steps()[i].added.end());
    }
    fs::create_directories(data_.path() / "VECHE");
    Database db(data_.path() / "VECHE" / kCompanyDatabaseName, true);
    const auto fields = FieldsOf<PersRow>();
    std::vector<std::string> columns;
    for (const FieldDef& field : fields) {
      if (!missing.contains(field.name)) columns.push_back(field.name);
    }
    // The regularisation of the layouts before 5.2.0, which became the gross difference.
    if (first == 0) columns.push_back("Regularizare");
    if (first == 0) ASSERT_LT(columns.size(), 75u);
    std::string list;
    std::string marks;
    for (const std::string& column : columns) {
      list += (list.empty() ? "" : ", ") + column +
              (column == "Nr" ? " INTEGER PRIMARY KEY AUTOINCREMENT" : "");
      marks += marks.empty() ? "?" : ", ?";
    }
    db.Execute("CREATE TABLE Pers (" + list + ")");
    for (const TableDef* table : {&PintTable(), &ParFTable(), &PozeTable()}) {
      CreateTable(db, "main", *table);
    }
    std::string names;
    for (const std::string& column : columns) names += (names.empty() ? "" : ", ") + column;
    for (int r = 0; r < 3; ++r) {
      Statement insert = db.Prepare("INSERT INTO Pers (" + names + ") VALUES (" + marks + ")");
      for (std::size_t c = 0; c < columns.size(); ++c) {
        if (columns[c] == "Regularizare") {
          insert.Bind(static_cast<int>(c + 1), 900.0 + r);
          continue;
        }
        const std::size_t index = *FindField<PersRow>(columns[c]);
        insert.Bind(static_cast<int>(c + 1), OldValue(columns[c], fields[index].kind,
                                                      fields[index].width,
                                                      static_cast<int>(index), r));
      }
      insert.Run();
    }
    for (Date month : {D(2002, 2), D(2002, 3)}) {
      db.Run("INSERT INTO ParF (Luna, Den, Val) VALUES (?, 'Deschisa', 0)", month);
    }
  }

  std::vector<PersRow> Upgraded() {
    const UpgradeResult result = RunUpgrades(data_.path(), prompter_, progress_);
    EXPECT_EQ(result.upgraded, std::vector<std::string>{"VECHE"});
    EXPECT_TRUE(prompter_.messages.empty());
    Database db(data_.path() / "VECHE" / kCompanyDatabaseName, false);
    return QueryRows<PersRow>(db, "SELECT * FROM Pers ORDER BY Nr");
  }

  std::vector<ParFRow> Parameters() {
    Database db(data_.path() / "VECHE" / kCompanyDatabaseName, false);
    return QueryRows<ParFRow>(db, "SELECT * FROM ParF ORDER BY Luna, Den");
  }

  testing::TempFolder data_;
  testing::ScriptedPrompter prompter_;
  SilentProgress progress_;
};

TEST_P(UpgradeStepTest, CarriesEachValueFromItsOwnColumnAndLeavesTheRestAlone) {
  const int first = GetParam();
  MakeCompany(first);
  const std::vector<PersRow> rows = Upgraded();
  ASSERT_EQ(rows.size(), 3u);
  const auto runs = [first](int step) { return step >= first; };

  for (int r = 0; r < 3; ++r) {
    const PersRow& row = rows[r];
    SCOPED_TRACE("first step " + std::string(Steps()[first].version) + ", row Nr " +
                 std::to_string(row.Nr));
    ASSERT_EQ(row.Nr, kRows[r].nr);
    const bool partial = std::string(kRows[r].tip) == "2";
    if (runs(0)) {
      EXPECT_EQ(row.Spor1, OldNumber("ALTESPORP", r));
      EXPECT_EQ(row.ALTESPORP, 0);
      EXPECT_EQ(row.Dif_Brut, 900.0 + r);  // the dropped regularisation
      EXPECT_EQ(row.spor2 + row.spor3 + row.spor4 + row.pr_va, 0);
      EXPECT_EQ(row.EMAIL, "");
      EXPECT_EQ(row.fisa_rectif, "0");
      EXPECT_EQ(row.fisa_regul, partial ? "3" : "0");
      EXPECT_EQ(row.Domiciliu_ext, "0");
    }
    if (runs(1)) {
      // The coefficient is copied; a partial contract's then moves on to
      // its daily hours when 5.4.0.3 runs too (it always does here).
      EXPECT_EQ(partial ? row.Ore_Zi : row.CoefInd1, OldNumber("CoefInd", r));
    }
    if (runs(2)) EXPECT_EQ(row.SumeExcept, 0);
    if (runs(3)) {
      EXPECT_EQ(row.Brut1, OldNumber("BRUT", r));
      EXPECT_EQ(row.vals1 + row.vals2 + row.vals3 + row.vals4, 0);
    }
    if (runs(4)) {
      EXPECT_EQ(row.BifaSom, 0);
      EXPECT_EQ(row.Ch_Prof, kCheltProf.at(kRows[r].luna));  // the row's own month
    }
    if (runs(5)) EXPECT_EQ(row.PlatitOra, 0);
    if (runs(6)) {
      EXPECT_EQ(row.ProcImpo, 100);
      if (partial) {
        // The daily hours come from CoefInd1 as the table held it.
        if (!runs(1)) EXPECT_EQ(row.Ore_Zi, OldNumber("CoefInd1", r));
        EXPECT_EQ(row.CoefInd, 0);
        EXPECT_EQ(row.CoefInd1, 0);
      } else {
        EXPECT_EQ(row.Ore_Zi, 0);
        EXPECT_EQ(row.CoefInd, OldNumber("CoefInd", r));
        if (!runs(1)) EXPECT_EQ(row.CoefInd1, OldNumber("CoefInd1", r));
      }
    }
    if (runs(7)) EXPECT_EQ(row.Pensionar, 0);
    if (runs(8)) EXPECT_EQ(row.NORMA, 8);

    // Every other field of the older table keeps its value: no step ran
    // where it was not needed, none wrote where it should not.
    const auto fields = FieldsOf<PersRow>();
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const std::string name = fields[i].name;
      const auto written = WrittenBy().find(name);
      if (written != WrittenBy().end() && runs(written->second)) continue;
      if (name == "CoefInd1" && runs(6) && partial) continue;
      bool added_later = false;
      for (std::size_t s = first; s < Steps().size(); ++s) {
        for (const std::string& field : Steps()[s].added) added_later = added_later || field == name;
      }
      if (added_later) continue;
      EXPECT_EQ(GetField(row, i),
                OldValue(name, fields[i].kind, fields[i].width, static_cast<int>(i), r))
          << name;
    }
  }

  // The company parameters the upgrades add, and the months they close.
  std::map<Date, std::map<std::string, ParFRow>> months;
  for (const ParFRow& row : Parameters()) months[row.Luna][row.Den] = row;
  ASSERT_EQ(months.size(), 2u);
  for (const auto& [month, parameters] : months) {
    EXPECT_EQ(parameters.contains("InitPr_va"), runs(0)) << month.ToIso();
    if (runs(0)) {
      EXPECT_EQ(parameters.at("Spor1_Den").Grupa, "Procentual");
      EXPECT_EQ(parameters.at("Spor1_Apl").Val, 2);
      EXPECT_EQ(parameters.at("Spor4_Apl").Val, 4);
    }
    EXPECT_EQ(parameters.contains("Ex_Pensie"), runs(2)) << month.ToIso();
    if (runs(2)) {
      EXPECT_EQ(parameters.at("Ex_Impozit").Val, 100);
      EXPECT_EQ(parameters.at("Ex_Sanatate").Grupa, "DA");
      EXPECT_EQ(parameters.at("SumeExcept").Val, 1);
    }
    // 5.2.8.5 closes every month but the last.
    EXPECT_EQ(parameters.at("Deschisa").Val, runs(4) && month == D(2002, 2) ? 1 : 0)
        << month.ToIso();
  }
}

INSTANTIATE_TEST_SUITE_P(EachStep, UpgradeStepTest, ::testing::Range(0, 9),
                         [](const ::testing::TestParamInfo<int>& info) {
                           std::string name = std::string("Before_") + Steps()[info.param].version;
                           for (char& c : name) {
                             if (c == '.') c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace traveno
