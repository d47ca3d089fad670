// The personal-deduction coefficient of an employee: 1 for the employee
// (0 for a permanent employee living abroad) plus the invalidity addition,
// plus, for each dependant, the coefficient of the relationship and its own
// invalidity addition. All the rates are general parameters of the month.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/records.h"
#include "engine/month_parameters.h"

namespace traveno::personnel {

// Stored in Pint.Calitate: never renumber.
enum class Relationship { kSpouse = 0, kFirstTwoChildren = 1, kFurtherChildren = 2, kOther = 3 };
// Stored in Pers.INVALIDITATE and Pint.Invaliditate: never renumber.
enum class Invalidity { kNone = 0, kGradeI = 1, kGradeII = 2 };

// The labels of the relationships and invalidity grades shown in the lists.
std::string RelationshipLabel(int calitate);
std::string InvalidityLabel(int invaliditate);

// InvalidI for grade I, InvalidII for grade II, 0 otherwise.
double InvalidityAddition(int invaliditate, const engine::GeneralParameters& general);

// The employee's own part: base 0 for a permanent employee whose domicile is
// abroad (Domiciliu_ext "1"), else 1, plus the invalidity addition. For a
// partial-contract employee Domiciliu_ext means something else and the base is 1.
double OwnCoefficient(const PersRow& employee, const engine::GeneralParameters& general);

// One dependant's coefficient: its relationship's rate plus its invalidity
// addition; an unknown relationship counts 0.
double SingleCoefficient(int calitate, int invaliditate, const engine::GeneralParameters& general);

// The sum of an employee's dependants. A dependant whose stored Coef no
// longer matches the month's rates gets the current value, and its index is
// listed so that the caller can write it back.
struct DependantsSum {
  double sum = 0;
  std::vector<std::size_t> repaired;
};
DependantsSum SumDependants(std::vector<PintRow>& dependants,
                            const engine::GeneralParameters& general);

// What closing the dependants' list writes into the employee's row: the new
// CoefInd, the CoefInd1 the calculation will use, and the warning to show.
struct CoefficientUpdate {
  double CoefInd = 0;
  double CoefInd1 = 0;
  std::optional<std::string> warning;
};
// `opening` is CoefInd as it was when the list opened, `total` the base plus
// the dependants' sum. In a month that is not the company's last, only
// CoefInd changes (the month was probably handed in already); in the last
// month a CoefInd1 typed by hand is kept with a warning.
CoefficientUpdate CloseDependantsList(double opening, double stored_coef_ind,
                                      double stored_coef_ind1, double total,
                                      bool is_last_month);

}  // namespace traveno::personnel
