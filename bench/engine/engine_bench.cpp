// The month's calculation in memory: CalculSalariu over months of mixed
// employees, one row's remove-and-add of the running totals, and the
// employer's funds. Target: a 10 000-row month in at most 20 ms on one core,
// growing linearly; a row's remove-and-add independent of the month's size.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "engine/company_totals.h"
#include "engine/month_calculation.h"
#include "engine/payroll_engine.h"

namespace traveno::engine {
namespace {

Date D(int y, int m, int d) { return Date::FromYmd(y, m, d); }

// Two companies' settings between them use every bonus mode: the first has
// two formula bonuses (one a percentage of its formula), the second one.
MonthParameters Parameters(bool second) {
  MonthParameters p;
  p.luna = D(2003, 3, 1);
  p.general.DedBaza = 1800000;
  p.general.CheltProf = 270000;
  p.general.SalMedEc = 6962000;
  p.general.SalMinEc = 2500000;
  p.general.Handicap = 0.5;
  p.general.Accident = 0.5;
  CompanyParameters& c = p.company;
  c.TimpLuna = 168;
  c.TimpZile = 0;
  c.ZileLibere = ",1";
  c.CO_Form = "\"TARIFAR\"+\"VALS1\"";
  c.LuniCO = 3;
  c.Ex_Firma.Grupa = "DA";
  const double modes_a[4] = {0, 1, 5, 5};
  const double modes_b[4] = {2, 3, 4, 5};
  for (int i = 0; i < 4; ++i) {
    c.spor[i].Apl = second ? modes_b[i] : modes_a[i];
    c.spor[i].CO = i == 0;
    c.spor[i].Perm = i == 3;
  }
  c.spor[2].Form = "(\"TARIFAR\"+\"VAL_TIMP_S\")*10/100";
  c.spor[2].ProcF = 1;
  c.spor[3].Form = "\"SALINC\"*5/100+\"VALS1\"";
  return p;
}

PersRow Employee(int i, Date month) {
  PersRow r;
  r.LUNA = month;
  r.IID = i;
  r.TIP = i % 5 == 0 ? "2" : "1";
  r.SALINC = 2500000 + (i * 7919) % 9000000;
  r.TIMP = 168 - (i % 7) * 8;
  r.Ore_Zi = 4 + i % 4;
  r.PlatitOra = i % 9 == 0;
  r.TIMP_SPL = i % 4 == 0 ? 6 : 0;
  r.TIMP_NOAPTE = i % 6 == 0 ? 16 : 0;
  r.ACORD = i % 11 == 0 ? "D" : "";
  r.REALIZAT = r.SALINC * 1.1;
  r.ZILE_CO = i % 8 == 0 ? 5 : 0;
  r.ZILE_CM = i % 13 == 0 ? 3 : 0;
  r.CM1L = r.ZILE_CM * 60000;
  r.Spor1 = 10;
  r.spor2 = 15;
  r.spor3 = 5;
  r.spor4 = 20;
  r.PRIME = i % 3 == 0 ? 250000 : 0;
  r.SumeExcept = i % 10 == 0 ? 300000 : 0;
  r.CoefInd1 = 1 + (i % 4) * 0.5;
  r.ProcImpo = 100;
  r.BifaSom = r.TIP == "2";
  r.ALT_VENIT = i % 2;
  r.Domiciliu_ext = i % 2 ? "1" : "0";
  r.Pensionar = i % 37 == 0;
  r.NORMA = 8;
  r.DATA_ANG = i % 50 == 0 ? D(2003, 3, 10) : D(2000, 1, 1);
  r.AVANS = 500000;
  return r;
}

// The month's rows and three earlier months for the holiday-pay average.
struct Month {
  explicit Month(int size) {
    for (int i = 0; i < size; ++i) {
      rows.push_back(Employee(i, D(2003, 3, 1)));
      for (int back = 1; back <= 3; ++back) {
        if (i % 8 == 0) past.AddRow(Employee(i, AddMonths(D(2003, 3, 1), -back)));
      }
    }
    for (int back = 1; back <= 3; ++back) {
      past.SetCompanyRows(AddMonths(D(2003, 3, 1), -back), {{"TimpLuna", 168, ""}});
    }
    const TaxTable brackets = {{0, 0, 18}, {2100000, 378000, 23}, {5200000, 1091000, 28}};
    first = std::make_unique<PayrollEngine>(Parameters(false), brackets, &past);
    second = std::make_unique<PayrollEngine>(Parameters(true), brackets, &past);
  }
  // Every row through its company's engine, in order.
  void CalculateAll(std::vector<PersRow>& work) const {
    for (std::size_t i = 0; i < work.size(); ++i) {
      (i % 2 == 0 ? *first : *second).CalculSalariu(work[i]);
    }
  }
  std::vector<PersRow> rows;
  MemoryPastRows past;
  std::unique_ptr<PayrollEngine> first;
  std::unique_ptr<PayrollEngine> second;
};

void BM_CalculSalariuMonth(benchmark::State& state) {
  Month month(static_cast<int>(state.range(0)));
  std::vector<PersRow> work = month.rows;
  for (auto _ : state) {
    month.CalculateAll(work);
    benchmark::DoNotOptimize(work.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CalculSalariuMonth)->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000)
    ->Unit(benchmark::kMillisecond);

void BM_RecalculateMonth(benchmark::State& state) {
  Month month(static_cast<int>(state.range(0)));
  std::vector<PersRow> work = month.rows;
  for (auto _ : state) {
    benchmark::DoNotOptimize(RecalculateMonth(*month.first, work));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RecalculateMonth)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_RemoveAndAddRow(benchmark::State& state) {
  Month month(static_cast<int>(state.range(0)));
  std::vector<PersRow> work = month.rows;
  const MonthResult result = RecalculateMonth(*month.first, work);
  CompanyTotals totals = result.totals;
  const MonthParameters& p = month.first->parameters();
  // The row being edited in the grid: it leaves the totals before the edit
  // and enters them again after the post.
  const PersRow& edited = work[work.size() / 2];
  for (auto _ : state) {
    RemoveRowFromTotals(totals, edited, p);
    AddRowToTotals(totals, edited, p);
    benchmark::DoNotOptimize(totals);
  }
}
BENCHMARK(BM_RemoveAndAddRow)->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000);

void BM_ComputeCompanyFunds(benchmark::State& state) {
  Month month(10000);
  std::vector<PersRow> work = month.rows;
  const MonthResult result = RecalculateMonth(*month.first, work);
  for (auto _ : state) {
    benchmark::DoNotOptimize(ComputeCompanyFunds(result.totals, month.first->parameters()));
  }
}
BENCHMARK(BM_ComputeCompanyFunds);

}  // namespace
}  // namespace traveno::engine

BENCHMARK_MAIN();
