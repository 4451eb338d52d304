// The benchmark programs' main: Google Benchmark's console table, and for
// every case timed against memcpy (counters memcpy_ms and ratio, see
// memcpy_ratio.h) one line in the format of the peers scripts:
//   bench: CASE quillet_ms=X peer=memcpy peer_ms=Y ratio=X/Y
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace quillet::bench {

class TBenchLineReporter : public benchmark::ConsoleReporter {
 public:
  TBenchLineReporter() : ConsoleReporter(OO_None) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const auto memcpy = run.counters.find("memcpy_ms"), ratio = run.counters.find("ratio");
      if (run.run_type != Run::RT_Iteration || run.error_occurred || memcpy == run.counters.end() ||
          ratio == run.counters.end())
        continue;
      std::string name = run.benchmark_name();
      if (name.rfind("BM_", 0) == 0) name.erase(0, 3);
      const double peer = memcpy->second.value, each = peer * ratio->second.value;
      std::printf("bench: %s quillet_ms=%.3f peer=memcpy peer_ms=%.3f ratio=%.2f\n", name.c_str(), each, peer,
                  ratio->second.value);
      std::fflush(stdout);
    }
  }
};

inline int RunBenchmarks(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TBenchLineReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace quillet::bench
