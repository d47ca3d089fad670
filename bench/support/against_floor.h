// Measuring a piece of the program against its floor (plain_floors.h): the
// two run in turns, one pair per iteration of a benchmark, each pair in the
// other order than the one before, so that neither meets a fresher heap or a
// warmer cache. The benchmark reports the medians of the wall and CPU times
// of both, the median ratio of the pairs and the worst.
#pragma once

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace traveno::bench {

struct Sample {
  double wall_ms = 0;
  double cpu_ms = 0;
};

inline double CpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

inline Sample Measure(const std::function<void()>& work) {
  const double cpu = CpuMs();
  const auto start = std::chrono::steady_clock::now();
  work();
  const auto end = std::chrono::steady_clock::now();
  return {std::chrono::duration<double, std::milli>(end - start).count(), CpuMs() - cpu};
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Runs `measured` and `floor` in turns, one pair per iteration; `before_pair`
// (not measured) prepares each pair.
inline void AgainstFloor(benchmark::State& state, const std::function<void()>& floor,
                         const std::function<void()>& measured,
                         const std::function<void()>& before_pair = {}) {
  std::vector<double> floor_wall, floor_cpu, measured_wall, measured_cpu, ratio_wall, ratio_cpu;
  bool floor_first = true;
  for (auto _ : state) {
    if (before_pair) before_pair();
    Sample f, c;
    if (floor_first) {
      f = Measure(floor);
      c = Measure(measured);
    } else {
      c = Measure(measured);
      f = Measure(floor);
    }
    floor_first = !floor_first;
    state.SetIterationTime(c.wall_ms / 1e3);
    floor_wall.push_back(f.wall_ms);
    floor_cpu.push_back(f.cpu_ms);
    measured_wall.push_back(c.wall_ms);
    measured_cpu.push_back(c.cpu_ms);
    ratio_wall.push_back(c.wall_ms / f.wall_ms);
    ratio_cpu.push_back(c.cpu_ms / f.cpu_ms);
  }
  state.counters["floor_ms"] = Median(floor_wall);
  state.counters["floor_cpu_ms"] = Median(floor_cpu);
  state.counters["ms"] = Median(measured_wall);
  state.counters["cpu_ms"] = Median(measured_cpu);
  state.counters["ratio"] = Median(ratio_wall);
  state.counters["ratio_cpu"] = Median(ratio_cpu);
  state.counters["worst"] = *std::max_element(ratio_wall.begin(), ratio_wall.end());
  state.counters["worst_cpu"] = *std::max_element(ratio_cpu.begin(), ratio_cpu.end());
}

}  // namespace traveno::bench
