#include "declarations/health_declaration.h"

#include "core/store/row_io.h"
#include "declarations/declaration_figures.h"
#include "declarations/month_rows.h"
#include "declarations/write_protected.h"
#include "engine/calculated_fields.h"
#include "params/unit_of_work.h"
#include "personnel/pay_grid.h"

namespace traveno::declarations {
namespace {

constexpr const char* kPaidNames[] = {"DatorSanA", "DatorSanB", "DatorSanC"};
constexpr const char* kArrearsNames[] = {"RestSanA", "RestSanB", "RestSanC"};
constexpr const char* kIncreasesNames[] = {"MajSanA", "MajSanB", "MajSanC"};
constexpr const char* kSectionNames[] = {"A", "B", "C"};

bool HasRowDatedIn(Database& db, const char* field, Date month) {
  const MonthSpan span = SpanOf(month);
  return db
      .QueryInt(std::string("SELECT 1 FROM firma.Pers WHERE LUNA = ? AND ") + field +
                    " BETWEEN ? AND ? LIMIT 1",
                month, span.first, span.last)
      .has_value();
}

}  // namespace

HealthSections HealthSectionsOf(const engine::CompanyParameters& c) {
  return {HealthSection{c.DatorSanA, c.RestSanA, c.MajSanA},
          HealthSection{c.DatorSanB, c.RestSanB, c.MajSanB},
          HealthSection{c.DatorSanC, c.RestSanC, c.MajSanC}};
}

HealthOpening OpenHealthDeclaration(params::Session& session, ProgressReporter& progress) {
  HealthOpening opening;
  Database& db = session.db();
  const Date month = session.working_month();
  std::vector<PersRow> rows;
  // Reads the month, recalculated first when the data folder can be written.
  auto read = [&](bool recalculate) {
    params::UnitOfWork work(db);
    session.LoadParameters();
    if (recalculate) {
      personnel::RecalculateCompany(session, progress);
    } else {
      personnel::SumStoredLines(session);
    }
    rows = ReadMonthRows(db, month, MonthRowOrder::kKind);
    opening.has_entering = HasRowDatedIn(db, "DATA_ANG", month);
    opening.has_leaving = HasRowDatedIn(db, "DATA_LICH", month);
    work.Commit();
  };
  try {
    read(true);
  } catch (const StoreError& error) {
    if (!IsWriteProtected(error)) throw;
    opening.write_protected = true;
    read(false);
  }

  const engine::CompanyTotals& t = session.totals();
  const engine::CompanyFunds& f = session.funds();
  HealthComputed& computed = opening.computed;
  computed.salary_fund = t.BrutP - t.CM2LP - t.CICP + t.BrutC - t.CM2LC - t.CICC;
  computed.gross_income = t.BrutP - t.CM2LP - t.CM1LP + t.BrutC - t.CM2LC - t.CM1LC;
  computed.due[0] = f.FondSanatate - f.FondSanatateCM;
  for (const PersRow& row : rows) computed.due[1] += row.SANATATE;
  computed.due[2] = f.FondSanatateCM;
  computed.insured = static_cast<int>(rows.size());

  opening.stored = HealthSectionsOf(session.parameters().company);
  opening.proposed = opening.stored;
  for (std::size_t i = 0; i < 3; ++i) {
    const double stored_paid = opening.stored[i].paid;
    const double due = static_cast<double>(computed.due[i]);
    opening.proposed[i].paid = stored_paid != 0 && stored_paid != due ? stored_paid : due;
  }
  return opening;
}

void ConfirmHealthDeclaration(params::Session& session, const HealthSections& sections,
                              const DeclarationSigner& signer) {
  std::vector<DeclarationFigure> figures;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::string section = std::string(" (") + kSectionNames[i] + ")";
    figures.push_back({kPaidNames[i], sections[i].paid, "Contributie virata" + section});
    figures.push_back({kArrearsNames[i], sections[i].arrears, "Sume restante" + section});
    figures.push_back({kIncreasesNames[i], sections[i].increases, "Majorari intarziere" + section});
  }
  WriteDeclarationFigures(session.db(), session.working_month(), figures);
  session.LoadParameters();
  SaveSigner(session.store().data_folder(), signer, false);
}

std::vector<HealthListRow> ReadHealthList(params::Session& session, HealthList list) {
  const Date month = session.working_month();
  const MonthSpan span = SpanOf(month);
  // The hire or leaving date of the month picks a list's rows; the nominal
  // list takes every row.
  const char* const dated = list == HealthList::kEntering  ? "DATA_ANG"
                            : list == HealthList::kLeaving ? "DATA_LICH"
                                                           : nullptr;
  const std::string sql = std::string("SELECT * FROM firma.Pers WHERE LUNA = ? ") +
                          (dated ? std::string("AND ") + dated + " BETWEEN ? AND ? " : "") +
                          "ORDER BY NUME, PRENUME, Nr";
  const std::vector<PersRow> rows =
      dated ? QueryRows<PersRow>(session.db(), sql, month, span.first, span.last)
            : QueryRows<PersRow>(session.db(), sql, month);
  std::vector<HealthListRow> lines;
  lines.reserve(rows.size());
  for (const PersRow& row : rows) {
    HealthListRow line;
    line.nume = row.NUME;
    line.prenume = row.PRENUME;
    line.codnumpers = row.CODNUMPERS;
    if (list == HealthList::kEntering) line.date = row.DATA_ANG;
    if (list == HealthList::kLeaving) line.date = row.DATA_LICH;
    line.categoria = engine::Categoria(row.TIP, row.TIMP, row.ZILE_CIC);
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace traveno::declarations
