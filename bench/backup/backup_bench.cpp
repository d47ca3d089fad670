// A backup of 100 companies of 12 months of 50 employees each beside `tar`
// of the same folder, and its restore beside `tar -x` of that tar file, each
// pair timed in the same iteration. Targets: the backup at most 2 times tar,
// the restore at most 3 times tar -x (the counters "ratio").
//
// The backup flushes its archive to the disk before renaming it into place,
// and the restore flushes what it staged before its journal and what it
// switched before removing it; tar flushes nothing. The counters
// "ratio_durable" compare with tar followed by a flush of what it wrote
// (`sync` of the file, of the file system), the same work made durable.
//
// The data folder is made once: one company passed through its twelve months
// by the program's services, its database copied for the other 99 companies.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "backup/archive_writer.h"
#include "backup/backup_source.h"
#include "backup/restore.h"
#include "bench/support/bench_company.h"
#include "core/data_folder.h"
#include "core/store/row_io.h"
#include "params/month_cycle.h"
#include "personnel/pay_grid.h"

namespace traveno::backup {
namespace {

namespace fs = std::filesystem;

constexpr int kCompanies = 100;
constexpr int kMonths = 12;
constexpr int kEmployees = 50;

fs::path Work() {
  static const fs::path folder = [] {
    const fs::path path =
        fs::temp_directory_path() / ("traveno-bench-backup-" + std::to_string(::getpid()));
    fs::remove_all(path);
    fs::create_directories(path);
    // Kept apart from the static, which is gone when the exit handlers run.
    static const std::string* const kept = new std::string(path.string());
    std::atexit([] { fs::remove_all(*kept); });
    return path;
  }();
  return folder;
}

std::string CompanyCode(int i) {
  char code[8];
  std::snprintf(code, sizeof code, "F%03d", i);
  return code;
}

// The data folder of the benchmark, made at the first call.
const fs::path& DataFolder() {
  static const fs::path folder = [] {
    const fs::path data = Work() / "date";
    {
      ::traveno::bench::BenchCompany bench("backup-model");
      SilentProgress progress;
      params::Session& session = *bench.session;
      {
        Transaction tx(bench.store->db());
        RowWriter<PersRow> writer(bench.store->db(), "Pers");
        for (int i = 0; i < kEmployees; ++i) {
          PersRow row;
          row.LUNA = session.working_month();
          row.TIP = i % 5 == 4 ? "2" : "1";
          row.NUME = "ANGAJAT" + std::to_string(i);
          row.PRENUME = "ION";
          row.FUNCTIE = "MUNCITOR CALIFICAT";
          row.Depart = "CENTRAL";
          row.SALINC = 2500000 + (i % 40) * 125000;
          row.TIMP = row.TIP == "1" ? 168 : 80;
          row.CoefInd = row.CoefInd1 = 1;
          row.ProcImpo = 100;
          row.NORMA = 8;
          row.Ore_Zi = row.TIP == "2" ? 4 : 0;
          row.BifaSom = row.TIP == "2" ? 1 : 0;
          row.DATA_ANG = Date::FromYmd(2000, 1 + i % 12, 1);
          row.Nr = writer.Insert(row);
          row.IID = static_cast<int>(row.Nr);
          writer.Update(row);
        }
        tx.Commit();
      }
      session.LoadParameters();
      personnel::RecalculateCompany(session, progress);
      for (int m = 1; m < kMonths; ++m) params::PassToNextMonth(session, progress);
      bench.session.reset();
      bench.store.reset();
      fs::create_directories(data);
      fs::copy_file(bench.folder / kRegisterDatabaseName, data / kRegisterDatabaseName);
      Store store(data);
      Transaction tx(store.db());
      store.db().Run("DELETE FROM Firme");
      for (int i = 0; i < kCompanies; ++i) {
        const std::string code = CompanyCode(i);
        fs::create_directories(data / code);
        fs::copy_file(bench.folder / "BENCH" / kCompanyDatabaseName, data / code / kCompanyDatabaseName);
        store.db().Run("INSERT INTO Firme (Cod, Denumire, TipAngaj) VALUES (?, ?, 1)", code,
                       "FIRMA " + code);
      }
      tx.Commit();
    }
    return data;
  }();
  return folder;
}

double Seconds(const std::chrono::steady_clock::time_point& start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Run(const std::string& command) {
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

void BM_BackupBesideTar(benchmark::State& state) {
  const fs::path& data = DataFolder();
  const fs::path tar_file = Work() / "tar.tar";
  const fs::path archive = Work() / "salvare.tar";
  double tar_total = 0;
  double durable_total = 0;
  double backup_total = 0;
  for (auto _ : state) {
    fs::remove(tar_file);
    fs::remove(archive);
    auto start = std::chrono::steady_clock::now();
    Run("tar -cf '" + tar_file.string() + "' -C '" + data.string() + "' .");
    const double tar = Seconds(start);
    Run("sync '" + tar_file.string() + "'");
    durable_total += Seconds(start);
    start = std::chrono::steady_clock::now();
    {
      DataFolderSource source(data);
      BackupRequest request;
      request.now = std::time(nullptr);
      SilentProgress quiet;
      WriteBackup(source, archive, request, quiet);
    }
    const double backup = Seconds(start);
    tar_total += tar;
    backup_total += backup;
    state.SetIterationTime(backup);
  }
  state.counters["tar_s"] = tar_total / state.iterations();
  state.counters["backup_s"] = backup_total / state.iterations();
  state.counters["ratio"] = backup_total / tar_total;
  state.counters["ratio_durable"] = backup_total / durable_total;
  state.counters["MB"] = static_cast<double>(fs::file_size(archive)) / 1e6;
}

void BM_RestoreBesideTarExtract(benchmark::State& state) {
  const fs::path& data = DataFolder();
  const fs::path tar_file = Work() / "tar.tar";
  const fs::path archive = Work() / "salvare.tar";
  Run("tar -cf '" + tar_file.string() + "' -C '" + data.string() + "' .");
  {
    DataFolderSource source(data);
    BackupRequest request;
    SilentProgress quiet;
    WriteBackup(source, archive, request, quiet);
  }
  const fs::path untarred = Work() / "tar-x";
  const fs::path restored = Work() / "restaurat";
  double tar_total = 0;
  double durable_total = 0;
  double restore_total = 0;
  for (auto _ : state) {
    fs::remove_all(untarred);
    fs::remove_all(restored);
    fs::create_directories(untarred);
    auto start = std::chrono::steady_clock::now();
    Run("tar -xf '" + tar_file.string() + "' -C '" + untarred.string() + "'");
    const double tar = Seconds(start);
    Run("sync -f '" + untarred.string() + "'");
    durable_total += Seconds(start);
    start = std::chrono::steady_clock::now();
    RestoreOptions options;
    options.target = restored;
    SilentProgress quiet;
    RestoreBackup(archive, options, quiet);
    const double restore = Seconds(start);
    tar_total += tar;
    restore_total += restore;
    state.SetIterationTime(restore);
  }
  state.counters["tar_x_s"] = tar_total / state.iterations();
  state.counters["restore_s"] = restore_total / state.iterations();
  state.counters["ratio"] = restore_total / tar_total;
  state.counters["ratio_durable"] = restore_total / durable_total;
}

BENCHMARK(BM_BackupBesideTar)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RestoreBesideTarExtract)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace traveno::backup

BENCHMARK_MAIN();
