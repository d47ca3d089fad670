#include "personnel/dependants.h"

#include "core/errors.h"
#include "core/store/field_rules.h"
#include "core/store/row_io.h"
#include "core/text.h"
#include "params/unit_of_work.h"
#include "personnel/coefficients.h"
#include "personnel/grid_line.h"
#include "personnel/personal_code.h"

namespace traveno::personnel {

std::vector<PintRow> ListDependants(params::Session& session, int iid) {
  return QueryRows<PintRow>(session.db(),
                            "SELECT * FROM firma.Pint WHERE Luna = ? AND IID = ? ORDER BY Nr",
                            session.working_month(), iid);
}

double DependantsSumOf(params::Session& session, const PersRow& employee) {
  std::vector<PintRow> dependants = ListDependants(session, employee.IID);
  const DependantsSum sum = SumDependants(dependants, session.parameters().general);
  if (!sum.repaired.empty()) {
    params::UnitOfWork work(session.db(), params::WorkWrites::kCompanyFile);
    for (std::size_t index : sum.repaired) {
      session.db().Run("UPDATE firma.Pint SET Coef = ? WHERE Nr = ?", dependants[index].Coef,
                       dependants[index].Nr);
    }
    work.Commit();
  }
  return sum.sum;
}

double DependantsCoefficient(params::Session& session, CoefficientKind kind,
                             const PersRow& employee, int calitate, int invaliditate) {
  switch (kind) {
    case CoefficientKind::kOwn:
      return OwnCoefficient(employee, session.parameters().general);
    case CoefficientKind::kDependants:
      return DependantsSumOf(session, employee);
    case CoefficientKind::kSingle:
      return SingleCoefficient(calitate, invaliditate, session.parameters().general);
  }
  return 0;
}

DependantInput DependantInputFromRow(const PintRow& row) {
  return {row.Nume, row.Prenume, row.CODNUMPERS, row.Calitate, row.Invaliditate};
}

namespace {

// The dependant's row as it would be stored from the window's fields.
PintRow RowFromInput(PintRow row, const DependantInput& input) {
  row.Nume = Truncate(ToUpperLatin(Trim(input.Nume)), 20);
  row.Prenume = Truncate(ToUpperLatin(Trim(input.Prenume)), 30);
  row.CODNUMPERS = Truncate(Trim(input.CodNumPers), 15);
  row.Calitate = input.Calitate;
  row.Invaliditate = input.Invaliditate;
  return row;
}

// The first field its rule refuses, with its message.
std::optional<std::string> InputRefusal(const DependantInput& input) {
  const PintRow blank;
  const PintRow row = RowFromInput(blank, input);
  const auto fields = FieldsOf<PintRow>();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const FieldValue value = GetField(row, i);
    if (value == GetField(blank, i) && fields[i].kind != FieldKind::kInt32) continue;
    std::string refusal =
        RefusalOf(std::string("campul ") + fields[i].name, RuleOf<PintRow>(i), value);
    if (!refusal.empty()) return refusal;
  }
  return std::nullopt;
}

}  // namespace

bool ConfirmDependant(params::Session& session, DependantEditMode mode, const DependantInput& input,
                      std::string_view code_at_opening, Prompter& prompter) {
  if (mode == DependantEditMode::kDelete) return true;
  if (Trim(input.Nume).empty()) {
    prompter.Message(MessageKind::kWarning, kDependantNameMissing);
    return false;
  }
  if (Trim(input.Prenume).empty()) {
    prompter.Message(MessageKind::kWarning, kDependantFirstNameMissing);
    return false;
  }
  if (Trim(input.CodNumPers).empty()) {
    prompter.Message(MessageKind::kWarning, kDependantCodeMissing);
    return false;
  }
  if (!(SingleCoefficient(input.Calitate, input.Invaliditate, session.parameters().general) > 0)) {
    prompter.Message(MessageKind::kWarning, kDependantBadCoefficient);
    return false;
  }
  if (const auto refusal = InputRefusal(input)) {
    prompter.Message(MessageKind::kWarning, *refusal);
    return false;
  }
  const std::string code = UpperTrim(input.CodNumPers);
  if (code != UpperTrim(code_at_opening)) {
    const auto count = session.db().QueryInt(
        "SELECT COUNT(*) FROM firma.Pint WHERE Luna = ? AND upper(trim(CODNUMPERS)) = ?",
        session.working_month(), code);
    if (count && *count > 0) {
      prompter.Message(MessageKind::kInformation, kDependantCodeExists);
      return false;
    }
  }
  if (session.working_month() != session.last_month()) {
    prompter.Message(MessageKind::kWarning, kDependantNotLastMonth);
  }
  const CodeCheck check = CheckPersonalCode(input.CodNumPers);
  if (!check.passed) {
    prompter.Message(MessageKind::kWarning, check.message + "\n\r" + kDependantBadCode);
    return true;
  }
  const bool child = input.Calitate == static_cast<int>(Relationship::kFirstTwoChildren) ||
                     input.Calitate == static_cast<int>(Relationship::kFurtherChildren);
  if (child && !IsUnder18In(input.CodNumPers, session.working_month())) {
    prompter.Message(MessageKind::kError, kDependantOver18);
    return false;
  }
  return true;
}

std::int64_t SaveDependant(params::Session& session, const PersRow& employee,
                           const DependantInput& input, std::optional<std::int64_t> nr) {
  RequireOpenMonth(session);
  if (const auto refusal = InputRefusal(input)) throw ValueRefused(*refusal);
  params::SessionWork work(session, params::WorkWrites::kCompanyFile);
  PintRow row;
  if (nr) {
    auto rows = QueryRows<PintRow>(session.db(), "SELECT * FROM firma.Pint WHERE Nr = ? AND Luna = ?",
                                   *nr, session.working_month());
    if (rows.empty()) throw Error("Persoana in intretinere aleasa nu exista in luna de lucru !");
    row = rows.front();
  }
  row = RowFromInput(row, input);
  row.Coef = SingleCoefficient(input.Calitate, input.Invaliditate, session.parameters().general);
  row.AiPers = static_cast<int>(employee.Nr);
  row.Luna = employee.LUNA;
  row.IID = employee.IID;
  RequireRowValues(row);
  RowWriter<PintRow> writer(session.db(), "Pint");
  if (nr) {
    writer.Update(row);
  } else {
    row.Nr = writer.Insert(row);
  }
  work.Commit();
  return row.Nr;
}

bool DeleteDependant(params::Session& session, std::int64_t nr) {
  RequireOpenMonth(session);
  params::UnitOfWork work(session.db(), params::WorkWrites::kCompanyFile);
  session.db().Run("DELETE FROM firma.Pint WHERE Nr = ? AND Luna = ?", nr, session.working_month());
  const bool deleted = session.db().Changes() > 0;
  work.Commit();
  return deleted;
}

DependantsList OpenDependantsList(params::Session& session, std::int64_t employee_nr) {
  const std::optional<PersRow> employee = FindLine(session, employee_nr);
  if (!employee) throw Error(kLineMissing);
  DependantsList list;
  list.employee_nr = employee_nr;
  list.iid = employee->IID;
  list.opening = employee->CoefInd;
  list.base = employee->CoefInd - DependantsSumOf(session, *employee);
  return list;
}

double DependantsTotal(params::Session& session, const DependantsList& list) {
  PersRow employee;
  employee.IID = list.iid;
  return list.base + DependantsSumOf(session, employee);
}

void CloseDependantsList(params::Session& session, const DependantsList& list,
                         Prompter& prompter) {
  if (session.month_closed()) return;
  const bool last_month = session.working_month() == session.last_month();
  std::optional<std::string> warning;
  ChangeLine(session, list.employee_nr,
             [&](const engine::PayrollEngine& engine, const PersRow& line) {
               // The dependants as they are under the write lock.
               const double total = DependantsTotal(session, list);
               const CoefficientUpdate update = personnel::CloseDependantsList(
                   list.opening, line.CoefInd, line.CoefInd1, total, last_month);
               PersRow changed = line;
               changed.CoefInd = update.CoefInd;
               changed.CoefInd1 = update.CoefInd1;
               warning = update.warning;
               return PostLineEdit(engine, changed, {});
             });
  if (warning) prompter.Message(MessageKind::kWarning, *warning);
}

}  // namespace traveno::personnel
