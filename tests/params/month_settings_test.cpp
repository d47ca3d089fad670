// Holidays, departments, the parameter windows' confirmations and the bracket
// tables of a month.
#include "params/brackets.h"
#include "params/departments.h"
#include "params/holidays.h"
#include "params/parameter_edits.h"
#include "params/parameter_store.h"
#include "tests/params/fixture.h"

namespace traveno::params::testing {
namespace {

TEST(HolidaysTest, ParseAndFormat) {
  EXPECT_EQ(ParseHolidays(""), std::vector<int>{});
  EXPECT_EQ(ParseHolidays(",1,2,25"), (std::vector<int>{1, 2, 25}));
  EXPECT_EQ(ParseHolidays(",1,x,,7"), (std::vector<int>{1, 7}));
  EXPECT_EQ(ParseHolidays("3,4"), std::vector<int>{4});  // text before the first comma
  EXPECT_EQ(FormatHolidays({25, 1, 2, 1}), ",1,2,25");
  EXPECT_EQ(FormatHolidays({}), "");
}

TEST(HolidaysTest, WorkingTimeCountsWeekdaysNotMarked) {
  // March 2004 has 31 days and starts on a Monday: 23 weekdays.
  const Date march = Date::FromYmd(2004, 3, 1);
  EXPECT_EQ(MonthWorkingTime(march, {}, true), 23);
  EXPECT_EQ(MonthWorkingTime(march, {1}, true), 22);
  EXPECT_EQ(MonthWorkingTime(march, {1}, false), 176);
  // A mark on a Saturday changes nothing.
  EXPECT_EQ(MonthWorkingTime(march, {1, 6}, false), 176);
  EXPECT_FALSE(IsMarkableDay(march, 6));
  EXPECT_TRUE(IsMarkableDay(march, 5));
}

TEST(HolidaysTest, TypedWorkingTimeComparesWithoutItsFraction) {
  const Date march = Date::FromYmd(2004, 3, 1);
  struct Case {
    double typed;
    bool in_days;
    bool differs;
  };
  const Case kCases[] = {
      {176, false, false}, {176.9, false, false}, {177, false, true},
      {175.99, false, true}, {22, true, false},   {22.5, true, false}, {176, true, true},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(WorkingTimeDiffers(march, {1}, c.in_days, c.typed), c.differs) << c.typed;
  }
}

class MonthSettingsTest : public StoreFixture {
 protected:
  void SetUp() override { Open("ALFA", D(2004, 3)); }
};

TEST_F(MonthSettingsTest, HolidaysAreSavedAndWarnWhenTheTimeDiffers) {
  ASSERT_TRUE(ConfirmHolidays(*session_, {1, 6}, false, 176.9, prompter_, progress_));
  EXPECT_TRUE(prompter_.messages.empty());
  EXPECT_EQ(ReadCompanyText(db(), D(2004, 3), "ZileLibere"), ",1,6");
  ASSERT_TRUE(ConfirmHolidays(*session_, {}, false, 176, prompter_, progress_));
  EXPECT_TRUE(
      prompter_.Shown("Timpul de lucru in luna ar trebui sa fie: 184!\r\nVa rog sa verficati!"));
  EXPECT_EQ(ReadCompanyText(db(), D(2004, 3), "ZileLibere"), "");
  ToggleMonthClosed(*session_);
  EXPECT_FALSE(ConfirmHolidays(*session_, {2}, false, 176, prompter_, progress_));
  EXPECT_EQ(ReadCompanyText(db(), D(2004, 3), "ZileLibere"), "");
}

TEST_F(MonthSettingsTest, DepartmentsAddRenameAndDelete) {
  EXPECT_EQ(DepartmentChooserLines(ListDepartments(*session_)),
            std::vector<std::string>{"CENTRAL |"});
  EXPECT_FALSE(AddDepartment(*session_, "central", "x", prompter_));
  EXPECT_TRUE(prompter_.Shown("Codul CENTRAL deja exista !"));
  ASSERT_TRUE(AddDepartment(*session_, " vanz ", "vanzari", prompter_));
  EXPECT_EQ(session_->department_count(), 2);
  EXPECT_EQ(session_->parameters().company.departments.size(), 2u);

  PersRow seller;
  seller.IID = 1;
  seller.Depart = "VANZ";
  AddEmployee(seller);
  // An earlier month keeps its code.
  db().Run("INSERT INTO firma.Pers (LUNA, IID, Depart) VALUES (?, 1, 'VANZ')", D(2004, 2));
  const auto vanz = ListDepartments(*session_).back();
  ASSERT_TRUE(ModifyDepartment(*session_, vanz.nr, "vanzari", "v", prompter_, progress_));
  EXPECT_EQ(Employees(D(2004, 3)).front().Depart, "VANZARI");
  EXPECT_EQ(Employees(D(2004, 2)).front().Depart, "VANZ");
  EXPECT_EQ(ListDepartments(*session_).back().code, "VANZARI");

  // Deleting a department with employees: abandoning the chooser keeps all.
  auto abandon = [](const std::vector<std::string>&, const std::string&) {
    return std::optional<std::string>();
  };
  EXPECT_EQ(DeleteDepartment(*session_, "VANZARI", abandon, progress_),
            DeleteDepartmentResult::kAbandoned);
  EXPECT_EQ(session_->department_count(), 2);
  std::string label;
  auto first = [&label](const std::vector<std::string>& lines, const std::string& text) {
    label = text;
    return std::optional<std::string>(lines.front());
  };
  EXPECT_EQ(DeleteDepartment(*session_, "VANZARI", first, progress_),
            DeleteDepartmentResult::kDeleted);
  EXPECT_EQ(
      label,
      "Alegeti departamentul la care vor fi mutate persoanele \n\rde la departamentul VANZARI");
  EXPECT_EQ(Employees(D(2004, 3)).front().Depart, "CENTRAL");
  EXPECT_EQ(DeleteDepartment(*session_, "CENTRAL", first, progress_),
            DeleteDepartmentResult::kOnlyDepartment);
  EXPECT_EQ(session_->department_count(), 1);
}

TEST_F(MonthSettingsTest, VerifyGivesTheOnlyDepartmentOrAsks) {
  PersRow lost;
  lost.IID = 1;
  lost.Depart = "";
  AddEmployee(lost);
  PersRow other;
  other.IID = 2;
  other.Depart = "NIMIC";
  AddEmployee(other);
  EXPECT_FALSE(VerifyDepartments(*session_));
  for (const PersRow& row : Employees(D(2004, 3))) EXPECT_EQ(row.Depart, "CENTRAL");

  ASSERT_TRUE(AddDepartment(*session_, "VANZ", "", prompter_));
  db().Run("UPDATE firma.Pers SET Depart = 'NIMIC' WHERE IID = 2");
  EXPECT_TRUE(VerifyDepartments(*session_));
  const auto without = EmployeesWithoutDepartment(*session_);
  ASSERT_EQ(without.size(), 1u);
  AssignDepartment(*session_, without.front().Nr, "vanz");
  EXPECT_FALSE(VerifyDepartments(*session_));
}

TEST_F(MonthSettingsTest, CompanyParametersAreValidatedInOrder) {
  std::array<bool, 4> opened{};
  engine::CompanyParameters values = session_->parameters().company;
  // Pay day after the end of the next month (April has 30 days).
  values.ZiLichidare = 31;
  EXPECT_EQ(ConfirmCompanyParameters(*session_, values, opened, prompter_, progress_).focus,
            "ZiLichidare");
  values.ZiLichidare = 30;
  // The average-hours question answered No keeps the old value.
  values.MedieOre = 160;
  prompter_.yes_no = {false};
  EXPECT_EQ(ConfirmCompanyParameters(*session_, values, opened, prompter_, progress_).focus,
            "MedieOre");
  EXPECT_EQ(session_->parameters().company.MedieOre, 170);
  // A used bonus needs a name; an unused one does not.
  values.spor[1].Apl = 0;
  values.spor[1].Den = " ";
  EXPECT_EQ(ConfirmCompanyParameters(*session_, values, opened, prompter_, progress_).focus,
            "Spor2_Den");
  values.spor[1].Apl = 4;
  values.spor[2].Apl = 5;
  values.spor[2].Den = "FORMULA";
  EXPECT_EQ(ConfirmCompanyParameters(*session_, values, opened, prompter_, progress_).focus,
            "Spor3_Form");
  opened[2] = true;
  EXPECT_TRUE(ConfirmCompanyParameters(*session_, values, opened, prompter_, progress_).confirmed);
  EXPECT_EQ(ReadCompany(db(), D(2004, 3), "ZiLichidare"), 30);
  EXPECT_EQ(ReadCompany(db(), D(2004, 3), "MedieOre"), 160);
  EXPECT_EQ(session_->parameters().company.spor[2].Apl, 5);
}

TEST_F(MonthSettingsTest, BonusKindChangeClearsOnlyTheWorkingMonthInputs) {
  struct Case {
    double from;
    double to;
    bool clears;
  };
  const Case kCases[] = {{0, 1, false}, {0, 2, true}, {0, 3, true},  {0, 5, true},
                         {2, 0, true},  {5, 0, true}, {2, 3, false}, {1, 0, false}};
  for (const Case& c : kCases) {
    EXPECT_EQ(KindChangeClearsInput(c.from, c.to), c.clears) << c.from << "->" << c.to;
  }
  PersRow row;
  row.IID = 1;
  row.spor2 = 15;
  AddEmployee(row);
  db().Run("INSERT INTO firma.Pers (LUNA, IID, spor2) VALUES (?, 1, 15)", D(2004, 2));
  engine::CompanyParameters values = session_->parameters().company;
  values.spor[1].Den = "SPOR";
  values.spor[1].Apl = 0;
  ASSERT_TRUE(ConfirmCompanyParameters(*session_, values, {}, prompter_, progress_).confirmed);
  EXPECT_EQ(Employees(D(2004, 3)).front().spor2, 15);  // unused -> fixed keeps
  values.spor[1].Apl = 2;
  ASSERT_TRUE(ConfirmCompanyParameters(*session_, values, {}, prompter_, progress_).confirmed);
  EXPECT_EQ(Employees(D(2004, 3)).front().spor2, 0);
  EXPECT_EQ(Employees(D(2004, 2)).front().spor2, 15);
}

TEST_F(MonthSettingsTest, ClosedMonthRefusesCompanyChangesButNotGeneralOnes) {
  ToggleMonthClosed(*session_);
  engine::CompanyParameters values = session_->parameters().company;
  values.TimpLuna = 100;
  EXPECT_FALSE(ConfirmCompanyParameters(*session_, values, {}, prompter_, progress_).confirmed);
  EXPECT_TRUE(prompter_.Shown(kMonthClosedMessage));
  EXPECT_EQ(ReadCompany(db(), D(2004, 3), "TimpLuna"), 184);
  engine::GeneralParameters general = session_->parameters().general;
  general.CAS = 20;
  ConfirmGeneralParameters(*session_, general, prompter_, progress_);
  EXPECT_EQ(ReadGeneral(db(), D(2004, 3), "CAS"), 20);
  EXPECT_FALSE(prompter_.Shown(kLaterMonthsWarning));
  PrepareSharedTables(db(), D(2004, 5));
  ConfirmGeneralParameters(*session_, general, prompter_, progress_);
  EXPECT_TRUE(prompter_.Shown(kLaterMonthsWarning));
}

TEST_F(MonthSettingsTest, ExemptSumsNeedAPercentageWhenChecked) {
  const engine::ExemptSetting on{100, "DA"};
  EXPECT_EQ(ConfirmExemptSums(*session_, {0, "DA"}, on, on, on, prompter_, progress_).focus,
            "Ex_Pensie");
  EXPECT_TRUE(prompter_.Shown("Va rog sa introduceti procentul pentru pensie !"));
  EXPECT_EQ(ConfirmExemptSums(*session_, on, on, {-1, "da"}, on, prompter_, progress_).focus,
            "Ex_Impozit");
  // "nu " reads as not checked: no percentage needed.
  ASSERT_TRUE(ConfirmExemptSums(*session_, on, on, {0, "nu "}, on, prompter_, progress_).confirmed);
  EXPECT_FALSE(engine::IsFlagChecked(ReadCompanyText(db(), D(2004, 3), "Ex_Impozit")));
  EXPECT_EQ(ProfessionalExpenses(1800000, 15), 270000);
}

TEST_F(MonthSettingsTest, HolidayPayFormulaIsStoredTrimmedOnlyInAnOpenMonth) {
  ASSERT_TRUE(ConfirmHolidayPayFormula(*session_, "  \"SALINC\"/2 ", 3, prompter_));
  EXPECT_EQ(ReadCompanyText(db(), D(2004, 3), "CO_Form"), "\"SALINC\"/2");
  EXPECT_EQ(ReadCompany(db(), D(2004, 3), "LuniCO"), 3);
  EXPECT_EQ(session_->parameters().company.CO_Form, "\"SALINC\"/2");
  ToggleMonthClosed(*session_);
  EXPECT_FALSE(ConfirmHolidayPayFormula(*session_, "", 0, prompter_));
  EXPECT_TRUE(prompter_.Shown(kMonthClosedMessage));
  EXPECT_EQ(ReadCompanyText(db(), D(2004, 3), "CO_Form"), "\"SALINC\"/2");
}

TEST_F(MonthSettingsTest, BracketsRefuseADuplicateThresholdPerPeriod) {
  const Date month = D(2004, 3);
  EXPECT_FALSE(AddBracket(db(), month, false, 2100000, 1, 1, prompter_));
  EXPECT_TRUE(prompter_.Shown("Barem deja existent pe luna specificata"));
  ASSERT_TRUE(AddBracket(db(), month, false, 20000000, 6441000, 45, prompter_));
  EXPECT_EQ(ListBrackets(db(), month, false).size(), 6u);
  EXPECT_EQ(CheckBrackets(db(), month, false), "Totul este in regula. ");
  const auto rows = ListBrackets(db(), month, true);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_FALSE(ModifyBracket(db(), month, true, rows[1].Nr, 0, 0, 0, prompter_));
  EXPECT_TRUE(prompter_.Shown("Barem deja existent pe anul specificat"));
  ASSERT_TRUE(ModifyBracket(db(), month, true, rows[2].Nr, 62400000, 13092001, 28, prompter_));
  EXPECT_NE(CheckBrackets(db(), month, true).find("'3'"), std::string::npos);
  ASSERT_TRUE(DeleteBracket(db(), month, true, rows[4].Nr, prompter_));
  EXPECT_EQ(ListBrackets(db(), month, true).size(), 4u);
  EXPECT_FALSE(DeleteBracket(db(), month, false, 9999, prompter_));  // no such row
}

}  // namespace
}  // namespace traveno::params::testing
