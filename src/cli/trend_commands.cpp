#include "cli/trend_commands.h"

#include <iomanip>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "cli/cli_session.h"
#include "cli/json_output.h"
#include "cli/report_commands.h"
#include "cli/terminal_progress.h"
#include "core/data_folder.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "core/text.h"
#include "reports/page_composer.h"
#include "trends/chart_data.h"
#include "trends/month_comparison.h"
#include "trends/trend_figures.h"
#ifdef TRAVENO_WITH_PDF
#include "trends/ui/trend_chart.h"
#endif

namespace traveno::cli {
namespace {

using nlohmann::json;

struct TrendOptions {
  std::string cod;
  std::string from;
  std::string to;
  std::string depart;
  std::string chart = "sume";
  std::string png;
  std::string pdf;
};

struct CompareOptions {
  std::string cod;
  std::string month;
  // "10", "2,5" or "2.5".
  std::string threshold;
};

void Refuse(CliContext& context, const std::string& message) {
  *context.err << TerminalText(message) << "\n";
  context.exit_code = 1;
}

json Number(long double value) { return static_cast<double>(value); }

json FiguresJson(Date month, const trends::TrendFigures& f) {
  json figures = {
      {"luna", MonthArgument(month)}, {"permanenti", f.permanent}, {"contract_partial", f.partial}};
  for (trends::TrendAmount amount : trends::kTrendAmounts) {
    figures[trends::AmountKey(amount)] = Number(trends::AmountOf(f, amount));
  }
  return figures;
}

json MonthsJson(const trends::Trend& trend, const std::vector<trends::TrendFigures>& figures) {
  json months = json::array();
  for (std::size_t i = 0; i < trend.months.size() && i < figures.size(); ++i) {
    months.push_back(FiguresJson(trend.months[i], figures[i]));
  }
  return months;
}

json TrendJson(const trends::Trend& trend) {
  json departments = json::array();
  for (const trends::DepartmentTrend& d : trend.departments) {
    departments.push_back(
        {{"cod", d.code}, {"denumire", d.name}, {"luni", MonthsJson(trend, d.months)}});
  }
  return {{"firma", trend.company},
          {"de_la", MonthArgument(trend.from)},
          {"pana_la", MonthArgument(trend.to)},
          {"luni", MonthsJson(trend, trend.figures)},
          {"departamente", departments}};
}

// The figures as a table: one line per month, the amounts as "#,##0".
void PrintTrendTable(std::ostream& out, const trends::Trend& trend,
                     const std::vector<trends::TrendFigures>& figures, const std::string& scope) {
  out << trend.employer << " - " << scope << "\n" << trends::ShownInterval(trend) << "\n";
  auto cell = [&out](const std::string& text, int width) { out << std::setw(width) << text; };
  out << std::left << std::setw(18) << "Luna" << std::right;
  cell("Perm.", 7);
  cell("C.P.", 6);
  for (trends::TrendAmount amount : trends::kTrendAmounts) cell(trends::AmountCaption(amount), 22);
  out << "\n";
  for (std::size_t i = 0; i < trend.months.size() && i < figures.size(); ++i) {
    const trends::TrendFigures& f = figures[i];
    out << std::left << std::setw(18) << reports::MonthSlashYear(trend.months[i]) << std::right;
    cell(std::to_string(f.permanent), 7);
    cell(std::to_string(f.partial), 6);
    for (trends::TrendAmount amount : trends::kTrendAmounts) {
      cell(FormatNumber(trends::AmountOf(f, amount), NumberMask::kInteger), 22);
    }
    out << "\n";
  }
}

void RunTrend(CliContext& context, const TrendOptions& options) {
  if (options.chart != "sume" && options.chart != "salariati") {
    Refuse(context, "Graficul poate fi sume sau salariati !");
    return;
  }
  CliSession cli(context);
  if (!cli.Open(UpperTrim(options.cod), std::nullopt)) {
    context.exit_code = 1;
    return;
  }
  const trends::TrendInterval interval = trends::DefaultTrendInterval(cli.session->working_month());
  // Without --from, the 12 months up to the last one.
  const Date to = options.to.empty() ? interval.to : ParseMonthArgument(options.to);
  const Date from = options.from.empty() ? AddMonths(to, -11) : ParseMonthArgument(options.from);
  const std::unique_ptr<ProgressReporter> progress = CommandProgress(context);
  std::optional<trends::Trend> trend;
  {
    WaitScope wait(*progress, "Evolutie", "Se citesc lunile firmei...");
    trend = trends::CompanyTrend(*cli.session, from, to);
  }
  const std::string department = UpperTrim(options.depart);
  const std::vector<trends::TrendFigures>* figures = trends::FiguresOf(*trend, department);
  if (figures == nullptr) {
    Refuse(context, "Firma nu are departamentul " + department + " in intervalul ales !");
    return;
  }
  if (!options.png.empty() || !options.pdf.empty()) {
#ifdef TRAVENO_WITH_PDF
    trends_ui::EnsureChartApplication();
    WaitScope wait(*progress, "Evolutie", "Se deseneaza graficele...");
    if (!options.png.empty()) {
      RequireOutputFile(ResolveDataFolder(context.data_dir), options.png);
      trends_ui::WriteChartPng(options.chart == "sume" ? trends::AmountsChart(*trend, department)
                                                       : trends::HeadcountChart(*trend, department),
                               options.png);
    }
    if (!options.pdf.empty()) {
      WritePdfFile(
          context,
          reports::Prepare(trends_ui::PrintedTrend(*trend, department, reports::PrintStamp::Now())),
          options.pdf);
    }
#else
    throw Error("Aceasta versiune a programului nu deseneaza grafice.");
#endif
  }
  if (context.json) {
    *context.out << TrendJson(*trend).dump(2, ' ', false, kReplaceInvalidUtf8) << "\n";
  } else {
    PrintTrendTable(*context.out, *trend, *figures, trends::ScopeCaption(*trend, department));
  }
}

json CompareJson(const trends::MonthComparison& comparison) {
  json lines = json::array();
  for (const trends::ComparedLine& line : comparison.lines) {
    json figures = json::object();
    for (std::size_t f = 0; f < 3; ++f) {
      figures[trends::kComparedFields[f]] = {{"inainte", Number(line.before[f])},
                                             {"acum", Number(line.after[f])},
                                             {"peste_prag", line.over[f]}};
    }
    json inputs = json::array();
    for (const trends::InputChange& input : line.inputs) {
      inputs.push_back({{"camp", input.field},
                        {"coloana", input.caption},
                        {"inainte", input.before},
                        {"acum", input.after}});
    }
    lines.push_back({{"situatie", trends::KindKey(line.kind)},
                     {"iid", line.iid},
                     {"nr", line.nr},
                     {"nr_anterior", line.previous_nr},
                     {"tip", line.tip},
                     {"marca", line.marca},
                     {"nume", line.nume},
                     {"prenume", line.prenume},
                     {"departament", line.depart},
                     {"cifre", figures},
                     {"modificari", inputs}});
  }
  return {{"luna", MonthArgument(comparison.month)},
          {"luna_anterioara", MonthArgument(comparison.previous)},
          {"prag", comparison.threshold},
          {"noi", comparison.joined},
          {"plecati", comparison.left},
          {"modificati", comparison.changed},
          {"linii", lines}};
}

void PrintComparison(std::ostream& out, const trends::MonthComparison& comparison) {
  out << "Comparatie " << reports::MonthSlashYear(comparison.month) << " cu "
      << reports::MonthSlashYear(comparison.previous) << " (prag "
      << FloatToText(comparison.threshold) << "%)\n"
      << "Angajati noi: " << comparison.joined << ", plecati: " << comparison.left
      << ", modificati: " << comparison.changed << "\n";
  for (const trends::ComparedLine& line : comparison.lines) {
    out << "\n"
        << trends::KindCaption(line.kind) << ": " << line.marca << " " << line.nume << " "
        << line.prenume << " (tip " << line.tip << ")\n";
    for (std::size_t f = 0; f < 3; ++f) {
      if (line.kind == trends::ComparisonKind::kChanged && !line.over[f] &&
          line.before[f] == line.after[f]) {
        continue;
      }
      out << "  " << trends::kComparedCaptions[f] << ": "
          << FormatNumber(line.before[f], NumberMask::kInteger) << " -> "
          << FormatNumber(line.after[f], NumberMask::kInteger) << "\n";
    }
    for (const trends::InputChange& input : line.inputs) {
      out << "  " << input.caption << ": " << (input.before.empty() ? "-" : input.before) << " -> "
          << (input.after.empty() ? "-" : input.after) << "\n";
    }
  }
}

void RunCompare(CliContext& context, const CompareOptions& options) {
  double threshold = trends::kDefaultThreshold;
  if (!options.threshold.empty()) {
    const std::optional<double> typed = TryParseNumber(options.threshold);
    if (!typed || !(*typed >= 0 && *typed <= trends::kMaxThreshold)) {
      Refuse(context, trends::kThresholdRefused);
      return;
    }
    threshold = *typed;
  }
  CliSession cli(context);
  if (!cli.Open(UpperTrim(options.cod), ParseMonthArgument(options.month))) {
    context.exit_code = 1;
    return;
  }
  const trends::MonthComparison comparison =
      trends::CompareWithPreviousMonth(*cli.session, threshold);
  if (context.json) {
    *context.out << CompareJson(comparison).dump(2, ' ', false, kReplaceInvalidUtf8) << "\n";
  } else {
    PrintComparison(*context.out, comparison);
  }
}

}  // namespace

void RegisterTrendCommands(CLI::App& app, CliContext& context) {
  auto trend_options = std::make_shared<TrendOptions>();
  CLI::App* trend = app.add_subcommand(
      "trend", "Evolutia lunilor firmei: salariati si sumele centralizatorului, luna de luna");
  trend->add_option("--cod", trend_options->cod, "Codul firmei")->required();
  trend->add_option("--from", trend_options->from,
                    "Prima luna AAAA-LL (altfel cu 11 luni inaintea ultimei luni)");
  trend->add_option("--to", trend_options->to, "Ultima luna AAAA-LL (altfel ultima luna a firmei)");
  trend->add_option("--depart", trend_options->depart, "Numai departamentul dat");
  trend->add_option("--chart", trend_options->chart, "Graficul din --png: sume sau salariati");
  trend->add_option("--png", trend_options->png, "Scrie graficul in fisierul PNG (1600 x 900)");
  trend->add_option("--pdf", trend_options->pdf, "Scrie graficele si tabelul in fisierul PDF");
  trend->callback([&context, trend_options] { RunTrend(context, *trend_options); });

  auto compare_options = std::make_shared<CompareOptions>();
  CLI::App* compare = app.add_subcommand(
      "compare", "Comparatie cu luna anterioara: angajati noi, plecati si liniile modificate");
  compare->add_option("--cod", compare_options->cod, "Codul firmei")->required();
  compare->add_option("--month", compare_options->month, "Luna comparata AAAA-LL")->required();
  compare->add_option("--threshold", compare_options->threshold,
                      "Pragul in procente peste care o linie este modificata (implicit 10)");
  compare->callback([&context, compare_options] { RunCompare(context, *compare_options); });
}

}  // namespace traveno::cli
