// Undo of a 4000 x 3000 24-bit image: SaveUndo (a new store, the image copied
// in) plus Undo (copied back) at each store location, as a ratio to memcpy of
// the same bytes, the first half into fresh memory as SaveUndo's copy is.
#include <benchmark/benchmark.h>

#include "bench/bench_lines.h"
#include "bench/memcpy_ratio.h"
#include "bench/photo_like.h"
#include "imaging/proc/ziridev_proc.h"

namespace {

using namespace quillet;

constexpr TIEBitmapLocation kLocations[] = {TIEBitmapLocation::ieMemory, TIEBitmapLocation::ieFile,
                                             TIEBitmapLocation::ieWorkingBitmap};

void BM_save_undo_and_undo(benchmark::State& state) {
  TIEWorkingBitmap image = bench::PhotoLike();
  TZiridEvProc proc;
  proc.UndoLocation = kLocations[state.range(0)];
  proc.SetAttachedBitmap(&image);
  const int64_t bytes = image.RowBytes() * image.Height();
  const double copyBack = bench::MemcpySeconds(bytes);
  const double fresh = bench::FreshMemcpySeconds(bytes);
  const auto start = bench::TClock::now();
  for (auto _ : state) {
    proc.SaveUndo();
    proc.Undo();
    benchmark::DoNotOptimize(image.Bits());
  }
  const double each = bench::Seconds(start) / double(state.iterations());
  state.counters["memcpy_ms"] = (fresh + copyBack) * 1000;
  state.counters["ratio"] = each / (fresh + copyBack);
  state.SetBytesProcessed(state.iterations() * 2 * bytes);
}
BENCHMARK(BM_save_undo_and_undo)->DenseRange(0, 2)->ArgName("location")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return quillet::bench::RunBenchmarks(argc, argv); }
