// The import of a company's month from its fiscal-sheet files: 100 000 lines
// (90 000 employees in FF1_2002.txt, a dependant line for every ninth of them
// in Ded_2002.txt), beside the floor of writing the same rows, already in
// memory, into SQLite alone. Both are measured in every iteration, one after
// the other and in turn first, so that whatever slows the machine falls on
// both. Target: "ratio" (import over floor) at most 3.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "bench/support/bench_company.h"
#include "core/store/row_io.h"
#include "core/store/sqlite.h"
#include "legacy/fiscal_sheet_import.h"

namespace traveno::legacy {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kEmployees = 90000;
constexpr int kDependantEvery = 9;

std::string EmployeeCode(int i) { return "1" + std::to_string(750000000000LL + i); }
std::string DependantCode(int i) { return "5" + std::to_string(100000000000LL + i); }

// The files, written once under the temporary folder.
struct SheetFiles {
  SheetFiles() {
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / "Rep_2002.txt", std::ios::binary)
        << "12345678,1,#FIRMA BENCH#,##,##,#PITESTI#,#ARGES#,##,##,,##,##,##,##,0,##,##\r\n";
    std::ofstream ff1(folder / "FF1_2002.txt", std::ios::binary);
    std::ofstream ded(folder / "Ded_2002.txt", std::ios::binary);
    for (int i = 0; i < kEmployees; ++i) {
      ff1 << EmployeeCode(i) << ",#POPESCU#,#ION " << i
          << "#,#PITESTI#,#ARGES#,#LALELELOR#,#12#,11000,#B4#,#2#,#3#,#45#,0,##,##,##,##,##,"
             "##,##,15/03/2001,";
      for (int field = 23; field <= 86; ++field) ff1 << (field == 34 ? ",1.5" : ",");
      ff1 << "\r\n";
      if (i % kDependantEvery == 0) {
        ded << EmployeeCode(i) << "," << DependantCode(i) << ",#POPESCU#,#ANA#,##,#X#,##,##,##,##";
        for (int field = 11; field <= 22; ++field) ded << ",";
        ded << "\r\n";
      }
    }
    std::ofstream(folder / "FF2_2002.txt", std::ios::binary);
  }
  ~SheetFiles() { fs::remove_all(folder); }

  fs::path folder =
      fs::temp_directory_path() / ("traveno-bench-" + std::to_string(::getpid()) + "-fise");
};

// The rows the import writes, as the floor writes them.
struct FloorRows {
  FloorRows() {
    for (int i = 0; i < kEmployees; ++i) {
      PersRow row;
      row.Nr = row.IID = i + 1;
      row.LUNA = Date::FromYmd(2003, 1, 1);
      row.TIP = "1";
      row.CODNUMPERS = EmployeeCode(i);
      row.NUME = "POPESCU";
      row.PRENUME = "ION " + std::to_string(i);
      row.LOCALITATE = "PITESTI";
      row.Judet = "ARGES";
      row.STRADA = "LALELELOR";
      row.NUMAR = "12";
      row.CODPOSTAL = "11000";
      row.BLOC = "B4";
      row.SCARA = "2";
      row.ETAJ = "3";
      row.AP = "45";
      row.SECTOR = "0";
      row.DATA_ANG = Date::FromYmd(2001, 3, 15);
      row.CoefInd = row.CoefInd1 = 1.5;
      employees.push_back(row);
      if (i % kDependantEvery == 0) {
        PintRow dependant;
        dependant.Luna = row.LUNA;
        dependant.IID = dependant.AiPers = static_cast<int>(row.Nr);
        dependant.CODNUMPERS = DependantCode(i);
        dependant.Nume = "POPESCU";
        dependant.Prenume = "ANA";
        dependant.Calitate = 1;
        dependants.push_back(dependant);
      }
    }
  }
  std::vector<PersRow> employees;
  std::vector<PintRow> dependants;
};

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

double TimeImport(const SheetFiles& files) {
  bench::BenchCompany company("fise-import");
  bench::QuietPrompter prompter;
  SilentProgress progress;
  const Clock::time_point start = Clock::now();
  const SheetImportResult result =
      ImportFromFiscalSheets(*company.session, files.folder.string() + "/", prompter, progress);
  const double seconds = Seconds(Clock::now() - start);
  if (result.employees != kEmployees) throw std::runtime_error("the import lost employees");
  return seconds;
}

double TimeFloor(const FloorRows& rows) {
  bench::BenchCompany company("fise-floor");
  Database& db = company.session->db();
  const Clock::time_point start = Clock::now();
  Transaction tx(db);
  RowWriter<PersRow> employees(db, "Pers");
  for (const PersRow& row : rows.employees) employees.Insert(row, /*keep_identity=*/true);
  RowWriter<PintRow> dependants(db, "Pint");
  for (const PintRow& row : rows.dependants) dependants.Insert(row);
  tx.Commit();
  return Seconds(Clock::now() - start);
}

void BM_SheetImportAgainstTheFloor(benchmark::State& state) {
  static const SheetFiles files;
  static const FloorRows rows;
  double import_total = 0;
  double floor_total = 0;
  bool import_first = true;
  for (auto _ : state) {
    double import_seconds = 0;
    double floor_seconds = 0;
    if (import_first) {
      import_seconds = TimeImport(files);
      floor_seconds = TimeFloor(rows);
    } else {
      floor_seconds = TimeFloor(rows);
      import_seconds = TimeImport(files);
    }
    import_first = !import_first;
    state.SetIterationTime(import_seconds);
    import_total += import_seconds;
    floor_total += floor_seconds;
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["import_ms"] = 1000 * import_total / iterations;
  state.counters["floor_ms"] = 1000 * floor_total / iterations;
  state.counters["ratio"] = import_total / floor_total;
  state.SetItemsProcessed(state.iterations() * (kEmployees + kEmployees / kDependantEvery));
}

BENCHMARK(BM_SheetImportAgainstTheFloor)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(4);

}  // namespace
}  // namespace traveno::legacy
