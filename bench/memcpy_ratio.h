// Timing against memcpy: a benchmark case reports its time per iteration as a
// ratio to a plain copy of the same bytes, measured in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace quillet::bench {

using TClock = std::chrono::steady_clock;

inline double Seconds(TClock::time_point from) {
  return std::chrono::duration<double>(TClock::now() - from).count();
}

// Median time of a plain memcpy of `bytes`: the physical limit of a case.
inline double MemcpySeconds(int64_t bytes) {
  std::vector<uint8_t> from(static_cast<size_t>(bytes), 1), to(static_cast<size_t>(bytes), 0);
  std::vector<double> runs;
  for (int i = 0; i < 7; ++i) {
    const auto start = TClock::now();
    std::memcpy(to.data(), from.data(), static_cast<size_t>(bytes));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
    runs.push_back(Seconds(start));
  }
  std::nth_element(runs.begin(), runs.begin() + 3, runs.end());
  return runs[3];
}

// The same into freshly allocated memory, whose pages the copy faults in:
// the limit of a case that allocates its destination.
inline double FreshMemcpySeconds(int64_t bytes) {
  std::vector<uint8_t> from(static_cast<size_t>(bytes), 1);
  std::vector<double> runs;
  for (int i = 0; i < 7; ++i) {
    const auto start = TClock::now();
    auto* to = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(bytes)));
    std::memcpy(to, from.data(), static_cast<size_t>(bytes));
    benchmark::DoNotOptimize(to);
    benchmark::ClobberMemory();
    std::free(to);
    runs.push_back(Seconds(start));
  }
  std::nth_element(runs.begin(), runs.begin() + 3, runs.end());
  return runs[3];
}

// Runs `work` in the benchmark loop; counters memcpy_ms and ratio. With
// `fresh` the memcpy goes to new memory each time.
template <class F>
void TimedAgainstMemcpy(benchmark::State& state, int64_t bytes, F&& work, bool fresh = false) {
  const double limit = fresh ? FreshMemcpySeconds(bytes) : MemcpySeconds(bytes);
  const auto start = TClock::now();
  for (auto _ : state) work();
  const double each = Seconds(start) / double(state.iterations());
  state.counters["memcpy_ms"] = limit * 1000;
  state.counters["ratio"] = each / limit;
  state.SetBytesProcessed(state.iterations() * bytes);
}

}  // namespace quillet::bench
