// The pay grid window over a stored month, offscreen:
//   - opening the grid on 10 000 lines (the month recalculated, the model
//     built, the first page drawn, the totals shown) beside RecalculateCompany
//     alone on the same month; target: at most 1.5 times;
//   - posting one typed cell through the grid's model (the line posted, the
//     model and the totals refreshed) on a month of 100 and of 10 000 lines;
//     target: the time at 10 000 lines at most 1.2 times that at 100, and
//     well under 50 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "bench/personnel/stored_month.h"
#include "personnel/ui/pay_grid_model.h"
#include "personnel/ui/pay_grid_window.h"
#include "ui/data_grid.h"

namespace traveno::personnel_ui {
namespace {

using personnel::bench::Month;
using personnel::bench::QuietPrompter;
using personnel::bench::StoredMonth;

void BM_RecalculateCompanyAlone(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  SilentProgress progress;
  for (auto _ : state) {
    benchmark::DoNotOptimize(personnel::RecalculateCompany(*month.session, progress));
  }
}

void BM_OpenGrid(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  QuietPrompter prompter;
  SilentProgress progress;
  for (auto _ : state) {
    PayGridWindow window(*month.session, prompter, progress, std::nullopt);
    window.show();                                       // recalculates and loads the month
    window.grid(kPermanentPage)->viewport()->repaint();  // the first page drawn
    benchmark::DoNotOptimize(window.TotalText("Rest de plata"));
    state.PauseTiming();
    window.hide();
    state.ResumeTiming();
  }
}

void BM_PostCell(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  QuietPrompter prompter;
  SilentProgress progress;
  PayGridWindow window(*month.session, prompter, progress, std::nullopt);
  window.show();
  PayGridModel* model = window.model(kPermanentPage);
  const QModelIndex cell = model->index(0, model->ColumnOf("TIMP"));
  bool longer = false;
  for (auto _ : state) {
    longer = !longer;
    if (!model->setData(cell, longer ? "160" : "168")) {
      state.SkipWithError("the typed time was refused");
      break;
    }
  }
}

BENCHMARK(BM_RecalculateCompanyAlone)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenGrid)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PostCell)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace traveno::personnel_ui

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
