#include "declarations/cas_declaration.h"

#include "core/numbers.h"
#include "core/text.h"
#include "declarations/month_rows.h"
#include "engine/calculated_fields.h"
#include "engine/company_totals.h"
#include "params/unit_of_work.h"
#include "personnel/pay_grid.h"

namespace traveno::declarations {
namespace {

bool IsPermanent(const PersRow& row) { return Trim(row.TIP) == "1"; }
bool IsPensioner(const PersRow& row) { return row.Pensionar != 0; }

std::string HoursText(double hours) { return FormatNumber(hours, NumberMask::kUpToTwoDecimals); }

}  // namespace

bool IsDeclaredForCas(const PersRow& row) { return Trim(row.TIP) != "2" || row.ALT_VENIT != 0; }

CasContractFlags CasFileFlags(const PersRow& row) {
  CasContractFlags flags;
  if (IsPensioner(row)) {
    flags.pe = IsPermanent(row) ? 8 : row.Ore_Zi;
    return flags;
  }
  if (IsPermanent(row)) {
    flags.cm = 1;
  } else if (Trim(row.TIP) == "2" && row.ALT_VENIT == 1 && row.Ore_Zi >= 2 && row.Ore_Zi <= 7) {
    flags.cv = row.Ore_Zi;
  }
  return flags;
}

CasPerson MakeCasPerson(const PersRow& row, const engine::MonthParameters& parameters) {
  const engine::NominalFigures figures = engine::ComputeNominalFigures(row, parameters);
  CasPerson person;
  person.nume = row.NUME;
  person.prenume = row.PRENUME;
  person.codnumpers = row.CODNUMPERS;
  person.tip = row.TIP;
  person.ore_zi = row.Ore_Zi;
  person.norma = row.NORMA;
  person.flags = CasFileFlags(row);
  if (IsPensioner(row)) {
    person.pensioner_column = HoursText(IsPermanent(row) ? 8 : row.Ore_Zi);
  } else if (IsPermanent(row)) {
    person.contract_column.push_back('X');
  } else {
    person.partial_column = HoursText(row.Ore_Zi);
  }
  person.total_zile = figures.TotalZile;
  person.zile_norm = figures.ZileNorm;
  person.zile_prest = figures.ZilePrest;
  person.baza_cas = figures.BazaCAS.value_or(0);
  person.pensie = row.PENSIE;
  person.total_prest = figures.TotalPrest;
  person.bass = figures.BASS;
  return person;
}

CasDeclaration BuildCasDeclaration(params::Session& session) {
  CasDeclaration declaration;
  declaration.month = session.working_month();
  // Only read: one consistent view, no write lock.
  params::ReadWork work(session.db());
  declaration.employer = FindDeclarationEmployer(session.store(), session.company());
  const auto rows =
      ReadMonthRows(session.db(), declaration.month, MonthRowOrder::kDepartmentKindCategoryMarca);
  work.Done();
  personnel::SumLines(session, rows);

  const engine::MonthParameters& parameters = session.parameters();
  declaration.zi_lichidare = parameters.company.ZiLichidare;
  declaration.has_rows = !rows.empty();
  CasTotals& totals = declaration.totals;
  for (const PersRow& row : rows) {
    const engine::NominalFigures figures = engine::ComputeNominalFigures(row, parameters);
    totals.SB += figures.BazaCAS.value_or(0);
    totals.SP += row.PENSIE;
    totals.SS += figures.BASS;
    if (IsDeclaredForCas(row)) declaration.persons.push_back(MakeCasPerson(row, parameters));
  }
  const engine::CompanyFunds& funds = session.funds();
  totals.EC = funds.FondCAS;
  totals.HC = funds.FondSanatateCM;
  totals.AC = funds.FondAccident;
  totals.NRM = engine::NumarMediuSalariati(rows, parameters);
  return declaration;
}

}  // namespace traveno::declarations
