#include "personnel/checks.h"

#include "core/numbers.h"
#include "core/store/row_io.h"
#include "core/text.h"
#include "personnel/coefficients.h"
#include "personnel/grid_line.h"
#include "personnel/personal_code.h"

namespace traveno::personnel {
namespace {

std::string KindText(const GridScope& scope) {
  return scope.tip == "1" ? "PERMANENTI" : "cu CONTRACT PARTIAL";
}

std::vector<PersonLine> PersonsBetween(params::Session& session, const char* date_field,
                                       Date month) {
  const std::string sql = std::string(
                              "SELECT DISTINCT MARCA, NUME, PRENUME, CODNUMPERS, FUNCTIE, ") +
                          date_field + " FROM firma.Pers WHERE " + date_field + " <= ? AND " +
                          date_field + " >= ? ORDER BY MARCA";
  Statement statement = session.db().Prepare(sql);
  statement.BindAll(LastOfMonth(month), FirstOfMonth(month));
  std::vector<PersonLine> lines;
  while (statement.Step()) {
    PersonLine line;
    line.Marca = static_cast<int>(statement.Int64(0));
    line.Nume = statement.Text(1);
    line.Prenume = statement.Text(2);
    line.CodNumPers = statement.Text(3);
    line.Functie = statement.Text(4);
    line.Data = statement.DateAt(5);
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string MonthAndYear(Date month) {
  return std::string(MonthName(MonthOf(month))) + " " + std::to_string(YearOf(month));
}

}  // namespace

CheckList<TimeFinding> CheckTime(params::Session& session, const GridScope& scope) {
  const engine::CompanyParameters& company = session.parameters().company;
  const double factor = company.TimpZile == 1 ? 1 : 8;
  CheckList<TimeFinding> list;
  list.heading = "Lista salariatilor " + KindText(scope) +
                 " care au timpul calculat mai mare decat timpul in luna (" +
                 FloatToText(company.TimpLuna) + ")";
  if (session.department_count() > 1) {
    list.heading += scope.department ? " pentru departamentul " + UpperTrim(*scope.department)
                                     : std::string(" pentru toata firma");
  }
  for (const PersRow& line : MonthLines(session, scope.tip, scope.department)) {
    const double calculated =
        line.TIMP + factor * (line.ZILE_CO + line.ZILE_CM + line.ZILE_CIC + line.ZILE_FP);
    if (calculated > company.TimpLuna) {
      list.findings.push_back({static_cast<int>(list.findings.size()) + 1, line.NUME, line.PRENUME,
                               line.TIMP, line.ZILE_CO, static_cast<double>(line.ZILE_CM),
                               static_cast<double>(line.ZILE_CIC), static_cast<double>(line.ZILE_FP),
                               calculated});
    }
  }
  return list;
}

CheckList<CodeFinding> CheckCodes(params::Session& session, const GridScope& scope) {
  CheckList<CodeFinding> list;
  const std::string kind = KindText(scope);
  if (session.department_count() > 1 && !scope.department) {
    list.heading =
        "Lista salariatilor " + kind + ", din toata firma, care au codul numeric personal eronat";
  } else if (session.department_count() > 1) {
    list.heading = "Lista salariatilor " + kind +
                   " care au codul numeric personal eronat pentru departamentul " +
                   UpperTrim(*scope.department);
  } else {
    list.heading = "Lista salariatilor " + kind + " care au codul numeric personal eronat";
  }
  for (const PersRow& line : MonthLines(session, scope.tip, scope.department)) {
    const CodeCheck check = CheckPersonalCode(line.CODNUMPERS);
    if (!check.passed) {
      list.findings.push_back({static_cast<int>(list.findings.size()) + 1, line.NUME, line.PRENUME,
                               line.CODNUMPERS, check.message});
    }
  }
  return list;
}

CheckList<CoefficientFinding> CheckCoefficients(params::Session& session,
                                                const GridScope& scope) {
  const engine::GeneralParameters& general = session.parameters().general;
  CheckList<CoefficientFinding> list;
  const std::string kind = KindText(scope);
  if (session.department_count() > 1 && !scope.department) {
    list.heading = "Lista salariatilor " + kind +
                   ", din toata firma, a caror coeficienti de deducere nu corespund";
  } else if (session.department_count() > 1) {
    list.heading = "Lista salariatilor " + kind +
                   " a caror coeficienti de deducere nu corespund pentru departamentul " +
                   UpperTrim(*scope.department);
  } else {
    list.heading = "Lista salariatilor " + kind + " a caror coeficienti de deducere nu corespund";
  }
  Statement sum = session.db().Prepare(
      "SELECT SUM(Coef) AS SumCoef FROM firma.Pint WHERE Luna = ? AND IID = ?");
  for (const PersRow& line : MonthLines(session, scope.tip, scope.department)) {
    sum.Reset();
    sum.BindAll(session.working_month(), line.IID);
    const double dependants = sum.Step() && !sum.IsNull(0) ? sum.Double(0) : 0;
    double expected;
    if ((line.TIP == "1" && line.Domiciliu_ext == "1") || (line.TIP == "2" && line.PlatitOra == 0)) {
      expected = dependants;
    } else {
      expected = 1 + InvalidityAddition(line.INVALIDITATE, general) + dependants;
    }
    if (line.CoefInd1 != expected) {
      list.findings.push_back({static_cast<int>(list.findings.size()) + 1, line.NUME, line.PRENUME,
                               line.CoefInd1, expected});
    }
  }
  return list;
}

std::vector<PersonLine> HiredInMonth(params::Session& session, Date month) {
  return PersonsBetween(session, "DATA_ANG", month);
}
std::vector<PersonLine> LeftInMonth(params::Session& session, Date month) {
  return PersonsBetween(session, "DATA_LICH", month);
}
std::string HiredHeading(Date month) { return "Personal angajat in luna: " + MonthAndYear(month); }
std::string LeftHeading(Date month) { return "Personal lichidat in luna: " + MonthAndYear(month); }

std::vector<PersonLine> IdentityCards(params::Session& session) {
  Statement statement = session.db().Prepare(
      "SELECT DISTINCT IID, MARCA, NUME, PRENUME, CODNUMPERS FROM firma.Pers WHERE LUNA = ? "
      "ORDER BY IID");
  statement.Bind(1, session.working_month());
  std::vector<PersonLine> lines;
  while (statement.Step()) {
    PersonLine line;
    line.IID = static_cast<int>(statement.Int64(0));
    line.Marca = static_cast<int>(statement.Int64(1));
    line.Nume = statement.Text(2);
    line.Prenume = statement.Text(3);
    line.CodNumPers = statement.Text(4);
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<PersRow> RehireCandidates(params::Session& session) {
  return QueryRows<PersRow>(
      session.db(),
      "SELECT * FROM firma.Pers WHERE DATA_LICH <> ? AND IID NOT IN "
      "(SELECT IID FROM firma.Pers WHERE LUNA = ?) ORDER BY NUME, PRENUME, LUNA, Nr",
      EmptyDate(), session.working_month());
}

std::vector<InsuredLine> InsuredPersons(params::Session& session) {
  Statement statement = session.db().Prepare(
      "SELECT p.IID, p.NUME, p.PRENUME, p.CODNUMPERS, d.Nume, d.Prenume, d.CODNUMPERS, "
      "d.Calitate FROM firma.Pint d LEFT JOIN firma.Pers p ON p.IID = d.IID AND p.LUNA = d.Luna "
      "WHERE d.Luna = ? ORDER BY d.Nume, d.Prenume, d.Nr");
  statement.Bind(1, session.working_month());
  std::vector<InsuredLine> lines;
  while (statement.Step()) {
    InsuredLine line;
    line.IID = statement.IsNull(0) ? 0 : static_cast<int>(statement.Int64(0));
    line.NumeA = statement.Text(1);
    line.PrenumeA = statement.Text(2);
    line.CodNumPersA = statement.Text(3);
    line.Nume = statement.Text(4);
    line.Prenume = statement.Text(5);
    line.CodNumPers = statement.Text(6);
    line.Calitate = static_cast<int>(statement.Int64(7));
    line.Kalitate = line.Calitate == 0                          ? "Sot / Sotie"
                    : line.Calitate == 1 || line.Calitate == 2 ? "Copil"
                    : line.Calitate == 3                        ? "Alte persoane"
                                                                : "";
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace traveno::personnel
