// The trends over 120 months of a company of 1 000 employees, and the
// comparison of two months of 10 000 lines. Targets: the trend's figures in
// under 0.5 s (one read of the months' lines and parameters); its chart
// built and drawn in under 0.2 s more; the comparison within 2x of reading
// both months' rows, the floor timed in the same iterations, in turn with it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <memory>

#include "bench/support/bench_company.h"
#include "core/store/row_io.h"
#include "params/departments.h"
#include "params/parameter_store.h"
#include "trends/chart_data.h"
#include "trends/month_comparison.h"
#include "trends/trend_figures.h"
#ifdef TRAVENO_WITH_CHARTS
#include "trends/ui/trend_chart.h"
#endif

namespace traveno::trends {
namespace {

using ::traveno::bench::QuietPrompter;

// `months` months from January 2003 of `lines` employees each, of both kinds
// in two departments, with every figure the trend and the comparison read;
// every month has its general and company parameters. The working month is
// the last one.
struct StoredMonths : ::traveno::bench::BenchCompany {
  StoredMonths(int months, int lines)
      : BenchCompany("trends-" + std::to_string(months) + "x" + std::to_string(lines)) {
    QuietPrompter prompter;
    params::AddDepartment(*session, "PRODUCT", "PRODUCTIE", prompter);
    Database& db = store->db();
    const Date first = session->working_month();
    const engine::GeneralParameters general = params::LoadGeneralParameters(db, first);
    const engine::CompanyParameters company = params::LoadCompanyParameters(db, first);
    Transaction tx(db);
    RowWriter<PersRow> writer(db, "Pers");
    for (int m = 0; m < months; ++m) {
      const Date month = AddMonths(first, m);
      if (m > 0) {
        params::SaveGeneralParameters(db, month, general);
        params::SaveCompanyParameters(db, month, company);
        for (const engine::ParameterRow& department : company.departments) {
          db.Run("INSERT INTO firma.ParF (Luna, Den, Val, Grupa) VALUES (?, ?, ?, ?)", month,
                 department.Den, department.Val, department.Grupa);
        }
      }
      for (int i = 0; i < lines; ++i) {
        PersRow row;
        row.LUNA = month;
        row.IID = i + 1;
        row.TIP = i % 5 == 4 ? "2" : "1";
        row.NUME = "ANGAJAT" + std::to_string(i);
        row.PRENUME = "ION";
        row.Depart = i % 2 ? "CENTRAL" : "PRODUCT";
        row.MARCA = i + 1;
        row.NORMA = 8;
        row.SALINC = 2500000 + (i % 40) * 125000 + (m % 7) * 10000;
        row.TIMP = row.TIP == "1" ? 168 - (i % 3) * 8 : 80;
        row.BRUT = row.SALINC * (1 + (i % 3) * 0.05);
        // One line in fifty moves by half every other month: the comparison
        // lists those, with their inputs.
        if (m % 2 == 1 && i % 50 == 0) row.BRUT *= 1.5;
        row.Brut1 = row.BRUT;
        row.PENSIE = row.BRUT * 0.095;
        row.SANATATE = row.BRUT * 0.065;
        row.SOMAJ = row.BRUT * 0.01;
        row.IMPOZIT = row.BRUT * 0.12;
        row.AVANS = 1000000;
        row.RESTPL = row.BRUT - row.PENSIE - row.SANATATE - row.SOMAJ - row.IMPOZIT - row.AVANS;
        row.ZILE_CM = i % 29 == 0 ? 2 : 0;
        row.CM1L = i % 29 == 0 ? 150000 : 0;
        row.ALT_VENIT = row.TIP == "2" ? 1 : 0;
        row.Ore_Zi = row.TIP == "2" ? 4 : 0;
        writer.Insert(row);
      }
    }
    tx.Commit();
    params::ChooseCompanyAndMonth(*session, "BENCH", AddMonths(first, months - 1), prompter,
                                  progress);
    last = AddMonths(first, months - 1);
    from = first;
  }
  SilentProgress progress;
  Date from;
  Date last;
};

StoredMonths& Stored(int months, int lines) {
  static std::map<std::pair<int, int>, std::unique_ptr<StoredMonths>> stored;
  auto& company = stored[{months, lines}];
  if (!company) company = std::make_unique<StoredMonths>(months, lines);
  return *company;
}

// The figures of every month of the interval, of the company and its two
// departments.
void BM_TrendFigures(benchmark::State& state) {
  StoredMonths& company = Stored(120, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(CompanyTrend(*company.session, company.from, company.last));
  }
  state.counters["months"] = 120;
  state.SetItemsProcessed(state.iterations() * 120 * state.range(0));
}
BENCHMARK(BM_TrendFigures)->Arg(1000)->Unit(benchmark::kMillisecond);

#ifdef TRAVENO_WITH_CHARTS
// The amounts chart of those 120 months built and drawn as the window's
// picture (1 600 x 900), after the figures.
void BM_TrendChart(benchmark::State& state) {
  trends_ui::EnsureChartApplication();
  StoredMonths& company = Stored(120, 1000);
  const Trend trend = CompanyTrend(*company.session, company.from, company.last);
  for (auto _ : state) {
    benchmark::DoNotOptimize(trends_ui::RenderChart(
        AmountsChart(trend, ""), QSize(trends_ui::kPictureWidth, trends_ui::kPictureHeight)));
  }
}
BENCHMARK(BM_TrendChart)->Unit(benchmark::kMillisecond);
#endif

// Two months of `lines` lines compared, beside the floor of reading both
// months' rows: each iteration times both, in turn first, so the two see the
// same machine and neither always finds the pages warmed by the other; the
// counters give their mean times and their ratio.
void BM_CompareWithFloor(benchmark::State& state) {
  StoredMonths& company = Stored(2, static_cast<int>(state.range(0)));
  using Clock = std::chrono::steady_clock;
  Clock::duration floor{};
  Clock::duration compare{};
  Database& db = company.store->db();
  auto read_both = [&] {
    const Clock::time_point start = Clock::now();
    Transaction snapshot(db, TransactionKind::kDeferred);
    constexpr const char* kMonthLines = "SELECT * FROM firma.Pers WHERE LUNA = ?";
    benchmark::DoNotOptimize(QueryRows<PersRow>(db, kMonthLines, company.from));
    benchmark::DoNotOptimize(QueryRows<PersRow>(db, kMonthLines, company.last));
    snapshot.Commit();
    floor += Clock::now() - start;
  };
  auto compare_both = [&] {
    const Clock::time_point start = Clock::now();
    benchmark::DoNotOptimize(CompareWithPreviousMonth(*company.session));
    compare += Clock::now() - start;
  };
  bool floor_first = true;
  for (auto _ : state) {
    if (floor_first) {
      read_both();
      compare_both();
    } else {
      compare_both();
      read_both();
    }
    floor_first = !floor_first;
  }
  const double n = static_cast<double>(state.iterations());
  const double floor_ms = std::chrono::duration<double, std::milli>(floor).count() / n;
  const double compare_ms = std::chrono::duration<double, std::milli>(compare).count() / n;
  state.counters["floor_ms"] = floor_ms;
  state.counters["compare_ms"] = compare_ms;
  state.counters["ratio"] = compare_ms / floor_ms;
}
BENCHMARK(BM_CompareWithFloor)->Arg(10000)->Iterations(8)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace traveno::trends

BENCHMARK_MAIN();
