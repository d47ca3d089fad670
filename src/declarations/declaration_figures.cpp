#include "declarations/declaration_figures.h"

#include <cmath>

#include "core/errors.h"
#include "params/parameter_store.h"
#include "params/unit_of_work.h"

namespace traveno::declarations {

std::string InvalidAmountMessage(const std::string& caption) {
  return "Suma introdusa la \"" + caption + "\" nu este valida !";
}

void CheckDeclarationFigures(std::span<const DeclarationFigure> figures) {
  for (const DeclarationFigure& figure : figures) {
    if (!std::isfinite(figure.value) || figure.value < 0 || figure.value > kMaxDeclarationAmount) {
      throw Error(InvalidAmountMessage(figure.caption));
    }
  }
}

void WriteDeclarationFigures(Database& db, Date month, std::span<const DeclarationFigure> figures) {
  CheckDeclarationFigures(figures);
  params::UnitOfWork work(db);
  for (const DeclarationFigure& figure : figures) {
    params::WriteCompany(db, month, figure.name, figure.value);
  }
  work.Commit();
}

}  // namespace traveno::declarations
