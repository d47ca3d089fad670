#include "personnel/dependants.h"

#include "personnel/checks.h"
#include "personnel/grid_line.h"
#include "personnel/leave_and_history.h"
#include "tests/personnel/services_fixture.h"

namespace traveno::personnel {
namespace {

using testing::D;

class DependantsTest : public testing::ServicesFixture {
 protected:
  void SetUp() override {
    ServicesFixture::SetUp();
    for (auto [name, value] : {std::pair{"SotSotie", 0.5}, {"DoiCopii", 0.5}, {"InvalidI", 0.5}}) {
      params::WriteGeneral(db(), D(2003, 3), name, value);
    }
    session_->LoadParameters();
  }

  std::int64_t Add(const PersRow& employee, DependantInput input) {
    EXPECT_TRUE(ConfirmDependant(*session_, DependantEditMode::kAdd, input, "", prompter_));
    return SaveDependant(*session_, employee, input, std::nullopt);
  }
};

TEST_F(DependantsTest, TheListsCloseWritesOwnPlusDependantsAndRepairsStaleCoefficients) {
  const PersRow employee = Hire("POPESCU");
  DependantsList list = OpenDependantsList(*session_, employee.Nr);
  EXPECT_EQ(list.base, 1);
  Add(employee, {"SOTIA", "ANA", "2750101123456", 0, 0});
  Add(employee, {"FIUL", "DAN", "5010101123456", 1, 1});
  EXPECT_EQ(DependantsTotal(*session_, list), 2.5);
  CloseDependantsList(*session_, list, prompter_);
  EXPECT_EQ(Line(employee.Nr).CoefInd, 2.5);
  EXPECT_EQ(Line(employee.Nr).CoefInd1, 2.5);
  EXPECT_TRUE(prompter_.messages.empty() ||
              prompter_.messages.back().text.find("Atentie") == std::string::npos);
  ExpectTotalsCurrent();

  params::WriteGeneral(db(), D(2003, 3), "DoiCopii", 0.7);
  session_->LoadParameters();
  list = OpenDependantsList(*session_, employee.Nr);
  const auto coefs = QueryRows<PintRow>(db(), "SELECT * FROM firma.Pint ORDER BY Nr");
  ASSERT_EQ(coefs.size(), 2u);
  EXPECT_EQ(coefs[0].Coef, 0.5);
  EXPECT_DOUBLE_EQ(coefs[1].Coef, 1.2);
  // The base is what the stored CoefInd leaves beside the repaired sum.
  EXPECT_DOUBLE_EQ(list.base, 0.8);
}

TEST_F(DependantsTest, AChildMustBeUnder18InTheWorkingMonth) {
  const PersRow employee = Hire("POPESCU");
  const DependantInput child{"FIUL", "DAN", "1850315123455", 1, 0};  // born 15.03.1985
  EXPECT_TRUE(ConfirmDependant(*session_, DependantEditMode::kAdd, child, "", prompter_));
  session_->SetWorkingMonth("FIRMA", D(2003, 4));
  session_->LoadParameters();
  EXPECT_FALSE(ConfirmDependant(*session_, DependantEditMode::kAdd, child, "", prompter_));
  EXPECT_TRUE(prompter_.Shown(kDependantOver18));
  // The same person as "other person" is no child.
  EXPECT_TRUE(ConfirmDependant(*session_, DependantEditMode::kAdd,
                               {"FIUL", "DAN", "1850315123455", 3, 0}, "", prompter_));
}

TEST_F(DependantsTest, ACodeIsUniqueAmongTheMonthsDependants) {
  const PersRow a = Hire("A");
  const PersRow b = Hire("B");
  const DependantInput spouse{"SOTIA", "ANA", "2750101123456", 0, 0};
  Add(a, spouse);
  EXPECT_FALSE(ConfirmDependant(*session_, DependantEditMode::kAdd, spouse, "", prompter_));
  EXPECT_TRUE(prompter_.Shown(kDependantCodeExists));
  // Changing the dependant that holds the code keeps it.
  EXPECT_TRUE(ConfirmDependant(*session_, DependantEditMode::kModify, spouse, "2750101123456",
                               prompter_));
  db().Run("UPDATE firma.Pint SET Luna = ?", D(2003, 2));
  EXPECT_TRUE(ConfirmDependant(*session_, DependantEditMode::kAdd, spouse, "", prompter_));
  (void)b;
}

TEST_F(DependantsTest, RefusalsComeInOrder) {
  struct Case {
    DependantInput input;
    const char* refusal;
  };
  const Case kCases[] = {
      {{"", "B", "1", 0, 0}, kDependantNameMissing},
      {{"A", "", "1", 0, 0}, kDependantFirstNameMissing},
      {{"A", "B", " ", 0, 0}, kDependantCodeMissing},
      {{"A", "B", "1", 9, 0}, kDependantBadCoefficient},
  };
  for (const Case& c : kCases) {
    prompter_.messages.clear();
    EXPECT_FALSE(ConfirmDependant(*session_, DependantEditMode::kAdd, c.input, "", prompter_));
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages.front().text, c.refusal);
  }
  // A wrong code only warns.
  prompter_.messages.clear();
  EXPECT_TRUE(ConfirmDependant(*session_, DependantEditMode::kAdd, {"A", "B", "123", 0, 0}, "",
                               prompter_));
  EXPECT_EQ(prompter_.messages.back().text,
            std::string("CNP-ul nu este din 13 caractere !!\n\r") + kDependantBadCode);
}

TEST_F(DependantsTest, ClosingTheListOutsideTheLastMonthKeepsTheUsedCoefficient) {
  const PersRow employee = Hire("POPESCU");
  session_->set_last_month(D(2003, 5));
  const DependantsList list = OpenDependantsList(*session_, employee.Nr);
  Add(employee, {"SOTIA", "ANA", "2750101123456", 0, 0});
  CloseDependantsList(*session_, list, prompter_);
  EXPECT_EQ(Line(employee.Nr).CoefInd, 1.5);
  EXPECT_EQ(Line(employee.Nr).CoefInd1, 1);
  EXPECT_EQ(prompter_.messages.back().text.rfind("Atentie !!.Coeficientul de calcul va ramane \"1\"", 0),
            0u);
}

TEST_F(DependantsTest, ClosingTheListKeepsAHandTypedCoefficient) {
  const PersRow employee = Hire("POPESCU");
  UpdateGridLine(*session_, employee.Nr, {{"CoefInd1", FieldValue(1.8)}});
  const DependantsList list = OpenDependantsList(*session_, employee.Nr);
  Add(employee, {"SOTIA", "ANA", "2750101123456", 0, 0});
  CloseDependantsList(*session_, list, prompter_);
  EXPECT_EQ(Line(employee.Nr).CoefInd, 1.5);
  EXPECT_EQ(Line(employee.Nr).CoefInd1, 1.8);
  EXPECT_EQ(prompter_.messages.back().text,
            "Atentie !!.Coeficientul de calcul are valoarea \"1,8\".Va rog verificati si "
            "modificati daca este cazul !!");
}

class ChecksTest : public testing::ServicesFixture {};

TEST_F(ChecksTest, TimeCheckListsLinesOverTheMonthsTime) {
  params::WriteCompany(db(), D(2003, 3), "TimpZile", 0);
  params::WriteCompany(db(), D(2003, 3), "TimpLuna", 168);
  session_->LoadParameters();
  EXPECT_TRUE(CheckTime(*session_, {"1", {}}).findings.empty());  // an empty page
  const PersRow one = Hire("UNA", "1", 1000000, 160);
  const PersRow two = Hire("DOUA", "1", 1000000, 160);
  db().Run("UPDATE firma.Pers SET ZILE_CO = 1 WHERE Nr = ?", one.Nr);
  db().Run("UPDATE firma.Pers SET ZILE_CO = 1, ZILE_FP = 1 WHERE Nr = ?", two.Nr);
  const auto list = CheckTime(*session_, {"1", {}});
  ASSERT_EQ(list.findings.size(), 1u);
  EXPECT_EQ(list.findings[0].Nume, "DOUA");
  EXPECT_EQ(list.findings[0].TimpCalculat, 176);
  EXPECT_EQ(list.heading,
            "Lista salariatilor PERMANENTI care au timpul calculat mai mare decat timpul in luna "
            "(168)");
}

TEST_F(ChecksTest, CodeAndCoefficientChecks) {
  EmployeeInput abroad = NewEmployeeInput("1");
  abroad.Nume = "STRAIN";
  abroad.Prenume = "A";
  abroad.DomiciliuExt = true;
  abroad.Invaliditate = 1;
  abroad.CodNumPers = "1850315123455";
  const PersRow a = Line(SaveEmployee(*session_, EmployeeEditMode::kAdd, abroad, "1"));
  const PersRow typed = Hire("TASTAT");
  UpdateGridLine(*session_, typed.Nr, {{"COEFIND1", FieldValue(1.5)}});
  Hire("CORECT");

  const auto coefficients = CheckCoefficients(*session_, {"1", {}});
  ASSERT_EQ(coefficients.findings.size(), 2u);
  EXPECT_EQ(coefficients.findings[0].Nume, "STRAIN");
  EXPECT_EQ(coefficients.findings[0].Coef_Ind_C, session_->parameters().general.InvalidI);
  EXPECT_EQ(coefficients.findings[0].CoefCalculat, 0);
  EXPECT_EQ(coefficients.findings[1].Coef_Ind_C, 1.5);
  EXPECT_EQ(coefficients.findings[1].CoefCalculat, 1);
  EXPECT_EQ(coefficients.findings[1].NrCrt, 2);

  const auto codes = CheckCodes(*session_, {"1", {}});
  ASSERT_EQ(codes.findings.size(), 2u);  // the two without a code
  EXPECT_EQ(codes.findings[0].Eroare, "CNP-ul nu este din 13 caractere !!");
  EXPECT_TRUE(CheckCodes(*session_, {"2", {}}).findings.empty());
  (void)a;
}

TEST_F(ChecksTest, ListsOfTheMonth) {
  db().Run(
      "INSERT INTO firma.Pers (LUNA, IID, TIP, NUME, DATA_ANG, DATA_LICH) VALUES "
      "(?, 50, '1', 'PLECAT', '2001-01-01', '2003-01-31'), "
      "(?, 51, '1', 'RAMAS', '2004-02-29', '2003-03-10'), "
      "(?, 51, '1', 'RAMAS', '2004-02-01', '2003-03-10'), "
      "(?, 52, '1', 'MARTIE', '2004-03-01', '1899-12-30')",
      D(2003, 1), D(2003, 1), D(2003, 3), D(2003, 3));
  const auto rehire = RehireCandidates(*session_);
  ASSERT_EQ(rehire.size(), 1u);
  EXPECT_EQ(rehire[0].NUME, "PLECAT");
  const auto hired = HiredInMonth(*session_, D(2004, 2));
  EXPECT_EQ(hired.size(), 2u);
  EXPECT_EQ(HiredHeading(D(2004, 2)), "Personal angajat in luna: FEBRUARIE 2004");
  EXPECT_EQ(IdentityCards(*session_).size(), 2u);
}

TEST_F(ChecksTest, MedicalLeaveIsAddedToTheLine) {
  const PersRow line = Hire("BOLNAV");
  db().Run("INSERT INTO firma.Pers (LUNA, IID, TIP, NUME, BRUT, TIMP) VALUES (?, ?, '1', 'X', "
           "4200000, 21)",
           D(2003, 2), line.IID);
  params::WriteCompany(db(), D(2003, 2), "TimpLuna", 21);
  params::WriteCompany(db(), D(2003, 2), "TimpZile", 1);
  SumStoredLines(*session_);
  const LeaveProposal proposal =
      ProposeMedicalLeave(*session_, line.Nr, 6, engine::LeaveKind::kOrdinary, 10);
  EXPECT_EQ(proposal.average.months, 1);
  EXPECT_TRUE(proposal.fewer_months);
  EXPECT_EQ(proposal.average.average, 200000);
  EXPECT_EQ(proposal.split.company_days, 7);
  EXPECT_EQ(proposal.split.state_days, 3);
  const PersRow after = ApplyMedicalLeave(*session_, line.Nr, proposal.split);
  EXPECT_EQ(after.ZILE_CM, 10);
  EXPECT_EQ(after.CM1L, 1050000);
  EXPECT_EQ(Line(line.Nr).CM2L, 450000);
  EXPECT_EQ(PersonHistory(*session_, line.IID).size(), 2u);
  ExpectTotalsCurrent();
}

}  // namespace
}  // namespace traveno::personnel
