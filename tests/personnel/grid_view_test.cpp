#include "personnel/grid_view.h"

#include <cmath>
#include <limits>

#include "core/errors.h"
#include "personnel/grid_line.h"
#include "tests/personnel/services_fixture.h"

namespace traveno::personnel {
namespace {

using testing::D;

const GridColumn* Find(const std::vector<GridColumn>& columns, std::string_view field) {
  for (const GridColumn& column : columns) {
    if (column.field == field) return &column;
  }
  return nullptr;
}

std::vector<std::string> Fields(const std::vector<GridColumn>& columns) {
  std::vector<std::string> fields;
  for (const GridColumn& column : columns) fields.push_back(column.field);
  return fields;
}

TEST(GridColumnsTest, ThePartialContractPageDiffersOnlyWhereItShould) {
  const engine::CompanyParameters company;
  const std::vector<GridColumn> permanent = GridColumns(company, "1", false);
  const std::vector<GridColumn> partial = GridColumns(company, "2", false);
  std::vector<std::string> expected = Fields(permanent);
  expected.insert(std::find(expected.begin(), expected.end(), "NORMA") + 1, "Ore_Zi");
  EXPECT_EQ(Fields(partial), expected);
  EXPECT_EQ(permanent.front().field, "Depart");
  EXPECT_EQ(permanent.back().field, "RESTPL");

  for (const char* hidden : {"ACORD", "REALIZAT", "PRIME"}) {
    EXPECT_TRUE(Find(permanent, hidden)->visible) << hidden;
    EXPECT_FALSE(Find(partial, hidden)->visible) << hidden;
  }
  EXPECT_EQ(Find(partial, "CATEGORIE")->caption, "CAT ");
  EXPECT_EQ(Find(partial, "SPORURI")->caption, "Alte sporuri");
  EXPECT_EQ(Find(partial, "Dif_Brut")->caption, "Dif .brut");
  EXPECT_EQ(Find(permanent, "Dif_Brut")->caption, "Dif. brut");
  EXPECT_FALSE(Find(partial, "Ore_Zi")->editable);
  EXPECT_FALSE(Find(permanent, "Depart")->visible);
  EXPECT_TRUE(Find(GridColumns(company, "1", true), "Depart")->visible);

  // The editable columns are exactly the grid's editable set.
  int editable = 0;
  for (const GridColumn& column : partial) {
    EXPECT_EQ(column.editable, IsGridEditableField(column.field)) << column.field;
    editable += column.editable;
  }
  EXPECT_EQ(editable, 36);
}

TEST(GridColumnsTest, BonusAndDeductionColumnsFollowTheCompanysParameters) {
  struct Case {
    double apl, procf;
    bool figure, value;
  };
  const Case kCases[] = {
      {0, 0, true, false}, {1, 0, true, true},   {2, 0, true, true},
      {3, 0, true, true},  {4, 0, false, false}, {4, 1, false, false},
      {5, 0, false, true}, {5, 1, true, true},   {7, 0, true, false},
  };
  for (const Case& c : kCases) {
    engine::CompanyParameters company;
    company.spor[2].Apl = c.apl;
    company.spor[2].ProcF = c.procf;
    company.spor[2].Den = "Conditii";
    const auto columns = GridColumns(company, "1", false);
    EXPECT_EQ(Find(columns, "spor3")->visible, c.figure) << c.apl << " " << c.procf;
    EXPECT_EQ(Find(columns, "vals3")->visible, c.value) << c.apl << " " << c.procf;
    EXPECT_EQ(Find(columns, "spor3")->caption, "Conditii");
    EXPECT_EQ(Find(columns, "vals3")->caption, "Val. Conditii");
  }

  engine::CompanyParameters company;
  company.Den_Popriri = "Pensie alimentara";
  company.Den_Retineri = "   ";
  const auto columns = GridColumns(company, "1", false);
  EXPECT_EQ(Find(columns, "POPRIRI")->caption, "Pensie alimentara");
  EXPECT_EQ(Find(columns, "RETINERI")->caption, "Retineri");
  EXPECT_EQ(Find(columns, "AVANS_CO")->caption, "Avans Concediu");
  EXPECT_EQ(Find(columns, "PRIME_INCASATE")->caption, "Prime incasate");
}

TEST(GridCellsTest, TextsAndTypedValuesOfEachKindOfColumn) {
  const auto columns = GridColumns(engine::CompanyParameters{}, "1", false);
  PersRow row;
  row.SALINC = 5000000;
  row.SumeExcept = 0.4;
  row.TIMP = 20.5;
  row.CoefInd1 = 1.5;
  row.ZILE_CM = 3;
  row.ACORD = "D";
  EXPECT_EQ(GridCellText(row, *Find(columns, "SALINC")), "5 000 000");
  EXPECT_EQ(GridEditText(row, *Find(columns, "SALINC")), "5000000");
  EXPECT_EQ(GridCellText(row, *Find(columns, "RESTPL")), "");  // 0 shows nothing
  EXPECT_EQ(GridEditText(row, *Find(columns, "RESTPL")), "");
  // A fraction stays in the editor, so leaving the cell changes nothing.
  EXPECT_EQ(GridEditText(row, *Find(columns, "SumeExcept")), "0,4");
  EXPECT_EQ(GridCellText(row, *Find(columns, "TIMP")), "20,5");
  EXPECT_EQ(GridCellText(row, *Find(columns, "CoefInd1")), "1,5");
  EXPECT_EQ(GridCellText(row, *Find(columns, "ZILE_CM")), "3");
  EXPECT_EQ(GridCellText(row, *Find(columns, "ACORD")), "D");

  struct Case {
    const char* field;
    const char* text;
    std::optional<FieldValue> expected;
  };
  const Case kCases[] = {
      {"SALINC", "5 100 000", FieldValue(5100000.0)},
      {"SALINC", "", FieldValue(0.0)},
      {"SALINC", "12,5", FieldValue(12.5)},
      {"SALINC", "abc", std::nullopt},
      {"SALINC", "1e400", std::nullopt},
      {"ZILE_CM", "2", FieldValue(std::int64_t{2})},
      {"ZILE_CM", "2,5", std::nullopt},
      {"ZILE_CM", "40000", std::nullopt},  // beyond a small whole number
      {"MARCA", "40000", FieldValue(std::int64_t{40000})},
      {"ACORD", " d ", FieldValue(std::string("d"))},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(ParseGridInput(*Find(columns, c.field), c.text), c.expected)
        << c.field << " \"" << c.text << "\"";
  }
}

TEST(GridCellsTest, CellsOfAWholeMonthAreTheCellsOneByOne) {
  // Both pages and the history (its year and month are not stored fields):
  // the cells written with the fields found once are the cells of
  // GridCellText, column by column.
  PersRow row;
  row.LUNA = D(2003, 4, 1);
  row.Depart = "CENTRAL";
  row.MARCA = 17;
  row.NUME = "POPESCU";
  row.SALINC = 5000000;
  row.TIMP = 20.5;
  row.CoefInd1 = 1.5;
  row.ZILE_CM = 3;
  const engine::CompanyParameters company;
  for (const std::vector<GridColumn>& columns :
       {GridColumns(company, "1", true), GridColumns(company, "2", false),
        HistoryColumns(company, "1")}) {
    const GridCellTexts texts(columns);
    for (std::size_t i = 0; i < columns.size(); ++i) {
      EXPECT_EQ(texts.Text(row, i), GridCellText(row, columns[i])) << columns[i].field;
    }
  }
  const std::vector<GridColumn> history = HistoryColumns(company, "1");
  EXPECT_EQ(GridCellTexts(history).Text(row, 0), "2003");
}

TEST(GridCellsTest, ShadesMarkPieceWorkHourlyPayAndTheDailyNorm) {
  const auto columns = GridColumns(engine::CompanyParameters{}, "2", false);
  struct Case {
    const char* field;
    std::string acord;
    int platit_ora;
    int norma;
    CellShade expected;
  };
  const Case kCases[] = {
      {"NUME", "D", 0, 8, CellShade::kInformation}, {"NUME", "", 1, 8, CellShade::kHourlyPaid},
      {"NUME", "", 0, 8, CellShade::kReadOnly},     {"NORMA", "", 0, 6, CellShade::kShortNorm},
      {"NORMA", "", 0, 7, CellShade::kShortNorm},   {"NORMA", "", 0, 8, CellShade::kReadOnly},
      {"NORMA", "", 0, 4, CellShade::kWrongNorm},   {"Ore_Zi", "", 0, 8, CellShade::kInformation},
      {"TIMP", "", 0, 8, CellShade::kEditable},     {"BRUT", "", 0, 8, CellShade::kEditable},
      {"IMPOZIT", "", 0, 8, CellShade::kReadOnly},
  };
  for (const Case& c : kCases) {
    PersRow row;
    row.ACORD = c.acord;
    row.PlatitOra = c.platit_ora;
    row.NORMA = c.norma;
    EXPECT_EQ(GridCellShade(row, *Find(columns, c.field)), c.expected) << c.field;
  }
}

TEST(GridButtonsTest, DependantsAreOfferedOnThePartialPageOnlyForAMainJob) {
  PersRow line;
  EXPECT_TRUE(DependantsOffered("1", &line));
  EXPECT_FALSE(DependantsOffered("2", &line));
  line.PlatitOra = 1;
  EXPECT_TRUE(DependantsOffered("2", &line));
  EXPECT_FALSE(DependantsOffered("1", nullptr));
}

class GridViewTest : public testing::ServicesFixture {};

TEST_F(GridViewTest, HeadingNamesTheEmployerTheMonthAndAChosenDepartment) {
  EXPECT_EQ(GridHeading(*session_, std::nullopt), " FIRMA : FIRMA FIRMA\n MARTIE / 2003");
  FirmeRow company = *store_->FindCompany("FIRMA");
  db().Run("UPDATE main.Firme SET TipAngaj = 2, Nume = 'POP', Prenume = 'ANA' WHERE CodF = ?",
           company.CodF);
  session_->set_department_count(1);
  EXPECT_EQ(GridHeading(*session_, std::string("central")), " FIRMA : POP ANA\n MARTIE / 2003");
  session_->set_department_count(2);
  EXPECT_EQ(GridHeading(*session_, std::string("central")),
            " FIRMA : POP ANA\n MARTIE / 2003 departamentul: CENTRAL");
  EXPECT_TRUE(ShowsDepartmentColumn(*session_, std::nullopt));
  EXPECT_FALSE(ShowsDepartmentColumn(*session_, std::string("CENTRAL")));
}

TEST_F(GridViewTest, RealisedSumsFollowAPostedLineWithoutAPassOverTheMonth) {
  const PersRow a = Hire("A");
  Hire("B", "2", 2000000, 80);
  RecalculateCompany(*session_, progress_);
  GridLineSums sums = SumGridLines(MonthLines(*session_));
  const PostedLine posted = UpdateGridLine(
      *session_, a.Nr,
      {{"ACORD", FieldValue(std::string("d"))}, {"REALIZAT", FieldValue(4500000.0)}});
  sums.Remove(a);
  sums.Add(posted.row);
  EXPECT_EQ(sums.realizat_p, 4500000);
  EXPECT_EQ(sums.realizat_c, 0);
  const GridTotals incremental = GridTotalsOf(*session_, sums);
  const GridTotals fresh = ComputeGridTotals(*session_);
  EXPECT_EQ(incremental.realizat_p, fresh.realizat_p);
  EXPECT_EQ(incremental.rest_de_plata, fresh.rest_de_plata);
  EXPECT_EQ(incremental.cost_total, fresh.cost_total);
  EXPECT_EQ(incremental.ratio, fresh.ratio);
}

TEST_F(GridViewTest, IndexationIsAskedWithTheWarningOutsideTheLastMonthAndRefusesBadFigures) {
  const PersRow a = Hire("A", "1", 521723);
  EXPECT_FALSE(IndexationQuestion(*session_).warning);
  EXPECT_EQ(IndexationQuestion(*session_).text, kIndexQuestion);
  PersRow later = a;
  later.LUNA = D(2003, 4);
  RowWriter<PersRow>(db(), "Pers").Insert(later);
  EXPECT_TRUE(IndexationQuestion(*session_).warning);

  struct Case {
    double percent;
    char sign;
    int unit;
    std::optional<std::string> refusal;
  };
  const Case kCases[] = {{10, '+', 100, std::nullopt},
                         {10, '*', 100, std::string(kIndexBadSign)},
                         {10, '-', 0, std::string(kIndexBadUnit)},
                         {1000, '+', 1, std::string(kIndexPercentOutOfRange)}};
  for (const Case& c : kCases) EXPECT_EQ(IndexationRefusal(c.percent, c.sign, c.unit), c.refusal);

  EXPECT_THROW(ApplyIndexation(*session_, 10, '*', 100, {"1", {}}, progress_), Error);
  EXPECT_EQ(Line(a.Nr).SALINC, 521723);
  EXPECT_EQ(ApplyIndexation(*session_, 10, '+', 100, {"1", {}}, progress_), 1);
  EXPECT_EQ(Line(a.Nr).SALINC, 573900);
  ExpectTotalsCurrent();
}

}  // namespace
}  // namespace traveno::personnel
