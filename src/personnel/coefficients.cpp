#include "personnel/coefficients.h"

#include "core/numbers.h"
#include "engine/calculated_fields.h"

namespace traveno::personnel {
namespace {

long double RoundToCents(double value) { return RoundEven(static_cast<long double>(value) * 100) / 100; }

}  // namespace

std::string RelationshipLabel(int calitate) {
  return engine::Kalitate(calitate, engine::DependantView::kPayGrid);
}

std::string InvalidityLabel(int invaliditate) {
  return engine::Ynvaliditate(invaliditate, engine::DependantView::kPayGrid);
}

double InvalidityAddition(int invaliditate, const engine::GeneralParameters& general) {
  switch (invaliditate) {
    case 1:
      return general.InvalidI;
    case 2:
      return general.InvalidII;
    default:
      return 0;
  }
}

double OwnCoefficient(const PersRow& employee, const engine::GeneralParameters& general) {
  const bool abroad_permanent = employee.Domiciliu_ext == "1" && employee.TIP == "1";
  return (abroad_permanent ? 0.0 : 1.0) + InvalidityAddition(employee.INVALIDITATE, general);
}

double SingleCoefficient(int calitate, int invaliditate, const engine::GeneralParameters& general) {
  double rate = 0;
  switch (calitate) {
    case 0:
      rate = general.SotSotie;
      break;
    case 1:
      rate = general.DoiCopii;
      break;
    case 2:
      rate = general.RestCopii;
      break;
    case 3:
      rate = general.AltePers;
      break;
    default:
      break;
  }
  return rate + InvalidityAddition(invaliditate, general);
}

DependantsSum SumDependants(std::vector<PintRow>& dependants,
                            const engine::GeneralParameters& general) {
  DependantsSum result;
  for (std::size_t i = 0; i < dependants.size(); ++i) {
    PintRow& dependant = dependants[i];
    const double value = SingleCoefficient(dependant.Calitate, dependant.Invaliditate, general);
    if (dependant.Coef != value) {
      dependant.Coef = value;
      result.repaired.push_back(i);
    }
    result.sum += value;
  }
  return result;
}

CoefficientUpdate CloseDependantsList(double opening, double stored_coef_ind,
                                      double stored_coef_ind1, double total,
                                      bool is_last_month) {
  CoefficientUpdate update{total, stored_coef_ind1, std::nullopt};
  if (!is_last_month) {
    if (RoundToCents(opening) != RoundToCents(total)) {
      update.warning = "Atentie !!.Coeficientul de calcul va ramane \"" +
                       FloatToText(stored_coef_ind1) +
                       "\"  deoarece luna a fost probabil deja predata.Daca este necesar "
                       "modificati manual coeficientul de calcul !!";
    }
    return update;
  }
  if (FloatToText(stored_coef_ind) != FloatToText(stored_coef_ind1)) {
    update.warning = "Atentie !!.Coeficientul de calcul are valoarea \"" +
                     FloatToText(stored_coef_ind1) +
                     "\".Va rog verificati si modificati daca este cazul !!";
    return update;
  }
  update.CoefInd1 = total;
  return update;
}

}  // namespace traveno::personnel
