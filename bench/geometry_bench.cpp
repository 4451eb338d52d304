// Resampling and rotation timings on the 4000 x 3000 photo-like image: down
// to 1000 x 750 and up to 8000 x 6000 with each kernel and the plain stretch,
// a 30 degree rotation with and without antialiasing, and the in-place flips,
// grey and negative of the processing component.
#include <benchmark/benchmark.h>

#include "bench/memcpy_ratio.h"
#include "bench/photo_like.h"
#include "imaging/proc/resample.h"
#include "imaging/proc/rotate.h"
#include "imaging/proc/ziridev_proc.h"

namespace {

using namespace quillet;
using F = TResampleFilter;

const TIEWorkingBitmap& Photo() {
  static const TIEWorkingBitmap photo = bench::PhotoLike();
  return photo;
}

// Every iteration makes its result afresh, as a resize that returns a new image does.
void Resample(benchmark::State& state, F filter, int64_t width, int64_t height) {
  const TIEWorkingBitmap& photo = Photo();
  for (auto _ : state) {
    TIEWorkingBitmap dest;
    const bool done = filter == F::rfNone ? StretchNearest(photo, dest, width, height)
                                          : ResampleColour(photo, dest, width, height, filter);
    if (!done) return state.SkipWithError("resample refused");
    benchmark::DoNotOptimize(dest.Bits());
  }
}

// The copy that the in-place rotation needs is not timed.
void Rotate(benchmark::State& state, bool antialias) {
  for (auto _ : state) {
    state.PauseTiming();
    TIEWorkingBitmap image = Photo();
    state.ResumeTiming();
    if (!RotateImage(image, 30, antialias, kBlack)) return state.SkipWithError("rotate refused");
    benchmark::DoNotOptimize(image.Bits());
  }
}

#define RESAMPLE_CASES(name, filter)                                                        \
  void BM_resample_down_##name(benchmark::State& s) { Resample(s, filter, 1000, 750); }     \
  void BM_resample_up_##name(benchmark::State& s) { Resample(s, filter, 8000, 6000); }      \
  BENCHMARK(BM_resample_down_##name)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime(); \
  BENCHMARK(BM_resample_up_##name)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

RESAMPLE_CASES(nearest, F::rfNone)
RESAMPLE_CASES(triangle, F::rfTriangle)
RESAMPLE_CASES(hermite, F::rfHermite)
RESAMPLE_CASES(bell, F::rfBell)
RESAMPLE_CASES(bspline, F::rfBSpline)
RESAMPLE_CASES(lanczos3, F::rfLanczos3)
RESAMPLE_CASES(mitchell, F::rfMitchell)

void BM_rotate30(benchmark::State& s) { Rotate(s, false); }
void BM_rotate30_aa(benchmark::State& s) { Rotate(s, true); }
BENCHMARK(BM_rotate30)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_rotate30_aa)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Whole-image operations of the processing component, in place, against a
// memcpy of the image. The undo copy each operation records first in the
// editor is left out: undo_bench times it.
template <class Op>
void InPlace(benchmark::State& state, Op op) {
  TIEWorkingBitmap image = Photo();
  TZiridEvProc proc;
  proc.AutoUndo = false;
  proc.SetAttachedBitmap(&image);
  bench::TimedAgainstMemcpy(state, image.RowBytes() * image.Height(), [&] {
    op(proc);
    benchmark::DoNotOptimize(image.Bits());
  });
}

void BM_flip_h(benchmark::State& s) { InPlace(s, [](TZiridEvProc& p) { p.Flip(TFlipDirection::fdHorizontal); }); }
void BM_flip_v(benchmark::State& s) { InPlace(s, [](TZiridEvProc& p) { p.Flip(TFlipDirection::fdVertical); }); }
void BM_gray(benchmark::State& s) { InPlace(s, [](TZiridEvProc& p) { p.ConvertToGray(); }); }
void BM_negative(benchmark::State& s) { InPlace(s, [](TZiridEvProc& p) { p.Negative(); }); }
BENCHMARK(BM_flip_h)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_flip_v)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_gray)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_negative)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
