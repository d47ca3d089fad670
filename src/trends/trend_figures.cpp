#include "trends/trend_figures.h"

#include <algorithm>
#include <map>
#include <optional>
#include <variant>

#include "core/errors.h"
#include "core/store/sqlite.h"
#include "core/text.h"
#include "engine/company_totals.h"
#include "params/parameter_store.h"
#include "personnel/pay_grid.h"
#include "reports/report_common.h"

namespace traveno::trends {
namespace {

// What a month's recapitulation is made from, gathered row by row.
struct MonthAccumulator {
  reports::RecapSums sums;
  engine::CompanyTotals totals;

  void Add(const PersRow& row, const engine::MonthParameters& parameters) {
    sums.Add(row);
    engine::AddRowToTotals(totals, row, parameters);
  }
  TrendFigures Figures(const engine::MonthParameters& parameters) const {
    return FiguresOfMonth(sums, totals, engine::ComputeCompanyFunds(totals, parameters));
  }
};

// The departments of the months: those the parameters define, in the order
// they were made, then the codes found only on lines.
struct DepartmentList {
  std::vector<std::pair<std::string, std::string>> entries;  // code, name
  std::map<std::string, std::size_t> index;

  std::size_t Find(const std::string& code, const std::string& name) {
    const auto [it, added] = index.emplace(code, entries.size());
    if (added) entries.emplace_back(code, name.empty() ? code : name);
    return it->second;
  }
};

// Where each field the trend reads goes in a line: read by its type, with
// no per-field lookup, since a long interval has many lines.
struct LineField {
  std::string_view name;
  std::variant<double PersRow::*, int PersRow::*, std::int64_t PersRow::*, std::string PersRow::*,
               Date PersRow::*>
      member;
};
constexpr LineField kLineFields[] = {
    {"LUNA", &PersRow::LUNA},
    {"Depart", &PersRow::Depart},
    {"TIP", &PersRow::TIP},
    {"SALINC", &PersRow::SALINC},
    {"VAL_TIMP_S", &PersRow::VAL_TIMP_S},
    {"SUMA_T_NOAPTE", &PersRow::SUMA_T_NOAPTE},
    {"vals1", &PersRow::vals1},
    {"vals2", &PersRow::vals2},
    {"vals3", &PersRow::vals3},
    {"vals4", &PersRow::vals4},
    {"CM1L", &PersRow::CM1L},
    {"CM2L", &PersRow::CM2L},
    {"CIC", &PersRow::CIC},
    {"PRIME", &PersRow::PRIME},
    {"ALTE_SUME", &PersRow::ALTE_SUME},
    {"SPORURI", &PersRow::SPORURI},
    {"pr_va", &PersRow::pr_va},
    {"SUMA_ZILE_CO", &PersRow::SUMA_ZILE_CO},
    {"Dif_Brut", &PersRow::Dif_Brut},
    {"BRUT", &PersRow::BRUT},
    {"SumeExcept", &PersRow::SumeExcept},
    {"PENSIE", &PersRow::PENSIE},
    {"SANATATE", &PersRow::SANATATE},
    {"SOMAJ", &PersRow::SOMAJ},
    {"IMPOZIT", &PersRow::IMPOZIT},
    {"AVANS", &PersRow::AVANS},
    {"AVANS_CO", &PersRow::AVANS_CO},
    {"ALTE_RET", &PersRow::ALTE_RET},
    {"POPRIRI", &PersRow::POPRIRI},
    {"GARANTII", &PersRow::GARANTII},
    {"RETINERI", &PersRow::RETINERI},
    {"PRIME_INCASATE", &PersRow::PRIME_INCASATE},
    {"RESTPL", &PersRow::RESTPL},
    {"ACORD", &PersRow::ACORD},
    {"ALT_VENIT", &PersRow::ALT_VENIT},
    {"BifaSom", &PersRow::BifaSom},
    {"Brut1", &PersRow::Brut1},
    {"INVALIDITATE", &PersRow::INVALIDITATE},
    {"NORMA", &PersRow::NORMA},
    {"Ore_Zi", &PersRow::Ore_Zi},
    {"Pensionar", &PersRow::Pensionar},
    {"PlatitOra", &PersRow::PlatitOra},
    {"REALIZAT", &PersRow::REALIZAT},
    {"TIMP", &PersRow::TIMP},
    {"ZILE_CM", &PersRow::ZILE_CM},
    {"ZILE_CO", &PersRow::ZILE_CO},
    {"Nr", &PersRow::Nr},
    {"IID", &PersRow::IID},
};
constexpr bool NamesAgree() {
  if (std::size(kLineFields) != kTrendLineFields.size()) return false;
  for (std::size_t i = 0; i < kTrendLineFields.size(); ++i) {
    if (kLineFields[i].name != kTrendLineFields[i]) return false;
  }
  return true;
}
static_assert(NamesAgree(), "kLineFields must list kTrendLineFields, in order");

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};

PersRow ReadLine(const Statement& statement) {
  PersRow row;
  for (int column = 0; column < static_cast<int>(std::size(kLineFields)); ++column) {
    std::visit(Overloaded{
                   [&](double PersRow::*m) { row.*m = statement.Double(column); },
                   [&](int PersRow::*m) { row.*m = static_cast<int>(statement.Int64(column)); },
                   [&](std::int64_t PersRow::*m) { row.*m = statement.Int64(column); },
                   [&](std::string PersRow::*m) { row.*m = statement.Text(column); },
                   [&](Date PersRow::*m) { row.*m = statement.DateAt(column); },
               },
               kLineFields[column].member);
  }
  return row;
}

// The lines of the interval in the documents' order (the order the
// recapitulation adds them up in), read through the index of that order.
std::string LinesOfInterval() {
  std::string columns;
  for (std::string_view field : kTrendLineFields) {
    columns += (columns.empty() ? "" : ", ") + std::string(field);
  }
  return "SELECT " + columns +
         " FROM firma.Pers WHERE LUNA BETWEEN ? AND ? "
         "ORDER BY LUNA, Depart, TIP, CATEGORIE, MARCA, Nr";
}

}  // namespace

TrendFigures FiguresOfMonth(const reports::RecapSums& sums, const engine::CompanyTotals& totals,
                            const engine::CompanyFunds& funds) {
  const reports::RecapFigures lines = reports::ComputeRecapFigures(sums, totals, funds);
  TrendFigures f;
  f.permanent = totals.NrAngajati;
  f.partial = static_cast<int>(lines.nr) - totals.NrAngajati;
  f.total_brut = lines.total_brut;
  f.total_de_plata = lines.total_de_plata;
  f.contributii_angajati = sums.Pensie + sums.Sanatate + sums.Somaj;
  f.taxe_firma = lines.taxe_firma;
  f.impozit = sums.Impozit;
  f.cost_total = personnel::CostTotalSalarii(totals, funds);
  return f;
}

long double AmountOf(const TrendFigures& figures, TrendAmount amount) {
  switch (amount) {
    case TrendAmount::kTotalBrut:
      return figures.total_brut;
    case TrendAmount::kTotalDePlata:
      return figures.total_de_plata;
    case TrendAmount::kContributiiAngajati:
      return figures.contributii_angajati;
    case TrendAmount::kTaxeFirma:
      return figures.taxe_firma;
    case TrendAmount::kImpozit:
      return figures.impozit;
    case TrendAmount::kCostTotal:
      return figures.cost_total;
  }
  return 0;
}

const char* AmountCaption(TrendAmount amount) {
  switch (amount) {
    case TrendAmount::kTotalBrut:
      return "Total salarii brute";
    case TrendAmount::kTotalDePlata:
      return "Total de plata";
    case TrendAmount::kContributiiAngajati:
      return "Contributii angajati";
    case TrendAmount::kTaxeFirma:
      return "Taxe firma";
    case TrendAmount::kImpozit:
      return "Impozit salarii";
    case TrendAmount::kCostTotal:
      return "Cost total salarii";
  }
  return "";
}

const char* AmountKey(TrendAmount amount) {
  switch (amount) {
    case TrendAmount::kTotalBrut:
      return "total_brut";
    case TrendAmount::kTotalDePlata:
      return "total_de_plata";
    case TrendAmount::kContributiiAngajati:
      return "contributii_angajati";
    case TrendAmount::kTaxeFirma:
      return "taxe_firma";
    case TrendAmount::kImpozit:
      return "impozit";
    case TrendAmount::kCostTotal:
      return "cost_total";
  }
  return "";
}

TrendInterval DefaultTrendInterval(Date working_month) {
  const Date to = FirstOfMonth(working_month);
  return {AddMonths(to, -11), to};
}

Trend CompanyTrend(params::Session& session, Date from, Date to) {
  from = FirstOfMonth(from);
  to = FirstOfMonth(to);
  if (to < from) throw Error(kTrendIntervalReversed);
  const int span = (YearOf(to) - YearOf(from)) * 12 + MonthOf(to) - MonthOf(from) + 1;
  if (span > kMaxTrendMonths) throw Error(kTrendIntervalTooLong);

  Database& db = session.db();
  // One snapshot for the three reads, unless the caller's unit of work
  // already holds one.
  std::optional<Transaction> snapshot;
  if (!db.InTransaction()) snapshot.emplace(db, TransactionKind::kDeferred);

  Trend trend;
  trend.company = session.company();
  trend.employer = reports::EmployerName(session);
  trend.from = from;
  trend.to = to;

  // The months the company has: its parameters' months, and any month
  // with lines but no parameters (read with the missing-row values).
  std::vector<engine::MonthParameters> parameters = params::LoadParametersOfMonths(db, from, to);
  std::map<Date, std::size_t> month_index;
  for (std::size_t i = 0; i < parameters.size(); ++i) month_index[parameters[i].luna] = i;

  DepartmentList departments;
  for (const engine::MonthParameters& month : parameters) {
    for (const engine::ParameterRow& row : month.company.departments) {
      departments.Find(UpperTrim(row.Den.substr(4)), row.Grupa);
    }
  }

  std::vector<MonthAccumulator> company(parameters.size());
  // [department][month], grown as departments and months are met.
  std::vector<std::vector<MonthAccumulator>> by_department(departments.entries.size());
  Statement lines = db.Prepare(LinesOfInterval());
  lines.BindAll(from, to);
  std::size_t current = 0;
  std::optional<Date> current_month;
  while (lines.Step()) {
    const PersRow row = ReadLine(lines);
    const Date month = FirstOfMonth(row.LUNA);
    if (month != current_month) {
      current_month = month;
      auto [it, added] = month_index.emplace(month, parameters.size());
      if (added) {
        engine::MonthParameters missing;
        missing.luna = month;
        parameters.push_back(std::move(missing));
        company.emplace_back();
      }
      current = it->second;
    }
    const engine::MonthParameters& month_parameters = parameters[current];
    company[current].Add(row, month_parameters);
    const std::size_t department = departments.Find(UpperTrim(row.Depart), "");
    if (department >= by_department.size()) by_department.resize(department + 1);
    std::vector<MonthAccumulator>& months = by_department[department];
    if (months.size() < company.size()) months.resize(company.size());
    months[current].Add(row, month_parameters);
  }
  if (snapshot) snapshot->Commit();

  // The months in order (a month found only on lines came last).
  for (const auto& [month, index] : month_index) {
    trend.months.push_back(month);
    trend.figures.push_back(company[index].Figures(parameters[index]));
  }
  if (departments.entries.size() >= 2) {
    by_department.resize(departments.entries.size());
    for (std::size_t d = 0; d < departments.entries.size(); ++d) {
      DepartmentTrend department{departments.entries[d].first, departments.entries[d].second, {}};
      std::vector<MonthAccumulator>& months = by_department[d];
      months.resize(company.size());
      for (const auto& [month, index] : month_index) {
        department.months.push_back(months[index].Figures(parameters[index]));
      }
      trend.departments.push_back(std::move(department));
    }
  }
  return trend;
}

const std::vector<TrendFigures>* FiguresOf(const Trend& trend, const std::string& department) {
  if (department.empty()) return &trend.figures;
  for (const DepartmentTrend& d : trend.departments) {
    if (d.code == department) return &d.months;
  }
  return nullptr;
}

}  // namespace traveno::trends
