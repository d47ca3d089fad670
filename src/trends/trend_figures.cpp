#include "trends/trend_figures.h"

#include <algorithm>
#include <map>
#include <optional>

#include "core/errors.h"
#include "core/store/row_io.h"
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

// Only as much of a line as the recapitulation and the running totals read
// would do, but the whole line is read: a field the totals start reading one
// day is then never missed here.
constexpr const char* kLinesOfInterval =
    "SELECT * FROM firma.Pers WHERE LUNA BETWEEN ? AND ? "
    "ORDER BY LUNA, Depart, TIP, CATEGORIE, MARCA, Nr";

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
  Statement lines = db.Prepare(kLinesOfInterval);
  lines.BindAll(from, to);
  std::optional<RowReader<PersRow>> reader;
  std::size_t current = 0;
  std::optional<Date> current_month;
  while (lines.Step()) {
    if (!reader) reader.emplace(lines);
    const PersRow row = reader->Read(lines);
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
