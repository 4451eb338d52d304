// The image commands' own passes on the 4000 x 3000 photo-like image: the
// Black-and-White threshold, the Rotate Custom thumbnail taken straight from
// the picture, and a 1-bit image made 24-bit again.
#include <benchmark/benchmark.h>

#include "bench/photo_like.h"
#include "imaging/proc/resample.h"
#include "imaging/proc/threshold_bw.h"
#include "imaging/proc/ziridev_proc.h"

namespace {

using namespace quillet;

const TIEWorkingBitmap& Photo() {
  static const TIEWorkingBitmap photo = bench::PhotoLike();
  return photo;
}

const TIEWorkingBitmap& BlackWhite() {
  static const TIEWorkingBitmap bw = [] {
    TIEWorkingBitmap out;
    ThresholdToBlackWhite(Photo(), out, 128);
    return out;
  }();
  return bw;
}

// A new 1-bit image each time, as the dialog makes at every change.
void BM_threshold_bw(benchmark::State& state) {
  for (auto _ : state) {
    TIEWorkingBitmap out;
    if (!ThresholdToBlackWhite(Photo(), out, 128)) return state.SkipWithError("threshold refused");
    benchmark::DoNotOptimize(out.Bits());
  }
}

// The preview's 249-pixel-wide thumbnail.
void BM_rotate_preview(benchmark::State& state) {
  for (auto _ : state) {
    TIEWorkingBitmap thumbnail;
    if (!StretchToWidth(Photo(), thumbnail, 249)) return state.SkipWithError("stretch refused");
    benchmark::DoNotOptimize(thumbnail.Bits());
  }
}

// The copy of the 1-bit image that the in-place conversion needs is not timed.
void BM_to_24bit(benchmark::State& state) {
  TZiridEvProc proc;
  proc.AutoUndo = false;
  for (auto _ : state) {
    state.PauseTiming();
    TIEWorkingBitmap image = BlackWhite();
    proc.SetAttachedBitmap(&image);
    state.ResumeTiming();
    proc.ConvertTo24Bit();
    benchmark::DoNotOptimize(image.Bits());
  }
}

BENCHMARK(BM_threshold_bw)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_rotate_preview)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_to_24bit)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
