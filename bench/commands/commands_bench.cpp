// Each command of traveno-cli as a user runs it (the same command line, run
// in this process exactly as the program runs it, its output formatted and
// dropped) on a generated company, against its floor: a plain SQLite program
// that reads (for the recalculation also rewrites) the same rows with the
// same settings (bench/support/plain_floors.h). Floor and command run
// interleaved, in turns, each pair in the other order than the one before,
// so that neither meets a fresher heap or a warmer cache. Each benchmark
// reports the medians of the wall and CPU times of both, the median ratio of
// each pair and the worst.
//
// Targets: recalc at 10 000 lines at most 1.3 times its floor (CPU and
// wall), in every pair; report statement --text, efiling --dbf (2 000
// employees x 12 months), declaration cas --files --dbf and grid --lines at
// most 2 times theirs; posting one line at 10 000 lines at most 1.2 times
// the time at 100; the peak memory of the recalc program at 10 000 lines
// under 40 MB.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

#include "bench/support/against_floor.h"
#include "bench/support/generated_company.h"
#include "bench/support/plain_floors.h"
#include "cli/cli_app.h"
#include "personnel/grid_line.h"

extern char** environ;

namespace traveno::bench {
namespace {

constexpr const char* kMonth = "2003-01";
constexpr int kLines = 10000;

// The companies of the run, made once each.
GeneratedCompany& Big() {
  static GeneratedCompany company("commands-10000", kLines);
  return company;
}
GeneratedCompany& Small() {
  static GeneratedCompany company("commands-100", 100);
  return company;
}
GeneratedCompany& Year() {
  static GeneratedCompany company("commands-2000x12", 2000, 12);
  return company;
}

// Output that is formatted and dropped, as a terminal that keeps up would.
class DroppedOutput final : public std::streambuf {
 protected:
  int overflow(int c) override { return c == traits_type::eof() ? 0 : c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// Runs one command line in this process as traveno-cli does.
void RunCommand(const std::filesystem::path& data, std::vector<std::string> arguments) {
  DroppedOutput dropped;
  std::ostream out(&dropped);
  std::ostringstream err;
  cli::CliContext context;
  context.out = &out;
  context.err = &err;
  arguments.insert(arguments.begin(), {"--data-dir", data.string()});
  CLI::App app{"traveno-cli", "traveno-cli"};
  cli::ConfigureCliApp(app, context);
  if (cli::RunCommandLine(app, context, arguments) != 0) {
    throw std::runtime_error("the command failed: " + err.str());
  }
}

// recalc: between pairs the month's working time changes, so that every line
// is calculated to new figures and written.
void BM_Recalc(benchmark::State& state) {
  GeneratedCompany& company = Big();
  int round = 0;
  AgainstFloor(
      state,
      [&] {
        PlainDatabase db(company.folder, kGeneratedCode);
        benchmark::DoNotOptimize(ReadAndRewriteMonth(db, "2003-01-01"));
      },
      [&] {
        RunCommand(company.folder, {"recalc", "--cod", kGeneratedCode, "--month", kMonth});
      },
      [&] {
        PlainDatabase db(company.folder, kGeneratedCode);
        db.Execute(
            ++round % 2
                ? "UPDATE firma.ParF SET Val = 176 WHERE Den = 'TimpLuna' AND Luna = '2003-01-01'"
                : "UPDATE firma.ParF SET Val = 168 WHERE Den = 'TimpLuna' AND Luna = '2003-01-01'");
      });
}

void BM_StatementText(benchmark::State& state) {
  GeneratedCompany& company = Big();
  AgainstFloor(
      state,
      [&] {
        PlainDatabase db(company.folder, kGeneratedCode);
        benchmark::DoNotOptimize(
            db.ReadRows("SELECT * FROM firma.Pers WHERE LUNA = ? "
                        "ORDER BY LUNA, Depart, TIP, CATEGORIE, MARCA, Nr",
                        {"2003-01-01"}));
      },
      [&] {
        RunCommand(company.folder,
                   {"report", "statement", "--cod", kGeneratedCode, "--month", kMonth, "--text"});
      });
}

void BM_EfilingDbf(benchmark::State& state) {
  GeneratedCompany& company = Year();
  const std::filesystem::path out = BenchFolder::Fresh("efiling-out");
  AgainstFloor(
      state,
      [&] {
        PlainDatabase db(company.folder, kGeneratedCode);
        benchmark::DoNotOptimize(db.ReadRows(
            "SELECT * FROM firma.Pers WHERE LUNA >= ? AND LUNA < ? ORDER BY LUNA, IID, Nr",
            {"2003-01-01", "2004-01-01"}));
        benchmark::DoNotOptimize(db.ReadRows(
            "SELECT * FROM firma.Pint WHERE Luna >= ? AND Luna < ? ORDER BY Luna, IID, Nr",
            {"2003-01-01", "2004-01-01"}));
      },
      [&] {
        RunCommand(company.folder, {"efiling", "--cod", kGeneratedCode, "--year", "2003", "--month",
                                    "2003-12", "--dbf", "--out", out.string()});
      });
}

void BM_CasFilesDbf(benchmark::State& state) {
  GeneratedCompany& company = Big();
  const std::filesystem::path out = BenchFolder::Fresh("cas-out");
  AgainstFloor(
      state,
      [&] {
        PlainDatabase db(company.folder, kGeneratedCode);
        benchmark::DoNotOptimize(db.ReadRows(
            "SELECT * FROM firma.Pers WHERE LUNA = ? ORDER BY Depart, TIP, CATEGORIE, MARCA, Nr",
            {"2003-01-01"}));
      },
      [&] {
        RunCommand(company.folder,
                   {"declaration", "cas", "--cod", kGeneratedCode, "--month", kMonth, "--nr", "1",
                    "--date", "15.02.2003", "--files", out.string(), "--dbf"});
      });
}

void BM_GridLines(benchmark::State& state) {
  GeneratedCompany& company = Big();
  AgainstFloor(
      state,
      [&] {
        PlainDatabase db(company.folder, kGeneratedCode);
        benchmark::DoNotOptimize(db.ReadRows(
            "SELECT * FROM firma.Pers WHERE LUNA = ? AND TIP = ? ORDER BY LUNA, IID, Nr",
            {"2003-01-01", "1"}));
      },
      [&] {
        RunCommand(company.folder, {"grid", "--cod", kGeneratedCode, "--month", kMonth, "--lines"});
      });
}

// Posting one line as the pay grid does, in a month of 100 and one of
// 10 000 lines, each beside its floor: the line read by its number and its
// typed time with the calculated figures written back, one commit.
struct PostingFloor {
  explicit PostingFloor(GeneratedCompany& company)
      : db(company.folder, kGeneratedCode), nr(company.first_nr) {
    std::string sql = CalculatedColumnsUpdate();
    sql.replace(sql.find(" SET ") + 5, 0, "TIMP = ?, ");
    read = db.Prepare("SELECT * FROM firma.Pers WHERE Nr = ?");
    write = db.Prepare(sql);
  }
  ~PostingFloor() {
    sqlite3_finalize(read);
    sqlite3_finalize(write);
  }
  void Post(double timp) {
    db.Execute("BEGIN");
    sqlite3_bind_int64(read, 1, nr);
    const int columns = sqlite3_column_count(read);
    std::int64_t sum = 0;
    if (sqlite3_step(read) == SQLITE_ROW) {
      for (int c = 0; c < columns; ++c) sum += PlainDatabase::Fetch(read, c);
    }
    benchmark::DoNotOptimize(sum);
    sqlite3_reset(read);
    int index = 0;
    sqlite3_bind_double(write, ++index, timp);
    for (std::size_t i = 0; i < std::size(kCalculatedColumns); ++i) {
      sqlite3_bind_double(write, ++index, timp * 1000 + static_cast<double>(i));
    }
    sqlite3_bind_int64(write, ++index, nr);
    if (sqlite3_step(write) != SQLITE_DONE) throw std::runtime_error("floor: update");
    sqlite3_reset(write);
    db.Execute("COMMIT");
  }
  PlainDatabase db;
  std::int64_t nr;
  sqlite3_stmt* read = nullptr;
  sqlite3_stmt* write = nullptr;
};

void BM_PostLine(benchmark::State& state) {
  GeneratedCompany& small = Small();
  GeneratedCompany& big = Big();
  // The month as the grid shows it: opened, its totals summed.
  personnel::SumStoredLines(*small.session);
  personnel::SumStoredLines(*big.session);
  PostingFloor small_floor(small);
  PostingFloor big_floor(big);
  double timp = 160;
  std::vector<double> at_100, at_10000, floor_100, floor_10000, growth, cpu_100, cpu_10000;
  int turn = 0;
  for (auto _ : state) {
    timp = timp == 160 ? 168 : 160;
    const std::vector<personnel::FieldEdit> edits = {{"TIMP", FieldValue(timp)}};
    Sample s, b, fs, fb;
    const auto post_small = [&] {
      s = Measure([&] { personnel::UpdateGridLine(*small.session, small.first_nr, edits); });
    };
    const auto post_big = [&] {
      b = Measure([&] { personnel::UpdateGridLine(*big.session, big.first_nr, edits); });
    };
    const auto floor_small = [&] { fs = Measure([&] { small_floor.Post(timp); }); };
    const auto floor_big = [&] { fb = Measure([&] { big_floor.Post(timp); }); };
    // Four orders in turn.
    switch (turn++ % 4) {
      case 0:
        post_small();
        floor_small();
        post_big();
        floor_big();
        break;
      case 1:
        floor_big();
        post_big();
        floor_small();
        post_small();
        break;
      case 2:
        post_big();
        floor_big();
        post_small();
        floor_small();
        break;
      default:
        floor_small();
        post_small();
        floor_big();
        post_big();
        break;
    }
    state.SetIterationTime(b.wall_ms / 1e3);
    at_100.push_back(s.wall_ms);
    at_10000.push_back(b.wall_ms);
    floor_100.push_back(fs.wall_ms);
    floor_10000.push_back(fb.wall_ms);
    growth.push_back(b.wall_ms / s.wall_ms);
    cpu_100.push_back(s.cpu_ms);
    cpu_10000.push_back(b.cpu_ms);
  }
  state.counters["post_100_ms"] = Median(at_100);
  state.counters["post_10000_ms"] = Median(at_10000);
  state.counters["floor_100_ms"] = Median(floor_100);
  state.counters["floor_10000_ms"] = Median(floor_10000);
  state.counters["10000_vs_100"] = Median(at_10000) / Median(at_100);
  state.counters["ratio_10000"] = Median(at_10000) / Median(floor_10000);
  state.counters["post_100_cpu_ms"] = Median(cpu_100);
  state.counters["post_10000_cpu_ms"] = Median(cpu_10000);
}

// Runs PROGRAM ARGS... as a child and prints the child's peak memory in KB.
// A child takes over the peak of the process that forks it, so the
// benchmark starts this small copy of itself to fork the program.
int PeakMemoryOf(char** program) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::execv(program[0], program);
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child) return 1;
  std::printf("%ld\n", usage.ru_maxrss);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

// The peak memory of the recalc program as a user runs it (its own process),
// at 10 000 lines.
void BM_RecalcPeakMemory(benchmark::State& state) {
  GeneratedCompany& company = Big();
  std::vector<double> peaks;
  for (auto _ : state) {
    const std::string data = company.folder.string();
    std::vector<std::string> arguments = {
        "/proc/self/exe", "--peak-memory", TRAVENO_CLI_PROGRAM, "--data-dir", data,
        "recalc",         "--cod",         kGeneratedCode,      "--month",    kMonth};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) {
      state.SkipWithError("no pipe");
      break;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
    pid_t child = 0;
    const auto start = std::chrono::steady_clock::now();
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe_ends[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t n; spawned == 0 && (n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) {
      output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipe_ends[0]);
    int status = 0;
    if (spawned != 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
      state.SkipWithError("traveno-cli recalc failed");
      break;
    }
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    // The program's own output comes first; the peak is the last line.
    const std::size_t last = output.find_last_of('\n', output.size() - 2);
    peaks.push_back(std::stod(output.substr(last == std::string::npos ? 0 : last + 1)) / 1024);
  }
  if (!peaks.empty()) state.counters["peak_mb"] = Median(peaks);
}

BENCHMARK(BM_Recalc)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatementText)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EfilingDbf)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CasFilesDbf)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridLines)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PostLine)->Iterations(40)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalcPeakMemory)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace traveno::bench

// "--peak-memory PROGRAM ARGS..." runs the program and prints its peak
// memory (for BM_RecalcPeakMemory); "--make-company DIR LINES [MONTHS]" makes a generated company
// in DIR and keeps it, to measure the program itself on it; otherwise the benchmarks run.
int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "--peak-memory") {
    return traveno::bench::PeakMemoryOf(argv + 2);
  }
  if (argc >= 4 && std::string(argv[1]) == "--make-company") {
    traveno::bench::GeneratedCompany company(argv[2], std::stoi(argv[3]),
                                             argc >= 5 ? std::stoi(argv[4]) : 1, true);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
