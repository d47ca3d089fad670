// The pay grid over a stored month: RecalculateCompany over 1 000, 10 000
// and 100 000 lines, each against its floor (every line of the month read
// and its calculated figures written back by plain SQLite, one commit), the
// two in turns; between pairs the month's working time changes in memory, so
// that every line gets new figures to write. And the single-line
// recalculation of a month of 100 and of 10 000 lines. Targets: the
// recalculation at most 1.3 times its floor at 10 000 lines; a single line at
// 10 000 lines at most 1.2 times its time at 100 lines.
#include <benchmark/benchmark.h>

#include "bench/personnel/stored_month.h"
#include "bench/support/against_floor.h"
#include "bench/support/plain_floors.h"

namespace traveno::personnel {
namespace {

using bench::Month;
using bench::StoredMonth;

void BM_RecalculateCompany(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  SilentProgress progress;
  ::traveno::bench::PlainDatabase plain(month.folder, "BENCH");
  const std::string luna = month.session->working_month().ToIso();
  double& timp_luna = month.session->parameters().company.TimpLuna;
  ::traveno::bench::AgainstFloor(
      state, [&] { benchmark::DoNotOptimize(::traveno::bench::ReadAndRewriteMonth(plain, luna)); },
      [&] { benchmark::DoNotOptimize(RecalculateCompany(*month.session, progress)); },
      [&] { timp_luna = timp_luna == 168 ? 176 : 168; });
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SingleLine(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  double timp = 160;
  for (auto _ : state) {
    timp = timp == 160 ? 168 : 160;
    benchmark::DoNotOptimize(
        UpdateGridLine(*month.session, month.first_nr, {{"TIMP", FieldValue(timp)}}));
  }
}

BENCHMARK(BM_RecalculateCompany)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(9)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalculateCompany)
    ->Arg(100000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SingleLine)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace traveno::personnel

BENCHMARK_MAIN();
