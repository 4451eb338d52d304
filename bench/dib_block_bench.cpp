// Clipboard block timings on a 4000 x 3000 image in 24 and 1 bit: writing the
// block and reading it back, and 1-bit area copies, each as a ratio to a
// memcpy of the same bytes (into new memory where the case allocates what it
// fills).
#include <benchmark/benchmark.h>

#include "bench/bench_lines.h"
#include "bench/memcpy_ratio.h"
#include "bench/photo_like.h"
#include "imaging/proc/bitmap_area.h"
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

// A 1-bit area copied out and pasted back at column range(0) (3 shifts every
// row), against a memcpy of the area's bytes twice.
void BM_area_1bit(benchmark::State& state) {
  TIEWorkingBitmap target = Source(1);
  const int64_t x = state.range(0), w = kWidth - 8;
  const int64_t bytes = 2 * RowLength(w, 1) * kHeight;
  TimedAgainstMemcpy(state, bytes, [&] {
    const TIEWorkingBitmap area = CopyArea(Source(1), x, 0, w, kHeight);
    PasteArea(area, target, x, 0);
    benchmark::DoNotOptimize(target.Bits());
  });
}
BENCHMARK(BM_area_1bit)->Arg(0)->Arg(3)->ArgName("x")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return quillet::bench::RunBenchmarks(argc, argv); }
