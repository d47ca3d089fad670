#include "declarations/unemployment_declaration.h"

#include <algorithm>
#include <cmath>

#include "core/errors.h"
#include "core/numbers.h"
#include "core/text.h"
#include "declarations/declaration_figures.h"
#include "declarations/month_rows.h"
#include "declarations/write_protected.h"
#include "engine/calculated_fields.h"
#include "engine/company_totals.h"
#include "params/parameter_store.h"
#include "params/unit_of_work.h"
#include "personnel/pay_grid.h"

namespace traveno::declarations {
namespace {

std::string KindOf(const PersRow& row) { return Trim(row.TIP); }

bool ContributionWithheld(const PersRow& row) {
  return ParseNumber(Trim(row.Domiciliu_ext), 0) != 0;
}

long double SumOfSomaj(const std::vector<PersRow>& rows) {
  long double total = 0;
  for (const PersRow& row : rows) total += row.SOMAJ;
  return total;
}

}  // namespace

UnemploymentFigures UnemploymentFiguresOf(const engine::CompanyParameters& company) {
  UnemploymentFigures f;
  f.SDAsig = company.SDAsig;
  f.SVAsig = company.SVAsig;
  f.SDAng = company.SDAng;
  f.SVAng = company.SVAng;
  f.DedSomaj = company.DedSomaj;
  f.RestAs = company.RestAs;
  f.RestAn = company.RestAn;
  f.Penal = company.Penal;
  f.Maj = company.Maj;
  f.TipCalcul = company.TipCalcul;
  f.CalculSomaj = company.CalculSomaj;
  return f;
}

UnemploymentOpening OpenUnemploymentDeclaration(params::Session& session,
                                                ProgressReporter& progress) {
  UnemploymentOpening opening;
  // Reads the month, recalculated first when the data folder can be written.
  auto read = [&](bool recalculate) {
    params::UnitOfWork work(session.db());
    session.LoadParameters();
    if (recalculate) {
      personnel::RecalculateCompany(session, progress);
    } else {
      personnel::SumStoredLines(session);
    }
    const auto rows = ReadMonthRows(session.db(), session.working_month(), MonthRowOrder::kKind);
    work.Commit();
    opening.has_rows = !rows.empty();
    opening.due_insured = SumOfSomaj(rows);
  };
  try {
    try {
      read(true);
    } catch (const StoreError& error) {
      if (!IsWriteProtected(error)) throw;
      opening.write_protected = true;
      read(false);
    }
  } catch (const StoreError&) {
    throw Error(kUnemploymentRowsUnreadable);
  }
  opening.due_employer = session.funds().FondSomaj;
  opening.stored = UnemploymentFiguresOf(session.parameters().company);
  if (RoundEven(opening.stored.CalculSomaj) == 1) {
    opening.paid_insured = opening.stored.SVAsig;
    opening.paid_employer =
        std::min<double>(opening.stored.SVAng, static_cast<double>(opening.due_employer));
  } else {
    opening.paid_insured = static_cast<double>(opening.due_insured);
    opening.paid_employer = static_cast<double>(opening.due_employer);
  }
  return opening;
}

InsuredPaidCheck CheckInsuredPaid(double paid, long double due) {
  const long double paid_whole = std::trunc(static_cast<long double>(paid));
  const long double due_whole = std::trunc(due);
  if (paid_whole < due_whole) return InsuredPaidCheck::kBelowDue;
  if (paid_whole > due_whole) return InsuredPaidCheck::kAboveDue;
  return InsuredPaidCheck::kEqualDue;
}

bool EmployerPaidAboveDue(double paid, long double due) {
  return std::trunc(static_cast<long double>(paid)) > std::trunc(due);
}

namespace {

// CalculSomaj alternates once everything due was paid.
double CalculSomajOfConfirmation(const UnemploymentInput& input) {
  const bool insured_paid_all = RoundEven(input.due_insured) == RoundEven(input.paid_insured);
  const bool employer_paid_all = RoundEven(input.due_employer) == RoundEven(input.paid_employer);
  const bool alternate =
      insured_paid_all && employer_paid_all && RoundEven(input.calcul_somaj_at_opening) == 1;
  return alternate ? 0.0 : 1.0;
}

// The figures "&Confirmare" stores, TipCalcul apart, with the captions their
// refusals name.
std::vector<DeclarationFigure> FiguresToStore(const UnemploymentInput& input) {
  return {
      {"SVAsig", input.paid_insured, "Suma Virata de Asigurati"},
      {"SVAng", input.paid_employer, "Suma Virata de Angajator:"},
      {"SDAsig", input.due_insured, "Suma Datorata de Asigurati"},
      {"SDAng", input.due_employer, "Suma Datorata de Angajator:"},
      {"DedSomaj", input.DedSomaj, "Deduceri angajator:"},
      {"RestAs", input.RestAs, "Restanta contrib.asigurati:"},
      {"RestAn", input.RestAn, "Restanta contrib. angajator:"},
      {"Penal", input.Penal, "Majorari de intarziere:"},
      {"Maj", input.Maj, "Penalitati:"},
      {"CalculSomaj", CalculSomajOfConfirmation(input), "Declaratie Somaj"},
  };
}

// The spread stays as stored unless one was chosen; a full payment needs none.
double TipCalculOfConfirmation(const UnemploymentInput& input, double stored) {
  if (RoundEven(input.due_insured) == RoundEven(input.paid_insured)) return 0;
  if (input.chosen_mode) return static_cast<double>(*input.chosen_mode);
  return stored;
}

}  // namespace

void CheckUnemploymentInput(const UnemploymentInput& input) {
  CheckDeclarationFigures(FiguresToStore(input));
}

UnemploymentFigures ConfirmUnemploymentDeclaration(params::Session& session,
                                                   const UnemploymentInput& input,
                                                   const DeclarationSigner& signer) {
  std::vector<DeclarationFigure> figures = FiguresToStore(input);
  CheckDeclarationFigures(figures);
  SaveSigner(session.store().data_folder(), signer, false);

  Database& db = session.db();
  params::UnitOfWork work(db);
  const double tip_calcul =
      TipCalculOfConfirmation(input, params::ReadCompany(db, session.working_month(), "TipCalcul"));
  figures.push_back({"TipCalcul", tip_calcul, "Distribuire sume "});
  WriteDeclarationFigures(db, session.working_month(), figures);
  work.Commit();
  session.LoadParameters();
  return UnemploymentFiguresOf(session.parameters().company);
}

UnemploymentFigures FiguresOfConfirmation(const UnemploymentInput& input,
                                          const UnemploymentFigures& stored) {
  CheckUnemploymentInput(input);
  UnemploymentFigures f;
  f.SVAsig = input.paid_insured;
  f.SVAng = input.paid_employer;
  f.SDAsig = input.due_insured;
  f.SDAng = input.due_employer;
  f.DedSomaj = input.DedSomaj;
  f.RestAs = input.RestAs;
  f.RestAn = input.RestAn;
  f.Penal = input.Penal;
  f.Maj = input.Maj;
  f.CalculSomaj = CalculSomajOfConfirmation(input);
  f.TipCalcul = TipCalculOfConfirmation(input, stored.TipCalcul);
  return f;
}

bool IsInUnemploymentFile(const PersRow& row) {
  const std::string kind = KindOf(row);
  return (kind != "2" || ContributionWithheld(row)) && (kind != "1" || row.BifaSom != 1) &&
         row.SOMAJ != 0;
}

bool IsPrintedInUnemploymentDeclaration(const PersRow& row) {
  const std::string kind = KindOf(row);
  if (row.Pensionar == 1) return false;
  if (kind == "2") return ContributionWithheld(row);
  if (kind == "1") return row.BifaSom != 1;
  return false;
}

UnemploymentSummary SummaryOf(const UnemploymentFigures& f) {
  UnemploymentSummary s;
  s.employer_due = f.SDAng;
  s.employer_paid = f.SVAng;
  s.employer_unpaid = f.SDAng - f.SVAng - f.DedSomaj;
  s.deductions = f.DedSomaj;
  s.insured_due = f.SDAsig;
  s.insured_paid = f.SVAsig;
  s.insured_unpaid = f.SDAsig - f.SVAsig;
  s.total_due = f.SDAng - f.DedSomaj + f.SDAsig;
  s.total_paid = f.SVAsig + f.SVAng;
  s.total_unpaid = f.SDAng + f.SDAsig - (f.SVAsig + f.SVAng) - f.DedSomaj;
  s.earlier_total = f.RestAs + f.RestAn + f.Penal + f.Maj;
  s.earlier_employer = f.RestAn;
  s.earlier_insured = f.RestAs;
  s.earlier_increases = f.Penal;
  s.earlier_penalties = f.Maj;
  s.grand_unpaid = s.total_unpaid + s.earlier_total;
  return s;
}

long double UnemploymentWageFund(const std::vector<PersRow>& rows,
                                 const engine::CompanyParameters& company) {
  const bool exempt_sums_in = UpperTrim(company.Ex_Firma.Grupa) == "DA";
  long double fund = 0;
  for (const PersRow& row : rows) {
    if (row.Pensionar != 0) continue;
    const std::string kind = KindOf(row);
    if (kind == "1") {
      fund += static_cast<long double>(row.BRUT) + (exempt_sums_in ? row.SumeExcept : 0.0) -
              row.CIC - row.CM2L;
    } else if (kind == "2" && row.BifaSom == 1) {
      fund += static_cast<long double>(row.BRUT) - row.CIC - row.CM2L;
    }
  }
  return fund;
}

UnemploymentDeclaration BuildUnemploymentDeclaration(
    params::Session& session, const std::optional<UnemploymentFigures>& unsaved) {
  UnemploymentDeclaration declaration;
  declaration.month = session.working_month();
  params::UnitOfWork work(session.db());
  session.LoadParameters();
  declaration.employer = FindDeclarationEmployer(session.store(), session.company());
  const auto rows = ReadMonthRows(session.db(), declaration.month, MonthRowOrder::kKind);
  personnel::SumStoredLines(session);
  work.Commit();

  const engine::MonthParameters& parameters = session.parameters();
  declaration.zi_lichidare = parameters.company.ZiLichidare;
  declaration.stored = unsaved.value_or(UnemploymentFiguresOf(parameters.company));
  declaration.mode = SpreadModeOf(declaration.stored.TipCalcul);
  declaration.due_insured = SumOfSomaj(rows);
  std::vector<long double> dues;
  dues.reserve(rows.size());
  for (const PersRow& row : rows) dues.push_back(row.SOMAJ);
  const auto parts = SpreadInsuredPayment(dues, declaration.mode, declaration.stored.SVAsig);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const PersRow& row = rows[i];
    UnemploymentRow line;
    line.nume = row.NUME;
    line.prenume = row.PRENUME;
    line.codnumpers = row.CODNUMPERS;
    line.tip = row.TIP;
    line.printed = IsPrintedInUnemploymentDeclaration(row);
    line.in_file = IsInUnemploymentFile(row);
    line.baza_somaj = engine::ComputeNominalFigures(row, parameters).BazaSomaj.value_or(0);
    line.somaj = row.SOMAJ;
    line.paid = parts[i].paid;
    line.unpaid = parts[i].unpaid;
    declaration.rows.push_back(std::move(line));
  }
  declaration.NRM = engine::NumarMediuSalariati(rows, parameters);
  declaration.FS = UnemploymentWageFund(rows, parameters.company);
  declaration.summary = SummaryOf(declaration.stored);
  return declaration;
}

}  // namespace traveno::declarations
