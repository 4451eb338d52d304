// Clipboard block timings on a 4000 x 3000 image in 24 and 1 bit: writing the
// block and reading it back, each as a ratio to a memcpy of the block's bytes
// (into new memory where the case allocates what it fills).
#include <benchmark/benchmark.h>

#include "bench/memcpy_ratio.h"
#include "bench/photo_like.h"
#include "imaging/proc/dib_block.h"

namespace {

using namespace quillet;
using bench::TimedAgainstMemcpy;

constexpr int kWidth = 4000, kHeight = 3000;

// range(0): 24 or 1 bit.
const TIEWorkingBitmap& Source(int64_t bits) {
  static const TIEWorkingBitmap photo = bench::PhotoLike(kWidth, kHeight);
  static const TIEWorkingBitmap bilevel = [] {
    TIEWorkingBitmap b(kWidth, kHeight, TIEPixelFormat::pf1bit);
    for (int y = 0; y < kHeight; ++y)
      for (int64_t i = 0; i < b.RowBytes(); ++i) b.ScanLine(y)[i] = photo.ScanLine(y)[3 * i];
    return b;
  }();
  return bits == 1 ? bilevel : photo;
}

// range(1): the column the area starts at; 3 makes 1-bit rows shift.
void BM_write_block(benchmark::State& state) {
  const TIEWorkingBitmap& source = Source(state.range(0));
  const int64_t x1 = state.range(1);
  const int64_t bytes = int64_t(WriteDibBlock(source, x1, 0, kWidth, kHeight).size());
  TimedAgainstMemcpy(state, bytes, [&] {
    const std::vector<uint8_t> block = WriteDibBlock(source, x1, 0, kWidth, kHeight);
    benchmark::DoNotOptimize(block.data());
  }, true);
}
BENCHMARK(BM_write_block)->ArgsProduct({{24, 1}, {0, 3}})->ArgNames({"bits", "x1"})->Unit(benchmark::kMillisecond);

// range(1): 1 reads into an image of the block's shape, 0 into a new image.
void BM_read_block(benchmark::State& state) {
  const std::vector<uint8_t> block = WriteDibBlock(Source(state.range(0)));
  const bool sameShape = state.range(1) != 0;
  TIEWorkingBitmap target = Source(state.range(0));
  TimedAgainstMemcpy(state, int64_t(block.size()), [&] {
    if (!sameShape) target = TIEWorkingBitmap();
    if (!ReadDibBlock(block, target)) state.SkipWithError("block refused");
    benchmark::DoNotOptimize(target.Bits());
  }, !sameShape);
}
BENCHMARK(BM_read_block)
    ->ArgsProduct({{24, 1}, {1, 0}})
    ->ArgNames({"bits", "same_shape"})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
