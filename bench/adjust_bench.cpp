// Colour adjustment timings on the photo-like image (4000 x 3000, or the
// size given by --size WxH): the histogram, contrast with its average
// colour, the RGB shift, thresholds, level stretching, HSL and HSV shifts,
// automatic equalization and the channel splits. The passes that work in
// place report their ratio to a memcpy of the image; each gets the photo
// afresh, so that no pass times its own earlier output.
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench/bench_lines.h"
#include "bench/memcpy_ratio.h"
#include "bench/photo_like.h"
#include "imaging/proc/colour_adjust.h"
#include "imaging/proc/colour_histogram.h"
#include "imaging/proc/colour_split.h"

namespace {

using namespace quillet;

using bench::Photo;

// `op` in place on a fresh copy of the photo each time (the copy not
// timed), beside a memcpy of the image: counters memcpy_ms and ratio.
template <class Op>
void InPlace(benchmark::State& state, Op op) {
  const TIEWorkingBitmap& photo = Photo();
  const int64_t bytes = photo.RowBytes() * photo.Height();
  const double limit = bench::MemcpySeconds(bytes);
  TIEWorkingBitmap image = photo;
  double total = 0;
  for (auto _ : state) {
    std::memcpy(image.Bits(), photo.Bits(), size_t(bytes));
    const auto start = bench::TClock::now();
    op(image);
    benchmark::DoNotOptimize(image.Bits());
    const double each = bench::Seconds(start);
    state.SetIterationTime(each);
    total += each;
  }
  state.counters["memcpy_ms"] = limit * 1000;
  state.counters["ratio"] = total / double(state.iterations()) / limit;
}

void BM_histogram(benchmark::State& state) {
  TIEHistogram histogram;
  for (auto _ : state) {
    AreaHistogram(Photo(), {}, histogram);
    benchmark::DoNotOptimize(histogram.data());
  }
}

// The centre is the average colour, as the dialog takes it.
void BM_contrast(benchmark::State& s) {
  InPlace(s, [](TIEWorkingBitmap& b) { AdjustContrast(b, {}, 30, AverageColour(b)); });
}
void BM_addrgb(benchmark::State& s) {
  InPlace(s, [](TIEWorkingBitmap& b) { AddRGB(b, {}, 1, -1, 1); });
}
void BM_threshold(benchmark::State& s) {
  InPlace(s, [](TIEWorkingBitmap& b) {
    ThresholdLevels(b, {}, MakeBGR(20, 30, 40), MakeBGR(230, 220, 210), kBlack, kWhite);
  });
}
void BM_stretch(benchmark::State& s) {
  InPlace(s, [](TIEWorkingBitmap& b) { StretchLevels(b, {}, MakeBGR(10, 20, 30), MakeBGR(250, 240, 230)); });
}
void BM_hsl(benchmark::State& s) {
  InPlace(s, [](TIEWorkingBitmap& b) { AdjustHSL(b, {}, 30, -20, 10); });
}
void BM_hsv(benchmark::State& s) {
  InPlace(s, [](TIEWorkingBitmap& b) { AdjustHSV(b, {}, 30, -20, 10); });
}
void BM_equalize(benchmark::State& s) {
  InPlace(s, [](TIEWorkingBitmap& b) { AutoEqualizeArea(b, {}); });
}

// The three planes are made afresh each time, as new documents are.
template <class Split>
void Planes(benchmark::State& state, Split split) {
  for (auto _ : state) {
    TIEWorkingBitmap a, b, c;
    split(Photo(), a, b, c, {});
    benchmark::DoNotOptimize(a.Bits());
  }
}
void BM_split_rgb(benchmark::State& s) { Planes(s, SplitChannelsRGB); }
void BM_split_hsv(benchmark::State& s) { Planes(s, SplitChannelsHSV); }

#define ADJUST_CASE(name) BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseRealTime();
#define IN_PLACE_CASE(name) BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseManualTime();
ADJUST_CASE(BM_histogram)
IN_PLACE_CASE(BM_contrast)
IN_PLACE_CASE(BM_addrgb)
IN_PLACE_CASE(BM_threshold)
IN_PLACE_CASE(BM_stretch)
IN_PLACE_CASE(BM_hsl)
IN_PLACE_CASE(BM_hsv)
IN_PLACE_CASE(BM_equalize)
ADJUST_CASE(BM_split_rgb)
ADJUST_CASE(BM_split_hsv)

}  // namespace

int main(int argc, char** argv) {
  bench::TakeSizeFlag(argc, argv);
  Photo();  // made before the first case is timed
  return bench::RunBenchmarks(argc, argv);
}
