#include "personnel/employees.h"

#include "core/errors.h"
#include "personnel/dependants.h"
#include "personnel/grid_line.h"
#include "tests/personnel/services_fixture.h"

namespace traveno::personnel {
namespace {

using testing::D;

class EmployeesTest : public testing::ServicesFixture {};

TEST_F(EmployeesTest, AddOnThePartialContractPageKeepsItsDefaultBoxes) {
  const PersRow line = Hire("POPESCU", "2", 1000000, 40);
  EXPECT_EQ(line.TIP, "2");
  EXPECT_EQ(line.IID, line.Nr);
  EXPECT_EQ(line.BifaSom, 1);
  EXPECT_EQ(line.Domiciliu_ext, "1");
  EXPECT_EQ(line.ALT_VENIT, 1);
  EXPECT_EQ(line.fisa_regul, "3");
  EXPECT_EQ(line.ProcImpo, 100);
  EXPECT_EQ(line.Ore_Zi, 4);
  EXPECT_EQ(line.CoefInd, 0);
  EXPECT_EQ(line.CoefInd1, 0);
  EXPECT_GT(line.BRUT, 0);  // recalculated at once
  ExpectTotalsCurrent();

  EmployeeInput main_job = NewEmployeeInput("2");
  main_job.Nume = "B";
  main_job.Prenume = "C";
  main_job.Ore_Zi = 2;
  main_job.PlatitOra = true;
  const PersRow second = Line(SaveEmployee(*session_, EmployeeEditMode::kAdd, main_job, "2"));
  EXPECT_EQ(second.CoefInd, 1);
  EXPECT_EQ(second.CoefInd1, 1);
}

TEST_F(EmployeesTest, PermanentEmployeeLivingAbroadHasNoOwnCoefficient) {
  EmployeeInput input = NewEmployeeInput("1");
  input.Nume = "X";
  input.Prenume = "Y";
  input.DomiciliuExt = true;
  const PersRow line = Line(SaveEmployee(*session_, EmployeeEditMode::kAdd, input, "1"));
  EXPECT_EQ(line.CoefInd, 0);
  EXPECT_EQ(line.CoefInd1, 0);
  EXPECT_EQ(line.Ore_Zi, 0);
  EXPECT_TRUE(line.DATA_NAS.IsEmpty());  // a blank birth date
}

TEST_F(EmployeesTest, ValidationTakesTheFirstFailureInOrder) {
  struct Case {
    std::string nume, prenume, tip;
    double ore_zi;
    Date lich;
    std::optional<std::string> refusal;
  };
  const Case kCases[] = {
      {"", "", "2", 0, D(2002, 1, 1), kNameMissing},
      {"A", " ", "2", 0, D(2002, 1, 1), kFirstNameMissing},
      {"A", "B", "2", 0, D(2002, 1, 1), kBadHoursPerDay},
      {"A", "B", "1", 0, D(2003, 2, 28), kLeavingBeforeMonth},
      {"A", "B", "1", 0, D(2003, 3, 1), std::nullopt},
      {"A", "B", "2", 0.5, EmptyDate(), std::nullopt},
  };
  for (const Case& c : kCases) {
    EmployeeInput input;
    input.Nume = c.nume;
    input.Prenume = c.prenume;
    input.Ore_Zi = c.ore_zi;
    input.Data_Lich = c.lich;
    const auto refusal = ValidateEmployee(input, c.tip, D(2003, 3));
    EXPECT_EQ(refusal ? std::optional(refusal->message) : std::nullopt, c.refusal) << c.nume;
  }
}

TEST_F(EmployeesTest, AnInvalidCodeOnlyWarns) {
  EmployeeInput input = NewEmployeeInput("1");
  input.Nume = "A";
  input.Prenume = "B";
  input.CodNumPers = "185031512345";
  EXPECT_TRUE(ConfirmEmployee(*session_, EmployeeEditMode::kAdd, input, "1", prompter_));
  EXPECT_TRUE(prompter_.Shown(kBadEmployeeCode));
  const PersRow line = Line(SaveEmployee(*session_, EmployeeEditMode::kAdd, input, "1"));
  EXPECT_EQ(line.CODNUMPERS, "185031512345");
}

TEST_F(EmployeesTest, DeleteRemovesTheMonthsDependantsButNotThePhotoNorOtherMonths) {
  const PersRow line = Hire("POPESCU");
  AddDependant(line.IID, "2850315123451");
  db().Run("INSERT INTO firma.Pers (LUNA, IID, TIP, NUME) VALUES (?, ?, '1', 'POPESCU')",
           D(2003, 2), line.IID);
  EmployeeInput with_photo = EmployeeInputFromRow(line);
  with_photo.photo = Blob{'B', 'M', 1, 2};
  SaveEmployee(*session_, EmployeeEditMode::kModify, with_photo, "1", line.Nr);

  SaveEmployee(*session_, EmployeeEditMode::kDelete, EmployeeInputFromRow(line), "1", line.Nr);
  EXPECT_TRUE(Employees(D(2003, 3)).empty());
  EXPECT_EQ(Employees(D(2003, 2)).size(), 1u);
  EXPECT_EQ(db().QueryInt("SELECT COUNT(*) FROM firma.Pint"), 0);
  EXPECT_EQ(LoadEmployeePhoto(*session_, line.IID), (Blob{'B', 'M', 1, 2}));
  ExpectTotalsCurrent();
}

TEST_F(EmployeesTest, PartialContractLosingItsMainJobLosesDependantsAndCoefficients) {
  EmployeeInput input = NewEmployeeInput("2");
  input.Nume = "A";
  input.Prenume = "B";
  input.Ore_Zi = 4;
  input.PlatitOra = true;
  input.Invaliditate = 1;
  const PersRow line = Line(SaveEmployee(*session_, EmployeeEditMode::kAdd, input, "2"));
  EXPECT_EQ(line.INVALIDITATE, 1);
  AddDependant(line.IID, "2850315123451");

  EmployeeInput changed = EmployeeInputFromRow(line);
  changed.PlatitOra = false;
  changed.Invaliditate = 0;  // the window resets the list; it is not stored
  SaveEmployee(*session_, EmployeeEditMode::kModify, changed, "2", line.Nr);
  const PersRow after = Line(line.Nr);
  EXPECT_EQ(after.CoefInd, 0);
  EXPECT_EQ(after.CoefInd1, 0);
  EXPECT_EQ(after.INVALIDITATE, 1);
  EXPECT_TRUE(ListDependants(*session_, line.IID).empty());
}

TEST_F(EmployeesTest, RehireKeepsIdentityCategoryAndEmployeeNumber) {
  db().Run(
      "INSERT INTO firma.Pers (LUNA, IID, TIP, NUME, PRENUME, CATEGORIE, MARCA, TIMP, DATA_ANG, "
      "DATA_LICH, SALINC) VALUES (?, 77, '1', 'VECHI', 'ION', 3, 412, 100, ?, ?, 2000000)",
      D(2002, 6), D(2000, 1, 1), D(2002, 6, 15));
  const std::vector<PersRow> former = QueryRows<PersRow>(db(), "SELECT * FROM firma.Pers");
  ASSERT_EQ(former.size(), 1u);
  const EmployeeInput input = RehireInputFromRow(former.front());
  EXPECT_EQ(input.Timp, 0);
  EXPECT_TRUE(input.Data_Ang.IsEmpty());
  EXPECT_TRUE(input.Data_Lich.IsEmpty());

  const PersRow line = Line(SaveEmployee(*session_, EmployeeEditMode::kRehire, input, "1",
                                         std::nullopt, RehireIdentityOf(former.front())));
  EXPECT_EQ(line.IID, 77);
  EXPECT_EQ(line.CATEGORIE, 3);
  EXPECT_EQ(line.MARCA, 412);
  EXPECT_EQ(line.SALINC, 2000000);
  EXPECT_EQ(line.TIMP, 0);
  EXPECT_TRUE(line.DATA_LICH.IsEmpty());
  EXPECT_NE(line.Nr, 77);
}

TEST_F(EmployeesTest, AClosedMonthRefusesEveryChange) {
  const PersRow line = Hire("POPESCU");
  CloseMonth();
  EmployeeInput input = EmployeeInputFromRow(line);
  input.SalInc = 1;
  EXPECT_THROW(SaveEmployee(*session_, EmployeeEditMode::kModify, input, "1", line.Nr), traveno::Error);
  EXPECT_THROW(SaveEmployee(*session_, EmployeeEditMode::kAdd, input, "1"), traveno::Error);
  EXPECT_THROW(UpdateGridLine(*session_, line.Nr, {{"TIMP", FieldValue(1.0)}}), traveno::Error);
  EXPECT_EQ(Line(line.Nr).SALINC, line.SALINC);
}

TEST_F(EmployeesTest, LeavingDateInTheWorkingMonthOfAnEarlierMonthWarns) {
  session_->set_last_month(D(2003, 5));
  EXPECT_EQ(LeavingDateWarning(*session_, D(2003, 3, 20)), kStillEmployedLater);
  EXPECT_EQ(LeavingDateWarning(*session_, D(2003, 4, 1)), std::nullopt);
  session_->set_last_month(D(2003, 3));
  EXPECT_EQ(LeavingDateWarning(*session_, D(2003, 3, 20)), std::nullopt);
}

}  // namespace
}  // namespace traveno::personnel
