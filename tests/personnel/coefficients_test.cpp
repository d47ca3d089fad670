#include "personnel/coefficients.h"

#include <gtest/gtest.h>

namespace traveno::personnel {
namespace {

engine::GeneralParameters Rates() {
  engine::GeneralParameters general;
  general.SotSotie = 0.5;
  general.DoiCopii = 0.5;
  general.RestCopii = 0.4;
  general.AltePers = 0.3;
  general.InvalidI = 0.5;
  general.InvalidII = 0.25;
  return general;
}

PintRow Dependant(int calitate, int invaliditate, double coef = 0) {
  PintRow row;
  row.Calitate = calitate;
  row.Invaliditate = invaliditate;
  row.Coef = coef;
  return row;
}

TEST(CoefficientsTest, SpouseAndAnInvalidChildMakeTwoAndAHalfWithTheEmployee) {
  std::vector<PintRow> dependants = {Dependant(0, 0), Dependant(1, 1)};
  const DependantsSum sum = SumDependants(dependants, Rates());
  EXPECT_DOUBLE_EQ(sum.sum, 1.5);
  PersRow employee;
  employee.TIP = "1";
  EXPECT_DOUBLE_EQ(OwnCoefficient(employee, Rates()) + sum.sum, 2.5);
}

TEST(CoefficientsTest, OwnCoefficientByKindDomicileAndInvalidity) {
  struct Case {
    const char* tip;
    const char* abroad;
    int invalidity;
    double expected;
  };
  const Case kCases[] = {{"1", "0", 0, 1},   {"1", "1", 0, 0},   {"2", "1", 0, 1},
                         {"1", "1", 1, 0.5}, {"1", "0", 2, 1.25}, {"2", "0", 1, 1.5}};
  for (const Case& c : kCases) {
    PersRow employee;
    employee.TIP = c.tip;
    employee.Domiciliu_ext = c.abroad;
    employee.INVALIDITATE = c.invalidity;
    EXPECT_DOUBLE_EQ(OwnCoefficient(employee, Rates()), c.expected)
        << c.tip << " " << c.abroad << " " << c.invalidity;
  }
}

TEST(CoefficientsTest, SingleCoefficientPerRelationship) {
  EXPECT_DOUBLE_EQ(SingleCoefficient(0, 0, Rates()), 0.5);
  EXPECT_DOUBLE_EQ(SingleCoefficient(2, 2, Rates()), 0.65);
  EXPECT_DOUBLE_EQ(SingleCoefficient(3, 0, Rates()), 0.3);
  EXPECT_DOUBLE_EQ(SingleCoefficient(9, 1, Rates()), 0.5);  // unknown relationship: only the addition
  EXPECT_EQ(RelationshipLabel(1), "Copii <= 2");
  EXPECT_EQ(InvalidityLabel(2), "Inv. grad II");
}

TEST(CoefficientsTest, StaleStoredCoefficientsAreRepairedAfterARateChange) {
  std::vector<PintRow> dependants = {Dependant(1, 0, 0.5), Dependant(0, 0, 0.5),
                                     Dependant(1, 0, 0.5)};
  engine::GeneralParameters general = Rates();
  general.DoiCopii = 0.6;
  const DependantsSum sum = SumDependants(dependants, general);
  EXPECT_EQ(sum.repaired, (std::vector<std::size_t>{0, 2}));
  EXPECT_DOUBLE_EQ(dependants[0].Coef, 0.6);
  EXPECT_DOUBLE_EQ(dependants[1].Coef, 0.5);
  EXPECT_DOUBLE_EQ(sum.sum, 1.7);
  std::vector<PintRow> none;
  EXPECT_EQ(SumDependants(none, general).sum, 0);
}

TEST(CloseDependantsListTest, EarlierMonthsAndHandTypedCoefficients) {
  // An earlier month: CoefInd follows the total, CoefInd1 stays, warning on change.
  CoefficientUpdate earlier = CloseDependantsList(2, 2, 2, 2.5, false);
  EXPECT_DOUBLE_EQ(earlier.CoefInd, 2.5);
  EXPECT_DOUBLE_EQ(earlier.CoefInd1, 2);
  EXPECT_EQ(earlier.warning,
            "Atentie !!.Coeficientul de calcul va ramane \"2\"  deoarece luna a fost probabil "
            "deja predata.Daca este necesar modificati manual coeficientul de calcul !!");
  EXPECT_FALSE(CloseDependantsList(2, 2, 2, 2.004, false).warning);  // same to the cent

  // The last month with CoefInd1 typed by hand: only CoefInd changes.
  CoefficientUpdate typed = CloseDependantsList(2, 2, 1.5, 2.5, true);
  EXPECT_DOUBLE_EQ(typed.CoefInd, 2.5);
  EXPECT_DOUBLE_EQ(typed.CoefInd1, 1.5);
  EXPECT_EQ(typed.warning,
            "Atentie !!.Coeficientul de calcul are valoarea \"1,5\".Va rog verificati si "
            "modificati daca este cazul !!");

  // The last month, both equal: both follow the total, silently.
  CoefficientUpdate plain = CloseDependantsList(2, 2, 2, 2.5, true);
  EXPECT_DOUBLE_EQ(plain.CoefInd, 2.5);
  EXPECT_DOUBLE_EQ(plain.CoefInd1, 2.5);
  EXPECT_FALSE(plain.warning);
}

}  // namespace
}  // namespace traveno::personnel
