// The payroll statement of a month of 1 000, 2 000 and 10 000 employees:
// preparing every page (rows read, totals rebuilt, columns sized, pages laid
// out) against reading the month's rows alone, the floor it cannot go under,
// measured in turns within the same run; the time until the first page is
// ready, and until it is written as a PDF; laying the pages out alone; and
// the PDF's pages per second. Times are the thread's CPU time, so that other
// work on the machine weighs on neither side.
//
// Targets: preparing all pages at most 2x reading the rows; the first page
// under 0.1 s; at least 400 PDF pages per second at 2 000 employees.
#include <benchmark/benchmark.h>
#include <time.h>

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

// Made once per size and removed, with its folder, when the program ends.
StoredMonth& Month(int lines) {
  static std::map<int, std::unique_ptr<StoredMonth>> months;
  auto& month = months[lines];
  if (!month) month = std::make_unique<StoredMonth>(lines);
  return *month;
}

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Every page of the statement against its floor, the month's rows read in
// the statement's order, in turns (each goes first every other time, so
// neither always finds the heap as the other left it). The time reported
// is the statement's; "floor_ms" is the reading's and "ratio" the one over
// the other.
void BM_StatementAgainstItsRows(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  params::Session& session = *month.session;
  double floor = 0;
  double statement = 0;
  std::size_t pages = 0;
  bool floor_first = true;
  for (auto _ : state) {
    auto read = [&] {
      const double start = ThreadSeconds();
      {
        std::vector<PersRow> rows = DocumentRows(session, session.working_month());
        benchmark::DoNotOptimize(rows.data());
      }
      floor += ThreadSeconds() - start;
    };
    auto prepare = [&] {
      const double start = ThreadSeconds();
      {
        const Document document = Prepare(*PayrollStatement(DocumentContext{session}));
        pages = document.pages.size();
      }
      const double used = ThreadSeconds() - start;
      statement += used;
      state.SetIterationTime(used);
    };
    if (floor_first) read();
    prepare();
    if (!floor_first) read();
    floor_first = !floor_first;
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["pages"] = static_cast<double>(pages);
  state.counters["floor_ms"] = floor / n * 1e3;
  state.counters["ratio"] = floor > 0 ? statement / floor : 0;
}
BENCHMARK(BM_StatementAgainstItsRows)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Until the first page is handed over, as the preview receives it: the rows
// read, the totals rebuilt, the columns sized and the first page laid out.
class FirstPageOnly final : public PageSink {
 public:
  void AddPage(Page page) override {
    if (pages_.empty()) pages_.push_back(std::move(page));
  }
  bool Cancelled() const override { return !pages_.empty(); }
  Document Take(const Report& report) {
    Document document{report.title, report.setup, std::move(pages_)};
    pages_.clear();
    return document;
  }

 private:
  std::vector<Page> pages_;
};

void BM_FirstPage(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    FirstPageOnly sink;
    LayOut(*PayrollStatement(DocumentContext{*month.session}), sink);
  }
}
BENCHMARK(BM_FirstPage)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The pages alone, from rows already read: what the preview's worker does.
void BM_LayOutOnly(benchmark::State& state) {
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  const Report report = *PayrollStatement(DocumentContext{*month.session});
  for (auto _ : state) benchmark::DoNotOptimize(Prepare(report));
}
BENCHMARK(BM_LayOutOnly)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

#ifdef TRAVENO_WITH_PDF
// The whole statement written as PDF: its pages per second of CPU.
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
BENCHMARK(BM_StatementPdf)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

// From the request to the first page written as a PDF.
void BM_FirstPdfPage(benchmark::State& state) {
  ui::EnsureGuiApplication();
  StoredMonth& month = Month(static_cast<int>(state.range(0)));
  const std::filesystem::path file = month.folder / "pagina1.pdf";
  for (auto _ : state) {
    const Report report = *PayrollStatement(DocumentContext{*month.session});
    FirstPageOnly sink;
    LayOut(report, sink);
    ui::WritePdf(sink.Take(report), file);
  }
}
BENCHMARK(BM_FirstPdfPage)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
}  // namespace traveno::reports

BENCHMARK_MAIN();
