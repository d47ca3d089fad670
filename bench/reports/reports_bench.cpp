// The payroll statement of a month of 1 000 and 10 000 employees: reading the
// month's rows from the store (what the statement cannot go under), preparing
// every page (rows read, totals rebuilt, pages laid out), laying the pages
// out alone, the time until the first page is ready, and writing the pages
// as PDF (pages per second). Targets: preparing all pages at most 2x reading
// the rows, linear from 1 000 to 10 000; the first page under 0.2 s; the PDF
// linear in pages.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "bench/support/bench_company.h"
#include "core/store/row_io.h"
#include "core/store/store.h"
#include "params/departments.h"
#include "params/parameter_store.h"
#include "personnel/pay_grid.h"
#include "reports/payroll_statement.h"
#include "reports/report_common.h"
#ifdef TRAVENO_WITH_PDF
#include "ui/document_painter.h"
#endif

namespace traveno::reports {
namespace {

using ::traveno::bench::QuietPrompter;

// A company with one month of `lines` employees of both kinds in two
// departments, calculated, with bonuses, overtime, leave and deductions.
struct StoredMonth : ::traveno::bench::BenchCompany {
  explicit StoredMonth(int lines) : BenchCompany("reports-" + std::to_string(lines)) {
    QuietPrompter prompter;
    SilentProgress progress;
    params::AddDepartment(*session, "PRODUCT", "PRODUCTIE", prompter);
    Database& db = store->db();
    const Date month = session->working_month();
    {
      Transaction tx(db);
      params::WriteCompany(db, month, "TimpZile", 0);
      params::WriteCompany(db, month, "TimpLuna", 168);
      params::WriteCompany(db, month, "Spor1_Apl", 1);
      params::WriteCompany(db, month, "Spor2_Apl", 2);
      params::WriteCompany(db, month, "Spor3_Apl", 0);
      RowWriter<PersRow> writer(db, "Pers");
      for (int i = 0; i < lines; ++i) {
        PersRow row;
        row.LUNA = month;
        row.TIP = i % 5 == 4 ? "2" : "1";
        row.NUME = "ANGAJAT" + std::to_string(i);
        row.PRENUME = "ION";
        row.FUNCTIE = "OPERATOR";
        row.Depart = i % 2 ? "CENTRAL" : "PRODUCT";
        row.MARCA = i + 1;
        row.SALINC = 2500000 + (i % 40) * 125000;
        row.TIMP = row.TIP == "1" ? 168 - (i % 3) * 8 : 80;
        row.TIMP_SPL = i % 7;
        row.Spor1 = (i % 4) * 5;
        row.spor2 = i % 3 ? 10 : 0;
        row.spor3 = i % 6 ? 0 : 300000;
        row.ZILE_CO = i % 11 ? 0 : 2;
        row.AVANS = 1000000;
        row.RETINERI = i % 8 ? 0 : 50000;
        row.CoefInd = row.CoefInd1 = 1 + (i % 3) * 0.5;
        row.ProcImpo = 100;
        row.NORMA = 8;
        row.Ore_Zi = row.TIP == "2" ? 4 : 0;
        row.Nr = writer.Insert(row);
        row.IID = static_cast<int>(row.Nr);
        writer.Update(row);
      }
      tx.Commit();
    }
    session->LoadParameters();
    personnel::RecalculateCompany(*session, progress);
  }
};

StoredMonth& Month(int lines) {
  static std::map<int, std::unique_ptr<StoredMonth>> months;
  auto& month = months[lines];
  if (!month) month = std::make_unique<StoredMonth>(lines);
  return *month;
}

// The floor: the statement's rows read from the store in its order.
void BM_ReadRows(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(DocumentRows(*month.session, month.session->working_month()));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Reading the rows, the company totals and every page.
void BM_PrepareStatement(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  std::size_t pages = 0;
  for (auto _ : state) {
    const Document document = Prepare(*PayrollStatement(DocumentContext{*month.session}));
    pages = document.pages.size();
  }
  state.counters["pages"] = static_cast<double>(pages);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Until the first page is handed over, as the preview receives it.
class FirstPageOnly final : public PageSink {
 public:
  void AddPage(Page) override { received_ = true; }
  bool Cancelled() const override { return received_; }

 private:
  bool received_ = false;
};

void BM_FirstPage(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    FirstPageOnly sink;
    LayOut(*PayrollStatement(DocumentContext{*month.session}), sink);
  }
}

#ifdef TRAVENO_WITH_PDF
void BM_StatementPdf(benchmark::State& state) {
  ui::EnsureGuiApplication();
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  const Document document = Prepare(*PayrollStatement(DocumentContext{*month.session}));
  const std::filesystem::path file = month.folder / "stat.pdf";
  for (auto _ : state) ui::WritePdf(document, file);
  state.counters["pages"] = static_cast<double>(document.pages.size());
  state.counters["pages_per_second"] = benchmark::Counter(
      static_cast<double>(document.pages.size() * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StatementPdf)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
#endif

BENCHMARK(BM_ReadRows)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrepareStatement)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstPage)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The pages alone, from rows already read: what the preview's worker does.
void BM_LayOutOnly(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  const Report report = *PayrollStatement(DocumentContext{*month.session});
  for (auto _ : state) benchmark::DoNotOptimize(Prepare(report));
}
BENCHMARK(BM_LayOutOnly)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace traveno::reports

BENCHMARK_MAIN();
