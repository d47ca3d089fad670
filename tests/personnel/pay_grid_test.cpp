#include "personnel/pay_grid.h"

#include "core/data_folder.h"
#include "core/errors.h"
#include "params/departments.h"
#include "personnel/dependants.h"
#include "personnel/grid_line.h"
#include "tests/personnel/services_fixture.h"
#include "tests/support/distinct_rows.h"

namespace traveno::personnel {
namespace {

using testing::D;

TEST(IndexedSalaryTest, RoundsToTheUnitInTheSignsDirection) {
  struct Case {
    double salary, percent;
    char sign;
    int unit;
    double expected;
  };
  const Case kCases[] = {
      {521723, 10, '+', 100, 573900},
      {521723, 10, '-', 100, 573700},
      {0, 10, '+', 100, 0},  // nothing to index
      {0, 10, '-', 1, 0},
      {1000000, 0, '+', 1, 1000000},
      {1000000, 5.5, '+', 1000, 1055000},
      {521723, 10.004, '+', 1, 573896},  // the percent is taken with two decimals
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(IndexedSalary(c.salary, c.percent, c.sign, c.unit), c.expected)
        << c.salary << " " << c.percent << c.sign << c.unit;
  }
}

class PayGridTest : public testing::ServicesFixture {};

TEST_F(PayGridTest, TypedGrossAndNetAreReachedThroughDifBrut) {
  // 5 000 000 for a full month of 184 hours: a net of 3 775 600.
  const PersRow line = Hire("POPESCU");
  ASSERT_EQ(line.RESTPL, 3775600);
  UpdateGridLine(*session_, line.Nr, {{"BRUT", FieldValue(5100000.0)}});
  EXPECT_EQ(Line(line.Nr).BRUT, 5100000);
  EXPECT_EQ(Line(line.Nr).Dif_Brut, 100000);
  EXPECT_EQ(Line(line.Nr).RESTPL, 3841280);
  EXPECT_EQ(session_->totals().BrutP, 5100000);
  ExpectTotalsCurrent();

  // A net of 0: the gross drops to 59 524, which pays only 5 655 pension,
  // 50 000 unemployment (on the base salary) and 3 869 health.
  const PostedLine net = UpdateGridLine(*session_, line.Nr, {{"RESTPL", FieldValue(0.0)}});
  EXPECT_FALSE(net.notice);
  const PersRow stored = Line(line.Nr);
  EXPECT_EQ(stored.Dif_Brut, -4940476);
  EXPECT_EQ(stored.BRUT, 59524);
  EXPECT_EQ(stored.RESTPL, 0);
  EXPECT_EQ(session_->totals().BrutP, 59524);
  ExpectTotalsCurrent();

  EXPECT_THROW(UpdateGridLine(*session_, line.Nr, {{"NUME", FieldValue(std::string("X"))}}),
               std::invalid_argument);
  EXPECT_EQ(Line(line.Nr).NUME, "POPESCU");
}

TEST_F(PayGridTest, RecalculationOfADepartmentTotalsOnlyItsLines) {
  PersRow a = Hire("A");
  PersRow b = Hire("B");
  ASSERT_TRUE(params::AddDepartment(*session_, "PROD", "Productie", prompter_));
  db().Run("UPDATE firma.Pers SET Depart = 'PROD' WHERE Nr = ?", b.Nr);
  EXPECT_EQ(RecalculateCompany(*session_, progress_, std::string("prod")), 1);
  EXPECT_EQ(session_->totals().NrAngajati, 1);
  EXPECT_EQ(RecalculateCompany(*session_, progress_), 2);
  ExpectTotalsCurrent();
}

TEST_F(PayGridTest, AClosedMonthIsOnlySummed) {
  const PersRow line = Hire("A");
  db().Run("UPDATE firma.Pers SET SALINC = 1, BRUT = 123 WHERE Nr = ?", line.Nr);
  CloseMonth();
  RecalculateCompany(*session_, progress_);
  EXPECT_EQ(Line(line.Nr).BRUT, 123);
  EXPECT_EQ(session_->totals().BrutP, 123);
}

TEST_F(PayGridTest, IndexationChangesOnlyTheKindsLinesInEveryDepartment) {
  const PersRow p = Hire("P", "1", 521723);
  const PersRow c1 = Hire("C1", "2", 521723, 40);
  const PersRow c2 = Hire("C2", "2", 0, 40);
  db().Run("UPDATE firma.Pers SET Depart = 'PROD' WHERE Nr = ?", c1.Nr);
  GridScope scope{"2", std::string("CENTRAL")};
  EXPECT_EQ(IndexSalaries(*session_, 10, '+', 100, scope, prompter_, progress_), 2);
  EXPECT_EQ(Line(p.Nr).SALINC, 521723);
  EXPECT_EQ(Line(c1.Nr).SALINC, 573900);
  EXPECT_EQ(Line(c2.Nr).SALINC, 0);
  EXPECT_EQ(prompter_.questions.back(), kIndexQuestion);

  EXPECT_EQ(IndexSalaries(*session_, 10, '*', 100, scope, prompter_, progress_), std::nullopt);
  EXPECT_TRUE(prompter_.Shown(kIndexBadSign));
  EXPECT_EQ(IndexSalaries(*session_, 10, '+', 0, scope, prompter_, progress_), std::nullopt);
  EXPECT_TRUE(prompter_.Shown(kIndexBadUnit));
  prompter_.yes_no = {false};
  EXPECT_EQ(IndexSalaries(*session_, 10, '+', 100, scope, prompter_, progress_), std::nullopt);
  EXPECT_EQ(Line(c1.Nr).SALINC, 573900);
}

TEST_F(PayGridTest, FillColumnPostsEveryLineOrNone) {
  const PersRow a = Hire("A");
  const PersRow b = Hire("B");
  Hire("C", "2", 1000000, 40);
  SumStoredLines(*session_);
  EXPECT_EQ(FillColumn(*session_, "ZILE_CM", "Zile CM", 2, {}, progress_).lines, 0);  // integer
  EXPECT_EQ(FillColumn(*session_, "BRUT1", "Brut1", 2, {}, progress_).lines, 0);      // read-only

  EXPECT_EQ(FillColumn(*session_, "AVANS", "Avans", 1000000, {}, progress_).lines, 2);
  EXPECT_EQ(Line(a.Nr).AVANS, 1000000);
  EXPECT_EQ(Line(b.Nr).RESTPL, 3775600 - 1000000);
  ExpectTotalsCurrent();

  // A failure on the second line leaves the first one as it was.
  db().Execute(
      "CREATE TEMP TRIGGER refuse AFTER UPDATE ON firma.Pers WHEN new.NUME = 'B' "
      "BEGIN SELECT RAISE(ABORT, 'refuzat'); END");
  EXPECT_THROW(FillColumn(*session_, "AVANS", "Avans", 5, {}, progress_), StoreError);
  EXPECT_EQ(Line(a.Nr).AVANS, 1000000);
  ExpectTotalsCurrent();

  CloseMonth();
  EXPECT_FALSE(CanFillColumn(*session_, "AVANS"));
}

TEST_F(PayGridTest, AskFillValueRefusesWhatIsNotANumber) {
  traveno::testing::ScriptedPrompter prompter;
  prompter.texts = {"12,5", " ", std::nullopt, "abc"};
  EXPECT_EQ(AskFillValue(prompter, "Avans"), 12.5);
  EXPECT_EQ(AskFillValue(prompter, "Avans"), std::nullopt);  // blank
  EXPECT_EQ(AskFillValue(prompter, "Avans"), std::nullopt);  // cancelled
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(AskFillValue(prompter, "Avans"), std::nullopt);
  EXPECT_TRUE(prompter.Shown(kInvalidFillValue));
}

class ImportTest : public testing::ServicesFixture {
 protected:
  // A second company with two employees of March 2003 (one with a dependant).
  std::filesystem::path MakeSource() {
    const PersRow own = Hire("PROPRIU");
    db().Run("UPDATE firma.Pers SET Depart = 'CENTRAL' WHERE Nr = ?", own.Nr);
    Open("SURSA", D(2003, 3));
    PersRow a = Hire("IMPORTAT", "1");
    db().Run("UPDATE firma.Pers SET Depart = 'ATELIER' WHERE Nr = ?", a.Nr);
    db().Run("UPDATE firma.Pers SET Pensionar = 1 WHERE Nr = ?", a.Nr);
    AddDependant(a.IID, "2850315123451");
    Hire("COLAB", "2", 1000000, 40);
    Open("FIRMA", D(2003, 3));
    own_nr_ = own.Nr;
    return store_->CompanyFolderOf("SURSA") / kCompanyDatabaseName;
  }
  std::int64_t own_nr_ = 0;
};

TEST_F(ImportTest, AppendsTheLinesWithNewIdentitiesDependantsAndDepartments) {
  const auto source = MakeSource();
  EXPECT_EQ(ImportEmployees(*session_, source, progress_), 3);
  const auto lines = Employees(D(2003, 3));
  ASSERT_EQ(lines.size(), 3u);
  const PersRow* imported = nullptr;
  for (const PersRow& line : lines) {
    EXPECT_EQ(line.IID, line.Nr);
    if (line.NUME == "IMPORTAT") imported = &line;
  }
  ASSERT_NE(imported, nullptr);
  EXPECT_EQ(imported->Pensionar, 1);
  EXPECT_EQ(ListDependants(*session_, imported->IID).size(), 1u);
  EXPECT_EQ(db().QueryInt("SELECT COUNT(*) FROM firma.ParF WHERE Luna = ? AND Den = 'DEP_ATELIER'",
                          D(2003, 3)),
            1);
  EXPECT_EQ(db().QueryInt("SELECT COUNT(*) FROM firma.ParF WHERE Luna = ? AND Den = 'DEP_CENTRAL'",
                          D(2003, 3)),
            1);
  ExpectTotalsCurrent();
}

// Every field of the source lines holds a value of its own: the import keeps
// every figure and mark of the line, gives it a row and identity of its own
// in the working month, and the calculation writes its own fields.
TEST_F(ImportTest, CopiesEveryFieldOfTheLinesAndTheirDependants) {
  Open("SURSA", D(2003, 3));
  std::vector<PersRow> source_lines;
  std::vector<PintRow> source_dependants;
  for (int seed = 1; seed <= 3; ++seed) {
    PersRow row = traveno::testing::PlausiblePersRow(seed);
    row.TIP = seed == 1 ? "1" : "2";
    source_lines.push_back(AddEmployee(row));
    PintRow dependant = traveno::testing::DistinctRow<PintRow>(seed);
    dependant.Luna = D(2003, 3);
    dependant.IID = row.IID;
    dependant.Calitate = seed;
    dependant.Invaliditate = seed - 1;
    dependant.Coef = 0.25 * seed;
    RowWriter<PintRow>(db(), "Pint").Insert(dependant);
    source_dependants.push_back(dependant);
  }
  const auto source = store_->CompanyFolderOf("SURSA") / kCompanyDatabaseName;
  Open("FIRMA", D(2003, 3));
  ASSERT_EQ(ImportEmployees(*session_, source, progress_), 3);

  const auto lines = Employees(D(2003, 3));
  ASSERT_EQ(lines.size(), 3u);
  const auto fields = FieldsOf<PersRow>();
  const auto& calculated = traveno::testing::CalculatedPersFields();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const PersRow& line = lines[i];
    const PersRow& from = source_lines[i];  // the source's order is its departments'
    EXPECT_EQ(line.LUNA, D(2003, 3));
    EXPECT_EQ(line.IID, line.Nr);
    EXPECT_NE(line.IID, from.IID);
    for (std::size_t f = 0; f < fields.size(); ++f) {
      const std::string name = fields[f].name;
      if (name == "Nr" || name == "LUNA" || name == "IID") continue;
      const FieldValue stored = GetField(line, f);
      const FieldValue before = GetField(from, f);
      if (calculated.count(name)) {
        EXPECT_NE(stored, before) << name << " of " << from.NUME << " is not recalculated";
      } else {
        EXPECT_EQ(stored, before) << name << " of " << from.NUME << ": "
                                  << traveno::testing::FieldText(stored) << " instead of "
                                  << traveno::testing::FieldText(before);
      }
    }
    const auto dependants = QueryRows<PintRow>(
        db(), "SELECT * FROM firma.Pint WHERE Luna = ? AND IID = ?", D(2003, 3), line.IID);
    ASSERT_EQ(dependants.size(), 1u) << from.NUME;
    const PintRow& copied = dependants.front();
    const PintRow& expected = source_dependants[i];
    EXPECT_EQ(copied.AiPers, line.IID);
    EXPECT_EQ(copied.Nume, expected.Nume);
    EXPECT_EQ(copied.Prenume, expected.Prenume);
    EXPECT_EQ(copied.CODNUMPERS, expected.CODNUMPERS);
    EXPECT_EQ(copied.Calitate, expected.Calitate);
    EXPECT_EQ(copied.Invaliditate, expected.Invaliditate);
    EXPECT_EQ(copied.Coef, expected.Coef);
    // The line's department becomes a department of the month.
    EXPECT_EQ(params::ReadCompanyText(db(), D(2003, 3), "DEP_" + from.Depart), from.Depart);
  }
  // No line is in CENTRAL any more.
  EXPECT_FALSE(
      db().QueryInt("SELECT 1 FROM firma.ParF WHERE Luna = ? AND Den = 'DEP_CENTRAL'", D(2003, 3)));
}

TEST_F(ImportTest, AFailureLeavesTheMonthAsItWas) {
  const auto source = MakeSource();
  db().Execute(
      "CREATE TEMP TRIGGER refuse AFTER INSERT ON firma.Pint "
      "BEGIN SELECT RAISE(ABORT, 'refuzat'); END");
  try {
    ImportEmployees(*session_, source, progress_);
    FAIL() << "the import should fail";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), kImportFailed);
  }
  EXPECT_EQ(Employees(D(2003, 3)).size(), 1u);
  EXPECT_EQ(db().QueryInt("SELECT COUNT(*) FROM firma.ParF WHERE Den = 'DEP_ATELIER'"), 0);

  EXPECT_THROW(ImportEmployees(*session_, store_->CompanyFolderOf("FIRMA") / kCompanyDatabaseName,
                               progress_),
               Error);
  EXPECT_THROW(ImportEmployees(*session_, folder_.path() / "lipsa.db", progress_), Error);
  EXPECT_FALSE(std::filesystem::exists(folder_.path() / "lipsa.db"));
}

// One employee of 5 000 000 with an exempt sum of 1 000 and an advance of
// 500: a net of 3 775 940 after a tax of 374 400, a pension of 475 095 and a
// health contribution of 325 065 that both take the exempt sum in.
TEST_F(PayGridTest, GridTotalsAddTheExemptSumsWhenTheCompanySaysSo) {
  PersRow a = Hire("A");
  db().Run("UPDATE firma.Pers SET SumeExcept = 1000, AVANS = 500 WHERE Nr = ?", a.Nr);
  params::WriteCompanyText(db(), D(2003, 3), "Ex_Firma", "NU");
  session_->LoadParameters();
  RecalculateCompany(*session_, progress_);
  ASSERT_EQ(Line(a.Nr).RESTPL, 3775940);
  GridTotals totals = ComputeGridTotals(*session_);
  EXPECT_EQ(totals.brut_p, 5000000);
  EXPECT_EQ(totals.avans, 500);
  EXPECT_EQ(totals.rest_de_plata, 3775940);
  EXPECT_EQ(totals.total_net, 3776440);
  // 175 000 unemployment, 350 000 health, 1 225 000 pension, 37 500
  // medical-leave commission, 25 000 accident, and the gross of 5 000 000.
  EXPECT_EQ(totals.cost_total, 6812500);
  EXPECT_EQ(totals.ratio, "1,80 ");
  params::WriteCompanyText(db(), D(2003, 3), "Ex_Firma", "DA");
  session_->LoadParameters();
  totals = ComputeGridTotals(*session_);
  EXPECT_EQ(totals.brut_p, 5001000);
}

}  // namespace
}  // namespace traveno::personnel
