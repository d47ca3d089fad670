#include "declarations/declaration_employer.h"

#include "core/text.h"
#include "declarations/file_fields.h"

namespace traveno::declarations {

std::string DeclarationEmployer::Name() const {
  if (legal_person()) return row.Denumire;
  return row.Nume + " " + row.Prenume;
}

DeclarationEmployer MakeDeclarationEmployer(const FirmeRow& row) {
  DeclarationEmployer employer;
  employer.row = row;
  employer.fiscal_code = StripR(UpperTrim(row.CodFiscal));
  employer.reg_com = SplitRegCom(row.RegCom);
  return employer;
}

std::optional<DeclarationEmployer> FindDeclarationEmployer(Store& store, std::string_view code) {
  const std::optional<FirmeRow> row = store.FindCompany(code);
  if (!row) return std::nullopt;
  return MakeDeclarationEmployer(*row);
}

}  // namespace traveno::declarations
