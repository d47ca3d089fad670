#include "params/departments.h"

#include "core/store/field_rules.h"
#include "core/store/row_io.h"
#include "core/text.h"
#include "params/parameter_store.h"
#include "params/unit_of_work.h"

namespace traveno::params {
namespace {

constexpr const char* kPrefix = "DEP_";

// A code is refused, never cut, when it is longer than its 8 characters;
// a name is held to its 30.
std::string CleanCode(std::string_view code) {
  const std::string clean = UpperTrim(code);
  RequireValue("codul departamentului", RuleOf<PersRow>(*FindField<PersRow>("Depart")),
               FieldValue(clean));
  return clean;
}
std::string CleanName(std::string_view name) {
  const std::string clean = Truncate(UpperTrim(name), 30);
  RequireValue("denumirea departamentului", CompanyParameterTextRule("DEP_"), FieldValue(clean));
  return clean;
}

void RefreshDepartments(Session& session) {
  const auto rows = LoadCompanyParameters(session.db(), session.working_month());
  session.parameters().company.departments = rows.departments;
  CountDepartments(session);
}

std::optional<Department> FindByCode(const std::vector<Department>& departments,
                                     std::string_view code) {
  for (const Department& department : departments) {
    if (department.code == code) return department;
  }
  return std::nullopt;
}

}  // namespace

std::string UnknownDepartment(std::string_view code) {
  return "Departamentul " + std::string(code) + " nu exista in luna de lucru !";
}

bool IsDepartmentOfMonth(Session& session, std::string_view code) {
  return FindByCode(ListDepartments(session), UpperTrim(code)).has_value();
}

std::vector<Department> ListDepartments(Session& session) {
  std::vector<Department> departments;
  Statement statement = session.db().Prepare(
      "SELECT Nr, Den, Grupa FROM firma.ParF WHERE Luna = ? AND substr(Den, 1, 4) = 'DEP_' "
      "ORDER BY Nr");
  statement.Bind(1, session.working_month());
  while (statement.Step()) {
    const std::string den = UpperTrim(statement.Text(1));
    departments.push_back(
        {statement.Int64(0), den.size() > 4 ? den.substr(4) : std::string(), statement.Text(2)});
  }
  return departments;
}

int CountDepartments(Session& session) {
  const int count = static_cast<int>(ListDepartments(session).size());
  session.set_department_count(count);
  return count;
}

std::vector<std::string> DepartmentChooserLines(const std::vector<Department>& departments) {
  std::vector<std::string> lines;
  for (const Department& department : departments) {
    lines.push_back(PadRight(department.code, 8) + "|" + department.name);
  }
  return lines;
}

std::string ChosenDepartmentCode(std::string_view line) { return UpperTrim(Truncate(line, 8)); }

std::vector<PersRow> EmployeesWithoutDepartment(Session& session) {
  return QueryRows<PersRow>(session.db(),
                            "SELECT P.* FROM firma.Pers P WHERE P.LUNA = ? AND P.Depart NOT IN ("
                            "  SELECT substr(F.Den, 5) FROM firma.ParF F"
                            "  WHERE substr(F.Den, 1, 4) = 'DEP_' AND F.Luna = ?)"
                            " ORDER BY P.Depart, P.TIP, P.CATEGORIE, P.MARCA",
                            session.working_month(), session.working_month());
}

bool VerifyDepartments(Session& session) {
  UnitOfWork work(session.db(), WorkWrites::kCompanyFile);
  const auto without = EmployeesWithoutDepartment(session);
  if (without.empty()) return false;
  const auto departments = ListDepartments(session);
  session.set_department_count(static_cast<int>(departments.size()));
  if (departments.size() != 1) return true;
  for (const PersRow& row : without) {
    session.db().Run("UPDATE firma.Pers SET Depart = ? WHERE Nr = ?", departments.front().code,
                     row.Nr);
  }
  work.Commit();
  return false;
}

void AssignDepartment(Session& session, std::int64_t pers_nr, std::string_view code) {
  const std::string clean = CleanCode(code);
  UnitOfWork work(session.db(), WorkWrites::kCompanyFile);
  if (!FindByCode(ListDepartments(session), clean)) throw ValueRefused(UnknownDepartment(clean));
  session.db().Run("UPDATE firma.Pers SET Depart = ? WHERE Nr = ?", clean, pers_nr);
  work.Commit();
}

int MoveEmployees(Session& session, std::string_view old_code, std::string_view new_code,
                  ProgressReporter& progress) {
  WaitScope wait(progress, "Schimbare departament", "Astepati va rog..");
  session.db().Run("UPDATE firma.Pers SET Depart = ? WHERE LUNA = ? AND Depart = ?", new_code,
                   session.working_month(), old_code);
  return session.db().Changes();
}

bool AddDepartment(Session& session, std::string_view code, std::string_view name,
                   Prompter& prompter) {
  const std::string clean = CleanCode(code);
  const std::string clean_name = CleanName(name);
  if (clean.empty()) {
    prompter.Message(MessageKind::kWarning, kDepartmentCodeMissing);
    return false;
  }
  {
    UnitOfWork work(session.db(), WorkWrites::kCompanyFile);
    if (FindByCode(ListDepartments(session), clean)) {
      prompter.Message(MessageKind::kInformation, "Codul " + clean + " deja exista !");
      return false;
    }
    session.db().Run("INSERT INTO firma.ParF (Luna, Den, Val, Grupa) VALUES (?, ?, 0, ?)",
                     session.working_month(), kPrefix + clean, clean_name);
    work.Commit();
  }
  RefreshDepartments(session);
  return true;
}

bool ModifyDepartment(Session& session, std::int64_t nr, std::string_view code,
                      std::string_view name, Prompter& prompter, ProgressReporter& progress) {
  const std::string clean = CleanCode(code);
  const std::string clean_name = CleanName(name);
  if (clean.empty()) {
    prompter.Message(MessageKind::kWarning, kDepartmentCodeMissing);
    return false;
  }
  Transaction tx(session.db());
  const auto departments = ListDepartments(session);
  std::optional<Department> current;
  for (const Department& department : departments) {
    if (department.nr == nr) current = department;
  }
  if (!current) return false;
  const auto same_code = FindByCode(departments, clean);
  if (same_code && same_code->nr != nr) {
    prompter.Message(MessageKind::kInformation, "Codul " + clean + " deja exista !");
    return false;
  }
  if (clean != current->code) MoveEmployees(session, current->code, clean, progress);
  session.db().Run("UPDATE firma.ParF SET Luna = ?, Val = 0, Den = ?, Grupa = ? WHERE Nr = ?",
                   session.working_month(), kPrefix + clean, clean_name, nr);
  tx.Commit();
  RefreshDepartments(session);
  return true;
}

DeleteDepartmentResult DeleteDepartment(Session& session, std::string_view code,
                                        const DepartmentChooser& chooser,
                                        ProgressReporter& progress) {
  const std::string clean = UpperTrim(code);
  const auto departments = ListDepartments(session);
  if (departments.size() <= 1) return DeleteDepartmentResult::kOnlyDepartment;
  const auto doomed = FindByCode(departments, clean);
  if (!doomed) return DeleteDepartmentResult::kNotFound;
  const bool has_employees =
      session.db()
          .QueryInt("SELECT 1 FROM firma.Pers WHERE LUNA = ? AND Depart = ? LIMIT 1",
                    session.working_month(), clean)
          .has_value();
  std::string target;
  if (has_employees) {
    std::vector<Department> others;
    for (const Department& department : departments) {
      if (department.nr != doomed->nr) others.push_back(department);
    }
    const auto chosen = chooser(
        DepartmentChooserLines(others),
        "Alegeti departamentul la care vor fi mutate persoanele \n\rde la departamentul " + clean);
    if (!chosen) return DeleteDepartmentResult::kAbandoned;
    target = ChosenDepartmentCode(*chosen);
    if (!FindByCode(others, target)) return DeleteDepartmentResult::kAbandoned;
  }
  {
    Transaction tx(session.db());
    // Read again under the lock: what the question was about may have moved.
    const auto now = ListDepartments(session);
    if (!FindByCode(now, clean) || (has_employees && !FindByCode(now, target))) {
      return DeleteDepartmentResult::kNotFound;
    }
    if (has_employees) MoveEmployees(session, clean, target, progress);
    session.db().Run("DELETE FROM firma.ParF WHERE Nr = ?", doomed->nr);
    tx.Commit();
  }
  RefreshDepartments(session);
  return DeleteDepartmentResult::kDeleted;
}

}  // namespace traveno::params
