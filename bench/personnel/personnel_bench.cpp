// The pay grid over a stored month: RecalculateCompany over 1 000, 10 000
// and 100 000 lines, beside the floor of reading and rewriting the same lines
// with SQLite (what no implementation can go under), and the single-line
// recalculation of a month of 100 and of 10 000 lines. Targets: the
// recalculation at most 1.5 times the floor at 10 000 lines; a single line at
// 10 000 lines at most 1.2 times its time at 100 lines.
#include <benchmark/benchmark.h>

#include "bench/personnel/stored_month.h"

namespace traveno::personnel {
namespace {

using bench::Month;
using bench::StoredMonth;

void BM_RecalculateCompany(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  SilentProgress progress;
  for (auto _ : state) {
    benchmark::DoNotOptimize(RecalculateCompany(*month.session, progress));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The floor: every column of every line of the month read, and every line
// rewritten column by column with one prepared statement, in one transaction.
void BM_ReadRewriteFloor(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  Database& db = month.store->db();
  const auto fields = FieldsOf<PersRow>();
  std::string sets;
  for (std::size_t i = 1; i < fields.size(); ++i) {
    sets += (i > 1 ? ", " : "") + QuoteIdentifier(fields[i].name) + " = ?";
  }
  for (auto _ : state) {
    Statement read = db.Prepare("SELECT * FROM firma.Pers WHERE LUNA = ? ORDER BY LUNA, IID, Nr");
    read.Bind(1, month.session->working_month());
    Transaction tx(db);
    Statement write = db.Prepare("UPDATE firma.Pers SET " + sets + " WHERE Nr = ?");
    const int columns = read.ColumnCount();
    std::vector<FieldValue> values(static_cast<std::size_t>(columns));
    while (read.Step()) {
      for (int c = 0; c < columns; ++c) {
        const FieldKind kind = fields[static_cast<std::size_t>(c)].kind;
        if (kind == FieldKind::kDouble) {
          values[c] = read.Double(c);
        } else if (kind == FieldKind::kText || kind == FieldKind::kDate) {
          values[c] = read.Text(c);
        } else {
          values[c] = read.Int64(c);
        }
      }
      write.Reset();
      for (int c = 1; c < columns; ++c) write.Bind(c, values[c]);
      write.Bind(columns, values[0]);
      write.Run();
    }
    tx.Commit();
  }
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

BENCHMARK(BM_ReadRewriteFloor)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalculateCompany)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRewriteFloor)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalculateCompany)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SingleLine)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace traveno::personnel

BENCHMARK_MAIN();
